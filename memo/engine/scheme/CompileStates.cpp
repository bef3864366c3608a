// The "%%map", "%%effects", "%%states", "%%containers" and "%%kwTables" sections.
#include <string>

#include "memo/engine/scheme/CompileContext.h"

namespace vlr {

namespace {

using RW = TReservedWord;

// A state or a state list after a "+" or "-" item sign: a single value, so that a following
// sign starts the next item instead of continuing an expression.
TStateSet ReadItemStates(TSchemeBuild& b) {
  if (b.r.Peek().Is(RW::LBracket)) return b.r.ReadStateList();
  TStateSet s;
  s.set(static_cast<std::size_t>(b.ReadSingleValue(0, 255)));
  return s;
}

// "(" { ("+" | "-") states [","] } ")" into the record's states-to-set and states-to-clear.
void ReadStateItems(TSchemeBuild& b, TTokenRecord& rec) {
  b.r.Expect(RW::LParen, TSchemeErrorId::LParenExpected);
  for (;;) {
    const TSchemeToken t = b.r.Next();
    if (t.Is(RW::RParen)) break;
    if (t.Is(RW::Plus)) rec.toSet |= ReadItemStates(b);
    else if (t.Is(RW::Minus)) rec.toClear |= ReadItemStates(b);
    else b.FailAt(t, TSchemeErrorId::SyntaxError);
    b.r.Accept(RW::Comma);
  }
  rec.noStateChange = rec.toSet.none() && rec.toClear.none();
}

// A colour, then "*" when the default colour is to be used instead.
std::uint32_t ReadEffectColor(TSchemeBuild& b, bool& useDefault) {
  const auto c = static_cast<std::uint32_t>(b.r.ReadValueIn(0, TSYM_Compiler::kMaxValue));
  useDefault = b.r.Accept(RW::Star);
  return c;
}

// "[" font style bit numbers 0..7 separated by "," "]".
std::uint8_t ReadFontStyles(TSchemeBuild& b) {
  const TSchemeToken open = b.r.Next();
  if (!open.Is(RW::LBracket)) b.FailAt(open, TSchemeErrorId::BadFontStyle);
  std::uint8_t bits = 0;
  if (b.r.Accept(RW::RBracket)) return bits;
  for (;;) {
    const TSchemeToken at = b.r.Peek();
    if (!IsValueStart(at)) b.FailAt(at, TSchemeErrorId::BadFontStyle);
    const long long v = b.r.ReadExpression();
    if (v < 0 || v > 7) b.Fail(at, TSchemeErrorId::BadFontStyle);
    bits = static_cast<std::uint8_t>(bits | (1u << v));
    const TSchemeToken sep = b.r.Next();
    if (sep.Is(RW::RBracket)) return bits;
    if (!sep.Is(RW::Comma)) b.FailAt(sep, TSchemeErrorId::BadFontStyle);
  }
}

}  // namespace

void CompileMap(TSchemeBuild& b) {
  while (!b.AtSectionEnd()) {
    const std::uint8_t value = b.ReadByte();
    b.context = "%%Map - " + std::to_string(value);
    b.t.map[value] = b.ReadByte();
  }
}

namespace {

void ReadEffects(TSchemeBuild& b, std::array<TSchemeEffect, 256>& effects, const char* section) {
  while (!b.AtSectionEnd()) {
    const TSchemeToken at = b.r.Peek();
    const std::uint8_t style = b.ReadByte();
    b.context = std::string(section) + " - " + std::to_string(style);
    if (style != 0 && effects[style].present) b.Fail(at, TSchemeErrorId::DuplicateEffect);
    TSchemeEffect e;
    e.present = true;
    e.fontStyle = ReadFontStyles(b);
    e.foreground = ReadEffectColor(b, e.defaultForeground);
    e.background = ReadEffectColor(b, e.defaultBackground);
    if (b.r.Peek().kind == TSchemeTokenKind::String) {
      const TSchemeToken hot = b.r.Next();
      if (AsciiLower(hot.text) != "hotspot") b.Fail(hot, TSchemeErrorId::SyntaxError);
      e.hotspot = true;
    }
    effects[style] = e;
  }
}

}  // namespace

void CompileEffects(TSchemeBuild& b) { ReadEffects(b, b.t.effects, "%%Effects"); }

void CompileDarkEffects(TSchemeBuild& b) { ReadEffects(b, b.t.darkEffects, "%%DarkEffects"); }

void CompileStates(TSchemeBuild& b) {
  while (!b.AtSectionEnd()) {
    const std::uint8_t value = b.ReadByte();
    b.context = "%%States - " + std::to_string(value);
    TTokenRecord& rec = b.Record(value);
    if (b.r.Accept(RW::Push)) rec.pushPop = kPushBefore;
    else if (b.r.Accept(RW::Pop)) rec.pushPop = kPopBefore;
    ReadStateItems(b, rec);
    if (b.r.Accept(RW::Push)) {
      rec.pushPop = kPushAfter;
    } else if (b.r.Accept(RW::Pop)) {
      rec.pushPop = kPopAfter;
      rec.toSet.reset();
      rec.toClear.reset();
      rec.noStateChange = true;
    }
  }
}

void CompileContainers(TSchemeBuild& b) {
  while (!b.AtSectionEnd()) {
    const std::uint8_t value = b.ReadByte();
    b.context = "%%Containers - " + std::to_string(value);
    TTokenRecord& rec = b.Record(value);
    ReadStateItems(b, rec);
    rec.container = true;
  }
}

void CompileKwTables(TSchemeBuild& b) {
  while (!b.AtSectionEnd()) {
    const TSchemeToken at = b.r.Next();
    b.context = "%%kwTables - " + std::to_string(b.t.keywordTables.size() + 1);
    if (!at.Is(RW::ForState)) b.FailAt(at, TSchemeErrorId::SyntaxError);
    if (b.t.keywordTables.size() >= kMaxKeywordTables) b.FailText(at, "Too many keyword tables declared");
    TKeywordTable table;
    table.valid = b.r.ReadStateList();
    if (table.valid.none()) table.valid.set(0);
    for (const TKeywordTable& other : b.t.keywordTables)
      if ((other.valid & table.valid).any()) b.FailText(at, "Ambigious key table state definition");
    b.r.Expect(RW::EndsWith, TSchemeErrorId::SyntaxError);
    table.endsWith = b.r.ReadString();
    // An optional `case n` gives the table its own case rule (scripts embedded in a
    // case-insensitive language may be case-sensitive).
    int ownCase = -1;
    if (b.r.Accept(RW::Case)) ownCase = b.r.ReadExpression() != 0 ? 1 : 0;
    b.keywordCase.push_back(ownCase);
    b.r.Expect(RW::LParen, TSchemeErrorId::LParenExpected);
    std::vector<std::pair<int, int>> where;
    do {
      const std::uint8_t value = b.ReadByte();
      b.r.Expect(RW::Is, TSchemeErrorId::SyntaxError);
      do {
        const TSchemeToken w = b.ReadStringToken();
        if (w.text.empty()) b.Fail(w, TSchemeErrorId::StringExpected);
        table.words.push_back({w.text, value});
        where.emplace_back(w.line, w.column);
      } while (b.r.Accept(RW::Comma) && b.r.Peek().kind == TSchemeTokenKind::String);
    } while (!b.r.Accept(RW::RParen));
    b.t.keywordTables.push_back(std::move(table));
    b.keywordAt.push_back(std::move(where));
  }
}

}  // namespace vlr
