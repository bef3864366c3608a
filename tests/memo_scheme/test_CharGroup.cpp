// Tests of character groups: written forms, sets, ranges, sequences and the shared store.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "memo/engine/scheme/CharGroup.h"

using vlr::ESchemeError;
using vlr::ParseCharGroupSequence;
using vlr::ParseSingleCharSpec;
using vlr::ParseTerminator;
using vlr::TCharSpecOrigin;
using vlr::TSchemeErrorId;
using vlr::TSM_CharGroup;
using vlr::TSM_CharGroupManager;

namespace {

TSM_CharGroup One(std::string_view text) {
  const auto g = ParseSingleCharSpec(text);
  EXPECT_TRUE(g.has_value()) << text;
  return g.value_or(TSM_CharGroup{});
}

// The bytes of `g` as a string, in order.
std::string Members(const TSM_CharGroup& g) {
  std::string out;
  for (int c = 0; c < 256; ++c) {
    if (g.Contains(static_cast<std::uint8_t>(c))) out += static_cast<char>(c);
  }
  return out;
}

// The error thrown while reading `text` as a single specification.
ESchemeError ErrorOf(std::string_view text, TCharSpecOrigin origin = {}) {
  try {
    (void)ParseSingleCharSpec(text, origin);
  } catch (const ESchemeError& e) {
    return e;
  }
  ADD_FAILURE() << "no error for '" << text << "'";
  return ESchemeError(TSchemeErrorId::None, "", 0, 0);
}

}  // namespace

TEST(CharGroup, PlainCharactersAndEscapes) {
  EXPECT_EQ(Members(One("a")), "a");
  EXPECT_EQ(Members(One("\\b")), "\x08");
  EXPECT_EQ(Members(One("\\e")), "\x1b");
  EXPECT_EQ(Members(One("\\n")), "\x0d");
  EXPECT_EQ(Members(One("\\r")), "\x0a");
  EXPECT_EQ(Members(One("\\s")), " ");
  EXPECT_EQ(Members(One("\\t")), "\t");
  EXPECT_EQ(Members(One("\\x41")), "A");
  EXPECT_EQ(Members(One("\\xfF")), "\xff");
  EXPECT_EQ(Members(One("\\u0042")), "B");
  EXPECT_EQ(Members(One("\\101")), "A");
  EXPECT_EQ(Members(One("\\0")), std::string(1, '\0'));
  EXPECT_EQ(Members(One("\\q")), "q");
  EXPECT_EQ(Members(One("\\\\")), "\\");
  EXPECT_EQ(Members(One("\\[")), "[");
  EXPECT_EQ(Members(One("\\]")), "]");
  // "\x" without a hexadecimal digit is the letter itself; a lone backslash is itself.
  EXPECT_EQ(Members(One("\\x")), "x");
  EXPECT_EQ(Members(One("\\")), "\\");
  // Non-ASCII bytes are members as unsigned values.
  EXPECT_EQ(Members(One("\xe9")), "\xe9");
}

TEST(CharGroup, EscapedValuesAboveAByteAreRangeErrors) {
  EXPECT_EQ(ErrorOf("\\777").Id(), TSchemeErrorId::CharacterRange);
  EXPECT_EQ(ErrorOf("\\u0100").Text(), "Character range error");
  EXPECT_EQ(Members(One("\\u00ff")), "\xff");
}

TEST(CharGroup, BracketedSetsAndRanges) {
  EXPECT_EQ(Members(One("[abc]")), "abc");
  EXPECT_EQ(Members(One("[a-dx]")), "abcdx");
  EXPECT_EQ(Members(One("[0-9A-Fa-f]")), "0123456789ABCDEFabcdef");
  EXPECT_EQ(Members(One("[a-a]")), "a");
  EXPECT_EQ(Members(One("[\\x30-\\x32\\t]")), "\t012");
  // A "-" at either end of the set, or escaped, is a plain character.
  EXPECT_EQ(Members(One("[-a]")), "-a");
  EXPECT_EQ(Members(One("[a-]")), "-a");
  EXPECT_EQ(Members(One("[a\\-c]")), "-ac");
  // Escaped brackets and "^" are plain members; "^" after the first place is plain too.
  EXPECT_EQ(Members(One("[\\[\\]]")), "[]");
  EXPECT_EQ(Members(One("[\\^a]")), "^a");
  EXPECT_EQ(Members(One("[a^]")), "^a");
  EXPECT_EQ(Members(One("[[]")), "[");
  EXPECT_TRUE(One("[]").IsEmpty());
}

TEST(CharGroup, ComplementedSets) {
  const TSM_CharGroup notDigit = One("[^0-9]");
  EXPECT_EQ(notDigit.Count(), 246u);
  for (int c = 0; c < 256; ++c) {
    EXPECT_EQ(notDigit.Contains(static_cast<std::uint8_t>(c)), c < '0' || c > '9') << c;
  }
  EXPECT_TRUE(One("[^]").IsFull());
  EXPECT_EQ(One("[^\\x00-\\xfe]"), TSM_CharGroup::Single(0xff));
}

TEST(CharGroup, MembershipOverAllBytes) {
  const TSM_CharGroup ident = One("[a-zA-Z_0-9]");
  const TSM_CharGroup blank = One("[\\s\\t\\n\\r]");
  const TSM_CharGroup quote = One("'");
  for (int c = 0; c < 256; ++c) {
    const auto b = static_cast<std::uint8_t>(c);
    const bool isIdent = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || (c >= '0' && c <= '9');
    EXPECT_EQ(ident.Contains(b), isIdent) << c;
    EXPECT_EQ(blank.Contains(b), c == ' ' || c == 9 || c == 10 || c == 13) << c;
    EXPECT_EQ(quote.Contains(b), c == '\'') << c;
  }
}

