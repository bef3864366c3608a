// TREParser: syntax, errors with their columns, sub-expressions, limits and the step budget.
#include <gtest/gtest.h>

#include <string>

#include "ChunkedSource.h"
#include "memo/engine/search/REParser.h"

using namespace velora::memo;

namespace {

struct Found {
  Pos start = -1, end = -1;
  friend bool operator==(const Found&, const Found&) = default;
};

Found first(const std::string& expr, const std::string& text, bool matchCase = true, Pos from = 0) {
  TREParser re;
  EXPECT_TRUE(re.compile(expr, matchCase)) << expr << ": " << re.errorMessage();
  StringSource src(text);
  const Pos p = re.search(src, from);
  return p < 0 ? Found{} : Found{p, re.matchEnd()};
}

}  // namespace

TEST(REParser, LiteralsEscapesAndStrings) {
  EXPECT_EQ(first("a.c", "xxabcx"), (Found{2, 5}));
  EXPECT_EQ(first("a\\.c", "abc a.c"), (Found{4, 7}));
  // "\n" is the stored line break (13), "\r" is 10.
  EXPECT_EQ(first("a\\nb", "a\rb"), (Found{0, 3}));
  EXPECT_EQ(first("a\\rb", "a\rb a\nb"), (Found{4, 7}));
  EXPECT_EQ(first("\\t\\s\\b\\f", "x\t \b\f"), (Found{1, 5}));
  EXPECT_EQ(first("\\x41\\x4", "zA\x04"), (Found{1, 3}));
  EXPECT_EQ(first("\\101\\60", "A0"), (Found{0, 2}));
  EXPECT_EQ(first("\\q\\*", "q*"), (Found{0, 2}));
  // A quoted string is one atom; escapes apply inside, specials do not.
  EXPECT_EQ(first("\"a.b*\"+", "a.b*a.b*ab"), (Found{0, 8}));
  EXPECT_EQ(first("\"\\x41\"", "A"), (Found{0, 1}));
}

TEST(REParser, SetsAnchorsAlternativesAndRepeats) {
  EXPECT_EQ(first("[a-c]+", "xxcabz"), (Found{2, 5}));
  EXPECT_EQ(first("[^a-c ]+", "abc xyz"), (Found{4, 7}));
  EXPECT_EQ(first("[]a]+", "b]a]"), (Found{1, 4}));
  EXPECT_EQ(first("[-x]+", "a-x-"), (Found{1, 4}));
  EXPECT_EQ(first("^b", "ab\rbc"), (Found{3, 4}));
  EXPECT_EQ(first("b$", "bc\rab\r"), (Found{4, 5}));
  EXPECT_EQ(first("cat|dog", "hotdog cat"), (Found{3, 6}));
  EXPECT_EQ(first("colou?r", "color"), (Found{0, 5}));
  EXPECT_EQ(first("(ab)+c", "ababc"), (Found{0, 5}));
  // A double quote opens a literal string, so a quote as a character is escaped (not in sets).
  EXPECT_EQ(first("<a href=\\\"[^\"]*\\\"", "<p><a href=\"x.html\">"), (Found{3, 19}));
  // Letter case is ignored unless the search matches case; sets too.
  EXPECT_EQ(first("[a-c]+", "xCAB", false), (Found{1, 4}));
  EXPECT_EQ(first("[^a]", "Ab", false), (Found{1, 2}));
  EXPECT_EQ(first("abc", "ABC", true), (Found{}));
}

TEST(REParser, SubExpressionsAndRecordedPositions) {
  TREParser re;
  ASSERT_TRUE(re.compile("(a+)(x)?(b+)", true));
  EXPECT_EQ(re.groupCount(), 3);
  StringSource src("zzaabbb");
  ASSERT_EQ(re.search(src, 0), 2);
  EXPECT_EQ(re.matchStart(1), 2);
  EXPECT_EQ(re.matchEnd(1), 4);
  EXPECT_EQ(re.matchStart(2), -1);  // took no part
  EXPECT_EQ(re.matchStart(3), 4);
  EXPECT_EQ(re.matchEnd(), 7);
  // Recorded: start, the boundaries of groups 1 and 3, the end; indices are clamped.
  EXPECT_EQ(re.recordedCount(), 6);
  EXPECT_EQ(re.recordedPosition(0), 2);
  EXPECT_EQ(re.recordedPosition(5), 7);
  EXPECT_EQ(re.recordedPosition(99), 7);
  EXPECT_THROW((void)re.matchStart(10), ESyntaxMemo);
}

