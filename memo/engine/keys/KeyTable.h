// The flat key table of a language (TKeyTable: bindings and command descriptions) and the rules
// every editor of it keeps: the default bindings, and no key sequence bound twice.
#pragma once

#include <cstdint>
#include <string>

#include "memo/engine/Types.h"
#include "memo/engine/keys/KeyBinding.h"

namespace vlr {

// Errors of the key controller and its tables.
class EKeyControllerException : public velora::memo::ESyntaxMemo {
 public:
  using velora::memo::ESyntaxMemo::ESyntaxMemo;
};
// A key sequence that is already bound (the text names both commands).
class EAmbigiousKeyPair : public EKeyControllerException {
 public:
  using EKeyControllerException::EKeyControllerException;
};

// The built-in description of command `code` (0..44); empty for codes without one.
[[nodiscard]] const char* DefaultCommandDescription(int code) noexcept;

// All 45 descriptions and the default keys of every command.
[[nodiscard]] TKeyTable DefaultKeyTable();

// Whether two sequences cannot both be bound: the same sequence, or a one-key sequence that is
// also the first key of a two-key one.
[[nodiscard]] bool KeySequencesCollide(const TKeyBinding& a, const TKeyBinding& b) noexcept;

// "Duplicate key sequence definition for" CR LF "\"first\" and \"second\"".
[[nodiscard]] std::string DuplicateKeyText(const std::string& first, const std::string& second);

// Index of the binding of `keys` that `candidate` collides with, or -1.
[[nodiscard]] int FindCollidingBinding(const TKeyTable& keys, const TKeyBinding& candidate) noexcept;

// Appends a binding; throws EAmbigiousKeyPair (naming the bound command first) when it collides,
// leaving the table as it was.
void AddKeyBinding(TKeyTable& keys, const TKeyBinding& binding);

// Removes every binding of exactly this sequence; the number removed.
std::size_t RemoveKeyBinding(TKeyTable& keys, std::uint16_t key1, std::uint16_t key2);

}  // namespace vlr
