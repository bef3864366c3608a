// The "%%keys", "%%autoreplace" and "%%templates" sections, the default key table and the
// tab-stop columns.
#include <string>
#include <unordered_map>
#include <vector>

#include "memo/engine/LegacyText.h"
#include "memo/engine/MacroKeywords.h"
#include "memo/engine/keys/KeyTable.h"
#include "memo/engine/keys/TabStops.h"
#include "memo/engine/scheme/CompileContext.h"
#include "memo/engine/scheme/SchemeCompiler.h"

namespace vlr {

namespace {

using RW = TReservedWord;

// Sequences already bound, by first key, so that a long key list is checked in linear time.
using TBindingIndex = std::unordered_map<std::uint16_t, std::vector<std::size_t>>;

void AddBinding(TSchemeBuild& b, TBindingIndex& index, const TKeyBinding& nb, const TSchemeToken& at) {
  TKeyTable& keys = b.t.keys;
  std::vector<std::size_t>& same = index[nb.key1];
  for (const std::size_t i : same) {
    const TKeyBinding& e = keys.bindings[i];
    if (KeySequencesCollide(e, nb))
      b.FailText(at, DuplicateKeyText(keys.descriptions[e.command], keys.descriptions[nb.command]));
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
      // The act-keys text has escapes of its own ("\{Return}"), so it is kept as written; a
      // text the control could not read is refused here rather than replaced at load.
      const TSchemeToken keys = b.ReadStringToken();
      try {
        (void)velora::memo::TAutoReplace::ParseActKeys(keys.raw);
      } catch (const velora::memo::ESyntaxMemo& e) {
        b.FailText(keys, e.what());
      }
      b.t.actKeys = keys.raw;
      continue;
    }
    const TSchemeToken item = b.ReadStringToken();
    b.context = "%%AutoReplace - " + item.text;
    if (item.text.empty()) b.Fail(item, TSchemeErrorId::StringExpected);
    b.r.Expect(RW::Equals, TSchemeErrorId::EqualsExpected);
    // Items and texts are compiled to UTF-8, the form typed text has; a script may write them
    // as Windows-1252 bytes ('\xA3' for "£").
    b.t.autoReplace.push_back({velora::memo::Windows1252AsUtf8(item.text),
                               velora::memo::Windows1252AsUtf8(b.r.ReadString())});
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
    entry.name = velora::memo::Windows1252AsUtf8(name.text);
    if (b.r.Accept(RW::LParen)) {
      entry.description = velora::memo::Windows1252AsUtf8(b.r.ReadString());
      b.r.Expect(RW::RParen, TSchemeErrorId::RParenExpected);
    }
    b.r.Expect(RW::Equals, TSchemeErrorId::EqualsExpected);
    entry.text = velora::memo::Windows1252AsUtf8(b.r.ReadString());
    b.t.templates.push_back(std::move(entry));
  }
}

void ParseTabColumns(TSchemeBuild& b, const std::string& text, std::array<int, kMaxTabStops>& stops,
                     const TSchemeToken& at) {
  try {
    stops = ParseTabStops(text);
  } catch (const velora::memo::ESyntaxMemo& e) {
    b.FailText(at, e.what());
  }
}

}  // namespace vlr
