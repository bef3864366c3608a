// The seam between the editor window and the HTML syntax scheme component:
// attaching the scheme to a window's control and running its options dialog.
#pragma once

#include "memo/widget/SyntaxMemo.h"

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace vlr {

class TSyntaxMemoParser;

// Makes the HTML scheme component (the window's SyntaxMemoParser1) from the
// settings saved in appDir + "sedprop.dat" when that file exists and can be
// read, else from the compiled scheme in appDir + "schemes/VLR_HTML.scm",
// puts it in the control's parser slot 1 and makes that slot active. A
// "sedprop.dat" that cannot be used is reported and the shipped scheme is
// used instead. The window owns the returned component and keeps it for its
// life; without a usable scheme the control shows plain text.
//
// The control's settings are set in this order, each step overriding the one
// before: the scheme's settings when the control first uses the component;
// the window's own initial control settings (`windowSettings`); the settings
// saved in "sedprop.dat", given again. The preferences font comes last, when
// the window is shown.
std::unique_ptr<TSyntaxMemoParser> AttachHtmlScheme(velora::memo::TSyntaxMemo& memo, const std::string& appDir,
                                                    const std::function<void()>& windowSettings);

// "&Editor Options": edits the control's own settings (font, tabs, margin,
// indenting, gutter) for this window. Returns whether the dialog was
// confirmed.
bool RunEditorOptions(velora::memo::TSyntaxMemo& memo, QWidget* parent);

}  // namespace vlr
