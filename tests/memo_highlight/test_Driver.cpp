// Tests of the incremental re-scan and background highlighting of a control.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "TestTables.h"
#include "memo/engine/MemoEngine.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

using namespace hltest;
using velora::memo::MemoEngine;
using velora::memo::Pos;
using vlr::THighlightDriver;
using vlr::TSyntaxMemoParser;

namespace {

struct Fixture {
  MemoEngine e;
  TSyntaxMemoParser p;
  THighlightDriver* d = nullptr;
  explicit Fixture(const std::string& text, int visibleLines = 25) {
    p.SetTables(CommentTables());
    e.setVisibleExtent(visibleLines, 80);
    e.setText(text);
    d = &vlr::AttachHighlighter(e, p);
  }
  void Finish() {
    while (e.HighlightSlice(100000)) {
    }
  }
  [[nodiscard]] std::vector<std::uint8_t> All() const { return e.tokens(0, e.length()); }
  [[nodiscard]] std::vector<std::uint8_t> Reference() {
    TSyntaxMemoParser q;
    q.SetTables(CommentTables());
    return FullScan(q, e.store());
  }
};

std::string Lines(const std::string& line, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += line + "\r";
  return s;
}

TEST(HighlightDriver, LoadHighlightsTheScreenThenSlicesFinish) {
  Fixture f("a = 1\r/* open\r" + Lines("comment text", 3000) + "*/ b = 2\r" + Lines("x = 3", 3000));
  f.d->lookAheadLines = 10;
  f.d->Restart();
  // Only the visible lines and the look-ahead are done at once.
  EXPECT_LT(f.d->Frontier(), 100);
  EXPECT_TRUE(f.e.highlightPending());
  EXPECT_EQ(f.e.tokens(0, 5), (std::vector<std::uint8_t>{5, 0, 7, 0, 6}));
  // A slice with no time left stops after its first check (four records).
  const auto before = f.d->Frontier();
  EXPECT_TRUE(f.e.HighlightSlice(0));
  EXPECT_EQ(f.d->Frontier() - before, 4);
  int slices = 0;
  while (f.e.HighlightSlice(200)) ++slices;
  EXPECT_GT(slices, 0);
  EXPECT_FALSE(f.e.highlightPending());
  EXPECT_EQ(f.All(), f.Reference());
}

TEST(HighlightDriver, TypingInsideLongCommentRescansUntilValuesSettle) {
  const std::string head = "a = 1\r/* open\r";
  Fixture f(head + Lines("comment text", 200) + "*/ b = 2\r" + Lines("x = 3", 200));
  f.Finish();
  // Closing the comment early changes every following comment line, up to the old closer.
  f.e.setSelection(Pos(head.size()) + 3, Pos(head.size()) + 3);
  f.e.typeText("*/");
  EXPECT_TRUE(f.d->LastRun().stoppedEqual);
  EXPECT_GE(f.d->LastRun().records, 200);
  EXPECT_LE(f.d->LastRun().records, 205);
  EXPECT_EQ(f.All(), f.Reference());
  // Taking it out again re-scans the same lines back.
  f.e.undo();
  EXPECT_EQ(f.All(), f.Reference());
  // A letter typed inside the comment changes nothing after its line: the scan restarts at the
  // line's own start (its checkpoint) and stops there.
  f.e.setSelection(Pos(head.size()) + 30, Pos(head.size()) + 30);
  f.e.typeText("q");
  EXPECT_TRUE(f.d->LastRun().stoppedEqual);
  EXPECT_EQ(f.d->LastRun().firstRecord, 4);
  EXPECT_EQ(f.d->LastRun().records, 1);
  EXPECT_EQ(f.All(), f.Reference());
}

TEST(HighlightDriver, EditThatChangesNoLaterLineStopsAtOnce) {
  Fixture f(Lines("alpha = 12", 500));
  f.Finish();
  f.e.setSelection(Pos(11) * 250 + 2, Pos(11) * 250 + 2);
  f.e.typeText("z");
  EXPECT_TRUE(f.d->LastRun().stoppedEqual);
  // The restart point is the line break before (an anchor), the edited line's own old values
  // hold the typed character's placeholder, so the next line is the first to compare equal.
  EXPECT_LE(f.d->LastRun().records, 3);
  f.e.typeText("/*");  // opens a comment that runs to the end
  EXPECT_EQ(f.All(), f.Reference());
  f.e.deleteChar(false);
  f.e.deleteChar(false);
  EXPECT_EQ(f.All(), f.Reference());
  // Joining and splitting lines.
  f.e.setSelection(Pos(11) * 10 - 1, Pos(11) * 10 - 1);
  f.e.deleteChar(true);
  EXPECT_EQ(f.All(), f.Reference());
  f.e.newLine();
  EXPECT_EQ(f.All(), f.Reference());
}

TEST(HighlightDriver, LongRescanIsHandedToTheSlices) {
  Fixture f(Lines("alpha = 12", 5000));
  f.Finish();
  f.d->syncRecordLimit = 100;
  f.e.setSelection(0, 0);
  f.e.typeText("/*");
  EXPECT_EQ(f.d->LastRun().records, 100);
  EXPECT_TRUE(f.e.highlightPending());
  f.Finish();
  EXPECT_EQ(f.All(), f.Reference());
}

TEST(HighlightDriver, SlicesStopWhereOldValuesAreMetAgain) {
  Fixture f("/*\r" + Lines("text", 300) + "*/\r" + Lines("k = 1", 3000));
  f.Finish();
  f.d->syncRecordLimit = 100;
  f.e.setSelection(0, 2);
  f.e.deleteSelection();  // the comment's lines become code up to the old closer
  EXPECT_TRUE(f.e.highlightPending());
  f.Finish();
  EXPECT_TRUE(f.d->LastRun().stoppedEqual);
  EXPECT_LT(f.d->Frontier() - 0, f.e.store().recordCount() + 1);
  EXPECT_LT(f.d->LastRun().firstRecord, 400);
  EXPECT_EQ(f.All(), f.Reference());
}

TEST(HighlightDriver, EditsBeforeAndAfterTheFrontier) {
  Fixture f("/*\r" + Lines("text", 2000) + "*/\r" + Lines("k = 1", 2000));
  f.d->lookAheadLines = 5;
  f.d->Restart();
  ASSERT_TRUE(f.e.highlightPending());
  f.e.HighlightSlice(0);
  // An edit on screen, before the frontier, and one far after it.
  f.e.setSelection(1, 1);
  f.e.typeText("\r\r");
  f.e.setSelection(f.e.length() - 3, f.e.length() - 3);
  f.e.typeText("/*");
  f.Finish();
  EXPECT_EQ(f.All(), f.Reference());
}

TEST(HighlightDriver, TokenSeenSequenceAndOverride) {
  Fixture f("a = 1\rb");
  f.Finish();
  std::vector<std::tuple<int, Pos, Pos>> calls;
  f.e.onTokenSeen = [&calls](int& v, Pos a, Pos b) {
    calls.emplace_back(v, a, b);
    if (v == 6) v = 9;  // the owner may change the value
  };
  f.e.setSelection(4, 4);
  f.e.typeText("2");
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls.front(), std::make_tuple(-1, Pos(-1), Pos(-1)));
  EXPECT_EQ(calls.back(), std::make_tuple(-2, Pos(-2), Pos(-2)));
  // The tokens in between cover the scanned text without gaps.
  for (std::size_t i = 2; i + 1 < calls.size(); ++i) EXPECT_EQ(std::get<1>(calls[i]), std::get<2>(calls[i - 1]));
  EXPECT_EQ(f.e.tokens(4, 6), (std::vector<std::uint8_t>{9, 9}));
}

