// Key codes of the editor control (virtual key in the low byte plus 0x2000 Shift, 0x4000 Ctrl,
// 0x8000 Alt) as the shortcut texts the options dialog shows ("Ctrl+K", "Ctrl+Shift+Z", "PgUp").
#pragma once

#include <cstdint>
#include <string>

namespace velora::memo {

// The text of one key: modifiers in the order Ctrl, Alt, Shift, then the key's name. 0 (no key)
// gives "", a modifier without a key gives the modifiers alone ("Ctrl+"), and a virtual key
// without a name gives "Key" and its number ("Key 255").
[[nodiscard]] std::string ShortcutText(std::uint16_t key);

}  // namespace velora::memo
