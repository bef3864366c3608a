// Tests of the parser's scanning step: words, token tables, handlers, custom scanners, the state
// machine (push/pop, containers, validity), keyword tables, resets and styles.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "TestTables.h"
#include "memo/engine/TextStore.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

using namespace hltest;
using velora::memo::EdStream;
using velora::memo::TextStore;
using vlr::TSyntaxMemoParser;

namespace {

struct Tok {
  int value;
  int length;
  friend bool operator==(const Tok&, const Tok&) = default;
};

void PrintTo(const Tok& t, std::ostream* os) { *os << "{" << t.value << "," << t.length << "}"; }

// Every token of `text`, scanned from the parser's current state.
std::vector<Tok> Scan(TSyntaxMemoParser& p, const std::string& text) {
  TextStore st;
  st.setText(text);
  EdStream s(st, 0);
  std::vector<Tok> out;
  while (!s.atEnd()) {
    int len = 0;
    const int v = p.ScanToken(s, len);
    out.push_back({v, len});
  }
  return out;
}

TEST(ParserWords, CaseRuleAndLongestWordThatCounts) {
  for (const bool caseSensitive : {false, true}) {
    TSchemeTables t;
    t.settings.caseSensitive = caseSensitive;
    Word(t, "body", 21);
    Word(t, "<", 8);
    Word(t, "<!--", 11);
    TSyntaxMemoParser p;
    p.SetTables(t);
    if (caseSensitive)
      EXPECT_EQ(Scan(p, "BODY"), (std::vector<Tok>{{0, 1}, {0, 1}, {0, 1}, {0, 1}}));
    else
      EXPECT_EQ(Scan(p, "BODY"), (std::vector<Tok>{{21, 4}}));
    EXPECT_EQ(Scan(p, "body"), (std::vector<Tok>{{21, 4}}));
    // The longest word wins; a prefix of a longer word that is not complete falls back.
    EXPECT_EQ(Scan(p, "<!--<!-"), (std::vector<Tok>{{11, 4}, {8, 1}, {0, 1}, {0, 1}}));
  }
}

TEST(ParserWords, FollowingCharacterAndStates) {
  TSchemeTables t;
  const int notLetter = Group(t, AllBut("abcdefghijklmnopqrstuvwxyz"));
  Word(t, "if", 30, States({0}), notLetter);
  Word(t, "i", 31);
  Word(t, "end", 32, States({3}));  // valid only in state 3
  TSyntaxMemoParser p;
  p.SetTables(t);
  EXPECT_EQ(Scan(p, "if("), (std::vector<Tok>{{30, 2}, {0, 1}}));
  // "if" is not followed by a letter in "ifx": the shorter "i" that allows it is taken.
  EXPECT_EQ(Scan(p, "ifx"), (std::vector<Tok>{{31, 1}, {0, 1}, {0, 1}}));
  EXPECT_EQ(Scan(p, "if"), (std::vector<Tok>{{30, 2}}));  // nothing follows at the end
  EXPECT_EQ(Scan(p, "end"), (std::vector<Tok>{{0, 1}, {0, 1}, {0, 1}}));
}

TEST(ParserTokens, BodyTerminatorOptionalAndFlag) {
  TSchemeTables t;
  // "#" then one letter (body, no terminator): exactly one body character.
  Token(t, Chars("#"), Spec(t, GroupPart(t, Chars("abc")), false, {}, false), 40);
  // "[" body letters up to "]" kept in the token (flag), at least one body character.
  Token(t, Chars("["), Spec(t, GroupPart(t, Chars("abc")), false, {"]"}, true), 41);
  // "(" body letters up to ")" not kept, body optional.
  Token(t, Chars("("), Spec(t, GroupPart(t, Chars("abc")), true, {")"}, false), 42);
  // "<" then letters up to the two characters "->".
  Token(t, Chars("<"), Spec(t, GroupPart(t, Chars("abc-")), false, {"-", ">"}, true), 43);
  TSyntaxMemoParser p;
  p.SetTables(t);
  EXPECT_EQ(Scan(p, "#abc"), (std::vector<Tok>{{40, 2}, {0, 1}, {0, 1}}));
  EXPECT_EQ(Scan(p, "#x"), (std::vector<Tok>{{0, 1}, {0, 1}}));  // body fails: back to p + 1
  EXPECT_EQ(Scan(p, "[ab]c"), (std::vector<Tok>{{41, 4}, {0, 1}}));
  EXPECT_EQ(Scan(p, "[]"), (std::vector<Tok>{{0, 1}, {0, 1}}));  // "]" is not a body character
  EXPECT_EQ(Scan(p, "[ax]"), (std::vector<Tok>{{0, 1}, {0, 1}, {0, 1}, {0, 1}}));
  EXPECT_EQ(Scan(p, "()"), (std::vector<Tok>{{42, 1}, {0, 1}}));
  EXPECT_EQ(Scan(p, "(ab)"), (std::vector<Tok>{{42, 3}, {0, 1}}));
  EXPECT_EQ(Scan(p, "(ab"), (std::vector<Tok>{{42, 3}}));  // the end of the text ends the token
  EXPECT_EQ(Scan(p, "<a-b->x"), (std::vector<Tok>{{43, 6}, {0, 1}}));
}

TEST(ParserTokens, ScannerStartsAndBodies) {
  TSchemeTables t;
  ScannerToken(t, vlr::kScanNumberOrFp, 50);
  // '"' then string characters (scanner 0) up to '"', kept.
  vlr::TBodySpec str = Spec(t, ScannerPart(vlr::kScanStringChar), true, {"\""}, true);
  Token(t, Chars("\""), str, 51);
  TSyntaxMemoParser p;
  p.SetTables(t);
  EXPECT_EQ(Scan(p, "3.25e+2x"), (std::vector<Tok>{{50, 7}, {0, 1}}));
  EXPECT_EQ(Scan(p, "\"a b\" "), (std::vector<Tok>{{51, 5}, {0, 1}}));
  EXPECT_EQ(Scan(p, "\"\""), (std::vector<Tok>{{51, 2}}));
  // A line end inside the string: neither terminator nor body matches, the token fails.
  EXPECT_EQ(Scan(p, "\"a\rb").front(), (Tok{0, 1}));
}

TEST(ParserStates, PushAfterThenPopBeforeRestores) {
  TSchemeTables t;
  Word(t, "<", 1);                      // enters state 2, pushing the result
  Word(t, "{", 3, States({0, 2}));      // adds state 5
  Word(t, ">", 4, States({0, 2, 5}));   // pops before: back to the pushed set
  SetClear(t, 1, States({2}), States({0}), vlr::kPushAfter);
  SetClear(t, 3, States({5}), {});
  SetClear(t, 4, {}, {}, vlr::kPopBefore);
  TSyntaxMemoParser p;
  p.SetTables(t);
  TextStore st;
  st.setText("<{>");
  EdStream s(st, 0);
  int len = 0;
  EXPECT_EQ(p.ScanToken(s, len), 1);
  EXPECT_EQ(p.States(), States({2}));
  EXPECT_EQ(p.StackDepth(), 1u);
  EXPECT_EQ(p.ScanToken(s, len), 3);
  EXPECT_EQ(p.States(), States({2, 5}));
  EXPECT_EQ(p.ScanToken(s, len), 4);
  EXPECT_EQ(p.States(), States({2}));
  EXPECT_EQ(p.StackDepth(), 0u);
  // A pop on an empty stack leaves the states alone.
  p.ResetContext(0);
  EXPECT_EQ(Scan(p, ">"), (std::vector<Tok>{{4, 1}}));
  EXPECT_EQ(p.States(), States({0}));
}

TEST(ParserStates, ContainerLastsOneTokenAndValidity) {
  TSchemeTables t;
  Word(t, "@", 1);
  Word(t, "x", 2, States({0, 7}));
  vlr::TTokenRecord& c = Record(t, 1);
  c.toSet = States({7});
  c.toClear = States({0});
  c.noStateChange = false;
  c.container = true;
  Word(t, "y", 3, States({0, 7}));
  Record(t, 3).valid = States({7});  // only valid inside the container
  TSyntaxMemoParser p;
  p.SetTables(t);
  TextStore st;
  st.setText("@yyx");
  EdStream s(st, 0);
  int len = 0;
  EXPECT_EQ(p.ScanToken(s, len), 1);
  EXPECT_TRUE(p.insideContainer());
  EXPECT_EQ(p.States(), States({7}));
  EXPECT_EQ(p.ScanToken(s, len), 3);  // the one token under the container's states
  EXPECT_FALSE(p.insideContainer());
  EXPECT_EQ(p.States(), States({0}));
  EXPECT_EQ(p.ScanToken(s, len), 0);  // "y" is not valid in state 0
  EXPECT_EQ(p.ScanToken(s, len), 2);
  EXPECT_EQ(len, 4);
}

TEST(ParserTokens, StateTablesAndKeywordTables) {
  TSchemeTables t;
  Word(t, "<", 1);
  Word(t, ">", 2, States({0, 4}));
  SetClear(t, 1, States({4}), States({0}));
  SetClear(t, 2, States({0}), States({4}));
  Token(t, Chars("a"), vlr::TBodySpec{}, 10);         // default table
  Token(t, Chars("a"), vlr::TBodySpec{}, 11, 4);      // state 4's own table
  vlr::TKeywordTable kw;
  kw.valid = States({4});
  kw.caseSensitive = true;
  kw.words = {{"href", 20}, {"alt", 21}};
  t.keywordTables.push_back(kw);
  TSyntaxMemoParser p;
  p.SetTables(t);
  EXPECT_EQ(Scan(p, "a<a href alt Alt>a"),
            (std::vector<Tok>{{10, 1}, {1, 1}, {11, 1}, {0, 1}, {20, 4}, {0, 1}, {21, 3}, {0, 1},
                              {0, 1}, {0, 1}, {0, 1}, {2, 1}, {10, 1}}));
}

TEST(ParserTokens, KeywordTableWordsNeedTheirEndingCharacter) {
  TSchemeTables t;
  vlr::TKeywordTable kw;
  kw.valid = States({0});
  kw.endsWith = "[^a-z]";
  kw.words = {{"for", 30}, {"format", 31}};
  t.keywordTables.push_back(kw);
  TSyntaxMemoParser p;
  p.SetTables(t);
  // "for" at the start of "forx" does not count; "format" followed by "(" does.
  EXPECT_EQ(Scan(p, "forx"), (std::vector<Tok>{{0, 1}, {0, 1}, {0, 1}, {0, 1}}));
  EXPECT_EQ(Scan(p, "format("), (std::vector<Tok>{{31, 6}, {0, 1}}));
  EXPECT_EQ(Scan(p, "for"), (std::vector<Tok>{{30, 3}}));  // nothing follows at the end
}

TEST(ParserTokens, HandlersExtendOrDropTheWord) {
  TSchemeTables t;
  Word(t, "&", 16);
  // "&" must be followed by letters up to ";" (kept).
  t.handlers[16] = Spec(t, GroupPart(t, Chars("abcdefghijklmnopqrstuvwxyz")), false, {";"}, true);
  t.hasHandler.set(16);
  TSyntaxMemoParser p;
  p.SetTables(t);
  EXPECT_EQ(Scan(p, "&amp;x"), (std::vector<Tok>{{16, 5}, {0, 1}}));
  EXPECT_EQ(Scan(p, "& x"), (std::vector<Tok>{{0, 1}, {0, 1}, {0, 1}}));
}

TEST(ParserTokens, CustomParseMatches) {
  TSchemeTables t;
  Token(t, Chars("$"), Spec(t, CustomPart(7), false, {}, false), 60);
  TSyntaxMemoParser p;
  p.SetTables(t);
  EXPECT_EQ(Scan(p, "$ab"), (std::vector<Tok>{{0, 1}, {0, 1}, {0, 1}}));  // no handler: fails
  std::vector<int> ids;
  p.OnCustomParse = [&ids](TSyntaxMemoParser&, int id, EdStream& s, int& kLength, int& kValue) {
    ids.push_back(id);
    int n = 0;
    while (!s.atEnd() && s.current() >= 'a' && s.current() <= 'z') {
      s.advance();
      ++n;
    }
    kLength += n;
    if (n >= 3) kValue = 61;
    return n > 0;
  };
  EXPECT_EQ(Scan(p, "$ab $abc $1"), (std::vector<Tok>{{60, 3}, {0, 1}, {61, 4}, {0, 1}, {0, 1}, {0, 1}}));
  EXPECT_EQ(ids, (std::vector<int>{7, 7, 7}));
}

TEST(ParserReset, ContextStatesAndStyles) {
  TSchemeTables t = CommentTables();
  t.map[4] = 11;
  t.map[18] = 18;
  t.effects[11].present = true;
  t.effects[11].foreground = 0x800080;
  t.effects[11].defaultForeground = false;
  t.effects[11].fontStyle = 2;
  t.effects[18].present = true;
  t.effects[18].fontStyle = 4;
  t.effects[18].hotspot = true;
  TSyntaxMemoParser p;
  p.SetTables(t);
  EXPECT_EQ(p.Compile(), "Compiled");
  p.ResetContext(4);  // restarting inside a comment
  EXPECT_EQ(Scan(p, "ab*/x"), (std::vector<Tok>{{4, 2}, {3, 2}, {5, 1}}));
  p.ResetContext(9);  // no context set: the start states
  EXPECT_EQ(p.States(), States({0}));
  const velora::memo::StyleEffect c = p.styleOf(4);
  EXPECT_EQ(c.foreground, 0x800080u);
  EXPECT_FALSE(c.defaultForeground);
  EXPECT_TRUE(c.italic);
  EXPECT_FALSE(c.bold);
  EXPECT_TRUE(p.styleOf(18).hotspot);
  EXPECT_TRUE(p.styleOf(18).underline);
  EXPECT_TRUE(p.styleOf(5).defaultForeground);
  EXPECT_EQ(p.styleCount(), 19);
  p.ClearTables();
  EXPECT_EQ(p.Compile(), "");
  EXPECT_FALSE(p.HasTables());
}

TEST(ParserTokens, BadGroupIndicesReadAsEmptyGroups) {
  TSchemeTables t;
  Token(t, Chars("#"), vlr::TBodySpec{}, 40);
  t.defaultTable.entries[0].spec.body.kind = vlr::TScanPart::Kind::Group;
  t.defaultTable.entries[0].spec.body.group = 999;
  TSyntaxMemoParser p;
  p.SetTables(t);
  EXPECT_EQ(Scan(p, "#a"), (std::vector<Tok>{{0, 1}, {0, 1}}));
}

}  // namespace

TEST(ParserWords, AVeryLongWordBuildsAndGoesWithoutDeepRecursion) {
  // A word of many thousand characters (a damaged or hostile stored form) gives a trie chain of
  // as many nodes; building and destroying it must not recurse once per node.
  TSchemeTables t;
  Word(t, std::string(400'000, 'a'), 7);
  Word(t, "ab", 9);
  {
    TSyntaxMemoParser p;
    p.SetTables(t);
    EXPECT_EQ(Scan(p, "ab"), (std::vector<Tok>{{9, 2}}));
    EXPECT_EQ(Scan(p, "aaa"), (std::vector<Tok>{{0, 1}, {0, 1}, {0, 1}}));
  }
}
