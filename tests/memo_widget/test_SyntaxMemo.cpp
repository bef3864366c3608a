// Offscreen tests of the TSyntaxMemo widget.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QInputMethodEvent>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <cstdlib>

#include "memo/widget/MemoPrinter.h"
#include "memo/widget/SyntaxMemo.h"

using namespace velora::memo;

namespace {
struct MemoFixture : ::testing::Test {
  TSyntaxMemo memo;
  void SetUp() override {
    memo.resize(640, 360);
    memo.show();
    memo.activateWindow();
    memo.setFocus();
    QApplication::processEvents();
  }
};
}  // namespace

TEST_F(MemoFixture, TypingInsertsText) {
  QSignalSpy changes(&memo, &TSyntaxMemo::OnChange);
  QTest::keyClicks(&memo, "hello");
  QTest::keyClick(&memo, Qt::Key_Return);
  QTest::keyClicks(&memo, "world");
  EXPECT_EQ(memo.text(), QByteArray("hello\rworld"));
  EXPECT_EQ(memo.caretLine(), 2);
  EXPECT_EQ(memo.caretColumn(), 6);
  EXPECT_GE(changes.count(), 11);
  EXPECT_TRUE(memo.modified());
  QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(memo.text(), QByteArray("hello\rworl"));
  QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(memo.text(), QByteArray("hello\rworld"));
}