TEST(HighlightDriver, NewTablesRecomputeEverything) {
  Fixture f(Lines("a = 1", 50));
  f.Finish();
  TSchemeTables t = CommentTables();
  t.words.clear();  // "=" is no longer a word
  f.p.SetTables(t);
  f.Finish();
  EXPECT_EQ(f.e.tokens(0, 5), (std::vector<std::uint8_t>{5, 0, 0, 0, 6}));
  f.e.setText("b = 2");
  EXPECT_EQ(f.All(), (std::vector<std::uint8_t>{5, 0, 0, 0, 6}));
}

}  // namespace

namespace {

// Random edits, some while background work is still pending, short synchronous limits: after
// the slices finish, the values always equal a scan of the whole text from the top.
TEST(HighlightDriver, RandomEditsMatchAFullScan) {
  std::string text;
  for (int i = 0; i < 600; ++i) {
    text += (i % 50 == 0) ? "/* open\r" : (i % 50 == 20) ? "close */ x = 1\r" : "name = 42 y\r";
  }
  Fixture f(text, 10);
  f.d->lookAheadLines = 3;
  f.d->syncRecordLimit = 40;
  f.d->Restart();
  std::uint64_t s = 88172645463325252ull;
  const auto rnd = [&s] {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return s;
  };
  const char* pieces[] = {"x", "/*", "*/", "*", "/", " ", "\r", "12", "=", "\r/*\r"};
  for (int i = 0; i < 400; ++i) {
    // Half of the edits land before the frontier of background highlighting.
    const auto& st = f.e.store();
    const Pos frontier = f.d->Frontier() < st.recordCount() ? st.locateRecord(f.d->Frontier()).recordStart : f.e.length();
    const Pos span = (rnd() % 2 == 0) ? frontier + 1 : f.e.length() + 1;
    const Pos at = Pos(rnd() % std::uint64_t(span));
    f.e.setSelection(at, at);
    if (rnd() % 4 == 0) f.e.deleteChar(rnd() % 2 == 0);
    else f.e.typeText(pieces[rnd() % 10]);
    for (int k = int(rnd() % 4); k > 0; --k) f.e.HighlightSlice(0);  // a few records at a time
    if (i % 100 == 99) {
      f.Finish();
      ASSERT_EQ(f.All(), f.Reference()) << "after edit " << i;
    }
  }
  f.Finish();
  EXPECT_EQ(f.All(), f.Reference());
}

}  // namespace

