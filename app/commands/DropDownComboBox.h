// A combo box that announces its list is about to drop down, so the owner can refill it first.
#pragma once

#include <QComboBox>

namespace vlr {

class DropDownComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DropDownComboBox(QWidget* parent = nullptr);

    void showPopup() override;

Q_SIGNALS:
    // Emitted before the list is shown; connected slots may replace the items.
    void aboutToDropDown();
};

}  // namespace vlr
