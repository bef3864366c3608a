// Tests of the control engine: selection model, editing operations and the Part's edge cases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memo/engine/MemoEngine.h"

using namespace velora::memo;

namespace {
struct Doc {
  MemoEngine e;
  explicit Doc(std::string_view s = {}) { e.setText(s); }
  [[nodiscard]] std::string contents() const { return e.text(); }
};
}  // namespace

TEST(MemoEngine, SelStartIsTheSmallerEnd) {
  Doc d("hello");
  d.e.setSelection(4, 1);
  EXPECT_EQ(d.e.selStart(), 1);
  EXPECT_EQ(d.e.selection().caret, 1);
  EXPECT_EQ(d.e.selLength(), 3);
  d.e.setSelStart(3);
  EXPECT_EQ(d.e.selection(), (Selection{3, 3}));
}

TEST(MemoEngine, SelLengthCountsEveryBreakTwice) {
  Doc d("ab\rcd\ref");
  d.e.setSelection(1, 7);  // spans two breaks
  EXPECT_EQ(d.e.selLength(), (7 - 1) + 2);
  EXPECT_EQ(d.e.selLength(), Pos(d.e.selText().size()));
  d.e.setSelection(6, 2);
  d.e.setSelLength(3);  // internal positions from the ordered start
  EXPECT_EQ(d.e.selection(), (Selection{2, 5}));
}

TEST(MemoEngine, AnchorMinusOneSelectsAllAndPositionsClamp) {
  Doc d("abc\rdef");
  d.e.setSelection(-1, 2);
  EXPECT_EQ(d.e.selection(), (Selection{0, 7}));
  d.e.setSelection(100, -20);
  EXPECT_EQ(d.e.selection(), (Selection{7, 0}));
}

TEST(MemoEngine, CaretLineAndColumnAreOneBased) {
  Doc d("abc\rdefgh\r");
  d.e.setSelStart(4);  // just after the first break
  EXPECT_EQ(d.e.caretColLine(), (std::pair<Pos, LineNo>{1, 2}));
  d.e.setSelStart(7);
  EXPECT_EQ(d.e.caretColLine(), (std::pair<Pos, LineNo>{4, 2}));
  d.e.goToColLine(99, 1);  // clamped to just before the break
  EXPECT_EQ(d.e.selection().caret, 3);
  d.e.goToColLine(2, 99);
  EXPECT_EQ(d.e.caretColLine(), (std::pair<Pos, LineNo>{1, 3}));
  d.e.goToColLine(3, 2);
  EXPECT_EQ(d.e.selection().caret, 6);
}

TEST(MemoEngine, ReplaceSelectionNormalisesBreaks) {
  Doc d("xy");
  d.e.setSelection(1, 1);
  d.e.replaceSelection("1\r\n2\n3\n\r4");
  EXPECT_EQ(d.contents(), "x1\r2\r3\r4y");
  EXPECT_EQ(d.e.selection(), (Selection{8, 8}));
}

TEST(MemoEngine, StreamOf8192BytesEndingInCRThenLF) {
  Doc d;
  std::string s(8191, 'a');
  s += "\r\nb";
  MemoryStream ms(s);
  d.e.insertStream(ms);
  EXPECT_EQ(d.contents(), std::string(8191, 'a') + "\rb");
  EXPECT_EQ(d.e.lineCount(), 2);
  // A stream of exactly 8192 bytes whose last two are CR LF.
  Doc d2;
  std::string t(8190, 'c');
  t += "\r\n";
  MemoryStream ms2(t);
  d2.e.insertStream(ms2);
  EXPECT_EQ(d2.contents(), std::string(8190, 'c') + "\r");
  // Pairs across every chunk boundary of a long stream.
  std::string u;
  for (int i = 0; i < 3000; ++i) u += (i % 3 == 0 ? "abcdef\r\n" : (i % 3 == 1 ? "gh\n\r" : "ij\n"));
  Doc d3("<>");
  d3.e.setSelection(1, 1);
  MemoryStream ms3(u);
  d3.e.insertStream(ms3);
  EXPECT_EQ(d3.e.lineCount(), 3001);
  d3.e.store().checkInvariants();
  d3.e.undo();
  EXPECT_EQ(d3.contents(), "<>");
  d3.e.redo();
  EXPECT_EQ(d3.e.lineCount(), 3001);
}

