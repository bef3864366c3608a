// The main window's side of the editor windows: the messages they send.
#include "app/shell/MainWindow.h"

namespace vlr {

bool TFrmMainVLR::HandleEditorMessage(unsigned msg, WParam, LParam, LResult&) {
    (void)msg;
    return false;
}

}  // namespace vlr
