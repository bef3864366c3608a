// Letter case for the search engines: the simple case folding of Unicode (one character to one
// character, from utf8proc's tables), the characters that fold alike, and the search's view of
// a document's characters, in which a byte that is not part of a UTF-8 character is a
// character of its own that equals only that same byte.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "memo/engine/Utf8.h"

namespace velora::memo {

// Bytes outside a UTF-8 character are the values kRawByte + byte, beyond every code point.
inline constexpr char32_t kRawByte = 0x110000;

// The search character at b[i] and its length in bytes (1..4).
[[nodiscard]] inline char32_t searchCharAt(std::string_view b, std::size_t i, int& n) noexcept {
  const auto c = static_cast<unsigned char>(b[i]);
  n = 1;
  if (c < 0x80) return c;
  n = utf8CharLength(b, i);
  return n == 1 ? kRawByte + c : utf8CharAt(b, i, n);
}

// The simple case folding of a character (ASCII and raw bytes on a fast path).
[[nodiscard]] char32_t foldCaseSlow(char32_t c) noexcept;
[[nodiscard]] inline char32_t foldCase(char32_t c) noexcept {
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 32 : c;
  return c >= kRawByte ? c : foldCaseSlow(c);
}

// Every other character whose folding is `folded` (a folded character); for "k" the Kelvin
// sign and "K", for "σ" "Σ" and "ς".
[[nodiscard]] std::span<const char32_t> caseVariants(char32_t folded);
// The characters whose folding differs from themselves, ascending (for sets of ranges).
[[nodiscard]] std::span<const char32_t> foldingCharacters();

// Appends the UTF-8 form of a search character (a raw byte as that byte).
void appendSearchChar(std::string& out, char32_t c);
// Byte length of the UTF-8 form of a search character.
[[nodiscard]] int searchCharLength(char32_t c) noexcept;

// Whether two UTF-8 texts are equal with letter case ignored, character by character.
[[nodiscard]] bool foldedEqual(std::string_view a, std::string_view b);

}  // namespace velora::memo
