// Tests of word wrap: rows break after the last blank that fits or inside an over-long word,
// edits re-lay out only their lines and keep the index equal to a fresh layout, and positions,
// selection, undo and exports stay those of the unwrapped text.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "memo/engine/MemoEngine.h"

using namespace velora::memo;

namespace {

std::vector<std::string> Rows(const MemoEngine& e) {
  std::vector<std::string> out;
  for (Pos r = 0; r < e.rowCount(); ++r) out.push_back(e.store().text(e.rowStart(r), e.rowEnd(r)));
  return out;
}

MemoEngine& Wrapped(MemoEngine& e, std::string_view text, int width) {
  e.options |= smoWordWrap;
  e.setText(text);
  e.setWrapWidth(width);
  return e;
}

}  // namespace

TEST(WrapIndex, RowsBreakAfterBlanksOrInsideLongWords) {
  MemoEngine e;
  Wrapped(e, "the quick brown fox\rabcdefghijkl\r\rx \t yy\tz", 10);
  // Tabs count to their stops: the last line ends in column 9 and fits.
  EXPECT_EQ(Rows(e), (std::vector<std::string>{"the quick ", "brown fox", "abcdefghij", "kl", "", "x \t yy\tz"}));
  EXPECT_EQ(e.rowCount(), 6);
  EXPECT_EQ(e.rowOf(10), 1);  // "brown" starts the second row
  EXPECT_EQ(e.rowOf(9), 0);
  EXPECT_TRUE(e.wrapIndex()->continues(0));
  EXPECT_FALSE(e.wrapIndex()->continues(1));
  // Wide characters take two columns.
  MemoEngine w;
  Wrapped(w, "\xE6\x97\xA5\xE6\x97\xA5\xE6\x97\xA5", 4);
  EXPECT_EQ(Rows(w), (std::vector<std::string>{"\xE6\x97\xA5\xE6\x97\xA5", "\xE6\x97\xA5"}));
  // Turning wrap off gives lines again; positions never changed.
  e.options &= ~std::uint32_t(smoWordWrap);
  e.setWrapWidth(10);
  EXPECT_EQ(e.rowCount(), e.lineCount());
}

TEST(WrapIndex, EditsKeepTheIndexEqualToAFreshLayout) {
  std::mt19937 rng(11);
  const char* pieces[] = {"word ", "\r", "longerwordwithoutblanks", " ", "\t", "\xE6\x97\xA5", "x"};
  MemoEngine e;
  std::string start;
  for (int i = 0; i < 400; ++i) start += pieces[rng() % 7];
  Wrapped(e, start, 12);
  for (int step = 0; step < 400; ++step) {
    const Pos at = e.snapToChar(Pos(rng() % std::uint64_t(e.length() + 1)));
    if (rng() % 3 == 0) {
      e.setSelection(at, std::min(e.length(), at + Pos(rng() % 20)));
      e.deleteSelection();
    } else {
      e.setSelection(at, at);
      e.typeText(pieces[rng() % 7]);
    }
    if (step % 40 == 0) e.undo();
    MemoEngine fresh;
    Wrapped(fresh, e.text(), 12);
    ASSERT_EQ(Rows(e), Rows(fresh)) << "step " << step;
  }
}

TEST(WrapIndex, PositionsSelectionUndoAndExportsAreThoseOfTheText) {
  MemoEngine e;
  Wrapped(e, "aaaa bbbb cccc dddd\rnext", 5);
  ASSERT_EQ(e.rowCount(), 5);
  e.setSelection(7, 7);  // inside "bbbb", on the second row
  EXPECT_EQ(e.caretColLine(), (std::pair<Pos, LineNo>{8, 1}));
  e.typeText("X");
  EXPECT_EQ(e.text(), "aaaa bbXbb cccc dddd\rnext");
  e.selectAll();
  EXPECT_EQ(e.selText(), "aaaa bbXbb cccc dddd\r\nnext");  // no break where the rows wrap
  e.undo();
  EXPECT_EQ(e.text(), "aaaa bbbb cccc dddd\rnext");
  // The window scrolls by rows.
  e.setVisibleExtent(2, 5);
  e.setSelection(22, 22);  // "next", row 4
  EXPECT_EQ(e.firstVisibleLine(), 3);
  EXPECT_EQ(e.firstVisiblePos(), e.rowStart(3));
}

TEST(WrapIndex, WrapOverrideCharactersAreBreakPoints) {
  MemoEngine e;
  e.options |= smoWrapOverride;
  Wrapped(e, "<table><tr><td>x</td></tr></table>", 12);
  EXPECT_EQ(Rows(e), (std::vector<std::string>{"<table><tr>", "<td>x</td>", "</tr>", "</table>"}));
  e.options &= ~std::uint32_t(smoWrapOverride);
  e.setWrapWidth(12);
  EXPECT_EQ(Rows(e), (std::vector<std::string>{"<table><tr><", "td>x</td></t", "r></table>"}));
}
