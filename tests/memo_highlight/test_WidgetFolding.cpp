// Folding, matching and linked editing on the widget, driven by real key and mouse events: the
// fold margin's markers, the fold keys, the caret never left on a hidden line (moves, search,
// go to line), folds that survive an undo, the jump to a partner and a start tag's rename that
// is undone in one step. A screenshot of a folded region and a matched tag is saved.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTest>
#include <cstdio>

#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/HtmlScanners.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"
#include "memo/widget/FoldMargin.h"
#include "memo/widget/SyntaxMemo.h"
#include "memo/widget/TagMatch.h"

using velora::memo::LineNo;
using velora::memo::Pos;
using velora::memo::Selection;
using velora::memo::TSyntaxMemo;

namespace {

constexpr auto CtrlAlt = Qt::ControlModifier | Qt::AltModifier;

const char* const kPage =
    "<html>\r"                        // 0
    "<body>\r"                        // 1
    "<div id=\"main\">\r"             // 2
    "  <p>one</p>\r"                  // 3
    "  <p>two</p>\r"                  // 4
    "</div>\r"                        // 5
    "<script>\r"                      // 6
    "if (a) {\r"                      // 7
    "  b = \"<p>\";\r"                // 8
    "  c();\r"                        // 9
    "}\r"                             // 10
    "</script>\r"                     // 11
    "<p title=\"x > y\">end</p>\r"    // 12
    "</body>\r"                       // 13
    "</html>";                        // 14

struct WidgetFolding : ::testing::Test {
  TSyntaxMemo memo;
  vlr::TSyntaxMemoParser html;
  void SetUp() override {
    html.Script = VELORA_HTML_SCHEME_SCRIPT;
    html.CompileScript();
    vlr::UseHtmlScanners(html);
    ASSERT_EQ(html.Compile(), "Compiled");
    memo.resize(640, 400);
    memo.setText(kPage);
    vlr::AttachHighlighter(memo.engine(), html);
    while (memo.engine().HighlightSlice(100000)) {
    }
    memo.show();
    memo.setFocus();
    QApplication::processEvents();
  }
  [[nodiscard]] Pos At(LineNo line, const char* piece) const {
    const auto& s = memo.engine().store();
    return s.lineStart(line) + Pos(s.lineText(line).find(piece));
  }
  [[nodiscard]] QPoint MarkerOf(LineNo line) const {
    const Pos row = memo.engine().rowOf(memo.engine().store().lineStart(line)) - memo.engine().firstVisibleLine();
    return QPoint(memo.foldMargin().left() + memo.foldMargin().width() / 2, int(row) * memo.lineHeight() + memo.lineHeight() / 2);
  }
  [[nodiscard]] LineNo CaretLine() const { return LineNo(memo.caretLine() - 1); }
};

TEST_F(WidgetFolding, TheMarginFoldsAndUnfoldsByClicks) {
  EXPECT_GT(memo.foldMargin().width(), 0);
  EXPECT_GE(memo.textLeft(), memo.foldMargin().left() + memo.foldMargin().width());
  QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, MarkerOf(2));
  EXPECT_TRUE(memo.engine().folds().isFolded(2));
  EXPECT_EQ(memo.engine().rowCount(), 15 - 2);
  // Down from the header goes to the end tag's line, over the hidden ones; Up comes back.
  memo.setSelStart(At(2, "<div"));
  QTest::keyClick(&memo, Qt::Key_Down);
  EXPECT_EQ(CaretLine(), 5);
  QTest::keyClick(&memo, Qt::Key_Up);
  EXPECT_EQ(CaretLine(), 2);
  EXPECT_TRUE(memo.engine().folds().isFolded(2));
  // A click on the marker again unfolds; a click on a line without one does nothing.
  QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, MarkerOf(2));
  EXPECT_FALSE(memo.engine().folds().isFolded(2));
  // Beside a line without a marker the click places the caret on the line.
  QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, MarkerOf(3));
  EXPECT_TRUE(memo.engine().folds().empty());
  EXPECT_EQ(CaretLine(), 3);
  // Off, the margin is gone and the text moves left.
  const int left = memo.textLeft();
  memo.engine().editingAids &= ~velora::memo::SyntaxMemoEditingAids(velora::memo::smaFolding);
  EXPECT_EQ(memo.foldMargin().width(), 0);
  EXPECT_LT(memo.textLeft(), left);
  QTest::keyClick(&memo, Qt::Key_Minus, CtrlAlt);
  EXPECT_TRUE(memo.engine().folds().empty());
}