TEST(CharGroup, ReversedRangeReportsOrderAtTheStringsPosition) {
  const ESchemeError e = ErrorOf("[z-a]", {7, 12});
  EXPECT_EQ(e.Text(), "Characters not in correct order for range specifier");
  EXPECT_EQ(e.Id(), TSchemeErrorId::None);
  EXPECT_EQ(e.Line(), 7);
  EXPECT_EQ(e.Column(), 12);
  EXPECT_EQ(ErrorOf("[\\x41-\\x40]").Text(), "Characters not in correct order for range specifier");
}

TEST(CharGroup, UnterminatedSetsNeedTheirBracket) {
  for (std::string_view bad : {"[", "[abc", "[^", "[a-", "[a-z\\]"}) {
    const ESchemeError e = ErrorOf(bad);
    EXPECT_EQ(e.Id(), TSchemeErrorId::RBracketExpected) << bad;
    EXPECT_EQ(e.Text(), "']' expected") << bad;
  }
}

TEST(CharGroup, SingleSpecificationRejectsLeftovers) {
  EXPECT_FALSE(ParseSingleCharSpec("").has_value());
  for (std::string_view bad : {"ab", "[a]b", "\\n\\r", "]]"}) {
    const ESchemeError e = ErrorOf(bad, {3, 4});
    EXPECT_EQ(e.Text(), "Single character specifier expected") << bad;
    EXPECT_EQ(e.Line(), 3);
  }
}

TEST(CharGroup, TerminatorsAreReadOneSpecificationAfterAnother) {
  const std::vector<TSM_CharGroup> end = ParseCharGroupSequence("-->");
  ASSERT_EQ(end.size(), 3u);
  EXPECT_EQ(Members(end[0]), "-");
  EXPECT_EQ(Members(end[2]), ">");

  const std::vector<TSM_CharGroup> mixed = ParseCharGroupSequence("[^\\\\]\\n[+-]\\]");
  ASSERT_EQ(mixed.size(), 4u);
  EXPECT_EQ(mixed[0].Count(), 255u);
  EXPECT_FALSE(mixed[0].Contains('\\'));
  EXPECT_EQ(Members(mixed[1]), "\x0d");
  EXPECT_EQ(Members(mixed[2]), "+-");
  EXPECT_EQ(Members(mixed[3]), "]");

  EXPECT_TRUE(ParseCharGroupSequence("").empty());
  EXPECT_EQ(ParseTerminator("*/").size(), 2u);
  EXPECT_EQ(ParseTerminator("[ab]cde").size(), 4u);
  try {
    (void)ParseTerminator("abcde", {2, 9});
    ADD_FAILURE() << "five groups accepted";
  } catch (const ESchemeError& e) {
    EXPECT_EQ(e.Text(), "Maximum of 4 character specifier allowed");
    EXPECT_EQ(e.Column(), 9);
  }
  EXPECT_THROW((void)ParseCharGroupSequence("ab[c"), ESchemeError);
}

TEST(CharGroup, ParseAdvancesPastOneSpecification) {
  const std::string text = "x[a-c]\\x41y";
  std::size_t pos = 1;
  EXPECT_EQ(Members(TSM_CharGroup::Parse(text, pos)), "abc");
  EXPECT_EQ(pos, 6u);
  EXPECT_EQ(Members(TSM_CharGroup::Parse(text, pos)), "A");
  EXPECT_EQ(pos, 10u);
}

TEST(CharGroup, SetOperations) {
  TSM_CharGroup g = TSM_CharGroup::Range('a', 'c');
  g.Add(TSM_CharGroup::Single('z'));
  EXPECT_EQ(Members(g), "abcz");
  EXPECT_TRUE(g.Intersects(One("[x-z]")));
  EXPECT_FALSE(g.Intersects(One("[d-y]")));
  EXPECT_EQ(TSM_CharGroup::FromWords(g.Words()), g);
  EXPECT_TRUE(TSM_CharGroup::Range('b', 'a').IsEmpty());
  EXPECT_EQ(TSM_CharGroup::Range(0, 255), TSM_CharGroup::All());
}

TEST(CharGroupManager, SharesIdenticalGroups) {
  TSM_CharGroupManager m;
  const std::size_t digits = m.Add(One("[0-9]"));
  const std::size_t letters = m.Add(One("[a-z]"));
  EXPECT_NE(digits, letters);
  // The same set written differently is the same group.
  EXPECT_EQ(m.Add(One("[0123-9]")), digits);
  EXPECT_EQ(m.Add(One("[^\\x00-/:-\\xff]")), digits);
  EXPECT_EQ(m.Count(), 2u);
  EXPECT_EQ(m[letters], One("[a-z]"));
  EXPECT_EQ(m.At(static_cast<long long>(digits)), One("[0-9]"));
  EXPECT_EQ(m.Find(One("[a-z]")), letters);
  EXPECT_FALSE(m.Find(One("q")).has_value());

  try {
    (void)m.At(2);
    ADD_FAILURE() << "index 2 accepted";
  } catch (const ESchemeError& e) {
    EXPECT_EQ(e.Text(), "Invalid Set ID (2)");
  }
  EXPECT_THROW((void)m.At(-1), ESchemeError);

  m.Clear();
  EXPECT_EQ(m.Count(), 0u);
  EXPECT_EQ(m.Add(One("[a-z]")), 0u);
}
