// Key schemes: the editing keys a key table follows. "Classic" is the table the language
// ships with; "Desktop" follows the desktop convention (Ctrl+Y and Ctrl+Shift+Z redo, Ctrl+Q
// left to quitting). A scheme sets the keys of the few commands the two differ in; every other
// binding of the table, the user's own included, stays.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "memo/engine/keys/KeyBinding.h"

namespace vlr {

enum class TKeyScheme : std::uint8_t { Classic = 0, Desktop = 1 };

// "Classic" or "Desktop".
[[nodiscard]] const char* KeySchemeName(TKeyScheme scheme) noexcept;
// The scheme named (letter case ignored); Classic for any other text.
[[nodiscard]] TKeyScheme KeySchemeNamed(std::string_view name) noexcept;

// The sequences a scheme binds to `command`, when the scheme decides that command's keys
// (delete line, redo, go to bookmark 0..9); empty for the commands both schemes leave alone.
[[nodiscard]] std::vector<TKeyBinding> SchemeSequences(TKeyScheme scheme, int command);

// Gives the commands a scheme decides exactly the scheme's sequences: their other sequences
// go, and so does any binding of another command that would collide with them.
void ApplyKeyScheme(TKeyTable& keys, TKeyScheme scheme);

// The scheme a table follows: Desktop when Ctrl+Y redoes, else Classic.
[[nodiscard]] TKeyScheme KeySchemeOf(const TKeyTable& keys) noexcept;

}  // namespace vlr
