// Bookmarks, line marks and tracked lines through edits, undo and redo, with their events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memo/engine/MemoEngine.h"

using namespace velora::memo;

namespace {

// Ten numbered lines "L0" .. "L9".
std::string tenLines() {
  std::string s;
  for (int i = 0; i < 10; ++i) s += (i ? "\rL" : "L") + std::to_string(i);
  return s;
}

struct Marked {
  MemoEngine e;
  std::vector<std::string> events;
  Marked() {
    e.setText(tenLines());
    e.lineMarks().onMarkChange = [this](const LineMark& m) { events.push_back("change " + std::to_string(m.id)); };
    e.lineMarks().onMarkFree = [this](const LineMark& m) { events.push_back("free " + std::to_string(m.id)); };
    e.lineTracks().onTrackAdd = [this](int id) { events.push_back("track+ " + std::to_string(id)); };
    e.lineTracks().onTrackFree = [this](int id) { events.push_back("track- " + std::to_string(id)); };
    e.onBookmarkClear = [this](int i) { events.push_back("bm- " + std::to_string(i)); };
  }
  LineNo lineOfBookmark(int i) const { return e.store().lineFromPos(e.bookmark(i).value()); }
  void select(Pos a, Pos b) { e.setSelection(a, b); }
  Pos startOf(LineNo l) const { return e.store().lineStart(l); }
};

}  // namespace

TEST(LineMarks, FollowLinesInsertedAndDeletedAboveThroughUndoAndRedo) {
  Marked d;
  const int mark = d.e.lineMarks().add(5, 7, rgb(255, 0, 0), "problem");
  const int track = d.e.lineTracks().add(5);
  d.e.setBookmark(2, d.startOf(5) + 1);  // "L|5"
  d.events.clear();

  d.select(d.startOf(1), d.startOf(1));
  d.e.replaceSelection("new\rnewer\r");  // two lines above
  EXPECT_EQ(d.e.lineMarks().lineOf(mark), 7);
  EXPECT_EQ(d.e.lineTracks().lineOf(track), 7);
  EXPECT_EQ(d.lineOfBookmark(2), 7);
  EXPECT_EQ(d.e.line(7), "L5");

  d.e.undo();
  EXPECT_EQ(d.e.lineMarks().lineOf(mark), 5);
  EXPECT_EQ(d.e.lineTracks().lineOf(track), 5);
  EXPECT_EQ(d.e.bookmark(2).value(), d.startOf(5) + 1);
  d.e.redo();
  EXPECT_EQ(d.e.lineMarks().lineOf(mark), 7);

  // Lines 0..2 deleted above (the break of line 2 included).
  d.select(0, d.startOf(3));
  d.e.deleteSelection();
  EXPECT_EQ(d.e.lineMarks().lineOf(mark), 4);
  EXPECT_EQ(d.e.lineTracks().lineOf(track), 4);
  EXPECT_EQ(d.lineOfBookmark(2), 4);
  EXPECT_EQ(d.e.line(4), "L5");
  // Shifts of line numbers are no changes of the marks themselves.
  EXPECT_TRUE(d.events.empty()) << d.events.front();
  // Typing in the marked line and below it leaves the marks where they are.
  d.select(d.startOf(4) + 2, d.startOf(4) + 2);
  d.e.typeText("x");
  d.select(d.startOf(6), d.startOf(6));
  d.e.newLine();
  EXPECT_EQ(d.e.lineMarks().lineOf(mark), 4);
  EXPECT_EQ(d.e.lineMarks().find(mark)->hint, "problem");
}

