// The one UTF-8 rule of the editor control, shared by the engine (caret moves, deletions,
// exports) and the widget (display, hit-testing): a well-formed sequence is one character;
// every byte that is not part of one (overlong forms, surrogates, values above U+10FFFF, stray
// continuation bytes, sequences cut short) is a character of its own, shown and exported as
// its Windows-1252 character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace velora::memo {

// Length in bytes (1..4) of the character that starts at b[i]; 1 for an invalid byte.
[[nodiscard]] inline int utf8CharLength(std::string_view b, std::size_t i) noexcept {
  const auto c = static_cast<unsigned char>(b[i]);
  if (c < 0xC2 || c > 0xF4) return 1;
  const int n = c <= 0xDF ? 2 : c <= 0xEF ? 3 : 4;
  if (i + std::size_t(n) > b.size()) return 1;
  for (int k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(b[i + std::size_t(k)]) & 0xC0) != 0x80) return 1;
  const auto c1 = static_cast<unsigned char>(b[i + 1]);
  if (c == 0xE0 && c1 < 0xA0) return 1;   // overlong
  if (c == 0xED && c1 >= 0xA0) return 1;  // surrogate
  if (c == 0xF0 && c1 < 0x90) return 1;   // overlong
  if (c == 0xF4 && c1 >= 0x90) return 1;  // above U+10FFFF
  return n;
}

// The Unicode character of an invalid byte (Windows-1252; the five unassigned bytes as is).
[[nodiscard]] inline char32_t cp1252Char(unsigned char c) noexcept {
  static constexpr char16_t high[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                        0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
  return (c >= 0x80 && c < 0xA0) ? high[c - 0x80] : char32_t(c);
}

// The code point of the character of `n` bytes at b[i] (n from utf8CharLength).
[[nodiscard]] inline char32_t utf8CharAt(std::string_view b, std::size_t i, int n) noexcept {
  const auto c = static_cast<unsigned char>(b[i]);
  if (n == 1) return c < 0x80 ? char32_t(c) : cp1252Char(c);
  char32_t cp = c & (n == 2 ? 0x1F : n == 3 ? 0x0F : 0x07);
  for (int k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(b[i + std::size_t(k)]) & 0x3F);
  return cp;
}

// The number of characters of b (each invalid byte one character). ASCII runs are counted
// eight bytes at a time, since most text of a page is ASCII.
[[nodiscard]] inline std::size_t utf8CharCount(std::string_view b) noexcept {
  std::size_t count = 0;
  std::size_t i = 0;
  const std::size_t n = b.size();
  while (i < n) {
    if (i + 8 <= n) {
      std::uint64_t word;
      std::memcpy(&word, b.data() + i, 8);
      if ((word & 0x8080808080808080ull) == 0) {
        i += 8;
        count += 8;
        continue;
      }
    }
    i += std::size_t(utf8CharLength(b, i));
    ++count;
  }
  return count;
}

}  // namespace velora::memo
