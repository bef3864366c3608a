// Tests of the message interface: the private block 0x0C00..0x0C15 and the standard messages.
#include <gtest/gtest.h>

#include <cstring>

#include "memo/engine/MemoEngine.h"
#include "memo/engine/Messages.h"

using namespace velora::memo;
namespace m = velora::memo::msg;

namespace {
struct Doc {
  MemoEngine e;
  explicit Doc(std::string_view s = {}) { e.setText(s); }
  std::intptr_t send(unsigned msg, std::uintptr_t w = 0, std::intptr_t l = 0) { return e.perform(msg, w, l); }
  template <class T>
  static std::intptr_t lp(T* p) { return reinterpret_cast<std::intptr_t>(p); }
};
}  // namespace

TEST(Perform, SelectionGetAndSet) {
  Doc d("abc\rdef");
  Selection s{5, 1};
  d.send(m::kSelection, m::kSet, Doc::lp(&s));
  Selection got;
  d.send(m::kSelection, 0, Doc::lp(&got));
  EXPECT_EQ(got, (Selection{5, 1}));
  Selection all{-1, 0};
  d.send(m::kSelection, m::kSet, Doc::lp(&all));
  EXPECT_EQ(d.e.selection(), (Selection{0, 7}));
  Selection far{2, 1000};
  d.send(m::kSelection, m::kSet, Doc::lp(&far));
  EXPECT_EQ(d.e.selection(), (Selection{2, 7}));
}

TEST(Perform, ReplaceSelectionAndCopySelection) {
  Doc d("abc");
  Selection s{1, 2};
  d.send(m::kSelection, m::kSet, Doc::lp(&s));
  d.send(m::kReplaceSelection, 0, Doc::lp("X\r\nY"));
  EXPECT_EQ(d.e.text(), "aX\rYc");
  d.e.selectAll();
  // SelText as the editor window reads it: SelLength + 1 bytes through 0x0C0D with wParam 1.
  const auto len = d.e.selLength();
  std::string buf(std::size_t(len) + 1, '?');
  EXPECT_EQ(d.send(m::kCopySelection, 1, 0), len);
  EXPECT_EQ(d.send(m::kCopySelection, 1, Doc::lp(buf.data())), len);
  EXPECT_STREQ(buf.c_str(), "aX\r\nYc");
  d.send(m::kReplaceSelection, 0, 0);  // none deletes the selection
  EXPECT_EQ(d.e.text(), "");
}

TEST(Perform, StreamsInAndOut) {
  Doc d("start");
  d.e.setSelStart(5);
  MemoryStream in(" one\r\ntwo");
  d.send(m::kInsertStream, 0, Doc::lp(static_cast<ByteStream*>(&in)));
  EXPECT_EQ(d.e.text(), "start one\rtwo");
  d.e.selectAll();
  MemoryStream out;
  d.send(m::kWriteSelection, 8, Doc::lp(static_cast<ByteStream*>(&out)));
  EXPECT_EQ(out.data(), "start one\ntwo");
  MemoryStream out2;
  d.send(m::kWriteSelection, 0, Doc::lp(static_cast<ByteStream*>(&out2)));
  EXPECT_EQ(out2.data(), "start one\rtwo");
}

TEST(Perform, ModifiedUndoRedo) {
  Doc d("abc");
  EXPECT_EQ(d.send(m::kModified), 0);
  d.send(m::kReplaceSel, 0, Doc::lp("x"));
  EXPECT_EQ(d.send(m::kModified), 1);
  EXPECT_EQ(d.send(m::kGetModify), 1);
  EXPECT_EQ(d.send(m::kCanUndo), 1);
  EXPECT_EQ(d.send(m::kCanRedo), 0);
  d.send(m::kUndo);
  EXPECT_EQ(d.e.text(), "abc");
  EXPECT_EQ(d.send(m::kCanRedo), 1);
  d.send(m::kRedo);
  EXPECT_EQ(d.e.text(), "xabc");
  d.send(m::kModified, m::kSet, 0);
  EXPECT_EQ(d.send(m::kCanUndo), 0);
  d.send(m::kReplaceSel, 0, Doc::lp("y"));
  d.send(m::kEmptyUndoBuffer);
  EXPECT_EQ(d.send(m::kModified), 0);
}