TEST(MemoEngine, ClearingModifiedMakesUndoUnavailable) {
  Doc d("abc");
  d.e.typeText("x");
  EXPECT_TRUE(d.e.modified());
  EXPECT_TRUE(d.e.canUndo());
  d.e.setModified(true);  // does nothing
  EXPECT_TRUE(d.e.canUndo());
  d.e.setModified(false);
  EXPECT_FALSE(d.e.modified());
  EXPECT_FALSE(d.e.canUndo());
  EXPECT_EQ(d.e.undoStack()->count(), 0u);
}

TEST(MemoEngine, BlockIndentUndoesInOneStep) {
  Doc d("one\rtwo\rthree\rfour");
  d.e.setSelection(1, 9);  // touches lines 1..3
  d.e.indentStep = 2;
  d.e.blockIndent();
  EXPECT_EQ(d.contents(), "  one\r  two\r  three\rfour");
  d.e.undo();
  EXPECT_EQ(d.contents(), "one\rtwo\rthree\rfour");
  EXPECT_EQ(d.e.selection(), (Selection{1, 9}));
  EXPECT_FALSE(d.e.canUndo());
  d.e.redo();
  EXPECT_EQ(d.contents(), "  one\r  two\r  three\rfour");
}

TEST(MemoEngine, BlockIndentSkipsALineTheSelectionEndsBefore) {
  Doc d("a\rb\rc");
  d.e.setSelection(0, 4);  // ends at the start of line 3
  d.e.blockIndent();
  EXPECT_EQ(d.contents(), " a\r b\rc");
}

TEST(MemoEngine, BlockIndentWithTabs) {
  Doc d("a\rb");
  d.e.indentStep = 6;
  d.e.tabDefault = 4;
  d.e.selectAll();
  d.e.blockIndent();
  EXPECT_EQ(d.contents(), "\t  a\r\t  b");
  d.e.options &= ~std::uint32_t(smoUseTAB);
  d.e.blockUnindent();
  EXPECT_EQ(d.contents(), "a\rb");  // the tab counts to the next stop
}

TEST(MemoEngine, BlockUnindentRemovesUpToTheStep) {
  Doc d("    a\r b\rc\r\td");
  d.e.indentStep = 2;
  d.e.selectAll();
  d.e.blockUnindent();
  EXPECT_EQ(d.contents(), "  a\rb\rc\rd");
  d.e.undo();
  EXPECT_EQ(d.contents(), "    a\r b\rc\r\td");
}

TEST(MemoEngine, UnindentUndoRestoresExactlyTheRemovedBytes) {
  // Mixed tabs and blanks in either order, with several steps: undo gives back the same bytes.
  for (const int step : {1, 3, 8}) {
    const std::string original = "\t x\r \ty\r  \t z\r\t\tw";
    Doc d(original);
    d.e.indentStep = step;
    d.e.selectAll();
    d.e.blockUnindent();
    ASSERT_NE(d.contents(), original);
    d.e.undo();
    EXPECT_EQ(d.contents(), original) << "step " << step;
    d.e.redo();
    d.e.undo();
    EXPECT_EQ(d.contents(), original) << "step " << step;
  }
}

TEST(MemoEngine, DeleteAndBackspaceAreGroupsOf13) {
  Doc d("ab\xC3\xA9" "c");
  d.e.setSelStart(4);
  d.e.deleteChar(false);  // the whole two-byte character
  EXPECT_EQ(d.contents(), "abc");
  EXPECT_EQ(d.e.undoStack()->count(), 3u + 6u + 3u);
  d.e.undo();
  EXPECT_EQ(d.contents(), "ab\xC3\xA9" "c");
  EXPECT_EQ(d.e.selection(), (Selection{4, 4}));
  d.e.setSelStart(0);
  d.e.deleteChar(true);
  EXPECT_EQ(d.contents(), "b\xC3\xA9" "c");
}