TEST_F(MemoFixture, ShiftArrowsSelectAndClipboardRoundTrips) {
  memo.setText("abc def");
  memo.setSelStart(7);
  QTest::keyClick(&memo, Qt::Key_Left, Qt::ShiftModifier);
  QTest::keyClick(&memo, Qt::Key_Left, Qt::ShiftModifier);
  QTest::keyClick(&memo, Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(memo.selection(), (Selection{7, 4}));
  EXPECT_EQ(memo.selText(), QByteArray("def"));
  QTest::keyClick(&memo, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("def"));
  QTest::keyClick(&memo, Qt::Key_Home);
  QTest::keyClick(&memo, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(memo.text(), QByteArray("defabc def"));
  // Text placed on the clipboard by another program is pasted with its breaks normalised.
  QApplication::clipboard()->setText(QStringLiteral("x\r\ny"));
  QTest::keyClick(&memo, Qt::Key_End, Qt::ControlModifier);
  QTest::keyClick(&memo, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(memo.text(), QByteArray("defabc defx\ry"));
  // Cut as a whole-line round trip.
  memo.selectAll();
  QTest::keyClick(&memo, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(memo.text(), QByteArray());
  QTest::keyClick(&memo, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(memo.text(), QByteArray("defabc defx\ry"));
}

TEST_F(MemoFixture, CaretMovesOverWholeCharacters) {
  memo.setText("a\xC3\xA9" "b");  // "aéb"
  memo.setSelStart(1);
  QTest::keyClick(&memo, Qt::Key_Right);
  EXPECT_EQ(memo.selection().caret, 3);
  QTest::keyClick(&memo, Qt::Key_Backspace);
  EXPECT_EQ(memo.text(), QByteArray("ab"));
}

TEST_F(MemoFixture, KeySequencesIndentAndBookmarks) {
  memo.setText("one\rtwo");
  memo.selectAll();
  QTest::keyClick(&memo, Qt::Key_K, Qt::ControlModifier);
  QTest::keyClick(&memo, Qt::Key_I, Qt::ControlModifier);  // second keys are taken without modifiers
  EXPECT_EQ(memo.text(), QByteArray(" one\r two"));
  QTest::keyClick(&memo, Qt::Key_K, Qt::ControlModifier);
  QTest::keyClick(&memo, Qt::Key_U);
  EXPECT_EQ(memo.text(), QByteArray("one\rtwo"));
  memo.setSelStart(5);
  QTest::keyClick(&memo, Qt::Key_K, Qt::ControlModifier);
  QTest::keyClick(&memo, Qt::Key_3);
  EXPECT_EQ(memo.engine().bookmark(3).value(), 5);
  memo.setSelStart(0);
  QTest::keyClick(&memo, Qt::Key_Q, Qt::ControlModifier);
  QTest::keyClick(&memo, Qt::Key_3);
  EXPECT_EQ(memo.selection().caret, 5);
  // A prefix followed by an unbound key swallows the prefix and lets the key through.
  memo.setSelStart(4);
  QTest::keyClick(&memo, Qt::Key_K, Qt::ControlModifier);
  QTest::keyClick(&memo, Qt::Key_Z);
  EXPECT_EQ(memo.text(), QByteArray("one\rztwo"));
}

TEST_F(MemoFixture, MouseClickAndDoubleClickSelect) {
  memo.setText("alpha beta gamma");
  const QPoint beta = memo.pointAt(7) + QPoint(1, memo.lineHeight() / 2);
  QTest::mouseClick(memo.viewport(), Qt::LeftButton, Qt::NoModifier, beta);
  EXPECT_EQ(memo.selection().caret, 7);
  QTest::mouseDClick(memo.viewport(), Qt::LeftButton, Qt::NoModifier, beta);
  EXPECT_EQ(memo.selText(), QByteArray("beta"));
  const QPoint end = memo.pointAt(16) + QPoint(1, memo.lineHeight() / 2);
  QTest::mouseClick(memo.viewport(), Qt::LeftButton, Qt::ShiftModifier, end);
  EXPECT_EQ(memo.selection().anchor, 6);
  EXPECT_EQ(memo.selection().caret, 16);
}

TEST_F(MemoFixture, FilesDroppedAreReported) {
  QSignalSpy spy(&memo, &TSyntaxMemo::OnFilesDropped);
  DroppedFiles df{{"/tmp/page.html"}, {5, 6}};
  memo.Perform(msg::kDropFiles, 0, reinterpret_cast<std::intptr_t>(&df));
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).toStringList(), QStringList{QStringLiteral("/tmp/page.html")});
}

TEST_F(MemoFixture, ScreenshotForAPersonToLookAt) {
  QByteArray text;
  text += "<!-- Syntax Highlighting -->\r";
  text += "<html><head><title>Velora</title></head>\r";
  text += "<body>\r";
  text += "\t<p align=\"center\">Plain HTML body text&nbsp;caf\xC3\xA9 \xE2\x82\xAC \x93quoted\x94</p>\r";
  text += "\t<a href=\"http://example.com/\">a link</a>\r";
  text += "</body></html>\r";
  memo.setText(text);
  memo.engine().setBookmark(1, 30);
  memo.setSelection(memo.engine().store().lineStart(3) + 1, memo.engine().store().lineStart(3) + 20);
  QApplication::processEvents();
  const QImage shot = memo.grab().toImage();
  ASSERT_FALSE(shot.isNull());
  const QString path = QDir::current().filePath(QStringLiteral("memo_widget.png"));
  ASSERT_TRUE(shot.save(path));
  std::printf("screenshot: %s\n", qPrintable(path));
  // The selection colour (navy) appears where the selection is painted.
  bool navy = false;
  for (int x = 0; x < shot.width() && !navy; ++x)
    for (int y = 0; y < shot.height() && !navy; ++y) navy = shot.pixelColor(x, y) == QColor(0, 0, 128);
  EXPECT_TRUE(navy);
}

TEST_F(MemoFixture, PrintsToPdfWithHeaderFooterAndLineNumbers) {
  QByteArray text;
  for (int i = 1; i <= 120; ++i) text += "Line number " + QByteArray::number(i) + " of the printed page\r";
  text += QByteArray(300, 'w');
  memo.setText(text);
  memo.setTitle(QStringLiteral("Printed Title"));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const QString pdf = QDir::current().filePath(QStringLiteral("memo_print.pdf"));
  printer.setOutputFileName(pdf);
  MemoPrinter p(memo.engine(), QFont(QStringLiteral("Courier New"), 10));
  p.dateTime = QStringLiteral("01/12/2026 - 10:30");
  p.print(printer);
  ASSERT_TRUE(QFile::exists(pdf));
  QProcess pt;
  pt.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  ASSERT_TRUE(pt.waitForFinished(30000));
  const QString out = QString::fromUtf8(pt.readAllStandardOutput());
  EXPECT_TRUE(out.contains(QStringLiteral("Printed Title"))) << qPrintable(out.left(400));
  EXPECT_TRUE(out.contains(QStringLiteral("01/12/2026 - 10:30")));
  EXPECT_TRUE(out.contains(QStringLiteral("- 1 -")));
  EXPECT_TRUE(out.contains(QStringLiteral("- 2 -")));
  EXPECT_TRUE(out.contains(QStringLiteral("     1:Line number 1 of")) || out.contains(QStringLiteral("1: Line number 1 of")) ||
              out.contains(QStringLiteral("1:Line number 1 of")));
  EXPECT_TRUE(out.contains(QStringLiteral("120:Line number 120")) || out.contains(QStringLiteral("120: Line number 120")));
  // The long last line is wrapped: its continuation carries no number.
  EXPECT_TRUE(out.contains(QStringLiteral("121:")));
  EXPECT_FALSE(out.contains(QStringLiteral("122:")));
}

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

TEST_F(MemoFixture, HotSpotTextAtLineEnds) {
  memo.setText("ab cd\rxy");
  const std::uint8_t toks[] = {7, 7, 0, 9, 9, 0, 5, 5};
  memo.engine().storeTokens(0, 8, toks);
  const int y = memo.lineHeight() / 2;
  const int right = memo.pointAt(5).x() - 2;  // the right half of "d", the line's last character
  QTest::mouseMove(memo.viewport(), QPoint(right, y));
  EXPECT_EQ(memo.hotSpotText(), QByteArray("cd"));
  QTest::mouseMove(memo.viewport(), QPoint(memo.pointAt(1).x() - 2, y));
  EXPECT_EQ(memo.hotSpotText(), QByteArray("ab"));
  // Past the end of the line there is no token; the last line has no break after it.
  QTest::mouseMove(memo.viewport(), QPoint(memo.pointAt(5).x() + 40, y));
  EXPECT_EQ(memo.hotSpotText(), QByteArray());
  QTest::mouseMove(memo.viewport(), QPoint(memo.pointAt(8).x() - 2, y + memo.lineHeight()));
  EXPECT_EQ(memo.hotSpotText(), QByteArray("xy"));
}

TEST_F(MemoFixture, CaretStaysInViewOnATabIndentedLongLine) {
  memo.engine().tabDefault = 8;
  memo.setText(QByteArray(20, '\t') + QByteArray(30, 'x'));  // 190 columns in 50 bytes
  memo.setSelStart(0);
  QTest::keyClick(&memo, Qt::Key_End);
  const QPoint c = memo.pointAt(memo.selection().caret);
  EXPECT_GE(c.x(), memo.textLeft());
  EXPECT_LE(c.x(), memo.viewport()->width());
  // Clicking where the caret is shown finds the same position.
  QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, QPoint(c.x(), memo.lineHeight() / 2));
  EXPECT_EQ(memo.selection().caret, 50);
}

TEST_F(MemoFixture, ColumnsAfterWideCharactersAndHitTesting) {
  memo.engine().tabDefault = 4;
  memo.setText("\xE6\x97\xA5\tx");  // "日" two cells, the tab to column 4, "x" in column 4
  memo.engine().setFirstVisibleColumn(0);
  const int cell = (memo.pointAt(3).x() - memo.pointAt(0).x()) / 2;  // the tab starts in column 2
  ASSERT_GT(cell, 0);
  EXPECT_EQ(memo.pointAt(4).x() - memo.pointAt(0).x(), 4 * cell);
  QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, QPoint(memo.pointAt(4).x() + cell / 4, memo.lineHeight() / 2));
  EXPECT_EQ(memo.selection().caret, 4);
  QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, QPoint(memo.pointAt(0).x() + cell / 2, memo.lineHeight() / 2));
  EXPECT_EQ(memo.selection().caret, 0);  // the left half of the wide character
}

