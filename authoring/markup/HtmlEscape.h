// Text written inside a double-quoted HTML attribute value: the quote, the
// ampersand and the angle brackets become character references, so the value
// can neither end the attribute nor start markup. Header only: the Qt-free
// readers and the dialogs use it without linking each other.
#pragma once

#include <string>
#include <string_view>

namespace vlr {

[[nodiscard]] inline std::string EscapeAttribute(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '"': out += "&quot;"; break;
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace vlr
