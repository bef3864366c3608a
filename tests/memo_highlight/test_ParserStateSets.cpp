// The parser works out what it needs of each state set once and keeps a bounded number of them;
// a text that meets thousands of sets must scan exactly as the state machine says, through the
// control's record-at-a-time scan and through single tokens alike.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TestTables.h"
#include "memo/engine/MemoEngine.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

using namespace hltest;

namespace {

constexpr int kToggles = 13;  // 8192 state sets, more than the parser keeps

// Lower-case letter k adds state k + 1 (value 10 + k), upper-case letter k takes it away
// (value 40 + k). "#" is 100 + k in the table of state k + 1, the lowest set state with a table
// deciding, and 99 in the default table. Runs of "." are 5 wherever they are; "!" is valid
// only while state 1 is set (value 7), otherwise it is no token.
TSchemeTables ToggleTables() {
  TSchemeTables t;
  t.settings.caseSensitive = true;
  for (int k = 0; k < kToggles; ++k) {
    Word(t, std::string(1, char('a' + k)), 10 + k);
    Word(t, std::string(1, char('A' + k)), 40 + k);
    SetClear(t, 10 + k, States({k + 1}), {});
    SetClear(t, 40 + k, {}, States({k + 1}));
    Token(t, Chars("#"), vlr::TBodySpec{}, 100 + k, k + 1);
    Token(t, Chars("."), Spec(t, GroupPart(t, Chars(".")), true, {"#!\r" "abcdefghijklmABCDEFGHIJKLM"}, false), 5,
          k + 1);
    Token(t, Chars("!"), vlr::TBodySpec{}, 7, k + 1);
  }
  Token(t, Chars("#"), vlr::TBodySpec{}, 99);
  vlr::TBodySpec run = Spec(t, GroupPart(t, Chars(".")), true, {}, false);
  run.term[run.termCount++] = GroupPart(t, AllBut("."));  // a run: every other character ends it
  Token(t, Chars("."), run, 5);
  Token(t, Chars("!"), vlr::TBodySpec{}, 7);
  Record(t, 7).valid = States({1});
  return t;
}

// A random walk over the toggles, with "#", "!" and runs of "." in between, in lines.
std::string ToggleText(int length) {
  std::uint64_t s = 0x2545F4914F6CDD1Dull;
  const auto below = [&s](std::uint64_t n) {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return int(s % n);
  };
  std::string text;
  while (int(text.size()) < length) {
    const int r = below(10);
    if (r < 5) text += char((below(2) ? 'a' : 'A') + below(kToggles));
    else if (r < 7) text += '#';
    else if (r < 8) text += '!';
    else text += std::string(std::size_t(1 + below(4)), '.');
    if (below(50) == 0) text += '\r';
  }
  return text + "\r";
}

// The values the state machine gives the text, worked out here on their own.
std::vector<std::uint8_t> Expected(const std::string& text) {
  std::vector<std::uint8_t> out;
  unsigned set = 0;  // bit k: state k + 1
  for (char c : text) {
    std::uint8_t v = 0;
    if (c >= 'a' && c < 'a' + kToggles) {
      v = std::uint8_t(10 + (c - 'a'));
      set |= 1u << (c - 'a');
    } else if (c >= 'A' && c < 'A' + kToggles) {
      v = std::uint8_t(40 + (c - 'A'));
      set &= ~(1u << (c - 'A'));
    } else if (c == '#') {
      v = 99;
      for (int k = 0; k < kToggles; ++k)
        if (set & (1u << k)) {
          v = std::uint8_t(100 + k);
          break;
        }
    } else if (c == '!') {
      v = (set & 1u) ? 7 : 0;
    } else if (c == '.') {
      v = 5;
    }
    out.push_back(v);
  }
  return out;
}

TEST(ParserStateSets, ThousandsOfSetsScanAsTheStateMachineSays) {
  const std::string text = ToggleText(120000);
  const std::vector<std::uint8_t> expected = Expected(text);

  // Token by token.
  velora::memo::TextStore store;
  store.setText(text);
  vlr::TSyntaxMemoParser single;
  single.SetTables(ToggleTables());
  EXPECT_EQ(FullScan(single, store), expected);

  // Record by record, as a control highlights, in slices.
  velora::memo::MemoEngine e;
  vlr::TSyntaxMemoParser p;
  p.SetTables(ToggleTables());
  e.setVisibleExtent(25, 80);
  e.setText(text);
  vlr::AttachHighlighter(e, p);
  while (e.HighlightSlice(2000)) {
  }
  EXPECT_EQ(e.tokens(0, e.length()), expected);

  // A second pass of the same parser starts with the sets it already knows.
  vlr::RehighlightAll(e);
  while (e.HighlightSlice(100000)) {
  }
  EXPECT_EQ(e.tokens(0, e.length()), expected);
}

}  // namespace
