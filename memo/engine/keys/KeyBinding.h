// Key sequences bound to the editor's commands, as the language settings store them: the flat
// table (TKeyTable) that a scheme's "%%keys" section compiles to and the stored form holds.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vlr {

// A key sequence bound to an editing command (0..44). Keys are 16-bit shortcut values: the
// virtual key in the low byte plus 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt; key2 is 0 for a
// one-key sequence.
struct TKeyBinding {
  std::uint16_t key1 = 0;
  std::uint16_t key2 = 0;
  std::uint8_t command = 0;
  friend bool operator==(const TKeyBinding&, const TKeyBinding&) = default;
};
inline constexpr std::uint16_t kKeyShift = 0x2000;
inline constexpr std::uint16_t kKeyCtrl = 0x4000;
inline constexpr std::uint16_t kKeyAlt = 0x8000;
inline constexpr std::uint16_t kKeyModifiers = kKeyShift | kKeyCtrl | kKeyAlt;
inline constexpr int kEditorCommandCount = 45;

struct TKeyTable {
  std::vector<TKeyBinding> bindings;
  std::array<std::string, kEditorCommandCount> descriptions;  // by command code
  friend bool operator==(const TKeyTable&, const TKeyTable&) = default;
};

}  // namespace vlr
