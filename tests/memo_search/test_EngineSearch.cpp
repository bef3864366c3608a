// The control's searches: flags, the caret rules, find next, the search memory and failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memo/engine/MemoEngine.h"

using namespace velora::memo;

namespace {

struct Doc {
  MemoEngine e;
  std::vector<std::string> failed;
  std::vector<std::pair<std::string, unsigned>> dialogs;
  explicit Doc(std::string_view text) {
    e.setText(text);
    e.onSearchFail = [this](const std::string& s) { failed.push_back(s); };
    e.onSearchDialog = [this](const std::string& s, unsigned f) { dialogs.emplace_back(s, f); };
  }
  [[nodiscard]] Selection sel() const { return e.selection(); }
};

}  // namespace

TEST(EngineSearch, PlainSearchFromTheCaretSelectsTheMatch) {
  Doc d("Abc abc ABC");
  EXPECT_EQ(d.e.search("abc", kSearchAtOnce), 0);
  EXPECT_EQ(d.sel(), (Selection{0, 3}));
  EXPECT_EQ(d.e.search("abc", kSearchAtOnce), 4);
  EXPECT_EQ(d.e.search("abc", kSearchAtOnce | kSearchMatchCase), -1);
  EXPECT_EQ(d.failed, std::vector<std::string>{"abc"});
  EXPECT_EQ(d.sel(), (Selection{4, 7}));  // unchanged by a failure
  // Backwards from the selection start.
  EXPECT_EQ(d.e.search("ABC", kSearchAtOnce | kSearchBackwards), 0);
  // At the ends a search fails at once.
  d.e.setSelection(0, 0);
  EXPECT_EQ(d.e.search("abc", kSearchAtOnce | kSearchBackwards), -1);
  d.e.setSelection(11, 11);
  EXPECT_EQ(d.e.search("c", kSearchAtOnce), -1);
}

TEST(EngineSearch, ExpressionMatchIsSelectedWhole) {
  Doc d("one\r\ntwo <a href=\"x.html\">x</a>");
  EXPECT_EQ(d.e.search("e\\nt", kSearchAtOnce | kSearchRegExp), 2);  // "\n" is the stored break
  EXPECT_EQ(d.sel(), (Selection{2, 5}));
  EXPECT_EQ(d.e.search("<a href=\\\"[^\"]*\\\"", kSearchAtOnce | kSearchRegExp), 8);
  EXPECT_EQ(d.sel(), (Selection{8, 24}));
  EXPECT_EQ(d.e.searchMemory().lastMatch().end, 24);
  EXPECT_EQ(d.e.searchMemory().parser().matchEnd(), 24);
  // A bad expression raises its error; nothing is selected anew.
  try {
    (void)d.e.search("a**", kSearchAtOnce | kSearchRegExp);
    FAIL() << "no error";
  } catch (const ERegExprError& err) {
    EXPECT_EQ(err.code(), REError::NestedRepeat);
    EXPECT_STREQ(err.what(), "Nested repeat\na**\n  ^");
  }
  EXPECT_EQ(d.sel(), (Selection{8, 24}));
  // The 0x0C0B message answers the same way.
  d.e.setSelection(0, 0);
  const std::string expr = "t[a-z]o";
  EXPECT_EQ(d.e.perform(0x0C0B, kSearchAtOnce | kSearchRegExp, std::intptr_t(expr.c_str())), 4);
}

TEST(EngineSearch, WholeWordSearchSkipsLongerWords) {
  Doc d("theme of the day");
  EXPECT_EQ(d.e.search("the", kSearchAtOnce | kSearchWholeWord), 9);
  d.e.setSelection(0, 0);
  EXPECT_EQ(d.e.search("th[a-z]", kSearchAtOnce | kSearchWholeWord | kSearchRegExp), 9);
  // The owner's word-character test decides.
  d.e.fn_CharIsInWord = [](unsigned char c) { return c == 'x'; };
  d.e.setSelection(0, 0);
  EXPECT_EQ(d.e.search("the", kSearchAtOnce | kSearchWholeWord), 0);
}

