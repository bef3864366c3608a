// The "%%keys", "%%autoreplace" and "%%templates" sections, the default key table and the
// tab-stop columns.
#include <string>
#include <unordered_map>
#include <vector>

#include "memo/engine/scheme/CompileContext.h"
#include "memo/engine/scheme/SchemeCompiler.h"

namespace vlr {

namespace {

using RW = TReservedWord;

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

// Whether `a` and `b` cannot both live in the key tree: the same sequence, or a one-key
// sequence that is also the first key of a two-key one.
bool Collide(const TKeyBinding& a, const TKeyBinding& b) noexcept {
  return a.key1 == b.key1 && (a.key2 == b.key2 || a.key2 == 0 || b.key2 == 0);
}

// Sequences already bound, by first key, so that a long key list is checked in linear time.
using TBindingIndex = std::unordered_map<std::uint16_t, std::vector<std::size_t>>;

void AddBinding(TSchemeBuild& b, TBindingIndex& index, const TKeyBinding& nb, const TSchemeToken& at) {
  TKeyTable& keys = b.t.keys;
  std::vector<std::size_t>& same = index[nb.key1];
  for (const std::size_t i : same) {
    const TKeyBinding& e = keys.bindings[i];
    if (Collide(e, nb))
      b.FailText(at, "Duplicate key sequence definition for\r\n\"" + keys.descriptions[e.command] +
                         "\" and \"" + keys.descriptions[nb.command] + "\"");
  }
  same.push_back(keys.bindings.size());
  keys.bindings.push_back(nb);
}

// An optional "[" shift, ctrl, alt "]" list (commas allowed) as shortcut modifier bits.
std::uint16_t ReadModifiers(TSchemeBuild& b) {
  std::uint16_t mods = 0;
  if (!b.r.Accept(RW::LBracket)) return mods;
  for (;;) {
    const TSchemeToken t = b.r.Next();
    if (t.Is(RW::RBracket)) return mods;
    if (t.Is(RW::Shift)) mods |= kKeyShift;
    else if (t.Is(RW::Ctrl)) mods |= kKeyCtrl;
    else if (t.Is(RW::Alt)) mods |= kKeyAlt;
    else if (!t.Is(RW::Comma)) b.FailAt(t, TSchemeErrorId::RBracketExpected);
  }
}

// A key: a number 0..255 (a virtual key code) or a one-character string, upper-cased.
std::uint16_t ReadKeyCode(TSchemeBuild& b) {
  const TSchemeToken t = b.r.Peek();
  if (IsValueStart(t)) return static_cast<std::uint16_t>(b.ReadByte());
  if (t.kind != TSchemeTokenKind::String) b.FailAt(t, TSchemeErrorId::KeySpecRequired);
  b.r.Next();
  if (t.text.empty()) b.Fail(t, TSchemeErrorId::KeySpecRequired);
  if (t.text.size() > 1) b.Fail(t, TSchemeErrorId::SingleCharSpecExpected);
  char c = t.text[0];
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return static_cast<std::uint8_t>(c);
}

}  // namespace

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

void CompileKeys(TSchemeBuild& b) {
  b.t.keys.bindings.clear();
  TBindingIndex index;
  while (!b.AtSectionEnd()) {
    const std::uint8_t command = static_cast<std::uint8_t>(b.r.ReadValueIn(0, kEditorCommandCount - 1));
    b.context = "%%Keys - " + std::to_string(command);
    std::vector<std::pair<TKeyBinding, TSchemeToken>> sequences;
    if (b.r.Accept(RW::LParen)) {
      do {
        const TSchemeToken at = b.r.Peek();
        TKeyBinding kb;
        kb.command = command;
        kb.key1 = static_cast<std::uint16_t>(ReadModifiers(b) | ReadKeyCode(b));
        if (b.r.Accept(RW::Comma)) kb.key2 = ReadKeyCode(b);
        sequences.emplace_back(kb, at);
      } while (b.r.Accept(RW::Bar));
      b.r.Expect(RW::RParen, TSchemeErrorId::RParenExpected);
    }
    if (b.r.Peek().kind == TSchemeTokenKind::String) {
      const TSchemeToken d = b.r.Next();
      if (d.text.empty()) b.Fail(d, TSchemeErrorId::BlankKeyFunction);
      b.t.keys.descriptions[command] = d.text;
    }
    for (const auto& [kb, at] : sequences) AddBinding(b, index, kb, at);
  }
}

void CompileAutoReplace(TSchemeBuild& b) {
  b.t.autoReplace.clear();
  while (!b.AtSectionEnd()) {
    if (b.r.Accept(RW::ActionKeys)) {
      b.context = "%%AutoReplace - actionkeys";
      b.r.Expect(RW::Equals, TSchemeErrorId::EqualsExpected);
      // The act-keys text has escapes of its own ("\{Return}"), so it is kept as written.
      b.t.actKeys = b.ReadStringToken().raw;
      continue;
    }
    const TSchemeToken item = b.ReadStringToken();
    b.context = "%%AutoReplace - " + item.text;
    if (item.text.empty()) b.Fail(item, TSchemeErrorId::StringExpected);
    b.r.Expect(RW::Equals, TSchemeErrorId::EqualsExpected);
    b.t.autoReplace.push_back({item.text, b.r.ReadString()});
  }
}

void CompileTemplates(TSchemeBuild& b) {
  b.t.templates.clear();
  while (!b.AtSectionEnd()) {
    if (b.r.Accept(RW::HotKey)) {
      b.context = "%%Templates - hotkey";
      b.r.Expect(RW::Equals, TSchemeErrorId::EqualsExpected);
      b.r.Expect(RW::LParen, TSchemeErrorId::LParenExpected);
      const std::uint16_t mods = ReadModifiers(b);
      b.t.templateHotKey = static_cast<std::uint16_t>(mods | ReadKeyCode(b));
      b.r.Expect(RW::RParen, TSchemeErrorId::RParenExpected);
      continue;
    }
    const TSchemeToken name = b.ReadStringToken();
    b.context = "%%Templates - " + name.text;
    if (name.text.empty()) b.Fail(name, TSchemeErrorId::StringExpected);
    TTemplateEntry entry;
    entry.name = name.text;
    if (b.r.Accept(RW::LParen)) {
      entry.description = b.r.ReadString();
      b.r.Expect(RW::RParen, TSchemeErrorId::RParenExpected);
    }
    b.r.Expect(RW::Equals, TSchemeErrorId::EqualsExpected);
    entry.text = b.r.ReadString();
    b.t.templates.push_back(std::move(entry));
  }
}

void ParseTabColumns(TSchemeBuild& b, const std::string& text, std::array<int, kMaxTabStops>& stops,
                     const TSchemeToken& at) {
  stops.fill(-1);
  std::size_t count = 0;
  long long previous = 0;
  std::size_t i = 0;
  const auto isSeparator = [](char c) { return c == ' ' || c == ',' || c == '\t' || c == ';'; };
  for (;;) {
    while (i < text.size() && isSeparator(text[i])) ++i;
    if (i >= text.size()) return;
    if (text[i] < '0' || text[i] > '9') b.FailText(at, "Tab stop column value expected");
    long long column = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      if (column < 1000000) column = column * 10 + (text[i] - '0');
      ++i;
    }
    if (i < text.size() && !isSeparator(text[i])) b.FailText(at, "Tab stop column value expected");
    if (count >= kMaxTabStops) b.FailText(at, "Too many tab stops - maximum of " + std::to_string(kMaxTabStops));
    if (column <= 1) b.FailText(at, "Tab column must be > 1");
    if (column <= previous) b.FailText(at, "Tab columns must be in order and unique");
    stops[count++] = static_cast<int>(column - 1);
    previous = column;
  }
}

}  // namespace vlr
