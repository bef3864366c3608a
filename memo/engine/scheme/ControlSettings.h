// Applying a language's settings (TSchemeSettings) to an editor control.
#pragma once

#include "memo/engine/MemoEngine.h"
#include "memo/engine/scheme/SchemeTables.h"

namespace vlr {

// The control's own colours, used where a setting asks for the default colour.
inline constexpr velora::memo::Color kDefaultSelTextColor = velora::memo::rgb(255, 255, 255);
inline constexpr velora::memo::Color kDefaultSelTextBack = velora::memo::rgb(0, 0, 128);
inline constexpr velora::memo::Color kDefaultGutterColor = velora::memo::rgb(192, 192, 192);

// Sets the control's options, default tab and tab columns, right margin (column, colour and
// width), word-wrap column, gutter width and colour, indent step, wrap-override characters,
// selected-text and current-line colours and font from `s`, then raises the control's settings-changed
// notification (message 0x0C12), on which the widget takes the font, lays out the gutter and the
// wrap again and repaints. Styles are not settings of the control: painting asks the parser.
// Numbers outside sensible bounds (a damaged stored form) are not taken.
// When highlighting is switched on, the whole document is highlighted again (edits made while it
// was off were not scanned).
void ApplySchemeSettings(velora::memo::MemoEngine& control, const TSchemeSettings& s);

// The control's own colours for the appearance the tables are drawn in: under the dark one the
// dark set's style 0 gives text and background, and selection, gutter and margin turn dark;
// under the light one text and background are black on white again, and the selection, gutter
// and margin colours the dark one set go back to the scheme's.
void ApplyAppearance(velora::memo::MemoEngine& e, const TSchemeTables& t);

}  // namespace vlr
