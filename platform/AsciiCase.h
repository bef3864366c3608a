// Letter-case comparison of ASCII letters only: bytes above 127 are compared
// as they are, whatever the locale.
#pragma once

#include <string_view>

namespace vlr {

constexpr unsigned char AsciiLower(unsigned char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

constexpr bool AsciiEqualsNoCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(static_cast<unsigned char>(a[i])) != AsciiLower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace vlr
