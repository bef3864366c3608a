// Windows-1252 bytes of older scheme texts read as UTF-8.
#include "memo/engine/LegacyText.h"

#include "memo/engine/Utf8.h"

namespace velora::memo {

namespace {

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    // Windows-1252 characters are all in the basic plane.
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::string Windows1252AsUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const int n = utf8CharLength(text, i);
    const auto c = static_cast<unsigned char>(text[i]);
    if (n == 1 && c >= 0x80)
      AppendUtf8(out, cp1252Char(c));
    else
      out.append(text.substr(i, static_cast<std::size_t>(n)));
    i += static_cast<std::size_t>(n);
  }
  return out;
}

}  // namespace velora::memo
