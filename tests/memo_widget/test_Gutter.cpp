// The gutter offscreen: line numbers and their width, the current line, bookmarks set and used
// through their keys and kept on their lines, line marks with their events, gutter clicks.
#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <cstdio>

#include "PaintProbe.h"

using namespace painttest;

namespace {

constexpr Qt::KeyboardModifiers Ctrl = Qt::ControlModifier;

QByteArray Lines(int n) {
  QByteArray t;
  for (int i = 1; i <= n; ++i) t += (i > 1 ? "\rline " : "line ") + QByteArray::number(i);
  return t;
}

struct Gutter : ::testing::Test {
  TSyntaxMemo memo;
  void SetUp() override {
    MemoEngine& e = memo.engine();
    e.options = (kDefaultOptions | smoShowGutter) & ~SyntaxMemoOptions(smoShowRMargin);
    e.editingAids = smaLineNumbers | smaCurrentLine;
    e.gutterWidth = 30;
    e.gutterColor = rgb(192, 192, 192);
    memo.resize(480, 260);
    memo.show();
    memo.activateWindow();
    memo.setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(memo.hasFocus());
  }
  [[nodiscard]] int Cell() const { return memo.pointAt(1).x() - memo.pointAt(0).x(); }
  [[nodiscard]] int RowY(LineNo line) const { return memo.pointAt(memo.engine().store().lineStart(line)).y(); }
  // The line-number strip of one row, and the row's text area.
  [[nodiscard]] QRect NumberBox(LineNo line) const {
    return QRect(30, RowY(line), memo.lineNumberWidth(), memo.lineHeight());
  }
  [[nodiscard]] QRect TextRow(LineNo line, const QImage& img) const {
    return QRect(memo.textLeft(), RowY(line), img.width() - memo.textLeft(), memo.lineHeight());
  }
  void Press(Qt::Key first, Qt::KeyboardModifiers mods, Qt::Key second) {
    QTest::keyClick(&memo, first, mods);
    QTest::keyClick(&memo, second);
  }
};

// Dark pixels: the digits (the plain numbers are grey, the current one black).
int Dark(const QImage& img, QRect r) {
  return Count(img, r, [](QColor p) { return p.lightness() < 110; });
}

}  // namespace

TEST_F(Gutter, LineNumbersWidenWithTheLineCountAndStayOffWhenSwitchedOff) {
  memo.setText(Lines(9));
  memo.setSelStart(memo.engine().length());
  const int one = memo.lineNumberWidth();
  EXPECT_EQ(one, 2 * Cell());  // a digit and half a cell each side
  EXPECT_EQ(memo.textLeft(), 30 + one + memo.engine().margin);
  QTest::keyClick(&memo, Qt::Key_Return);  // the tenth line
  EXPECT_EQ(memo.engine().lineCount(), 10);
  EXPECT_EQ(memo.lineNumberWidth(), 3 * Cell());
  // The text moved right with the gutter: a click on the first character still finds it.
  QImage img = Shot(memo);
  EXPECT_GT(Dark(img, NumberBox(9)), 0);  // "10" is drawn
  QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, memo.pointAt(2) + QPoint(1, 2));
  EXPECT_EQ(memo.selection().caret, 2);
  QTest::keyClick(&memo, Qt::Key_Z, Ctrl);
  EXPECT_EQ(memo.lineNumberWidth(), 2 * Cell());

  memo.setText(Lines(1000));
  EXPECT_EQ(memo.lineNumberWidth(), 5 * Cell());
  memo.engine().editingAids &= ~SyntaxMemoEditingAids(smaLineNumbers);
  EXPECT_EQ(memo.lineNumberWidth(), 0);
  EXPECT_EQ(memo.textLeft(), 30 + memo.engine().margin);
  // Numbers without the mark area: the gutter is the numbers alone.
  memo.engine().editingAids |= smaLineNumbers;
  memo.engine().options &= ~SyntaxMemoOptions(smoShowGutter);
  EXPECT_EQ(memo.gutterPixels(), 5 * Cell());
}

