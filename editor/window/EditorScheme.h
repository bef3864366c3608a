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

// "&Editor Options" (ModifyOptions): runs the options dialog of the window's
// scheme component on the control's VisiblePropEdPages. When it is confirmed
// the control is refreshed with the edited settings and the component's whole
// stored form is written to "sedprop.dat", which every editor window made
// later loads. A failed write is reported; the settings stay in force for the
// open windows and nothing of the old file is lost. Returns whether the
// dialog was confirmed.
// Without a compiled scheme (`parser` null or empty) it says so and changes
// nothing.
bool ModifySchemeOptions(velora::memo::TSyntaxMemo& memo, TSyntaxMemoParser* parser, QWidget* parent);

// The desktop's palette changed: an editor whose scheme follows the desktop takes the light
// or dark styles and control colours that now match it.
void FollowDesktopAppearance(velora::memo::TSyntaxMemo& memo, TSyntaxMemoParser* parser);

// Gives `target` (another window's scheme component, used by `memo`) the
// settings of `source` after they were confirmed in the options dialog, and
// highlights and draws the control with them from the top.
void TakeSchemeSettings(velora::memo::TSyntaxMemo& memo, TSyntaxMemoParser& target, const TSyntaxMemoParser& source);

}  // namespace vlr
