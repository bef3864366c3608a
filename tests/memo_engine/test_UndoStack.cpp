// Tests of the undo log: cell layout, groups, trimming and the error texts.
#include <gtest/gtest.h>

#include "memo/engine/MemoEngine.h"
#include "memo/engine/UndoStack.h"

using namespace velora::memo;

namespace {
struct Doc {
  MemoEngine e;
  explicit Doc(std::string_view s = {}) { e.setText(s); }
  [[nodiscard]] std::string contents() const { return e.text(); }
  TUndoStack& log() { return *e.undoStack(); }
};

}  // namespace

TEST(UndoStack, CellsAreSixteenBytes) { EXPECT_EQ(sizeof(TStack::Cell), 16u); }

TEST(UndoStack, OneOperationIsSixCells) {
  Doc d("hello");
  d.e.setSelection(1, 3);
  d.e.replaceSelection("XYZ");
  TUndoStack& s = d.log();
  ASSERT_EQ(s.count(), 6u);
  EXPECT_EQ(s.cursor(), 6u);
  EXPECT_TRUE(d.e.modified());
  // total = sum of 16 + entry size
  const std::int64_t expected = 6 * 16 + 8 + 16 + 3 /*"el"+NUL*/ + 4 /*"XYZ"+NUL*/ + 16 + 8;
  EXPECT_EQ(s.totalSize(), expected);
}

TEST(UndoStack, UndoAndRedoOfOneReplace) {
  Doc d("hello world");
  d.e.setSelection(6, 11);
  d.e.replaceSelection("there\r\nfriend");
  EXPECT_EQ(d.contents(), "hello there\rfriend");
  d.e.undo();
  EXPECT_EQ(d.contents(), "hello world");
  EXPECT_EQ(d.e.selection(), (Selection{6, 11}));
  EXPECT_TRUE(d.e.modified());  // the log still holds the redo entries
  EXPECT_TRUE(d.e.canRedo());
  d.e.redo();
  EXPECT_EQ(d.contents(), "hello there\rfriend");
  EXPECT_EQ(d.e.selection(), (Selection{18, 18}));
}

TEST(UndoStack, GroupsUndoInOneStep) {
  Doc d("abc");
  {
    MemoEngine::UndoGroup g(d.e, kGroupDragDrop);
    d.e.setSelection(0, 0);
    d.e.replaceSelection("1");
    d.e.setSelection(4, 4);
    d.e.replaceSelection("2");
  }
  EXPECT_EQ(d.contents(), "1abc2");
  EXPECT_EQ(d.log().count(), 3u + 12u + 3u);
  d.e.undo();
  EXPECT_EQ(d.contents(), "abc");
  EXPECT_FALSE(d.e.canUndo());
  d.e.redo();
  EXPECT_EQ(d.contents(), "1abc2");
}

TEST(UndoStack, AnEmptyGroupLeavesNoTrace) {
  Doc d("abc");
  d.e.setSelection(3, 3);
  d.e.deleteChar(true);  // nothing after the caret
  EXPECT_EQ(d.log().count(), 0u);
  EXPECT_FALSE(d.e.modified());
}


namespace {
// A target that records nothing: for driving the log directly.
struct NullTarget : UndoTarget {
  Selection sel;
  std::string doc = "abcdef";
  int beeps = 0;
  [[nodiscard]] Selection undoSelection() const override { return sel; }
  [[nodiscard]] std::string undoText(Pos a, Pos b) const override { return doc.substr(std::size_t(a), std::size_t(b - a)); }
  void undoSelect(Selection s) override { sel = s; }
  Pos undoReplace(Pos a, Pos b, std::string_view t) override {
    doc.replace(std::size_t(a), std::size_t(b - a), t);
    return Pos(t.size());
  }
  Pos undoReplaceStream(Pos, Pos, ByteStream&) override { return 0; }
  void undoBeep() override { ++beeps; }
};
}  // namespace

TEST(UndoStack, BadTransactionEmptiesTheLogAndBeeps) {
  NullTarget t;
  TUndoStack s;
  UndoArg a;
  a.text = "x";
  s.log(t, kOpReplace, UndoPhase::Before, a);
  s.log(t, kOpReplace, UndoPhase::After);
  ASSERT_EQ(s.count(), 6u);
  s.log(t, kOpReplace, UndoPhase::Before, a);
  try {
    s.log(t, kOpReplace, UndoPhase::Before, a);
    FAIL();
  } catch (const ESyntaxMemo& e) {
    EXPECT_STREQ(e.what(), "Bad transaction log entry");
  }
  EXPECT_EQ(s.count(), 0u);
  EXPECT_EQ(t.beeps, 1);
  try {
    s.log(t, kOpStream, UndoPhase::After);
    FAIL();
  } catch (const ESyntaxMemo& e) {
    EXPECT_STREQ(e.what(), "Bad transaction log entry");
  }
  EXPECT_EQ(t.beeps, 2);
}

