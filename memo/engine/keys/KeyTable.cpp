// Default key table and the duplicate-sequence rule.
#include "memo/engine/keys/KeyTable.h"

#include <algorithm>

namespace vlr {

namespace {

constexpr std::uint16_t kVkBackspace = 8, kVkPgUp = 33, kVkPgDn = 34, kVkEnd = 35, kVkHome = 36,
                        kVkLeft = 37, kVkUp = 38, kVkRight = 39, kVkDown = 40, kVkInsert = 45,
                        kVkDelete = 46;

constexpr const char* kDescriptions[kEditorCommandCount] = {
    "Cursor left", "Cursor right", "Line start", "Line end", "Up one line", "Down one line",
    "Up one page", "Down one page", "Move to word before", "Move to word after", "Document start",
    "Document end", "Cut to clipboard", "Copy to clipboard", "Paste from clipboard",
    "Delete character at cursor", "Delete character before caret", "Indent selected block",
    "Un-indent selected block", "Toggle insert/overwrite mode",
    "Set Bookmark 0", "Set Bookmark 1", "Set Bookmark 2", "Set Bookmark 3", "Set Bookmark 4",
    "Set Bookmark 5", "Set Bookmark 6", "Set Bookmark 7", "Set Bookmark 8", "Set Bookmark 9",
    "Goto Bookmark 0", "Goto Bookmark 1", "Goto Bookmark 2", "Goto Bookmark 3", "Goto Bookmark 4",
    "Goto Bookmark 5", "Goto Bookmark 6", "Goto Bookmark 7", "Goto Bookmark 8", "Goto Bookmark 9",
    "Delete current line", "Undo", "Redo", "Delete previous word", "",
};

}  // namespace

const char* DefaultCommandDescription(int code) noexcept {
  return code >= 0 && code < kEditorCommandCount ? kDescriptions[code] : "";
}

TKeyTable DefaultKeyTable() {
  TKeyTable keys;
  for (int i = 0; i < kEditorCommandCount; ++i) keys.descriptions[static_cast<std::size_t>(i)] = kDescriptions[i];
  const auto bind = [&keys](std::uint16_t k1, std::uint16_t k2, int command) {
    keys.bindings.push_back({k1, k2, static_cast<std::uint8_t>(command)});
  };
  const std::uint16_t plain[] = {kVkLeft, kVkRight, kVkHome, kVkEnd, kVkUp, kVkDown, kVkPgUp, kVkPgDn};
  for (int i = 0; i < 8; ++i) bind(plain[i], 0, i);
  const std::uint16_t ctrl[] = {kVkLeft, kVkRight, kVkHome, kVkEnd, 'X', 'C', 'V'};
  for (int i = 0; i < 7; ++i) bind(kKeyCtrl | ctrl[i], 0, 8 + i);
  bind(kVkDelete, 0, 15);
  bind(kVkBackspace, 0, 16);
  bind(kKeyCtrl | 'K', 'I', 17);
  bind(kKeyCtrl | 'K', 'U', 18);
  bind(kVkInsert, 0, 19);
  for (int i = 0; i <= 9; ++i) bind(kKeyCtrl | 'K', static_cast<std::uint16_t>('0' + i), 20 + i);
  for (int i = 0; i <= 9; ++i) bind(kKeyCtrl | 'Q', static_cast<std::uint16_t>('0' + i), 30 + i);
  bind(kKeyCtrl | 'Y', 0, 40);
  bind(kKeyCtrl | 'Z', 0, 41);
  bind(kKeyCtrl | kKeyShift | 'Z', 0, 42);
  bind(kKeyCtrl | kVkBackspace, 0, 43);
  return keys;
}

bool KeySequencesCollide(const TKeyBinding& a, const TKeyBinding& b) noexcept {
  return a.key1 == b.key1 && (a.key2 == b.key2 || a.key2 == 0 || b.key2 == 0);
}

std::string DuplicateKeyText(const std::string& first, const std::string& second) {
  return "Duplicate key sequence definition for\r\n\"" + first + "\" and \"" + second + "\"";
}

int FindCollidingBinding(const TKeyTable& keys, const TKeyBinding& candidate) noexcept {
  for (std::size_t i = 0; i < keys.bindings.size(); ++i)
    if (KeySequencesCollide(keys.bindings[i], candidate)) return static_cast<int>(i);
  return -1;
}

void AddKeyBinding(TKeyTable& keys, const TKeyBinding& binding) {
  if (binding.command >= kEditorCommandCount)
    throw EKeyControllerException("Key command code out of range: " + std::to_string(binding.command));
  if (const int i = FindCollidingBinding(keys, binding); i >= 0)
    throw EAmbigiousKeyPair(DuplicateKeyText(keys.descriptions[keys.bindings[std::size_t(i)].command],
                                             keys.descriptions[binding.command]));
  keys.bindings.push_back(binding);
}

std::size_t RemoveKeyBinding(TKeyTable& keys, std::uint16_t key1, std::uint16_t key2) {
  const auto before = keys.bindings.size();
  std::erase_if(keys.bindings, [&](const TKeyBinding& b) { return b.key1 == key1 && b.key2 == key2; });
  return before - keys.bindings.size();
}

}  // namespace vlr
