// Auto-closing under real key events: end tags after a start tag's ">" (not for void elements,
// not in scripts, comments or attribute values, not twice), "</" completing the open element,
// quotes and brackets in pairs with the closer stepped over, and each insertion one undo step.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "MarkupMemo.h"
#include "memo/widget/SyntaxMemo.h"

namespace {

using velora::memo::Pos;

struct Typing : completetest::MarkupMemo {
  void Type(const char* keys) {
    QTest::keyClicks(&memo, keys);
    if (memo.completionPopup()) QTest::keyClick(&memo, Qt::Key_Escape);
  }
  Pos Caret() const { return memo.selection().caret; }
};

TEST_F(Typing, AStartTagGetsItsEndTagAndOneUndoTakesBoth) {
  Start("|");
  Type("<p>");
  EXPECT_EQ(Text(), "<p></p>");
  EXPECT_EQ(Caret(), 3);
  Type("Hi <em class=\"x\">");
  EXPECT_EQ(Text(), "<p>Hi <em class=\"x\"></em></p>");
  memo.undo();
  EXPECT_EQ(Text(), "<p>Hi <em class=\"x\"</p>");
  memo.undo();  // the typed "x"; the closing quote was stepped over
  EXPECT_EQ(Text(), "<p>Hi <em class=\"\"</p>");
  memo.undo();  // the pair of quotes was one step
  EXPECT_EQ(Text(), "<p>Hi <em class=</p>");
}

TEST_F(Typing, VoidElementsSelfClosedTagsAndEndTagsThatFollowGetNone) {
  Start("|");
  Type("<br>");
  EXPECT_EQ(Text(), "<br>");
  Type("<img src=\"a.png\">");
  EXPECT_EQ(Text(), "<br><img src=\"a.png\">");
  Type("<my-widget/>");
  EXPECT_EQ(Text(), "<br><img src=\"a.png\"><my-widget/>");
  Start("<b|</b>");
  Type(">");
  EXPECT_EQ(Text(), "<b></b>");
  Start("<li|\r  </li>");
  Type(">");
  EXPECT_EQ(Text(), "<li>\r  </li>");
}

TEST_F(Typing, NothingIsClosedInsideScriptsCommentsAndAttributeValues) {
  Start("<script>\r|\r</script>");
  Type("if (a <p> b) x = 1;");
  EXPECT_EQ(Text(), "<script>\rif (a <p> b) x = 1;\r</script>");
  Start("<!-- |");
  Type("<p>");
  EXPECT_EQ(Text(), "<!-- <p>");
  // A ">" inside a value is text of the value; the tag's own ">" closes it.
  Start("|");
  Type("<p title=\"a>b\">");
  EXPECT_EQ(Text(), "<p title=\"a>b\"></p>");
}

TEST_F(Typing, AScriptElementGetsItsEndTag) {
  Start("|");
  Type("<script>");
  EXPECT_EQ(Text(), "<script></script>");
}

TEST_F(Typing, SlashAfterLessThanCompletesTheOpenElementAsOneStep) {
  Start("<div>\r<p>text</p>\r|");
  Type("</");
  EXPECT_EQ(Text(), "<div>\r<p>text</p>\r</div>");
  EXPECT_EQ(Caret(), Pos(Text().size()));
  memo.undo();
  EXPECT_EQ(Text(), "<div>\r<p>text</p>\r<");
  // Nothing open: the "/" is typed alone.
  Start("<p>x</p>|");
  Type("</");
  EXPECT_EQ(Text(), "<p>x</p></");
}

TEST_F(Typing, AnEndTagTypedByHandAfterAnAutoClosedStartTagIsNotDoubled) {
  Start("|");
  Type("<p>text</p> <ul><li>one</li></ul>");
  EXPECT_EQ(Text(), "<p>text</p> <ul><li>one</li></ul>");
  EXPECT_EQ(Caret(), Pos(Text().size()));
  // "</" alone moves into the end tag, which stays whole.
  Start("|");
  Type("<div>a</");
  EXPECT_EQ(Text(), "<div>a</div>");
  EXPECT_EQ(Caret(), 8);
}

TEST_F(Typing, BracketsAndQuotesPairAndTheCloserIsSteppedOver) {
  Start("<script>\r|\r</script>");
  Type("f(a[1], \"s\")");
  EXPECT_EQ(Text(), "<script>\rf(a[1], \"s\")\r</script>");
  Start("<script>\r|\r</script>");
  Type("g(");
  EXPECT_EQ(Text(), "<script>\rg()\r</script>");
  memo.undo();  // the pair goes as one step
  EXPECT_EQ(Text(), "<script>\rg\r</script>");
  // A quote of prose is a letter: "don't" stays as typed; a bracket before a word does not pair.
  Start("<p>|</p>");
  Type("don't (x");
  EXPECT_EQ(Text(), "<p>don't (x)</p>");
  Start("<p>|word</p>");
  Type("(");
  EXPECT_EQ(Text(), "<p>(word</p>");
}

TEST_F(Typing, TheAidsFollowTheirOptions) {
  memo.engine().editingAids &= ~velora::memo::smaAutoCloseTags;
  Start("|");
  Type("<p a=\"");
  EXPECT_EQ(Text(), "<p a=\"\"");
  memo.engine().editingAids &= ~velora::memo::smaAutoClosePairs;
  Start("|");
  Type("<p a=\"x\">");
  EXPECT_EQ(Text(), "<p a=\"x\">");
  // A control without the aids (not an HTML page) types what is typed.
  memo.engine().editingAids = velora::memo::kDefaultEditingAids;
  memo.setMarkupAids(false);
  Start("|");
  Type("<p>(");
  EXPECT_EQ(Text(), "<p>(");
}

}  // namespace