TEST(UndoStack, StackUnderflowAndBadState) {
  NullTarget t;
  TUndoStack s;
  try {
    s.undo(t);
    FAIL();
  } catch (const ESyntaxMemo& e) {
    EXPECT_STREQ(e.what(), "Stack underflow");
  }
  try {
    s.pop();
    FAIL();
  } catch (const ESyntaxMemo& e) {
    EXPECT_STREQ(e.what(), "Stack underflow");
  }
  // A selection cell where a boundary is expected.
  auto e = std::make_unique<TUndo>();
  e->type = UndoType::Selection;
  s.push(std::move(e));
  try {
    s.undo(t);
    FAIL();
  } catch (const ESyntaxMemo& ex) {
    EXPECT_STREQ(ex.what(), "Bad do/undo stack state");
  }
  EXPECT_EQ(s.cursor(), 1u);  // left as it was
}

TEST(UndoStack, LoggingOffAndOn) {
  NullTarget t;
  TUndoStack s;
  s.log(t, kOpLogOff);
  UndoArg a;
  a.text = "x";
  s.log(t, kOpReplace, UndoPhase::Before, a);
  s.log(t, kOpReplace, UndoPhase::After);
  EXPECT_EQ(s.count(), 0u);
  s.log(t, kOpLogOn);
  s.log(t, kOpReplace, UndoPhase::Before, a);
  s.log(t, kOpReplace, UndoPhase::After);
  EXPECT_EQ(s.count(), 6u);
  s.log(t, kOpClear);
  EXPECT_EQ(s.count(), 0u);
  EXPECT_EQ(s.totalSize(), 0);
}

TEST(UndoStack, TrimmingRemovesWholeOperationsAndGroups) {
  Doc d("");
  d.log().setLimit(600);
  for (int i = 0; i < 20; ++i) d.e.typeText("a");
  EXPECT_LE(d.log().totalSize(), 600);
  EXPECT_EQ(d.log().count() % 6, 0u);
  const auto first = d.log().count();
  EXPECT_GT(first, 0u);
  // Undo everything that is left: the oldest edits can no longer be undone.
  while (d.e.canUndo()) d.e.undo();
  EXPECT_EQ(d.contents(), std::string(20 - first / 6, 'a'));

  Doc g("x\ry\rz");
  g.log().setLimit(700);
  for (int i = 0; i < 5; ++i) {
    g.e.selectAll();
    g.e.blockIndent();  // groups of 3 + 3*6 + 3 cells
  }
  EXPECT_LE(g.log().totalSize(), 700);
  EXPECT_EQ(g.log().count() % 24, 0u);
  while (g.e.canUndo()) g.e.undo();
  const std::size_t left = 5 - 0;  // trimmed groups stay applied
  (void)left;
  g.e.store().checkInvariants();
}

TEST(UndoStack, OperationCodesNineAndTen) {
  Doc d("  ab\r\tcd");
  d.e.indentStep = 1;
  d.e.selectAll();
  d.e.blockUnindent();
  EXPECT_EQ(d.contents(), " ab\rcd");
  // boundary(18) sel boundary | op 9 x2 | boundary sel boundary
  EXPECT_EQ(d.log().count(), 3u + 12u + 3u);
  d.e.undo();
  EXPECT_EQ(d.contents(), "  ab\r\tcd");
}


TEST(UndoStack, GroupClosesOnlyWithItsIdentifier) {
  NullTarget t;
  TUndoStack s;
  UndoArg open;
  open.id = 17;
  s.log(t, kOpGroupOpen, UndoPhase::None, open);
  EXPECT_EQ(s.openGroup(), 17);
  UndoArg other;
  other.id = 18;
  s.log(t, kOpGroupOpen, UndoPhase::None, other);  // no nesting
  s.log(t, kOpGroupClose, UndoPhase::None, other);
  EXPECT_EQ(s.openGroup(), 17);
  EXPECT_EQ(s.count(), 0u);  // the opening triple comes with the group's first operation
  UndoArg a;
  a.text = "x";
  s.log(t, kOpReplace, UndoPhase::Before, a);
  s.log(t, kOpReplace, UndoPhase::After);
  s.log(t, kOpGroupClose, UndoPhase::None, open);
  EXPECT_EQ(s.openGroup(), 0);
  EXPECT_EQ(s.count(), 12u);
}
