// The "%%tokens" section (with InState blocks) and the "%%handlers" section, which share the
// body, "?" and terminator forms.
#include <string>

#include "memo/engine/scheme/CompileContext.h"

namespace vlr {

namespace {

using RW = TReservedWord;

// `match` "(" n ")", the `match` already peeked.
TScanPart ReadMatch(TSchemeBuild& b) {
  b.r.Next();
  b.r.Expect(RW::LParen, TSchemeErrorId::LParenExpected);
  TScanPart part;
  part.kind = TScanPart::Kind::Custom;
  part.custom = b.ReadByte();
  b.r.Expect(RW::RParen, TSchemeErrorId::RParenExpected);
  return part;
}

// A built-in scanner number (0, 1, 2 or 10..20); "Script syntax error" for anything else.
TScanPart ReadScanner(TSchemeBuild& b) {
  const TSchemeToken at = b.r.Peek();
  const long long n = b.r.ReadExpression();
  if (!IsBodyScanner(n)) b.Fail(at, TSchemeErrorId::SyntaxError);
  TScanPart part;
  part.kind = TScanPart::Kind::Scanner;
  part.scanner = static_cast<std::uint8_t>(n);
  return part;
}

// The body forms after a token's start or a handler's value: `match ( n )` alone, or a body
// group or scanner, an optional "?", a terminator and a flag value.
TBodySpec ReadBodySpec(TSchemeBuild& b) {
  TBodySpec spec;
  const TSchemeToken first = b.r.Peek();
  if (first.Is(RW::Match)) {
    spec.body = ReadMatch(b);
    return spec;
  }
  if (first.kind == TSchemeTokenKind::String) {
    b.r.Next();
    const auto group = ParseSingleCharSpec(first.raw, OriginOf(first));
    if (!group) b.Fail(first, TSchemeErrorId::SingleCharSpecExpected);
    spec.body.kind = TScanPart::Kind::Group;
    spec.body.group = b.AddGroup(*group, first);
  } else if (IsValueStart(first)) {
    spec.body = ReadScanner(b);
  } else {
    b.FailAt(first, TSchemeErrorId::SyntaxError);
  }

  spec.optionalBody = b.r.Accept(RW::Question);

  const TSchemeToken term = b.r.Peek();
  if (term.Is(RW::Match)) {
    spec.term[0] = ReadMatch(b);
    spec.termCount = 1;
  } else if (term.kind == TSchemeTokenKind::String) {
    b.r.Next();
    const std::vector<TSM_CharGroup> groups = ParseTerminator(term.raw, OriginOf(term));
    for (std::size_t i = 0; i < groups.size(); ++i) {
      spec.term[i].kind = TScanPart::Kind::Group;
      spec.term[i].group = b.AddGroup(groups[i], term);
    }
    spec.termCount = static_cast<std::uint8_t>(groups.size());
  } else if (IsValueStart(term)) {
    spec.term[0] = ReadScanner(b);
    spec.termCount = 1;
  } else {
    b.FailAt(term, TSchemeErrorId::SyntaxError);
  }

  spec.flag = b.r.ReadExpression() != 0;
  return spec;
}

// One token entry into `table`; `blockState` is the InState block's state, or -1.
void ReadTokenEntry(TSchemeBuild& b, TTokenTable& table, int blockState) {
  const TSchemeToken valueTok = b.r.Peek();
  TTokenEntry entry;
  entry.value = b.ReadByte();
  b.context = "%%Tokens - " + std::to_string(entry.value);

  const TSchemeToken start = b.r.Peek();
  TSM_CharGroup startSet;
  if (start.kind == TSchemeTokenKind::String) {
    b.r.Next();
    const auto group = ParseSingleCharSpec(start.raw, OriginOf(start));
    if (!group) b.Fail(start, TSchemeErrorId::SingleCharSpecExpected);
    startSet = *group;
    entry.startGroup = b.AddGroup(startSet, start);
    entry.spec = ReadBodySpec(b);
  } else if (IsValueStart(start)) {
    const long long n = b.r.ReadExpression();
    if (!IsStartScanner(n)) b.Fail(start, TSchemeErrorId::SyntaxError);
    entry.startIsScanner = true;
    entry.startScanner = static_cast<std::uint8_t>(n);
    startSet = StartSetOf(entry.startScanner);
  } else {
    b.FailAt(start, TSchemeErrorId::SyntaxError);
  }

  if (b.r.Peek().Is(RW::LBracket)) entry.valid = b.r.ReadStateList();
  entry.valid.set(0);
  if (blockState >= 0) entry.valid.set(static_cast<std::size_t>(blockState));

  for (unsigned c = 0; c < 256; ++c)
    if (startSet.Contains(static_cast<std::uint8_t>(c)) && table.first[c] >= 0)
      b.Fail(start, TSchemeErrorId::AmbiguousStartSet);
  // Every entry but one with an empty start set claims a character, so a table holds at most
  // a few hundred; the bound only keeps the index type safe against degenerate scripts.
  if (table.entries.size() >= 0x7FFF) b.FailText(valueTok, "Too many entries in one %%token table");
  const auto index = static_cast<std::int16_t>(table.entries.size());
  for (unsigned c = 0; c < 256; ++c)
    if (startSet.Contains(static_cast<std::uint8_t>(c))) table.first[c] = index;
  table.entries.push_back(std::move(entry));
}

TTokenTable& StateTable(TSchemeBuild& b, std::uint8_t state) {
  std::int16_t& slot = b.t.stateTableOf[state];
  if (slot < 0) {
    slot = static_cast<std::int16_t>(b.t.stateTables.size());
    b.t.stateTables.emplace_back();
  }
  return b.t.stateTables[static_cast<std::size_t>(slot)];
}

}  // namespace

void CompileTokens(TSchemeBuild& b) {
  while (!b.AtSectionEnd()) {
    const TSchemeToken p = b.r.Peek();
    if (!p.Is(RW::InState)) {
      ReadTokenEntry(b, b.t.defaultTable, -1);
      continue;
    }
    b.r.Next();
    const std::uint8_t state = b.ReadByte();
    b.context = "%%Tokens - InState " + std::to_string(state);
    b.r.Expect(RW::LParen, TSchemeErrorId::LParenExpected);
    StateTable(b, state);
    while (!b.r.Accept(RW::RParen)) {
      const TSchemeToken q = b.r.Peek();
      if (q.kind == TSchemeTokenKind::End || IsSectionHeader(q) || q.Is(RW::InState))
        b.FailAt(q, TSchemeErrorId::RParenExpected);
      // The table is looked up again for every entry: the vector of tables does not grow
      // inside a block, but this keeps the reference obviously valid.
      ReadTokenEntry(b, StateTable(b, state), state);
    }
  }
}

void CompileHandlers(TSchemeBuild& b) {
  while (!b.AtSectionEnd()) {
    const TSchemeToken at = b.r.Peek();
    const std::uint8_t value = b.ReadByte();
    b.context = "%%Handlers - " + std::to_string(value);
    if (b.t.hasHandler.test(value)) b.Fail(at, TSchemeErrorId::DuplicateHandler);
    b.t.handlers[value] = ReadBodySpec(b);
    // In a handler, `match ( n )` standing alone is followed by the flag value too.
    if (b.t.handlers[value].body.kind == TScanPart::Kind::Custom) b.t.handlers[value].flag = b.r.ReadExpression() != 0;
    b.t.hasHandler.set(value);
  }
}

}  // namespace vlr
