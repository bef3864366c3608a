// TSkipTable and the plain search over segmented sources, checked against a naive search.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "ChunkedSource.h"
#include "memo/engine/TextStore.h"
#include "memo/engine/search/CaseFold.h"
#include "memo/engine/search/PlainSearch.h"

using namespace velora::memo;
using velora::memo::test::ChunkedSource;

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

bool naiveAt(const std::string& s, const std::string& p, std::size_t i, bool mc, bool whole) {
  if (i + p.size() > s.size()) return false;
  for (std::size_t k = 0; k < p.size(); ++k)
    if (mc ? s[i + k] != p[k] : lower(s[i + k]) != lower(p[k])) return false;
  if (whole) {
    if (i > 0 && DefaultWordChar((unsigned char)s[i - 1])) return false;
    if (i + p.size() < s.size() && DefaultWordChar((unsigned char)s[i + p.size()])) return false;
  }
  return true;
}

Pos naiveForward(const std::string& s, const std::string& p, Pos from, bool mc, bool whole) {
  for (Pos i = std::max<Pos>(from, 0); i + Pos(p.size()) <= Pos(s.size()); ++i)
    if (naiveAt(s, p, std::size_t(i), mc, whole)) return i;
  return -1;
}

Pos naiveBackward(const std::string& s, const std::string& p, Pos before, bool mc, bool whole) {
  for (Pos i = std::min<Pos>(before, Pos(s.size())) - 1; i >= 0; --i)
    if (naiveAt(s, p, std::size_t(i), mc, whole)) return i;
  return -1;
}

}  // namespace

TEST(SkipTable, RebuildsOnlyForANewPatternOrCaseRule) {
  TSkipTable t("Nav-Item", false);
  EXPECT_TRUE(t.sameAs("Nav-Item", false));
  EXPECT_FALSE(t.sameAs("Nav-Item", true));
  EXPECT_EQ(t.folded(), "nav-item");
  EXPECT_TRUE(t.contains('N') && t.contains('n') && t.contains('-'));
  EXPECT_FALSE(t.contains('x'));
}

TEST(PlainSearch, FindsInOneSegmentForwardsAndBackwards) {
  const std::string s = "<li class=\"NAV-ITEM\"><li class=\"nav-item\">nav-items";
  StringSource src(s);
  TSkipTable t("nav-item", false);
  EXPECT_EQ(PlainFindForward(src, t, 0), 11);
  EXPECT_EQ(PlainFindForward(src, t, 12), 32);
  EXPECT_EQ(PlainFindBackward(src, t, Pos(s.size())), 42);
  EXPECT_EQ(PlainFindBackward(src, t, 42), 32);
  TSkipTable exact("nav-item", true);
  EXPECT_EQ(PlainFindForward(src, exact, 0), 32);
  // Whole words: "nav-items" is skipped, a match inside quotes counts.
  const WordCharTest word = DefaultWordChar;
  EXPECT_EQ(PlainFindBackward(src, t, Pos(s.size()), &word), 32);
}

TEST(PlainSearch, WholeWordSkipsTheLongerWordAndFindsTheStandAloneOne) {
  const std::string s = "theme of the day";
  StringSource src(s);
  TSkipTable t("the", false);
  const WordCharTest word = DefaultWordChar;
  EXPECT_EQ(PlainFindForward(src, t, 0), 0);
  EXPECT_EQ(PlainFindForward(src, t, 0, &word), 9);
  EXPECT_EQ(PlainFindBackward(src, t, 9, &word), -1);
}

TEST(PlainSearch, MatchesAcrossLineRecordsOfTheStore) {
  TextStore store;
  store.setText("alpha\r\nbeta\r\ngamma beta");
  StoreSource src(store);
  TSkipTable t("a\rbe", false);  // spans a hard break
  EXPECT_EQ(PlainFindForward(src, t, 0), 4);
  EXPECT_EQ(PlainFindBackward(src, t, store.length()), 4);
  TSkipTable beta("BETA", false);
  EXPECT_EQ(PlainFindForward(src, beta, 7), 17);
  EXPECT_EQ(PlainFindBackward(src, beta, 17), 6);
  // An over-long line is cut into several records; a match across the cut is found.
  std::string longLine(70000, 'x');
  longLine.replace(65533, 6, "needle");
  store.setText(longLine);
  ASSERT_GT(store.recordCount(), 1);
  StoreSource src2(store);
  TSkipTable needle("needle", true);
  EXPECT_EQ(PlainFindForward(src2, needle, 0), 65533);
  EXPECT_EQ(PlainFindBackward(src2, needle, store.length()), 65533);
}

// Random texts over a small alphabet, cut at random places, every flag combination.
TEST(PlainSearch, AgreesWithANaiveSearchOnRandomSegmentedTexts) {
  std::mt19937 rng(7);
  const std::string alphabet = "abAB_ \r-";
  for (int round = 0; round < 3000; ++round) {
    std::string s(rng() % 60, ' ');
    for (char& c : s) c = alphabet[rng() % alphabet.size()];
    std::string p(1 + rng() % 4, ' ');
    for (char& c : p) c = alphabet[rng() % alphabet.size()];
    const bool mc = rng() % 2, whole = rng() % 2;
    ChunkedSource src(s, round % 3 == 0 ? 0 : 1 + rng() % 8, unsigned(round));
    TSkipTable t(p, mc);
    const WordCharTest word = DefaultWordChar;
    const Pos from = Pos(rng() % (s.size() + 2));
    SCOPED_TRACE("text=" + s + " pattern=" + p);
    EXPECT_EQ(PlainFindForward(src, t, from, whole ? &word : nullptr), naiveForward(s, p, from, mc, whole));
    EXPECT_EQ(PlainFindBackward(src, t, from, whole ? &word : nullptr), naiveBackward(s, p, from, mc, whole));
  }
}

