// The fold markers and line events kept between keystrokes: after every kind of edit (on the
// line, above the screen, lines added and taken away, undo and redo, a new parser) each line's
// kept answer is the one worked out afresh from the text and tokens.
#include <gtest/gtest.h>

#include <string>

#include "memo/engine/MarkupPairs.h"
#include "memo/engine/MemoEngine.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/HtmlScanners.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

namespace {

using velora::memo::LineNo;
using velora::memo::MemoEngine;
using velora::memo::Pos;

const char* const kPage =
    "<html>\r"               // 0
    "<body>\r"               // 1
    "<div id=a>\r"           // 2
    "  <ul>\r"               // 3
    "    <li>one</li>\r"     // 4
    "    <li>two</li>\r"     // 5
    "  </ul>\r"              // 6
    "</div>\r"               // 7
    "<section>\r"            // 8
    "  <p>x</p>\r"           // 9
    "  <p>y</p>\r"           // 10
    "</section>\r"           // 11
    "<script>\r"             // 12
    "if (a) {\r"             // 13
    "  b();\r"               // 14
    "}\r"                    // 15
    "</script>\r"            // 16
    "</body>\r"              // 17
    "</html>";               // 18

class MarkupLinesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parser.Script = VELORA_HTML_SCHEME_SCRIPT;
    parser.CompileScript();
    vlr::UseHtmlScanners(parser);
    ASSERT_EQ(parser.Compile(), "Compiled");
    e.setText(kPage);
    vlr::AttachHighlighter(e, parser);
    Settle();
    Warm();
  }
  void Settle() {
    while (e.HighlightSlice(100000)) {
    }
  }
  // Every line's marker and events asked once, so that all are kept.
  void Warm() {
    for (LineNo l = 0; l < e.store().lineCount(); ++l) {
      (void)e.markupLines().opensRegion(l);
      (void)e.markupLines().events(l);
    }
  }
  // The kept answers of every line against fresh ones; the caret at every tag name and brace
  // matched both ways.
  void ExpectFresh(const char* step) {
    SCOPED_TRACE(step);
    const auto& st = e.store();
    for (LineNo l = 0; l < st.lineCount(); ++l) {
      EXPECT_EQ(e.markupLines().opensRegion(l), velora::memo::RegionOpeningOn(st, l, true).has_value()) << "line " << l;
      const auto fresh = velora::memo::LineEvents(st, l);
      const auto& kept = e.markupLines().events(l);
      ASSERT_EQ(kept.size(), fresh.size()) << "line " << l;
      for (std::size_t i = 0; i < kept.size(); ++i) {
        EXPECT_EQ(kept[i].at, fresh[i].at) << "line " << l;
        EXPECT_EQ(kept[i].name, fresh[i].name) << "line " << l;
        EXPECT_EQ(kept[i].open, fresh[i].open) << "line " << l;
      }
      for (const auto& ev : fresh) {
        const auto a = e.markupLines().matchAt(ev.nameAt);
        const auto b = velora::memo::MatchAt(st, ev.nameAt);
        ASSERT_EQ(a.has_value(), b.has_value()) << "line " << l;
        if (a) {
          EXPECT_EQ(a->at2, b->at2) << "line " << l;
        }
      }
    }
  }
  Pos At(LineNo line, const std::string& piece) const {
    const auto at = e.store().lineText(line).find(piece);
    EXPECT_NE(at, std::string::npos) << piece;
    return e.store().lineStart(line) + Pos(at);
  }
  void TypeAt(Pos p, const std::string& text) {
    e.setSelection(p, p, false);
    e.typeText(text);
    Settle();
  }
  MemoEngine e;
  vlr::TSyntaxMemoParser parser;
};

TEST_F(MarkupLinesTest, ACommentOpenedAboveTheScreenTakesTheMarkersBelowAndUndoGivesThemBack) {
  ASSERT_TRUE(e.markupLines().opensRegion(8));  // <section>
  ASSERT_TRUE(e.markupLines().opensRegion(13));  // the script's brace
  TypeAt(0, "<!--");
  // Everything after the top is a comment now: no region opens below it.
  EXPECT_FALSE(e.markupLines().opensRegion(8));
  EXPECT_FALSE(e.markupLines().opensRegion(13));
  ExpectFresh("comment opened at the top");
  e.undo();
  Settle();
  EXPECT_TRUE(e.markupLines().opensRegion(8));
  EXPECT_TRUE(e.markupLines().opensRegion(13));
  ExpectFresh("undone");
  e.redo();
  Settle();
  EXPECT_FALSE(e.markupLines().opensRegion(8));
  ExpectFresh("redone");
}

TEST_F(MarkupLinesTest, ARegionClosedOnTheNextLineLosesItsMarker) {
  // <section>'s marker depends on line 9: an end tag typed there closes it within one line.
  ASSERT_TRUE(e.markupLines().opensRegion(8));
  TypeAt(At(9, "<p>"), "</section>");
  EXPECT_FALSE(e.markupLines().opensRegion(8));
  ExpectFresh("closed on the next line");
  e.undo();
  Settle();
  EXPECT_TRUE(e.markupLines().opensRegion(8));
  ExpectFresh("undone");
}

TEST_F(MarkupLinesTest, LinesAddedAndTakenAwayMoveWhatIsKept) {
  TypeAt(At(3, "<ul>"), "<b>\r\r\r");  // three lines more inside the div
  EXPECT_TRUE(e.markupLines().opensRegion(11));  // <section>, three lines further down
  ExpectFresh("lines added");
  e.setSelection(e.store().lineStart(4), e.store().lineStart(10), false);
  e.deleteSelection();
  Settle();
  ExpectFresh("lines taken away");
  e.undo();
  Settle();
  ExpectFresh("deletion undone");
  e.undo();
  Settle();
  ExpectFresh("insertion undone");
  EXPECT_TRUE(e.markupLines().opensRegion(8));
}

TEST_F(MarkupLinesTest, AnEndTagTypedFarBelowChangesThePairOfAStartTagAbove) {
  const Pos div = At(2, "div") + 1;
  const auto before = e.markupLines().matchAt(div);
  ASSERT_TRUE(before);
  EXPECT_EQ(before->at2, At(7, "div"));
  // An inner "</div>" on line 6 now ends the div: the pair changes though line 2 did not.
  TypeAt(At(6, "</ul>"), "<div></div>");
  ExpectFresh("end tag typed");
  TypeAt(e.store().lineStart(4), "</div>");
  ExpectFresh("stray end tag typed");
  const auto after = e.markupLines().matchAt(div);
  ASSERT_TRUE(after);
  EXPECT_EQ(after->at2, At(4, "div"));
}

TEST_F(MarkupLinesTest, NewTextAndRehighlightingForgetEverything) {
  e.setText("<div>\r\r\r</div>");
  Settle();
  EXPECT_TRUE(e.markupLines().opensRegion(0));
  ExpectFresh("new text");
  Warm();
  // Highlighting switched off and on again re-scans the whole page.
  e.setSelection(0, 0, false);
  e.typeText("<!--");
  Settle();
  vlr::RehighlightAll(e);
  Settle();
  ExpectFresh("rehighlighted");
  vlr::DetachHighlighter(e);
  e.setText(kPage);
  EXPECT_FALSE(e.markupLines().opensRegion(8));  // no tokens: no markup
  ExpectFresh("no highlighter");
}

}  // namespace