TEST(MemoEngine, DeletePreviousWordAndLine) {
  Doc d("alpha beta  \rgamma");
  d.e.setSelStart(12);
  d.e.deletePrevWord();
  EXPECT_EQ(d.contents(), "alpha \rgamma");
  d.e.undo();
  EXPECT_EQ(d.contents(), "alpha beta  \rgamma");
  d.e.setSelStart(2);
  d.e.deleteLine();
  EXPECT_EQ(d.contents(), "gamma");
  d.e.undo();
  EXPECT_EQ(d.contents(), "alpha beta  \rgamma");
}

TEST(MemoEngine, OverwriteReplacesOneCharacterButNotTheBreak) {
  Doc d("ab\rc");
  d.e.setSelStart(1);
  d.e.typeText("X", true);
  EXPECT_EQ(d.contents(), "aX\rc");
  d.e.typeText("Y", true);
  EXPECT_EQ(d.contents(), "aXY\rc");
}

TEST(MemoEngine, AutoIndentCopiesLeadingBlanks) {
  Doc d("  \tabc");
  d.e.options &= ~SyntaxMemoOptions(smoSmartFill);  // copied as it is
  d.e.setSelStart(6);
  d.e.newLine();
  EXPECT_EQ(d.contents(), "  \tabc\r  \t");
}

TEST(MemoEngine, ReadOnlyRefusesEdits) {
  Doc d("abc");
  d.e.readOnly = true;
  d.e.selectAll();
  d.e.replaceSelection("x");
  d.e.deleteChar(true);
  d.e.blockIndent();
  d.e.cut();
  EXPECT_EQ(d.contents(), "abc");
  EXPECT_FALSE(d.e.modified());
}

TEST(MemoEngine, CutCopyPasteThroughTheClipboard) {
  Doc d("one\rtwo");
  d.e.setSelection(2, 5);
  d.e.copy();
  MemoryClipboard& clip = static_cast<MemoryClipboard&>(d.e.clipboard());
  EXPECT_EQ(clip.text().value(), "e\r\nt");
  EXPECT_EQ(clip.rtf().rfind("{\\rtf1", 0), 0u);
  d.e.cut();
  EXPECT_EQ(d.contents(), "onwo");
  d.e.setSelStart(4);
  int changes = 0;
  d.e.onChange = [&] { ++changes; };
  d.e.paste();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(d.contents(), "onwoe\rt");
  d.e.undo();
  EXPECT_EQ(d.contents(), "onwo");
}

TEST(MemoEngine, BookmarksAndParserSlots) {
  Doc d("abc\rdef");
  d.e.setBookmark(3, 5);
  EXPECT_EQ(d.e.bookmark(3).value(), 5);
  d.e.setSelStart(0);
  d.e.typeText("xx");
  EXPECT_EQ(d.e.bookmark(3).value(), 7);  // follows the text
  d.e.gotoBookmark(3);
  EXPECT_EQ(d.e.selection().caret, 7);
  try {
    d.e.setBookmark(10, 0);
    FAIL();
  } catch (const ESyntaxMemo& e) {
    EXPECT_STREQ(e.what(), "Bookmark index range error");
  }
  EXPECT_THROW((void)d.e.bookmark(-1), ESyntaxMemo);
  try {
    d.e.setActiveParser(7);
    FAIL();
  } catch (const ESyntaxMemo& e) {
    EXPECT_STREQ(e.what(), "Parser index out of range");
  }
  EXPECT_THROW(d.e.setParser(0, nullptr), ESyntaxMemo);
  d.e.setActiveParser(6);
  EXPECT_EQ(d.e.activeParser(), 6);
}