namespace {

// A keystroke inside a long region of one token value (a comment, plain text) re-scans the
// edited line only: it restarts at the line's checkpoint and stops at the next line, whose
// state is the one it had before.
TEST(HighlightDriver, KeystrokeInALongRegionCostsOneLine) {
  const std::string comment = "/*\r" + Lines("comment text here", 20000) + "*/ x = 1\r";
  const std::string plain = Lines("... ,,, ... ;;; ...", 20000);  // all value 0, an anchor
  for (const std::string& text : {comment, plain}) {
    Fixture f(text);
    f.Finish();
    const auto& st = f.e.store();
    for (const velora::memo::LineNo line : {10000, 19990, 3}) {
      const Pos at = st.lineStart(line) + 4;
      f.e.setSelection(at, at);
      f.e.typeText("q");
      EXPECT_EQ(f.d->LastRun().firstRecord, line);
      EXPECT_EQ(f.d->LastRun().records, 1);
      EXPECT_TRUE(f.d->LastRun().stoppedEqual);
      f.e.deleteChar(false);
      EXPECT_LE(f.d->LastRun().records, 1);
    }
    EXPECT_EQ(f.All(), f.Reference());
    // An edit that changes the state at the next line still runs on until it settles.
    const Pos at = st.lineStart(5000);
    f.e.setSelection(at, at);
    f.e.typeText("*/");
    f.Finish();
    EXPECT_EQ(f.All(), f.Reference());
    f.e.undo();
    f.Finish();
    EXPECT_EQ(f.All(), f.Reference());
  }
}

}  // namespace
