// The about box: program name, version and a short description.
#pragma once

#include <QDialog>

namespace vlr {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace vlr