TEST_F(WidgetFolding, FoldKeysAndTheCaretNeverHidden) {
  // Fold all: every region; the caret in a region goes to the outermost header.
  memo.setSelStart(At(9, "c()"));
  QTest::keyClick(&memo, Qt::Key_Minus, CtrlAlt);
  EXPECT_EQ(memo.engine().rowCount(), 2);
  EXPECT_EQ(CaretLine(), 0);
  QTest::keyClick(&memo, Qt::Key_Equal, CtrlAlt);
  EXPECT_TRUE(memo.engine().folds().empty());
  // Fold current from inside the braces folds the innermost region and moves the caret to it.
  memo.setSelStart(At(9, "c()"));
  QTest::keyClick(&memo, Qt::Key_BracketLeft, CtrlAlt);
  EXPECT_TRUE(memo.engine().folds().isFolded(7));
  EXPECT_EQ(CaretLine(), 7);
  // Again on the header: unfolds.
  QTest::keyClick(&memo, Qt::Key_BracketLeft, CtrlAlt);
  EXPECT_TRUE(memo.engine().folds().empty());
  // A search into a folded region unfolds it; so does going to a line in one.
  QTest::keyClick(&memo, Qt::Key_Minus, CtrlAlt);
  memo.setSelStart(0);
  EXPECT_GE(memo.find("c()"), 0);
  EXPECT_EQ(CaretLine(), 9);
  EXPECT_FALSE(memo.engine().folds().hidden(9));
  EXPECT_FALSE(memo.engine().folds().isFolded(0));
  EXPECT_TRUE(memo.engine().folds().isFolded(2));  // regions around other lines stay folded
  memo.goToLineColumn(4, 1);
  EXPECT_FALSE(memo.engine().folds().hidden(3));
  EXPECT_FALSE(memo.engine().folds().isFolded(2));
}

TEST_F(WidgetFolding, FoldsSurviveTypingAndItsUndo) {
  QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, MarkerOf(6));
  ASSERT_TRUE(memo.engine().folds().isFolded(6));
  // Lines typed above move the fold; Undo moves it back and it is still folded.
  memo.setSelStart(At(1, "<body>"));
  QTest::keyClick(&memo, Qt::Key_Return);
  QTest::keyClick(&memo, Qt::Key_Return);
  EXPECT_TRUE(memo.engine().folds().isFolded(8));
  QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(memo.text(), QByteArray(kPage));
  EXPECT_TRUE(memo.engine().folds().isFolded(6));
  EXPECT_EQ(memo.engine().rowCount(), 15 - 4);
}

TEST_F(WidgetFolding, MatchingTagsAndBrackets) {
  // In a start tag: both names; the jump key goes to the end tag's name and back.
  memo.setSelStart(At(2, "div") + 1);
  auto pair = memo.tagMatch().current();
  ASSERT_TRUE(pair);
  EXPECT_EQ(pair->at2, At(5, "div"));
  QTest::keyClick(&memo, Qt::Key_BracketRight, Qt::ControlModifier);
  EXPECT_EQ(memo.selection().caret, At(5, "div") + 1);
  QTest::keyClick(&memo, Qt::Key_BracketRight, Qt::ControlModifier);
  EXPECT_EQ(memo.selection().caret, At(2, "div") + 1);
  // The '>' inside an attribute value does not end the tag: its end tag still matches.
  memo.setSelStart(At(12, "y\""));
  pair = memo.tagMatch().current();
  ASSERT_TRUE(pair);
  EXPECT_EQ(pair->at2, At(12, "p>"));
  // The "<p>" in the script's string is no tag.
  memo.setSelStart(At(8, "p>"));
  EXPECT_FALSE(memo.tagMatch().current());
  // Next to a brace: both braces.
  memo.setSelStart(At(7, "{") + 1);
  pair = memo.tagMatch().current();
  ASSERT_TRUE(pair);
  EXPECT_EQ(pair->at2, memo.engine().store().lineStart(10));
  // Off: nothing.
  memo.engine().editingAids &= ~velora::memo::SyntaxMemoEditingAids(velora::memo::smaMatching);
  EXPECT_FALSE(memo.tagMatch().current());
}

TEST_F(WidgetFolding, LinkedRenameIsOneUndoStep) {
  memo.setSelStart(At(2, "div") + 3);
  QTest::keyClicks(&memo, "x");
  EXPECT_EQ(memo.engine().store().lineText(2), "<divx id=\"main\">");
  EXPECT_EQ(memo.engine().store().lineText(5), "</divx>");
  QTest::keyClick(&memo, Qt::Key_Backspace);
  QTest::keyClick(&memo, Qt::Key_Backspace);
  EXPECT_EQ(memo.engine().store().lineText(5), "</di>");
  // Each key with its rename is one step.
  QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(memo.engine().store().lineText(5), "</div>");
  EXPECT_EQ(memo.engine().store().lineText(2), "<div id=\"main\">");
  QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(memo.text(), QByteArray(kPage));
  // A blank typed in the name ends the name there: the end tag is left alone. So is a "<p>"
  // without an end tag, and everything while the option is off.
  memo.setSelStart(At(2, "div") + 3);
  QTest::keyClick(&memo, Qt::Key_Space);
  EXPECT_EQ(memo.engine().store().lineText(5), "</div>");
  memo.engine().editingAids &= ~velora::memo::SyntaxMemoEditingAids(velora::memo::smaLinkedEditing);
  memo.setSelStart(At(2, "div") + 3);
  QTest::keyClicks(&memo, "x");
  EXPECT_EQ(memo.engine().store().lineText(5), "</div>");
}

TEST_F(WidgetFolding, ScreenshotOfAFoldAndAMatch) {
  QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, MarkerOf(6));
  memo.setSelStart(At(2, "div") + 1);
  QApplication::processEvents();
  const QImage shot = memo.grab().toImage();
  ASSERT_FALSE(shot.isNull());
  const QString path = QDir::current().filePath(QStringLiteral("memo_folding.png"));
  ASSERT_TRUE(shot.save(path));
  std::printf("screenshot: %s\n", qPrintable(path));
}

}  // namespace
