// The seam between the editor window and the HTML syntax scheme component:
// attaching the scheme to a window's control and running its options dialog.
#pragma once

#include "memo/widget/SyntaxMemo.h"

#include <string>

class QWidget;

namespace vlr {

// Makes the control highlight with the HTML scheme in parser slot 1 and, when
// appDir + "sedprop.dat" exists, loads the scheme component's settings from it
// and applies them to the control. Without a scheme component the control is
// left with no parser, so it shows plain text.
void AttachHtmlScheme(velora::memo::TSyntaxMemo& memo, const std::string& appDir);

// The options dialog of the scheme component ("&Editor Options"). When the
// user confirms it, the settings are applied to the control and the
// component's stored form is written to appDir + "sedprop.dat". Returns whether
// the dialog was confirmed.
bool RunEditorOptions(velora::memo::TSyntaxMemo& memo, QWidget* parent, const std::string& appDir);

}  // namespace vlr
