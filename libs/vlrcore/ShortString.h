// Short texts as the program passes them to DoPathEx: one length byte followed
// by at most 255 single-byte characters.
#pragma once

#include <string>
#include <string_view>

namespace vlr::core {

inline constexpr std::size_t kShortStringMax = 255;

// The characters of a short text; nullptr reads as "".
std::string FromShortString(const unsigned char* text);
// Writes text as a short text into out (256 bytes). A longer text is cut at
// 255 characters.
void ToShortString(std::string_view text, unsigned char* out);

}  // namespace vlr::core
