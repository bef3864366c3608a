// Key names and the keys that type characters.
#include "memo/engine/KeyCodes.h"

#include <cctype>
#include <string>

namespace velora::memo {

std::optional<std::uint8_t> KeyFromName(std::string_view name) noexcept {
  std::string n;
  for (char c : name) n += char(std::tolower(static_cast<unsigned char>(c)));
  struct Named {
    const char* name;
    std::uint8_t key;
  };
  static const Named kNames[] = {
      {"backspace", kVkBack}, {"delete", kVkDelete}, {"down", kVkDown},   {"end", kVkEnd},
      {"home", kVkHome},      {"insert", kVkInsert}, {"left", kVkLeft},   {"pagedown", kVkPageDown},
      {"pageup", kVkPageUp},  {"return", kVkReturn}, {"right", kVkRight}, {"space", kVkSpace},
      {"up", kVkUp},          {"tab", kVkTab},
  };
  for (const Named& k : kNames)
    if (n == k.name) return k.key;
  if (n.size() >= 2 && n.size() <= 3 && n[0] == 'f') {
    int v = 0;
    for (std::size_t i = 1; i < n.size(); ++i) {
      if (!std::isdigit(static_cast<unsigned char>(n[i]))) return std::nullopt;
      v = v * 10 + (n[i] - '0');
    }
    if (v >= 1 && v <= 12) return std::uint8_t(kVkF1 + v - 1);
  }
  return std::nullopt;
}

std::optional<std::uint16_t> KeyForChar(unsigned char c) noexcept {
  if (c >= 'a' && c <= 'z') return std::uint16_t(c - 32);
  if (c >= 'A' && c <= 'Z') return std::uint16_t(kShiftKey | c);
  if (c >= '0' && c <= '9') return std::uint16_t(c);
  if (c == ' ') return kVkSpace;
  if (c == '\t') return kVkTab;
  if (c == '\r' || c == '\n') return kVkReturn;
  // Punctuation: the unshifted and the shifted character of each key.
  struct Pair {
    char plain, shifted;
    std::uint8_t key;
  };
  static const Pair kKeys[] = {
      {';', ':', 0xBA}, {'=', '+', 0xBB}, {',', '<', 0xBC}, {'-', '_', 0xBD}, {'.', '>', 0xBE},
      {'/', '?', 0xBF}, {'`', '~', 0xC0}, {'[', '{', 0xDB}, {'\\', '|', 0xDC}, {']', '}', 0xDD},
      {'\'', '"', 0xDE}, {'1', '!', '1'}, {'2', '@', '2'}, {'3', '#', '3'}, {'4', '$', '4'},
      {'5', '%', '5'}, {'6', '^', '6'}, {'7', '&', '7'}, {'8', '*', '8'}, {'9', '(', '9'}, {'0', ')', '0'},
  };
  for (const Pair& p : kKeys) {
    if (c == (unsigned char)p.plain) return p.key;
    if (c == (unsigned char)p.shifted) return std::uint16_t(kShiftKey | p.key);
  }
  return std::nullopt;
}

}  // namespace velora::memo