TEST_F(Gutter, TheCurrentLineIsHighlightedAndItsNumberBoldAndBothFollowTheCaret) {
  const QColor band(200, 255, 200);
  memo.engine().currentLineColor = rgb(200, 255, 200);
  memo.setText("a\rb\rc\rd");
  memo.setSelStart(0);
  QImage img = Shot(memo);
  EXPECT_GT(CountColor(img, TextRow(0, img), band), TextRow(0, img).width() * memo.lineHeight() / 2);
  EXPECT_EQ(CountColor(img, TextRow(1, img), band), 0);
  // Line 1's number bold while the caret is on it: more ink than the same digit's width allows plain.
  const int boldOne = Dark(img, NumberBox(0));
  QTest::keyClick(&memo, Qt::Key_Down);
  QTest::keyClick(&memo, Qt::Key_Down);
  img = Shot(memo);
  EXPECT_EQ(CountColor(img, TextRow(0, img), band), 0);
  EXPECT_GT(CountColor(img, TextRow(2, img), band), 0);
  EXPECT_GT(boldOne, Dark(img, NumberBox(0)));
  EXPECT_GT(Dark(img, NumberBox(2)), 0);

  // Off: no band, and no line number is bold.
  memo.engine().editingAids &= ~SyntaxMemoEditingAids(smaCurrentLine);
  img = Shot(memo);
  EXPECT_EQ(CountColor(img, TextRow(2, img), band), 0);
  // The default colour is a shade of the background, not the background itself.
  memo.engine().currentLineColor.reset();
  EXPECT_NE(memo.currentLineColor(), QColor(Qt::white));
}

TEST_F(Gutter, BookmarksByTheirKeysAreDrawnAndStayOnTheirLines) {
  QSignalSpy set(&memo, &TSyntaxMemo::OnBookmarkSet);
  memo.setText(Lines(8));
  MemoEngine& e = memo.engine();
  memo.setSelStart(e.store().lineStart(2) + 2);
  Press(Qt::Key_K, Ctrl, Qt::Key_3);  // Set Bookmark 3
  ASSERT_EQ(set.count(), 1);
  EXPECT_EQ(set.at(0).at(0).toInt(), 3);
  const QColor navy(0, 0, 128);
  QImage img = Shot(memo);
  EXPECT_GT(CountColor(img, QRect(0, RowY(2), 30, memo.lineHeight()), navy), 0);
  EXPECT_EQ(CountColor(img, QRect(0, RowY(4), 30, memo.lineHeight()), navy), 0);

  // Two lines typed above it: the bookmark moves down with its line, and back with undo.
  memo.setSelStart(0);
  QTest::keyClick(&memo, Qt::Key_Return);
  QTest::keyClick(&memo, Qt::Key_Return);
  EXPECT_EQ(e.store().lineFromPos(e.bookmark(3).value()), 4);
  img = Shot(memo);
  EXPECT_GT(CountColor(img, QRect(0, RowY(4), 30, memo.lineHeight()), navy), 0);
  EXPECT_EQ(CountColor(img, QRect(0, RowY(2), 30, memo.lineHeight()), navy), 0);
  QTest::keyClick(&memo, Qt::Key_Z, Ctrl);
  QTest::keyClick(&memo, Qt::Key_Z, Ctrl);
  EXPECT_EQ(e.bookmark(3).value(), e.store().lineStart(2) + 2);

  // Go to Bookmark 3 from elsewhere.
  memo.setSelStart(e.length());
  Press(Qt::Key_Q, Ctrl, Qt::Key_3);
  EXPECT_EQ(memo.selection().caret, e.store().lineStart(2) + 2);
  // Ctrl+Y deletes the line: the bookmark stays set where it was; undo puts it back in place.
  QTest::keyClick(&memo, Qt::Key_Y, Ctrl);
  EXPECT_EQ(e.line(2), "line 4");
  EXPECT_EQ(e.store().lineFromPos(e.bookmark(3).value()), 2);
  QTest::keyClick(&memo, Qt::Key_Z, Ctrl);
  EXPECT_EQ(e.line(2), "line 3");
  EXPECT_EQ(e.bookmark(3).value(), e.store().lineStart(2) + 2);
}

