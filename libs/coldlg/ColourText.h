// The text form of a colour the colour dialog hands back: "#RRGGBB".
#pragma once

#include <QColor>

#include <optional>
#include <string>
#include <string_view>

namespace vlr::coldlg {

// "#RRGGBB" in upper-case hexadecimal; alpha is dropped.
std::string ColourText(const QColor& colour);
// The colour of an exact "#RRGGBB" text (either letter case); nothing else parses.
std::optional<QColor> ParseColourText(std::string_view text);

}  // namespace vlr::coldlg
