// Folding regions and matching pairs from the HTML highlighter's tokens, and the folded rows of
// the engine: what is a region (and what is not), how folds follow edits and undo, and how rows
// map to lines around hidden ones.
#include <gtest/gtest.h>

#include <string>

#include "memo/engine/MarkupPairs.h"
#include "memo/engine/MemoEngine.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/HtmlScanners.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

namespace {

using velora::memo::FoldRange;
using velora::memo::LineNo;
using velora::memo::MemoEngine;
using velora::memo::Pos;

const char* const kPage =
    "<html>\r"                  // 0
    "<body>\r"                  // 1
    "<div class=\"a>b\">\r"     // 2  a '>' inside an attribute value
    "  <p>text\r"               // 3  no end tag: ends at its parent's
    "  <br>\r"                  // 4  void
    "  <img src=x />\r"         // 5  self-closed
    "</div>\r"                  // 6
    "<!-- a\r"                  // 7
    "  comment -->\r"           // 8  too short to fold
    "<script>\r"                // 9
    "function f() {\r"          // 10
    "  var s = \"<p>\"; a <p;\r"  // 11  markup inside a script is none
    "  if (x) {\r"              // 12
    "    y();\r"                // 13
    "  }\r"                     // 14
    "}\r"                       // 15
    "</script>\r"               // 16
    "<style>\r"                 // 17
    "body {\r"                  // 18
    "  color: red;\r"           // 19
    "}\r"                       // 20
    "</style>\r"                // 21
    "<?php\r"                   // 22
    "echo 1;\r"                 // 23
    "?>\r"                      // 24
    "</body>\r"                 // 25
    "</html>";                  // 26

class Folding : public ::testing::Test {
 protected:
  void SetUp() override {
    parser.Script = VELORA_HTML_SCHEME_SCRIPT;
    parser.CompileScript();
    vlr::UseHtmlScanners(parser);
    ASSERT_EQ(parser.Compile(), "Compiled");
    Load(kPage);
  }
  void Load(const std::string& text) {
    e.setText(text);
    vlr::AttachHighlighter(e, parser);
    while (e.HighlightSlice(100000)) {
    }
  }
  [[nodiscard]] Pos At(LineNo line, const std::string& piece) const {
    const auto at = e.store().lineText(line).find(piece);
    EXPECT_NE(at, std::string::npos) << piece;
    return e.store().lineStart(line) + Pos(at);
  }
  MemoEngine e;
  vlr::TSyntaxMemoParser parser;
};

std::string Describe(const std::vector<FoldRange>& rs) {
  std::string out;
  for (const FoldRange& r : rs) out += std::to_string(r.first) + "-" + std::to_string(r.last) + " ";
  return out;
}

TEST_F(Folding, RegionsComeFromTheTokens) {
  // Elements, script and style blocks, their braces and the server block; not the void or
  // self-closed elements, not the two-line comment, not the "<p>" inside the script.
  EXPECT_EQ(Describe(velora::memo::AllRegions(e.store())),
            "0-26 1-25 2-6 3-6 9-16 10-15 12-14 17-21 18-20 22-24 ");
  EXPECT_TRUE(velora::memo::LineEvents(e.store(), 4).empty());
  EXPECT_TRUE(velora::memo::LineEvents(e.store(), 5).empty());
  EXPECT_TRUE(velora::memo::LineEvents(e.store(), 11).empty());
  // The region of one line, found from that line alone, agrees with the walk over all.
  const auto div = velora::memo::RegionOpeningOn(e.store(), 2);
  ASSERT_TRUE(div);
  EXPECT_EQ(div->last, 6);
  EXPECT_FALSE(velora::memo::RegionOpeningOn(e.store(), 7));
  EXPECT_FALSE(velora::memo::RegionOpeningOn(e.store(), 11));
  // The probe of the fold margin sees the region without finding its end.
  EXPECT_TRUE(velora::memo::RegionOpeningOn(e.store(), 0, true));
  EXPECT_FALSE(velora::memo::RegionOpeningOn(e.store(), 13, true));
}

TEST_F(Folding, MatchingPairsNamesAndBrackets) {
  // In the start tag (also past the '>' inside its attribute value): both names.
  for (const Pos caret : {At(2, "div") + 1, At(2, "b\"") + 1}) {
    const auto m = velora::memo::MatchAt(e.store(), caret);
    ASSERT_TRUE(m) << caret;
    EXPECT_EQ(m->at1, At(2, "div"));
    EXPECT_EQ(m->length1, 3);
    EXPECT_EQ(m->at2, At(6, "div"));
  }
  // From the end tag back to the start tag, across the "<p>" without its end tag.
  const auto back = velora::memo::MatchAt(e.store(), At(6, "div"));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->at2, At(2, "div"));
  // "<p>" has no end tag: nothing to match.
  EXPECT_FALSE(velora::memo::MatchAt(e.store(), At(3, "p>")));
  // Next to a brace of the script: its partner, over the inner pair.
  const auto brace = velora::memo::MatchAt(e.store(), At(10, "{") + 1);
  ASSERT_TRUE(brace);
  EXPECT_EQ(brace->at1, At(10, "{"));
  EXPECT_EQ(brace->at2, e.store().lineStart(15));
  // A bracket inside a string is text: the "(" of "f(" pairs with its ")", not with one in a string.
  Load("<script>\rf(\"(\", g());\r</script>");
  const auto paren = velora::memo::MatchAt(e.store(), At(1, "("));
  ASSERT_TRUE(paren);
  EXPECT_EQ(paren->at2, At(1, ");"));
}