TEST(Perform, TextMessages) {
  Doc d;
  d.send(m::kSetText, 0, Doc::lp("ab\ncd"));
  EXPECT_EQ(d.send(m::kGetTextLength), 6);
  char buf[16];
  EXPECT_EQ(d.send(m::kGetText, sizeof buf, Doc::lp(buf)), 6);
  EXPECT_STREQ(buf, "ab\r\ncd");
  EXPECT_EQ(d.send(m::kGetLineCount), 2);
  EXPECT_EQ(d.send(m::kLineIndex, 1), 3);
  EXPECT_EQ(d.send(m::kLineIndex, 5), -1);
  EXPECT_EQ(d.send(m::kLineLength, 4), 2);
  EXPECT_EQ(d.send(m::kLineFromChar, 4), 1);
  char line[8] = {};
  const std::uint16_t max = 7;
  std::memcpy(line, &max, 2);
  EXPECT_EQ(d.send(m::kGetLine, 1, Doc::lp(line)), 2);
  EXPECT_EQ(std::string(line, 2), "cd");
  d.send(m::kSetSel, 0, -1);
  EXPECT_EQ(d.e.selection(), (Selection{0, 5}));
  Pos s = 0, e = 0;
  EXPECT_EQ(d.send(m::kGetSel, reinterpret_cast<std::uintptr_t>(&s), Doc::lp(&e)), (5 << 16));
  EXPECT_EQ(e, 5);
  d.send(m::kSetSel, std::uintptr_t(-1), 0);
  EXPECT_TRUE(d.e.selection().empty());
}

TEST(Perform, BlockIndentMessagesAndPaintFlag) {
  Doc d("a\rb");
  int repaints = 0;
  d.e.onRepaint = [&] { ++repaints; };
  d.e.selectAll();
  repaints = 0;
  d.send(m::kPaintSuspended, m::kSet, 1);
  EXPECT_EQ(d.send(m::kPaintSuspended), 1);
  d.send(m::kBlockIndent);
  d.send(m::kBlockUnindent);
  d.send(m::kBlockIndent);
  EXPECT_EQ(repaints, 0);
  d.send(m::kPaintSuspended, m::kSet, 0);
  EXPECT_EQ(repaints, 1);
  EXPECT_EQ(d.e.text(), " a\r b");
  d.send(m::kPaintSuspended, m::kSet | m::kNoRepaint, 1);
  d.send(m::kPaintSuspended, m::kSet | m::kNoRepaint, 0);
  EXPECT_EQ(repaints, 1);
}

TEST(Perform, FirstVisibleLineAndScrolling) {
  std::string s;
  for (int i = 0; i < 100; ++i) s += "line\r";
  Doc d(s);
  d.e.setVisibleExtent(10, 40);
  d.send(m::kFirstVisibleLine, m::kSet, 20);
  EXPECT_EQ(d.send(m::kFirstVisibleLine), 20);
  EXPECT_EQ(d.send(m::kGetFirstVisibleLine), 20);
  d.send(m::kVScroll, m::kSbPageDown);
  EXPECT_EQ(d.e.firstVisibleLine(), 30);
  d.send(m::kLineScroll, 0, -5);
  EXPECT_EQ(d.e.firstVisibleLine(), 25);
  d.e.setSelection(0, 0, false);
  d.send(m::kScrollCaret);
  EXPECT_EQ(d.e.firstVisibleLine(), 0);
  d.e.setSelStart(d.e.store().lineStart(50));
  EXPECT_EQ(d.e.firstVisibleLine(), 41);
}

TEST(Perform, SearchTokensUndoLogAndDroppedFiles) {
  Doc d("alpha beta");
  EXPECT_EQ(d.send(m::kSearch, kSearchAtOnce, Doc::lp("BETA")), 6);
  std::uint8_t v[3] = {7, 8, 9};
  PosRange r{1, 4};
  d.send(m::kStoreTokens, reinterpret_cast<std::uintptr_t>(&r), Doc::lp(v));
  std::uint8_t back[10] = {};
  EXPECT_EQ(d.send(m::kReadTokens, 0, Doc::lp(back)), 10);
  EXPECT_EQ(back[0], 0);
  EXPECT_EQ(back[1], 7);
  EXPECT_EQ(back[3], 9);
  EXPECT_EQ(back[4], 0);

  auto* log = reinterpret_cast<TUndoStack*>(d.send(m::kUndoLog));
  EXPECT_EQ(log, d.e.undoStack());
  std::unique_ptr<TUndoStack> other = std::make_unique<TUndoStack>();
  TUndoStack* fresh = other.get();
  d.send(m::kUndoLog, m::kSet, Doc::lp(&other));
  EXPECT_EQ(d.e.undoStack(), fresh);
  EXPECT_EQ(other.get(), log);

  std::vector<std::string> got;
  Point at;
  d.e.onFilesDropped = [&](const std::vector<std::string>& f, Point p) { got = f; at = p; };
  DroppedFiles df{{"/tmp/a.html", "/tmp/b.gif"}, {3, 4}};
  d.send(m::kDropFiles, 0, Doc::lp(&df));
  EXPECT_EQ(got.size(), 2u);
  EXPECT_EQ(at.x, 3);
  d.e.options &= ~std::uint32_t(smoProcessDroppedFiles);
  got.clear();
  d.send(m::kDropFiles, 0, Doc::lp(&df));
  EXPECT_TRUE(got.empty());
  EXPECT_EQ(d.send(0x0C01), 0);  // left to the implementer: answered with 0
}