TEST(MemoEngine, PlainSearch) {
  Doc d("Find the cat in concatenate and CAT.");
  EXPECT_EQ(d.e.search("cat", kSearchAtOnce), 9);
  EXPECT_EQ(d.e.selection(), (Selection{9, 12}));
  EXPECT_EQ(d.e.search("cat", kSearchAtOnce), 19);
  EXPECT_EQ(d.e.search("cat", kSearchAtOnce), 32);
  std::string failed;
  d.e.onSearchFail = [&](const std::string& s) { failed = s; };
  EXPECT_EQ(d.e.search("cat", kSearchAtOnce | kSearchMatchCase), -1);
  EXPECT_EQ(failed, "cat");
  d.e.setSelStart(0);
  EXPECT_EQ(d.e.search("CAT", kSearchAtOnce | kSearchMatchCase), 32);
  d.e.setSelStart(0);
  EXPECT_EQ(d.e.find("cat", kSearchWholeWord, 10), 32);
  EXPECT_EQ(d.e.find("cat", kSearchBackwards, 32), 19);
  EXPECT_EQ(d.e.find("cat", kSearchBackwards | kSearchWholeWord, 32), 9);
}

TEST(MemoEngine, EventsAndUpdateBrackets) {
  Doc d("abc");
  int changes = 0, repaints = 0, sels = 0;
  std::vector<std::pair<Pos, Pos>> ranges;
  d.e.onChange = [&] { ++changes; };
  d.e.onRepaint = [&] { ++repaints; };
  d.e.onSelectionChange = [&] { ++sels; };
  d.e.onTextChange = [&](Pos s, Pos n) { ranges.emplace_back(s, n); };
  d.e.typeText("x");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(ranges.back(), (std::pair<Pos, Pos>{0, 1}));
  EXPECT_GE(sels, 1);
  repaints = 0;
  {
    MemoEngine::UpdateBracket b(d.e);
    for (int i = 0; i < 10; ++i) d.e.typeText("y");
    EXPECT_EQ(repaints, 0);
  }
  EXPECT_EQ(repaints, 1);
  d.e.selectAll();
  repaints = 0;
  d.e.blockIndent();  // compound edits repaint once
  EXPECT_EQ(repaints, 1);
}

TEST(MemoEngine, LinesAccess) {
  Doc d;
  d.e.assignLines({"first", "", "third"});
  EXPECT_EQ(d.e.lineCount(), 3);
  EXPECT_EQ(d.e.line(0), "first");
  EXPECT_EQ(d.e.line(1), "");
  EXPECT_EQ(d.e.line(2), "third");
  EXPECT_FALSE(d.e.modified());
}

TEST(MemoEngine, TokensStoreAndRead) {
  Doc d("ab\rcd");
  const std::uint8_t v[] = {1, 2, 3, 4};
  d.e.storeTokens(1, 5, v);
  EXPECT_EQ(d.e.tokens(0, 5), (std::vector<std::uint8_t>{0, 1, 2, 3, 4}));
  const auto& rec = d.e.store().record(d.e.store().firstRecord());
  EXPECT_TRUE(rec.flags & kRecTokensSupplied);
}

TEST(MemoEngine, RescanHookSeesTheFirstDirtyRecord) {
  struct P : TokenScanner {
    std::uint8_t scanToken(MemoEngine&, EdStream& s, int& l) override { s.advance(); ++l; return 0; }
    void resetContext(std::uint8_t) override {}
  } p;
  Doc d("a\rb\rc\rd");
  std::vector<RecNo> seen;
  d.e.setParser(1, &p);
  d.e.setRescanHandler([&](MemoEngine& m, RecNo r) {
    seen.push_back(r);
    m.store().takeDirty();
  });
  d.e.setActiveParser(1);  // a full re-scan
  EXPECT_EQ(seen.back(), 0);
  d.e.setSelStart(4);
  d.e.typeText("x");
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), 2);
  EdStream s(d.e.store(), 3);
  EXPECT_EQ(s.current(), '\r');
  s.advance();
  EXPECT_EQ(s.current(), 'x');
  EXPECT_EQ(s.position(), 4);
}

