// "#RRGGBB" texts of colours.
#include "libs/coldlg/ColourText.h"

#include <cstdio>

namespace vlr::coldlg {
namespace {
int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
}  // namespace

std::string ColourText(const QColor& colour) {
    QColor rgb = colour.toRgb();
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", rgb.red() & 0xFF, rgb.green() & 0xFF, rgb.blue() & 0xFF);
    return text;
}

std::optional<QColor> ParseColourText(std::string_view text) {
    if (text.size() != 7 || text[0] != '#')
        return std::nullopt;
    int channel[3];
    for (int i = 0; i < 3; ++i) {
        int high = HexDigit(text[1 + 2 * i]);
        int low = HexDigit(text[2 + 2 * i]);
        if (high < 0 || low < 0)
            return std::nullopt;
        channel[i] = high * 16 + low;
    }
    return QColor(channel[0], channel[1], channel[2]);
}

}  // namespace vlr::coldlg