TEST(EngineSearch, FindNextDoesNotFindTheSamePlaceAgain) {
  Doc d("aaaa bb aaaa");
  EXPECT_EQ(d.e.search("aa", kSearchAtOnce), 0);
  // The caret is put at the start of the match: find next still moves on.
  d.e.setSelection(2, 0);
  EXPECT_EQ(d.e.findNext(), 1);
  EXPECT_EQ(d.sel(), (Selection{1, 3}));
  EXPECT_EQ(d.e.findNext(), 2);
  // An empty expression match at the caret is stepped over.
  Doc r("ab\rcd\ref");
  EXPECT_EQ(r.e.search("^", kSearchAtOnce | kSearchRegExp), 0);
  EXPECT_EQ(r.e.findNext(), 3);
  EXPECT_EQ(r.e.findNext(), 6);
  EXPECT_EQ(r.e.findNext(), -1);
  EXPECT_EQ(r.sel(), (Selection{6, 6}));
}

TEST(EngineSearch, IgnoringCaseFindsEveryScriptAndMovesOn) {
  Doc d("Été: ÉTÉ, été. Мир МИР");
  EXPECT_EQ(d.e.search("été", kSearchAtOnce), 0);
  EXPECT_EQ(d.sel(), (Selection{0, 5}));
  EXPECT_EQ(d.e.findNext(), 7);
  EXPECT_EQ(d.e.findNext(), 14);
  EXPECT_EQ(d.e.search("мир", kSearchAtOnce | kSearchWholeWord), 21);
  EXPECT_EQ(d.e.findNext(), 28);
  EXPECT_EQ(d.sel(), (Selection{28, 34}));
  EXPECT_EQ(d.e.search("мир", kSearchAtOnce | kSearchRegExp | kSearchBackwards), 21);
}

TEST(EngineSearch, AnExpressionOutOfStepsSaysWhereItStopped) {
  Doc d("Grüße\rà bientôt\r" + std::string(60, 'a') + "\r");
  EXPECT_EQ(d.e.search("(a|aa)*c", kSearchAtOnce | kSearchRegExp), -1);
  EXPECT_EQ(d.e.searchMemory().stoppedAt(), 20);
  EXPECT_EQ(d.failed.size(), 1u);
  // The next search starts afresh.
  EXPECT_EQ(d.e.search("b.en!", kSearchAtOnce | kSearchRegExp), -1);
  EXPECT_EQ(d.e.searchMemory().stoppedAt(), -1);
}

TEST(EngineSearch, SearchMemoryKeeps79Or254Bytes) {
  Doc d("x");
  const std::string longText(300, 'q');
  (void)d.e.search(longText, kSearchAtOnce);
  EXPECT_EQ(d.e.searchMemory().text().size(), 79u);
  (void)d.e.search(longText, kSearchAtOnce | kSearchRegExp);
  EXPECT_EQ(d.e.searchMemory().text().size(), 254u);
  EXPECT_TRUE(d.e.searchMemory().expression());
  // A UTF-8 sequence is never cut.
  std::string utf(78, 'a');
  utf += "\xC3\xA9z";
  (void)d.e.search(utf, kSearchAtOnce);
  EXPECT_EQ(d.e.searchMemory().text(), std::string(78, 'a'));
}

TEST(EngineSearch, WithoutSearchAtOnceTheDialogIsAsked) {
  Doc d("abc");
  EXPECT_EQ(d.e.search("b", kSearchMatchCase), -1);
  ASSERT_EQ(d.dialogs.size(), 1u);
  EXPECT_EQ(d.dialogs[0], (std::pair<std::string, unsigned>{"b", kSearchMatchCase}));
  EXPECT_TRUE(d.failed.empty());
  EXPECT_EQ(d.e.searchMemory().text(), "b");
}

TEST(EngineSearch, SearchesSpanningBreaksAndRecords) {
  Doc d("one\r\ntwo\r\nthree");
  EXPECT_EQ(d.e.search("one\r\ntwo", kSearchAtOnce), 0);  // breaks normalised like the text
  EXPECT_EQ(d.sel(), (Selection{0, 7}));
  Pos end = -1;
  EXPECT_EQ(d.e.find("o$", kSearchRegExp, 0, &end), 6);
  EXPECT_EQ(end, 7);
  EXPECT_EQ(d.e.find("^t", kSearchRegExp | kSearchBackwards, d.e.length(), &end), 8);
}