TEST(REParser, ErrorsWithTheirColumns) {
  struct Case {
    const char* expr;
    REError code;
    int column;
  };
  const Case cases[] = {
      {"*a", REError::InvalidRepeat, 0},
      {"a|+b", REError::InvalidRepeat, 2},
      {"(*a)", REError::InvalidRepeat, 1},
      {"a**", REError::NestedRepeat, 2},
      {"a+?", REError::NestedRepeat, 2},
      {"(a*)*b", REError::InvalidRepeat, 4},
      {"^*", REError::InvalidRepeat, 1},
      {"(a|)+", REError::InvalidRepeat, 4},
      {"(a*)?b", REError::None, 0},  // "?" may follow an atom that matches nothing
      {"[z-a]", REError::InvalidRange, 1},
      {"[a-]", REError::InvalidRange, 1},
      {"[abc", REError::UnmatchedBracket, 0},
      {"(ab", REError::UnmatchedParenthesis, 0},
      {"ab)", REError::UnmatchedParenthesis, 2},
      {"(1)(2)(3)(4)(5)(6)(7)(8)(9)(10)", REError::TooManySubexpressions, 27},
      {"\\xg", REError::HexDigitExpected, 2},
      {"ab\\", REError::UnexpectedEnd, 2},
      {"\"abc", REError::QuoteExpected, 4},
      {"", REError::InvalidParameter, 0},
  };
  for (const Case& c : cases) {
    TREParser re;
    EXPECT_EQ(re.compile(c.expr, true), c.code == REError::None) << c.expr;
    EXPECT_EQ(re.error(), c.code) << c.expr;
    if (c.code != REError::None && c.code != REError::InvalidParameter) {
      EXPECT_EQ(re.errorColumn(), c.column) << c.expr;
    }
  }
  TREParser re;
  EXPECT_FALSE(re.compile("ab**", true));
  EXPECT_EQ(re.errorMessage(), "Nested repeat\nab**\n   ^");
  const ERegExprError err(re.error(), re.errorColumn(), re.expression());
  EXPECT_STREQ(err.what(), "Nested repeat\nab**\n   ^");
  EXPECT_STREQ(REErrorText(REError::QuoteExpected), "' expected");
  EXPECT_EQ(int(REError::Internal), 4262);
}

TEST(REParser, ProgramLimitOf4096Cells) {
  TREParser re;
  EXPECT_TRUE(re.compile(std::string(4000, 'a'), true));
  EXPECT_LE(re.cells(), TREParser::kMaxCells);
  EXPECT_FALSE(re.compile(std::string(4100, 'a'), true));
  EXPECT_EQ(re.error(), REError::OutOfMemory);
  std::string sets;
  for (int i = 0; i < 500; ++i) sets += "[ab]";  // nine cells each
  EXPECT_FALSE(re.compile(sets, true));
  EXPECT_EQ(re.error(), REError::OutOfMemory);
}

TEST(REParser, MatchesAcrossSegmentsAndBackwards) {
  const std::string text = "one <b>two</b> three <b>four</b>";
  velora::memo::test::ChunkedSource src(text, 3);
  TREParser re;
  ASSERT_TRUE(re.compile("<b>[a-z]+</b>", true));
  EXPECT_EQ(re.search(src, 0), 4);
  EXPECT_EQ(re.matchEnd(), 14);
  EXPECT_EQ(re.search(src, 5), 21);
  EXPECT_EQ(re.searchBackward(src, Pos(text.size())), 21);
  EXPECT_EQ(re.searchBackward(src, 21), 4);
  EXPECT_EQ(re.searchBackward(src, 4), -1);
  EXPECT_EQ(re.error(), REError::NotFound);
}

TEST(REParser, PathologicalExpressionEndsWithinTheBudget) {
  // (a|aa)*c on a run of a's has exponentially many ways to fail.
  TREParser re;
  ASSERT_TRUE(re.compile("(a|aa)*c", true));
  const std::string text(60, 'a');
  StringSource src(text);
  EXPECT_EQ(re.search(src, 0), -1);
  EXPECT_TRUE(re.budgetExhausted());
  EXPECT_EQ(re.error(), REError::NotFound);
  // A budget large enough for an ordinary search does not stop it.
  ASSERT_TRUE(re.compile("(a|aa)*c", true));
  StringSource ok("aaaac");
  EXPECT_EQ(re.search(ok, 0), 0);
  EXPECT_FALSE(re.budgetExhausted());
}