TEST_F(Folding, FoldedLinesAreHiddenRows) {
  ASSERT_TRUE(e.folds().fold({2, 6}));
  EXPECT_EQ(e.rowCount(), 27 - 3);
  EXPECT_EQ(e.rowOf(e.store().lineStart(2)), 2);
  EXPECT_EQ(e.rowOf(e.store().lineStart(6)), 3);
  EXPECT_EQ(e.rowStart(3), e.store().lineStart(6));
  EXPECT_EQ(e.rowOf(e.store().lineStart(4)), 2);  // a hidden line maps to its header
  // Nested folds: the outer one hides the inner one's lines too.
  ASSERT_TRUE(e.folds().fold({1, 25}));
  EXPECT_EQ(e.rowCount(), 27 - 23);
  EXPECT_EQ(e.rowStart(2), e.store().lineStart(25));
  ASSERT_TRUE(e.folds().unfold(1));
  EXPECT_EQ(e.rowCount(), 27 - 3);
  // With word wrap the hidden rows are those of the hidden lines.
  e.options |= velora::memo::smoWordWrap;
  e.setWrapWidth(4);
  const Pos rawRows = e.wrapIndex()->rowCount();
  const Pos hidden = e.wrapIndex()->firstRowOf(6) - e.wrapIndex()->firstRowOf(3);
  EXPECT_EQ(e.rowCount(), rawRows - hidden);
  EXPECT_EQ(e.rowStart(e.rowOf(e.store().lineStart(6))), e.store().lineStart(6));
  // A region that hides nothing is no fold.
  EXPECT_FALSE(e.folds().fold({7, 8}));
}

TEST_F(Folding, FoldsFollowEditsAndUndo) {
  ASSERT_TRUE(e.folds().fold({9, 16}));
  // Lines inserted above move the fold; their undo moves it back.
  e.setSelection(0, 0);
  e.replaceSelection("<!-- x -->\r\r");
  ASSERT_EQ(e.folds().folded().size(), 1u);
  EXPECT_EQ(e.folds().folded()[0].first, 11);
  EXPECT_EQ(e.folds().folded()[0].last, 18);
  e.undo();
  ASSERT_EQ(e.folds().folded().size(), 1u);
  EXPECT_EQ(e.folds().folded()[0].first, 9);
  EXPECT_EQ(e.folds().folded()[0].last, 16);
  // An edit below leaves it alone; a caret placed inside unfolds it.
  e.setSelection(e.store().lineStart(20), e.store().lineStart(20));
  e.replaceSelection("x");
  EXPECT_TRUE(e.folds().isFolded(9));
  e.setSelection(e.store().lineStart(12), e.store().lineStart(12));
  EXPECT_FALSE(e.folds().isFolded(9));
  EXPECT_EQ(e.rowCount(), 27);
}

TEST_F(Folding, AnEditThatBreaksTheRegionUnfoldsIt) {
  ASSERT_TRUE(e.folds().fold({17, 21}));
  // "<style>" becomes "<stye>": a region no more (its end tag is a stray one).
  const Pos l = At(17, "le>");
  e.setSelection(l, l + 1);
  e.replaceSelection("");
  EXPECT_FALSE(e.folds().isFolded(17));
  e.undo();
  // The undo restores the text, not the fold; folding it again works as before.
  EXPECT_TRUE(e.folds().fold(*velora::memo::RegionOpeningOn(e.store(), 17)));
  EXPECT_EQ(e.folds().folded()[0].last, 21);
  // A folded region whose inside is deleted (a selection over it) is checked against the new
  // text: with its end tag on the next line there is nothing left to hide.
  e.setSelection(e.store().lineStart(18), e.store().lineStart(21));
  e.replaceSelection("");
  EXPECT_FALSE(e.folds().isFolded(17));
  EXPECT_EQ(e.rowCount(), e.lineCount());
}

}  // namespace