TEST(LineMarks, DeletingTheMarkedLineReleasesMarksAndMovesBookmarksUndoBringsThemBack) {
  Marked d;
  const int mark = d.e.lineMarks().add(4, 1);
  const int other = d.e.lineMarks().add(6, 1);
  const int track = d.e.lineTracks().add(4);
  d.e.setBookmark(0, d.startOf(4) + 1);
  d.events.clear();

  // Ctrl+Y: the caret's line with its break.
  d.select(d.startOf(4) + 1, d.startOf(4) + 1);
  d.e.deleteLine();
  EXPECT_EQ(d.e.line(4), "L5");
  EXPECT_EQ(d.e.lineMarks().find(mark), nullptr);
  EXPECT_FALSE(d.e.lineMarks().lineOf(mark));
  EXPECT_FALSE(d.e.lineTracks().lineOf(track));
  EXPECT_EQ(d.events, (std::vector<std::string>{"free " + std::to_string(mark), "track- " + std::to_string(track)}));
  EXPECT_EQ(d.lineOfBookmark(0), 4);  // moved to where the line was
  EXPECT_EQ(d.e.lineMarks().lineOf(other), 5);
  d.events.clear();

  d.e.undo();
  EXPECT_EQ(d.e.line(4), "L4");
  EXPECT_EQ(d.e.lineMarks().lineOf(mark), 4);
  EXPECT_EQ(d.e.lineMarks().find(mark)->kind, 1);
  EXPECT_EQ(d.e.lineTracks().lineOf(track), 4);
  EXPECT_EQ(d.e.bookmark(0).value(), d.startOf(4) + 1);  // exactly where it was
  EXPECT_EQ(d.e.lineMarks().lineOf(other), 6);
  EXPECT_EQ(d.events, (std::vector<std::string>{"change " + std::to_string(mark), "track+ " + std::to_string(track)}));

  d.e.redo();
  EXPECT_FALSE(d.e.lineMarks().lineOf(mark));
  EXPECT_EQ(d.lineOfBookmark(0), 4);
  d.e.undo();
  EXPECT_EQ(d.e.lineMarks().lineOf(mark), 4);
}

TEST(LineMarks, JoiningLinesMergesTheMarkInsteadOfReleasingIt) {
  Marked d;
  const int mark = d.e.lineMarks().add(3);
  d.events.clear();
  // Backspace at the start of line 3: its text joins line 2.
  d.select(d.startOf(3), d.startOf(3));
  d.e.deleteChar(false);
  EXPECT_EQ(d.e.line(2), "L2L3");
  EXPECT_EQ(d.e.lineMarks().lineOf(mark), 2);
  d.e.undo();
  EXPECT_EQ(d.e.lineMarks().lineOf(mark), 3);

  // A selection from the middle of line 2 into line 3 deletes no whole line: the mark joins.
  d.select(d.startOf(2) + 1, d.startOf(3) + 1);
  d.e.deleteSelection();
  EXPECT_EQ(d.e.line(2), "L3");
  EXPECT_EQ(d.e.lineMarks().lineOf(mark), 2);
  EXPECT_EQ(d.events, (std::vector<std::string>{"change " + std::to_string(mark)}));
  d.e.undo();
  EXPECT_EQ(d.e.lineMarks().lineOf(mark), 3);

  // Removing only the text of the line (its breaks stay) keeps the empty line marked.
  d.select(d.startOf(3), d.e.store().lineEnd(3));
  d.e.deleteSelection();
  EXPECT_EQ(d.e.line(3), "");
  EXPECT_EQ(d.e.lineMarks().lineOf(mark), 3);
  // The last line goes with the break before it.
  const int last = d.e.lineMarks().add(9);
  d.select(d.e.store().lineEnd(8), d.e.length());
  d.e.deleteSelection();
  EXPECT_FALSE(d.e.lineMarks().lineOf(last));
  d.e.undo();
  EXPECT_EQ(d.e.lineMarks().lineOf(last), 9);
}

TEST(LineMarks, UndoOfAnotherRemovalAtTheSamePlaceDoesNotBringMarksBack) {
  Marked d;
  const int mark = d.e.lineMarks().add(4);
  d.select(d.startOf(4), d.startOf(4));
  d.e.deleteLine();  // "L4\r" with the mark
  d.e.deleteLine();  // "L5\r", same length, same place, no mark
  d.e.undo();        // puts "L5\r" back: not the text the mark was on
  EXPECT_FALSE(d.e.lineMarks().lineOf(mark));
  d.e.undo();
  EXPECT_EQ(d.e.lineMarks().lineOf(mark), 4);
  EXPECT_EQ(d.e.line(4), "L4");
}