TEST(REParser, DotAndSetsTakeWholeUtf8Characters) {
  const std::string e = "a\xC3\xA9" "c";  // "aéc"
  EXPECT_EQ(first("a.c", e), (Found{0, 4}));
  EXPECT_EQ(first("a[^x]c", e), (Found{0, 4}));
  EXPECT_EQ(first("a.?c", e), (Found{0, 4}));
  EXPECT_EQ(first("a.", e), (Found{0, 3}));          // never ends inside the character
  EXPECT_EQ(first("a.*", e), (Found{0, 4}));
  EXPECT_EQ(first("a.*.", e), (Found{0, 4}));        // gives back a whole character
  EXPECT_EQ(first("a.+\xA9", e), (Found{}));         // no match that splits "é"
  EXPECT_EQ(first("\xE2\x84\xA2+", "x\xE2\x84\xA2\xE2\x84\xA2"), (Found{1, 7}));  // "™+" takes "™™"
  // A search from inside a character starts at the next one.
  EXPECT_EQ(first(".", e, true, 2), (Found{3, 4}));
  // A byte of a single-byte page is a character of its own.
  EXPECT_EQ(first("a.c", "a\xE9" "c"), (Found{0, 3}));
}

TEST(REParser, SetsRangesAndRepeatsHoldCharacters) {
  // French, German, Russian, Greek, CJK and emoji, in sets, ranges and repeats.
  EXPECT_EQ(first("[é]", "là"), (Found{}));
  EXPECT_EQ(first("[é]", "là été"), (Found{4, 6}));
  EXPECT_EQ(first("[^é xy]", "é à"), (Found{3, 5}));
  EXPECT_EQ(first("[^é xy]+", "éxô"), (Found{3, 5}));
  EXPECT_EQ(first("é+", "ééé!"), (Found{0, 6}));
  EXPECT_EQ(first("(é|ü)*!", "äüé!"), (Found{2, 7}));
  EXPECT_EQ(first("ß?e", "Straße"), (Found{4, 7}));
  EXPECT_EQ(first("[а-я]+", "Привет, мир"), (Found{2, 12}));
  EXPECT_EQ(first("[α-ωί]+ς", "ΣΟΦΙΑ σοφίας"), (Found{11, 23}));
  EXPECT_EQ(first("東.都", "東京都"), (Found{0, 9}));
  EXPECT_EQ(first("[😀-😎]+", "ok 😀😎!"), (Found{3, 11}));
  EXPECT_EQ(first("\"🙂\"+x", "🙂🙂x"), (Found{0, 9}));
  // A reversed range of characters is refused; a byte written as an escape is that byte.
  TREParser re;
  EXPECT_FALSE(re.compile("[é-à]", true));
  EXPECT_EQ(re.error(), REError::InvalidRange);
  EXPECT_EQ(re.errorColumn(), 1);
  EXPECT_EQ(first("[\\xE9]", "é \xE9"), (Found{3, 4}));
  // Split into one-byte segments, a character is still one.
  TREParser chunked;
  ASSERT_TRUE(chunked.compile("[^a]+b", true));
  const test::ChunkedSource src("aжж™b", 1);
  EXPECT_EQ(chunked.search(src, 0), 1);
  EXPECT_EQ(chunked.matchEnd(), 9);
}

TEST(REParser, IgnoringCaseFoldsEveryScript) {
  EXPECT_EQ(first("été", "L'ÉTÉ", false), (Found{2, 7}));
  EXPECT_EQ(first("мир", "МИР", false), (Found{0, 6}));
  EXPECT_EQ(first("σοφία", "ΣΟΦΊΑ", false), (Found{0, 10}));
  EXPECT_EQ(first("[ä-ü]+", "GRÜẞE ÖL", false), (Found{2, 4}));
  EXPECT_EQ(first("[^а-я]", "ПРИВЕТ!", false), (Found{12, 13}));
  EXPECT_EQ(first("я+", "ЯяЯ", false), (Found{0, 6}));
  EXPECT_EQ(first("s[k]", "\xC5\xBF\xE2\x84\xAA", false), (Found{0, 5}));  // long s, Kelvin sign
  EXPECT_EQ(first("ω", "Ω", true), (Found{}));
}

