// Tests of display columns: tabs after wide and astral characters, invalid bytes, long lines
// with remembered columns kept right across edits, and caret scrolling by columns.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "memo/engine/MemoEngine.h"
#include "memo/engine/Utf8.h"

using namespace velora::memo;

namespace {

// Columns by walking the line from its start, the reference.
Pos NaiveColumn(const MemoEngine& e, Pos p) {
  const LineNo line = e.store().lineFromPos(p);
  const Pos ls = e.store().lineStart(line);
  const std::string t = e.store().text(ls, p);
  Pos col = 0;
  std::size_t i = 0;
  while (i < t.size()) {
    if (t[i] == '\t') {
      col = e.nextTabStop(int(col));
      ++i;
      continue;
    }
    const int n = utf8CharLength(t, i);
    col += charCells(utf8CharAt(t, i, n));
    i += std::size_t(n);
  }
  return col;
}

}  // namespace

TEST(DisplayColumns, TabsStopInColumnsAfterWideAndAstralCharacters) {
  MemoEngine e;
  e.tabDefault = 4;
  // "\t" | "日" (2 cells) "\t" | "😀" (2 cells, 4 bytes) "\t" | an invalid byte "\t"
  e.setText("\tx\r\xE6\x97\xA5\tx\r\xF0\x9F\x98\x80\tx\r\xE9\tx\rab\tx");
  const auto xCol = [&e](LineNo line) { return e.displayColumn(e.store().lineEnd(line) - 1); };
  EXPECT_EQ(xCol(0), 4);
  EXPECT_EQ(xCol(1), 4);
  EXPECT_EQ(xCol(2), 4);
  EXPECT_EQ(xCol(3), 4);
  EXPECT_EQ(xCol(4), 4);
  // Column -> position gives the character that covers the column.
  const Pos l1 = e.store().lineStart(1);
  EXPECT_EQ(e.posAtDisplayColumn(1, 0), l1);
  EXPECT_EQ(e.posAtDisplayColumn(1, 1), l1);      // the right half of the wide character
  EXPECT_EQ(e.posAtDisplayColumn(1, 2), l1 + 3);  // the tab
  EXPECT_EQ(e.posAtDisplayColumn(1, 3), l1 + 3);
  EXPECT_EQ(e.posAtDisplayColumn(1, 4), l1 + 4);
  EXPECT_EQ(e.posAtDisplayColumn(1, 99), e.store().lineEnd(1));
}

TEST(DisplayColumns, LongLinesStayRightAcrossEdits) {
  std::mt19937 rng(5);
  const char* pieces[] = {"a", "\t", "\xC3\xA9", "\xE6\x97\xA5", "\xF0\x9F\x98\x80", "  ", "\xE9"};
  std::string line;
  while (line.size() < 20000) line += pieces[rng() % 7];
  MemoEngine e;
  e.setText("first\r" + line + "\rlast");
  for (int step = 0; step < 300; ++step) {
    const Pos ls = e.store().lineStart(1), le = e.store().lineEnd(1);
    const Pos p = e.snapToChar(ls + Pos(rng() % std::uint64_t(le - ls + 1)));
    const Pos col = e.displayColumn(p);
    ASSERT_EQ(col, NaiveColumn(e, p)) << "step " << step;
    const Pos back = e.posAtDisplayColumn(1, col);
    ASSERT_EQ(back, p) << "step " << step;
    if (step % 3 == 0) {  // an edit somewhere in the long line, sometimes before it
      const Pos at = step % 30 == 0 ? 2 : p;
      e.setSelection(at, at);
      e.typeText(pieces[rng() % 7]);
    }
  }
}

TEST(DisplayColumns, CaretScrollsByDisplayColumns) {
  MemoEngine e;
  e.tabDefault = 8;
  e.setVisibleExtent(10, 20);
  e.setText("\t\t\t\tabc");  // the caret at the end stands in column 35, byte 7
  e.setSelection(7, 7);
  EXPECT_EQ(e.firstVisibleColumn(), 35 - 20 + 1);
  e.setSelection(0, 0);
  EXPECT_EQ(e.firstVisibleColumn(), 0);
}
