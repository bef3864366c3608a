// The seam between the editor window and the HTML syntax scheme component:
// attaching the scheme to a window's control and running its options dialog.
#pragma once

#include "memo/widget/SyntaxMemo.h"

#include <memory>
#include <string>

class QWidget;

namespace vlr {

// Makes the HTML scheme component (the window's SyntaxMemoParser1), puts it
// in the control's parser slot 1 and makes that slot active; when
// appDir + "sedprop.dat" exists, loads the component's settings from it and
// applies them to the control. The window owns the returned component and
// keeps it for its life. Without a scheme component in the build the result
// is empty and the control, with no parser, shows plain text.
std::unique_ptr<velora::memo::TokenScanner> AttachHtmlScheme(velora::memo::TSyntaxMemo& memo,
                                                             const std::string& appDir);

// "&Editor Options": the options dialog. With a scheme component it is the
// component's dialog; when confirmed, the settings are applied to the control
// and the component's stored form is written to appDir + "sedprop.dat".
// Without one, the dialog edits the control's own settings (font, tabs,
// margin, indenting, gutter) for this window and nothing is stored. Returns
// whether the dialog was confirmed.
bool RunEditorOptions(velora::memo::TSyntaxMemo& memo, velora::memo::TokenScanner* scheme, QWidget* parent,
                      const std::string& appDir);

}  // namespace vlr