TEST_F(Gutter, LineMarksAreDrawnOrLeftToTheOwnerAndReleasedWithTheirLine) {
  memo.setText(Lines(6));
  MemoEngine& e = memo.engine();
  const int mark = e.lineMarks().add(3, 1, rgb(255, 0, 0), "a problem");
  const QColor red(255, 0, 0);
  QImage img = Shot(memo);
  EXPECT_GT(CountColor(img, QRect(0, RowY(3), 30, memo.lineHeight()), red), 0);

  std::vector<int> freed, changed;
  QObject::connect(&memo, &TSyntaxMemo::OnMarkFree, &memo, [&](const LineMark& m) { freed.push_back(m.id); });
  QObject::connect(&memo, &TSyntaxMemo::OnMarkChange, &memo, [&](const LineMark& m) { changed.push_back(m.id); });
  memo.setSelStart(e.store().lineStart(3));
  QTest::keyClick(&memo, Qt::Key_Y, Ctrl);
  EXPECT_EQ(freed, std::vector<int>{mark});
  img = Shot(memo);
  EXPECT_EQ(CountColor(img, QRect(0, 0, 30, img.height()), red), 0);
  QTest::keyClick(&memo, Qt::Key_Z, Ctrl);
  EXPECT_EQ(changed, std::vector<int>{mark});
  EXPECT_EQ(e.lineMarks().lineOf(mark), 3);

  // An owner that draws marks itself gets every visible one with its rectangle in the gutter.
  std::vector<std::pair<int, QRect>> drawn;
  QObject::connect(&memo, &TSyntaxMemo::OnDrawMark, &memo, [&](QPainter* dc, const QRect& r, const LineMark& m) {
    drawn.emplace_back(m.id, r);
    dc->fillRect(r, QColor(0, 0, 255));
  });
  QApplication::processEvents();
  drawn.clear();
  img = memo.viewport()->grab().toImage();  // one painting
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].first, mark);
  EXPECT_TRUE(QRect(0, RowY(3), 30, memo.lineHeight()).contains(drawn[0].second));
  EXPECT_GT(CountColor(img, drawn[0].second, QColor(0, 0, 255)), 0);
  EXPECT_EQ(CountColor(img, QRect(0, 0, 30, img.height()), red), 0);
}

TEST_F(Gutter, AClickInTheGutterReportsItsLineAndLeavesTheCaret) {
  memo.setText(Lines(6));
  memo.setSelStart(1);
  QSignalSpy clicked(&memo, &TSyntaxMemo::OnGutterClick);
  // On the number of line 4, and in the mark area of line 2.
  QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, QPoint(31, RowY(3) + 2));
  QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, QPoint(5, RowY(1) + 2));
  ASSERT_EQ(clicked.count(), 2);
  EXPECT_EQ(clicked.at(0).at(0).toInt(), 4);
  EXPECT_EQ(clicked.at(1).at(0).toInt(), 2);
  EXPECT_EQ(memo.selection().caret, 1);
  // Just right of the gutter is text.
  QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, QPoint(memo.textLeft() + 1, RowY(3) + 2));
  EXPECT_EQ(clicked.count(), 2);
  EXPECT_EQ(memo.caretLine(), 4);
}

TEST_F(Gutter, Screenshot) {
  MemoEngine& e = memo.engine();
  QByteArray text = "<!DOCTYPE html>\r<html>\r<head>\r  <title>Line numbers</title>\r</head>\r<body>\r";
  for (int i = 1; i <= 5; ++i) text += "  <p>Paragraph " + QByteArray::number(i) + ".</p>\r";
  text += "</body>\r</html>";
  memo.setText(text);
  e.setBookmark(1, e.store().lineStart(3));
  e.lineMarks().add(8, 0, rgb(220, 40, 40), "a problem");
  memo.setSelStart(e.store().lineStart(7) + 4);
  QApplication::processEvents();
  const QString path = QDir::current().filePath(QStringLiteral("memo_line_numbers.png"));
  ASSERT_TRUE(memo.grab().save(path));
  std::printf("screenshot: %s\n", qPrintable(path));
}
