// Key codes of the editor control: a 16-bit shortcut value with the virtual key in the low byte
// plus 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt; the key names; the key that types a character.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace velora::memo {

inline constexpr std::uint16_t kShiftKey = 0x2000;
inline constexpr std::uint16_t kCtrlKey = 0x4000;
inline constexpr std::uint16_t kAltKey = 0x8000;

// Virtual keys used by name.
inline constexpr std::uint8_t kVkBack = 8, kVkTab = 9, kVkReturn = 13, kVkSpace = 32, kVkPageUp = 33,
                              kVkPageDown = 34, kVkEnd = 35, kVkHome = 36, kVkLeft = 37, kVkUp = 38,
                              kVkRight = 39, kVkDown = 40, kVkInsert = 45, kVkDelete = 46, kVkF1 = 112;

// The virtual key of a key name ("return", "f5", ...; letter case ignored), if it is one.
[[nodiscard]] std::optional<std::uint8_t> KeyFromName(std::string_view name) noexcept;
// The key (with the Shift bit when the character needs it) that types a character on the
// standard US layout; nothing for characters no key types.
[[nodiscard]] std::optional<std::uint16_t> KeyForChar(unsigned char c) noexcept;

}  // namespace velora::memo
