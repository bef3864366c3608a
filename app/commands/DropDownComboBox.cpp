// A combo box that announces its list is about to drop down.
#include "app/commands/DropDownComboBox.h"

namespace vlr {

DropDownComboBox::DropDownComboBox(QWidget* parent) : QComboBox(parent) {}

void DropDownComboBox::showPopup() {
    Q_EMIT aboutToDropDown();
    QComboBox::showPopup();
}

}  // namespace vlr