// Long texts exercise the 16-byte filter and its tail.
TEST(PlainSearch, AgreesWithANaiveSearchOnLongTexts) {
  std::mt19937 rng(11);
  for (int round = 0; round < 200; ++round) {
    std::string s(200 + rng() % 400, 'a');
    for (char& c : s) c = "aAbBn-"[rng() % 6];
    const std::string p = round % 2 ? "nAb" : "ab-BA";
    StringSource src(s);
    TSkipTable t(p, round % 3 == 0);
    Pos a = 0;
    for (;;) {
      const Pos want = naiveForward(s, p, a, round % 3 == 0, false);
      ASSERT_EQ(PlainFindForward(src, t, a), want);
      if (want < 0) break;
      a = want + 1;
    }
  }
}

// Letter case is folded in every script; a match may be longer or shorter than the pattern
// ("ẞ" is three bytes, "ß" two; the Kelvin sign three, "k" one).
TEST(PlainSearch, IgnoringCaseFoldsEveryScript) {
  struct Case {
    const char* pattern;
    std::string text;
    Pos start, end;
  };
  const Case cases[] = {
      {"été", "L'ÉTÉ", 2, 7},
      {"мир", "ВСЕМ МИРА", 9, 15},
      {"σοφία", "Η ΣΟΦΊΑ", 3, 13},
      {"ΣΟΦΊΑΣ", "σοφίας", 0, 12},
      {"straße", "STRAẞE", 0, 8},
      {"STRAẞE", "straße", 0, 7},
      {"Größe", "GRÖSSE größe", 8, 15},
      {"東京", "東京", 0, 6},
      {"🙂a", "🙂A", 0, 5},
      {"kiss", "\xE2\x84\xAAI\xC5\xBFS", 0, 7},
      {"é", "\xE9 É", 2, 4},  // a byte outside a character equals only itself
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    const TSkipTable t(c.pattern, false);
    for (std::size_t step : {std::size_t(0), std::size_t(1), std::size_t(100)}) {
      ChunkedSource src(c.text, step);
      Pos end = -1;
      EXPECT_EQ(PlainFindForward(src, t, 0, nullptr, -1, &end), c.start);
      EXPECT_EQ(end, c.end);
      end = -1;
      EXPECT_EQ(PlainFindBackward(src, t, Pos(c.text.size()), nullptr, &end), c.start);
      EXPECT_EQ(end, c.end);
    }
  }
  EXPECT_EQ(PlainFindForward(StringSource("ÉTÉ"), TSkipTable("été", true), 0), -1);
}

// Random texts of letters in several scripts and cases, cut at random places, against a
// search that folds character by character.
TEST(PlainSearch, FoldingAgreesWithACharacterByCharacterSearch) {
  const std::vector<std::string> letters = {"a", "A", "é", "É", "ß", "ẞ", "s", "S", "\xC5\xBF", "к", "К",
                                            "k", "\xE2\x84\xAA", "σ", "ς", "Σ", "\r", " ", "\xE9"};
  auto fold = [](const std::string& s) {
    std::vector<std::pair<char32_t, Pos>> out;  // folded character, its end
    for (std::size_t i = 0; i < s.size();) {
      int n = 1;
      const char32_t c = foldCase(searchCharAt(s, i, n));
      i += std::size_t(n);
      out.emplace_back(c, Pos(i));
    }
    return out;
  };
  std::mt19937 rng(5);
  for (int round = 0; round < 2000; ++round) {
    std::string s, p;
    for (int k = int(rng() % 24); k > 0; --k) s += letters[rng() % letters.size()];
    for (int k = 1 + int(rng() % 3); k > 0; --k) p += letters[rng() % letters.size()];
    const auto fs = fold(s), fp = fold(p);
    std::vector<std::pair<Pos, Pos>> want;  // every match, start and end
    for (std::size_t i = 0; i + fp.size() <= fs.size(); ++i) {
      bool eq = true;
      for (std::size_t k = 0; k < fp.size() && eq; ++k) eq = fs[i + k].first == fp[k].first;
      if (eq) want.emplace_back(i ? fs[i - 1].second : 0, fs[i + fp.size() - 1].second);
    }
    SCOPED_TRACE("text=" + s + " pattern=" + p);
    ChunkedSource src(s, 0, unsigned(round));
    const TSkipTable t(p, false);
    std::vector<std::pair<Pos, Pos>> got;
    Pos end = -1;
    for (Pos at = PlainFindForward(src, t, 0, nullptr, -1, &end); at >= 0;
         at = PlainFindForward(src, t, at + 1, nullptr, -1, &end))
      got.emplace_back(at, end);
    EXPECT_EQ(got, want);
    got.clear();
    for (Pos at = PlainFindBackward(src, t, Pos(s.size()), nullptr, &end); at >= 0;
         at = PlainFindBackward(src, t, at, nullptr, &end))
      got.insert(got.begin(), {at, end});
    EXPECT_EQ(got, want);
  }
}

