// Short texts: a length byte and the characters.
#include "libs/vlrcore/ShortString.h"

#include <algorithm>
#include <cstring>

namespace vlr::core {

std::string FromShortString(const unsigned char* text) {
    if (!text)
        return {};
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

void ToShortString(std::string_view text, unsigned char* out) {
    if (!out)
        return;
    std::size_t n = std::min(text.size(), kShortStringMax);
    out[0] = static_cast<unsigned char>(n);
    std::memcpy(out + 1, text.data(), n);
}

}  // namespace vlr::core
