// The seam between the editor window and the HTML syntax scheme component:
// attaching the scheme to a window's control and running its options dialog.
#pragma once

#include "memo/widget/SyntaxMemo.h"

#include <memory>
#include <string>

class QWidget;

namespace vlr {

// Makes the HTML scheme component (the window's SyntaxMemoParser1) from the
// compiled scheme in appDir + "schemes/VLR_HTML.scm", or from
// appDir + "sedprop.dat" when that file exists and can be read, puts it in
// the control's parser slot 1 and makes that slot active. A "sedprop.dat"
// that cannot be used is reported and the shipped scheme is used instead.
// The window owns the returned component and keeps it for its life; without
// a usable scheme the control shows plain text.
std::unique_ptr<velora::memo::TokenScanner> AttachHtmlScheme(velora::memo::TSyntaxMemo& memo,
                                                             const std::string& appDir);

// "&Editor Options": edits the control's own settings (font, tabs, margin,
// indenting, gutter) for this window. Returns whether the dialog was
// confirmed.
bool RunEditorOptions(velora::memo::TSyntaxMemo& memo, QWidget* parent);

}  // namespace vlr