TEST_F(MemoFixture, LongSingleLineIsDrawnWhereverItIsScrolled) {
  QByteArray line;
  while (line.size() < 1'000'000) line += "<a href=\"x\">y</a>";
  memo.setText(line);
  QTest::keyClick(&memo, Qt::Key_End);
  QTest::keyClicks(&memo, "Z");
  EXPECT_EQ(memo.text().right(1), QByteArray("Z"));
  // The end of the line is on screen and painted: the image is not blank there.
  const QImage img = memo.viewport()->grab().toImage();
  const QPoint c = memo.pointAt(memo.selection().caret);
  bool ink = false;
  for (int x = std::max(memo.textLeft(), c.x() - 60); x < c.x(); ++x)
    for (int y = 0; y < memo.lineHeight(); ++y)
      if (img.pixelColor(x, y).lightness() < 128) ink = true;
  EXPECT_TRUE(ink);
}

TEST_F(MemoFixture, EmojiAndInputMethods) {
  memo.setText("ab");
  memo.setSelStart(2);
  QTest::sendKeyEvent(QTest::Click, &memo, Qt::Key_unknown, QString::fromUtf8("\xF0\x9F\x98\x80"), Qt::NoModifier);
  EXPECT_EQ(memo.text(), QByteArray("ab\xF0\x9F\x98\x80"));
  // An input method composes, then commits; the control answers its queries.
  QInputMethodEvent compose(QString::fromUtf8("\xE3\x81\x8B"), {});
  QApplication::sendEvent(&memo, &compose);
  EXPECT_EQ(memo.text(), QByteArray("ab\xF0\x9F\x98\x80"));  // composing text is not in the document yet
  EXPECT_TRUE(memo.inputMethodQuery(Qt::ImEnabled).toBool());
  const QRect r = memo.inputMethodQuery(Qt::ImCursorRectangle).toRect();
  EXPECT_EQ(r.topLeft(), memo.pointAt(memo.selection().caret));
  EXPECT_EQ(memo.inputMethodQuery(Qt::ImCursorPosition).toInt(), 4);  // UTF-16 units
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromUtf8("\xE6\xBC\xA2"));
  QApplication::sendEvent(&memo, &commit);
  EXPECT_EQ(memo.text(), QByteArray("ab\xF0\x9F\x98\x80\xE6\xBC\xA2"));
  EXPECT_EQ(memo.inputMethodQuery(Qt::ImSurroundingText).toString(), QString::fromUtf8("ab\xF0\x9F\x98\x80\xE6\xBC\xA2"));
}