TEST(LineMarks, ReplacingTheDocumentReleasesEverything) {
  Marked d;
  const int mark = d.e.lineMarks().add(2);
  const int track = d.e.lineTracks().add(3);
  d.e.setBookmark(4, d.startOf(7));
  d.events.clear();
  d.e.setText("fresh");
  EXPECT_EQ(d.e.lineMarks().count(), 0u);
  EXPECT_FALSE(d.e.bookmark(4));
  EXPECT_EQ(d.events, (std::vector<std::string>{"free " + std::to_string(mark), "track- " + std::to_string(track),
                                                "bm- 4"}));
}

TEST(LineMarks, OwnerOperationsAndQueries) {
  Marked d;
  const int a = d.e.lineMarks().add(1, 3, rgb(1, 2, 3), "a");
  const int b = d.e.lineMarks().add(8, 4);
  const int c = d.e.lineMarks().add(99, 3);  // clamped to the last line
  EXPECT_NE(a, 0);
  EXPECT_EQ(d.e.lineMarks().lineOf(c), 9);
  const auto seen = d.e.lineMarks().onLines(0, 8);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].first, 1);
  EXPECT_EQ(seen[0].second->id, a);
  EXPECT_EQ(seen[1].first, 8);

  EXPECT_TRUE(d.e.lineMarks().moveTo(a, 2));
  LineMark changed = *d.e.lineMarks().find(b);
  changed.color = rgb(9, 9, 9);
  EXPECT_TRUE(d.e.lineMarks().update(changed));
  EXPECT_EQ(d.events, (std::vector<std::string>{"change " + std::to_string(a), "change " + std::to_string(b)}));
  EXPECT_EQ(d.e.lineMarks().lineOf(a), 2);
  d.events.clear();
  d.e.lineMarks().clearKind(3);
  EXPECT_EQ(d.events, (std::vector<std::string>{"free " + std::to_string(a), "free " + std::to_string(c)}));
  EXPECT_FALSE(d.e.lineMarks().remove(a));
  EXPECT_EQ(d.e.lineMarks().count(), 1u);

  const int t1 = d.e.lineTracks().add(0);
  const int t2 = d.e.lineTracks().add(0);
  EXPECT_NE(t1, t2);
  EXPECT_TRUE(d.e.lineTracks().free(t1));
  EXPECT_FALSE(d.e.lineTracks().free(t1));
  EXPECT_EQ(d.e.lineTracks().ids(), std::vector<int>{t2});
}

TEST(LineMarks, AnOwnersBookmarkSetFollowsEditsAndChecksItsRange) {
  Marked d;
  std::vector<int> set;
  {
    TCustomBookmarks own(d.e.markTracker(), d.e.store(), 25);
    own.onBookmarkSet = [&](int i) { set.push_back(i); };
    own.set(24, d.startOf(6));
    own.set(3, d.startOf(2));
    EXPECT_EQ(set, (std::vector<int>{24, 3}));
    d.select(0, 0);
    d.e.replaceSelection("top\r");
    EXPECT_EQ(d.e.store().lineFromPos(own.get(24).value()), 7);
    const auto inView = own.between(0, d.startOf(5));
    ASSERT_EQ(inView.size(), 1u);
    EXPECT_EQ(inView[0].first, 3);
    EXPECT_THROW(own.set(25, 0), ESyntaxMemo);
    EXPECT_THROW((void)own.get(-1), ESyntaxMemo);
  }
  // Gone with its set: the control's edits do not touch it any more.
  d.select(0, 0);
  d.e.replaceSelection("more\r");
  EXPECT_EQ(d.e.markTracker().count(), 0u);
}
