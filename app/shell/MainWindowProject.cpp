// The main window's project operations and the messages about projects and files.
#include "app/shell/MainWindow.h"

namespace vlr {

bool TFrmMainVLR::HandleProjectMessage(unsigned msg, WParam, LParam, LResult&) {
    (void)msg;
    return false;
}

}  // namespace vlr
