// Qt key events as the control's 16-bit key codes (virtual key + 0x2000 Shift, 0x4000 Ctrl,
// 0x8000 Alt), as the code templates and the auto-replace act keys compare them.
#pragma once

#include <cstdint>

class QKeyEvent;

namespace velora::memo {

// A typed character gives the key that types it on the standard layout (with Shift when the
// character needs it), so that act keys match whatever the keyboard layout; other keys give
// their virtual key and the modifiers held: letters 'A'..'Z', digits '0'..'9', F1..F24 112..135,
// the navigation and editing keys, Escape and the lock keys; punctuation keys their standard
// layout codes (0xBA..0xDE). Keys with no virtual key (characters of other layouts) give only
// the modifiers.
[[nodiscard]] std::uint16_t KeyCodeOf(const QKeyEvent& ev);

}  // namespace velora::memo