TEST_F(MemoFixture, WordWrapShowsRowsWithGlyphsAndKeepsPositions) {
  memo.engine().wrapAtColumn = 24;
  memo.engine().options |= smoShowWrapGlyph | smoShowWrapColumn;
  QByteArray text = "<p>A paragraph of text long enough to wrap over several rows of the window.</p>\r";
  text += "\t<a href=\"http://example.com/a/very/long/address/that/does/not/fit\">link</a>\rshort";
  memo.setText(text);
  memo.setWordWrap(true);
  const MemoEngine& e = memo.engine();
  ASSERT_NE(e.wrapIndex(), nullptr);
  EXPECT_GT(e.rowCount(), e.lineCount() + 3);
  // Down moves by rows inside the first line; line and column stay those of the text.
  memo.setSelStart(3);
  QTest::keyClick(&memo, Qt::Key_Down);
  EXPECT_EQ(memo.caretLine(), 1);
  EXPECT_EQ(e.rowOf(memo.selection().caret), 1);
  EXPECT_EQ(memo.pointAt(memo.selection().caret).y(), memo.lineHeight());
  // Clicking on the second row finds a position of the second row.
  const QPoint second(memo.textLeft() + 2, memo.lineHeight() + memo.lineHeight() / 2);
  QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, second);
  EXPECT_EQ(memo.selection().caret, e.rowStart(1));
  QTest::keyClicks(&memo, "X");
  EXPECT_EQ(memo.text().left(e.rowStart(1) + 1).right(1), QByteArray("X"));
  QApplication::processEvents();
  const QImage shot = memo.grab().toImage();
  const QString path = QDir::current().filePath(QStringLiteral("memo_wrap.png"));
  ASSERT_TRUE(shot.save(path));
  std::printf("screenshot: %s\n", qPrintable(path));
  // Off again: one row per line, the text unchanged.
  const QByteArray before = memo.text();
  memo.setWordWrap(false);
  EXPECT_EQ(e.rowCount(), e.lineCount());
  EXPECT_EQ(memo.text(), before);
}

TEST_F(MemoFixture, ScreenshotOfATabIndentedPageScrolledToALongLine) {
  memo.engine().tabDefault = 8;
  QByteArray text = "<html>\r\t<body>\r\t\t<table>\r\t\t\t<tr>\r\t\t\t\t<td>";
  for (int i = 0; i < 30; ++i) text += "cell text " + QByteArray::number(i) + " ";
  text += "</td>\r\t\t\t</tr>\r\t\t</table>\r\t</body>\r</html>\r";
  memo.setText(text);
  memo.setSelStart(memo.engine().store().lineEnd(4));
  QApplication::processEvents();
  const QPoint c = memo.pointAt(memo.selection().caret);
  EXPECT_GE(c.x(), memo.textLeft());
  EXPECT_LE(c.x(), memo.viewport()->width());
  const QImage shot = memo.grab().toImage();
  const QString path = QDir::current().filePath(QStringLiteral("memo_tabs_scrolled.png"));
  ASSERT_TRUE(shot.save(path));
  std::printf("screenshot: %s\n", qPrintable(path));
}
