// The editor window's spell check: the whole document through the program's
// spell checker, each change an undo step of the control.
#include "editor/window/FrmEditor.h"

#include "spelling/ui/Speller.h"

namespace vlr {

void TFrmEditor::CheckSpelling1Click() {
    spelling::Speller::Instance().CheckDocument(*SyntaxMemo1, this);
}

}  // namespace vlr