TEST(MemoEngine, EventHandlersThatEditRunAfterTheOperationIsLogged) {
  // A handler that types in reaction to a selection or text change (an auto-closing tag, say)
  // starts its own undo step; the log stays consistent and undo takes both back in order.
  Doc d("ab");
  d.e.setSelStart(2);
  int reacted = 0;
  std::vector<std::string> seen;
  d.e.onSelectionChange = [&] {
    if (reacted++ == 0) d.e.typeText("!");
  };
  d.e.onTextChange = [&](Pos, Pos) { seen.push_back(d.e.text()); };
  ASSERT_NO_THROW(d.e.typeText("c"));
  EXPECT_EQ(d.contents(), "abc!");
  // Text events see the text as the operation left it, never a half-done edit.
  EXPECT_EQ(seen, (std::vector<std::string>{"abc", "abc!"}));
  d.e.onSelectionChange = nullptr;
  d.e.undo();
  EXPECT_EQ(d.contents(), "abc");
  d.e.undo();
  EXPECT_EQ(d.contents(), "ab");
  EXPECT_FALSE(d.e.canUndo());
  // The same from OnChange inside a group (Backspace is group 13).
  Doc g("xyz");
  g.e.setSelStart(3);
  bool once = false;
  g.e.onChange = [&] {
    if (!once) {
      once = true;
      g.e.typeText("Q");
    }
  };
  ASSERT_NO_THROW(g.e.deleteChar(false));
  EXPECT_EQ(g.contents(), "xyQ");
  g.e.undo();
  g.e.undo();
  EXPECT_EQ(g.contents(), "xyz");
}

TEST(MemoEngine, DeletePreviousWordWithASelectionDeletesTheSelection) {
  Doc d("one two three");
  d.e.setSelection(5, 9);  // "wo t", caret after it
  d.e.deletePrevWord();
  EXPECT_EQ(d.contents(), "one three");
  d.e.undo();
  EXPECT_EQ(d.contents(), "one two three");
  EXPECT_EQ(d.e.selection(), (Selection{5, 9}));
  // Selected backwards: the same text goes.
  d.e.setSelection(9, 5);
  d.e.deletePrevWord();
  EXPECT_EQ(d.contents(), "one three");
}

TEST(MemoEngine, MoveTextIsOneUndoStep) {
  Doc d("one two\rthree four");
  // Forward over a break: "two" goes after "three ".
  EXPECT_EQ(d.e.moveText(4, 7, 14), 11);
  EXPECT_EQ(d.contents(), "one \rthree twofour");
  EXPECT_EQ(d.e.selection(), (Selection{11, 14}));
  d.e.undo();
  EXPECT_EQ(d.contents(), "one two\rthree four");
  EXPECT_EQ(d.e.selection(), (Selection{4, 7}));
  EXPECT_FALSE(d.e.canUndo());
  d.e.redo();
  EXPECT_EQ(d.contents(), "one \rthree twofour");
  // Backward: "four" to the start.
  d.e.undo();
  EXPECT_EQ(d.e.moveText(14, 18, 0), 0);
  EXPECT_EQ(d.contents(), "fourone two\rthree ");
  d.e.undo();
  EXPECT_EQ(d.contents(), "one two\rthree four");
  // Into itself, or an empty range: nothing happens and nothing is logged.
  EXPECT_EQ(d.e.moveText(4, 7, 5), -1);
  EXPECT_EQ(d.e.moveText(4, 4, 0), -1);
  EXPECT_EQ(d.contents(), "one two\rthree four");
  EXPECT_FALSE(d.e.canUndo());
  d.e.readOnly = true;
  EXPECT_EQ(d.e.moveText(0, 3, 8), -1);
  EXPECT_EQ(d.contents(), "one two\rthree four");
}
