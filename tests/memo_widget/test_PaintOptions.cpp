// The drawing options and properties of the control: each one off and on, read back from the
// pixels of the viewport drawn offscreen.
#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <cstdio>

#include "PaintProbe.h"
#include "memo/widget/FoldMargin.h"

using namespace painttest;

namespace {

struct PaintOptions : ::testing::Test {
  FixedStyles styles;  // outlives the control that draws with it
  TSyntaxMemo memo;
  void SetUp() override {
    memo.engine().options = kDefaultOptions & ~SyntaxMemoOptions(smoShowGutter | smoShowRMargin);
    memo.engine().editingAids = 0;  // the classic drawing: no line numbers, no current line
    memo.resize(480, 220);
    memo.show();
    memo.activateWindow();
    memo.setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(memo.hasFocus());
  }
  void Set(SyntaxMemoOption o, bool on) {
    MemoEngine& e = memo.engine();
    e.options = on ? (e.options | o) : (e.options & ~SyntaxMemoOptions(o));
    memo.viewport()->update();
  }
  [[nodiscard]] int Cell() const { return memo.pointAt(1).x() - memo.pointAt(0).x(); }
  // The cell of position p (its row's height, one character wide).
  [[nodiscard]] QRect CellAt(Pos p) const { return QRect(memo.pointAt(p), QSize(Cell(), memo.lineHeight())); }
  void SaveShot(const char* name) {
    QApplication::processEvents();
    const QString path = QDir::current().filePath(QString::fromUtf8(name));
    ASSERT_TRUE(memo.grab().save(path));
    std::printf("screenshot: %s\n", qPrintable(path));
  }
};

}  // namespace

TEST_F(PaintOptions, GutterTakesItsWidthInItsColourOnlyWhenShown) {
  MemoEngine& e = memo.engine();
  e.gutterWidth = 30;
  e.gutterColor = rgb(0, 160, 0);
  memo.setText("WWWW\rWWWW");
  const QColor green(0, 160, 0);
  for (const bool on : {true, false}) {
    SCOPED_TRACE(on ? "gutter shown" : "no gutter");
    Set(smoShowGutter, on);
    // The fold margin lies between the gutter and the text.
    const int left = (on ? 30 : 0) + memo.foldMargin().width() + e.margin;
    EXPECT_EQ(memo.textLeft(), left);
    const QImage img = Shot(memo);
    const QRect gutter(0, 0, 30, img.height());
    EXPECT_EQ(CountColor(img, gutter, green) > 30 * img.height() / 2, on);
    // The text starts right after the gutter, or at the margin without one.
    EXPECT_GT(Ink(img, QRect(left, 0, Cell(), memo.lineHeight())), 0);
    const int textFrom = on ? 30 : 0;
    EXPECT_EQ(Ink(img, QRect(textFrom, 0, left - textFrom, memo.lineHeight())), 0);
    // A click in the first pixels is a gutter click only while there is a gutter.
    QSignalSpy clicks(&memo, &TSyntaxMemo::OnGutterClick);
    memo.setSelStart(4);
    QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, QPoint(e.margin + 2, memo.lineHeight() * 3 / 2));
    EXPECT_EQ(clicks.count(), on ? 1 : 0);
    if (on) {
      EXPECT_EQ(clicks.at(0).at(0).toInt(), 2);
    }
    EXPECT_EQ(memo.selection().caret, on ? 4 : 5);
  }
}

TEST_F(PaintOptions, RightMarginIsALineAtItsColumnInItsColourAndWidth) {
  MemoEngine& e = memo.engine();
  e.rightMargin = 12;
  e.marginColor = rgb(255, 0, 0);
  e.marginWidth = 3;
  memo.setText("short\rWWWWWWWWWWWWWWWWWWWW");
  const QColor red(255, 0, 0);
  for (const bool on : {true, false}) {
    SCOPED_TRACE(on ? "margin shown" : "no margin");
    Set(smoShowRMargin, on);
    const QImage img = Shot(memo);
    const int x = memo.textLeft() + 12 * Cell();
    const int y = 3 * memo.lineHeight();  // below the text
    for (int k = 0; k < 3; ++k) EXPECT_EQ(img.pixelColor(x + k, y) == red, on) << k;
    EXPECT_NE(img.pixelColor(x + 3, y), red);
    EXPECT_NE(img.pixelColor(x - 1, y), red);
    // It is drawn behind the text: the characters over it keep their ink.
    EXPECT_GT(Ink(img, QRect(x, memo.lineHeight(), Cell(), memo.lineHeight())), 0);
    EXPECT_EQ(CountColor(img, img.rect(), red) > 0, on);
  }
  // Scrolled sideways, the line moves with the text.
  Set(smoShowRMargin, true);
  memo.engine().setFirstVisibleColumn(4);
  const QImage img = Shot(memo);
  EXPECT_EQ(img.pixelColor(memo.textLeft() + 8 * Cell(), 3 * memo.lineHeight()), red);
}

TEST_F(PaintOptions, OverwriteModeShowsABlockCaretOnlyWithTheOption) {
  memo.setText("  x");
  memo.setSelStart(0);  // over a blank cell
  const struct {
    bool overwrite, option, block;
  } rows[] = {{false, true, false}, {true, true, true}, {true, false, false}, {false, false, false}};
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << "overwrite " << r.overwrite << ", option " << r.option);
    memo.setOverwriteMode(r.overwrite);
    Set(smoBlockOverwriteCursor, r.option);
    const QImage img = Shot(memo);
    const QRect cell = CellAt(0);
    const int ink = Ink(img, cell);
    const int area = cell.width() * cell.height();
    if (r.block) {
      EXPECT_GE(ink, area * 9 / 10);
    } else {
      EXPECT_GT(ink, 0);                           // the thin caret
      EXPECT_LE(ink, 2 * cell.height());
      EXPECT_EQ(Ink(img, cell.adjusted(3, 0, 0, 0)), 0);
    }
  }
  // The block shows the character under it inverted, so it stays readable.
  memo.setOverwriteMode(true);
  Set(smoBlockOverwriteCursor, true);
  memo.setSelStart(2);
  const QImage img = Shot(memo);
  EXPECT_GT(Count(img, CellAt(2), [](QColor p) { return p.lightness() > 200; }), 0);
  // Over a wide character the block covers both of its cells; over a line's end, one cell.
  const int cell = Cell();
  memo.setText("\xE6\x97\xA5x\ry");
  memo.setSelStart(0);
  QImage wide = Shot(memo);
  const QRect second(memo.pointAt(0) + QPoint(cell, 0), QSize(cell, memo.lineHeight()));
  EXPECT_GE(Ink(wide, second), second.width() * second.height() / 2);
  memo.setSelStart(4);
  wide = Shot(memo);
  const QRect end(memo.pointAt(4), QSize(cell, memo.lineHeight()));
  EXPECT_GE(Ink(wide, end), cell * memo.lineHeight() * 9 / 10);
  EXPECT_EQ(Ink(wide, end.translated(cell, 0)), 0);
}

TEST_F(PaintOptions, HideSelectionHidesItOnlyWithoutFocus) {
  memo.setText("selected text");
  memo.setSelection(0, 8);
  const QColor navy(0, 0, 128);
  QWidget other;
  other.setFocusPolicy(Qt::StrongFocus);
  const struct {
    bool hide, focused, shown;
  } rows[] = {{false, true, true}, {false, false, true}, {true, true, true}, {true, false, false}};
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << "hide " << r.hide << ", focused " << r.focused);
    memo.setHideSelection(r.hide);
    if (r.focused) memo.setFocus();
    else memo.clearFocus();
    QApplication::processEvents();
    ASSERT_EQ(memo.hasFocus(), r.focused);
    const QImage img = Shot(memo);
    EXPECT_EQ(CountColor(img, CellAt(1), navy) > 0, r.shown);
  }
}

TEST_F(PaintOptions, FocusLineMarksTheCaretsRowAndFollowsIt) {
  memo.setText("a\rb\rc");
  const QColor white(255, 255, 255);
  auto rowColour = [&](const QImage& img, int row) {  // past the text
    return img.pixelColor(img.width() - 10, row * memo.lineHeight() + memo.lineHeight() / 2);
  };
  for (const bool on : {false, true}) {
    SCOPED_TRACE(on ? "focus line" : "no focus line");
    memo.setShowFocusLine(on);
    memo.setSelStart(2);
    QImage img = Shot(memo);
    EXPECT_EQ(rowColour(img, 0), white);
    EXPECT_EQ(rowColour(img, 1) != white, on);
    EXPECT_EQ(rowColour(img, 2), white);
    memo.setSelStart(4);
    img = Shot(memo);
    EXPECT_EQ(rowColour(img, 1), white);
    EXPECT_EQ(rowColour(img, 2) != white, on);
    // The text on the marked row is still drawn.
    EXPECT_GT(Ink(img, CellAt(4)), 0);
  }
  // A dark background gets a lighter band.
  memo.engine().defBackColor = rgb(0, 0, 0);
  memo.engine().defTextColor = rgb(255, 255, 255);
  const QImage dark = Shot(memo);
  EXPECT_GT(rowColour(dark, 2).lightness(), rowColour(dark, 1).lightness());
}

TEST_F(PaintOptions, DefaultFontStyleBitsChangeHowPlainTextIsDrawn) {
  memo.setText("mmmmmmmm");
  memo.setSelStart(8);  // the caret just after the measured cells
  const QRect row(memo.textLeft(), 0, 8 * Cell(), memo.lineHeight());
  memo.setDefFontStyle(0);
  const QImage plain = Shot(memo).copy(row);
  const int plainInk = Ink(plain, plain.rect());
  // The lowest row with ink: the baseline for "m", lower with an underline.
  auto lowestInk = [](const QImage& img) {
    for (int y = img.height() - 1; y >= 0; --y)
      if (Ink(img, QRect(0, y, img.width(), 1)) > 0) return y;
    return -1;
  };
  const int baseline = lowestInk(plain);
  ASSERT_GT(baseline, 0);
  const struct {
    int bits;
    bool moreInk, underline;
  } rows[] = {{fsBold, true, false}, {fsUnderline, true, true}, {fsItalic, false, false}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.bits);
    memo.setDefFontStyle(r.bits);
    const QImage img = Shot(memo).copy(row);
    EXPECT_NE(img, plain);
    if (r.moreInk) {
      EXPECT_GT(Ink(img, img.rect()), plainInk);
    }
    EXPECT_EQ(lowestInk(img) > baseline, r.underline);
  }
}

TEST_F(PaintOptions, WithoutSyntaxHighlightTextIsDrawnPlainInTheDefaultColours) {
  memo.engine().setParser(1, &styles);
  memo.setText("WWWW WWWW");
  const std::uint8_t toks[] = {5, 5, 5, 5, 0, 0, 0, 0, 0};
  memo.engine().storeTokens(0, 9, toks);
  const QRect styled(memo.pointAt(0), memo.pointAt(4) + QPoint(0, memo.lineHeight() - 1));
  const QColor red(255, 0, 0), yellow(255, 255, 0);
  for (const bool on : {true, false}) {
    SCOPED_TRACE(on ? "highlighting" : "plain");
    Set(smoSyntaxHighlight, on);
    const QImage img = Shot(memo);
    EXPECT_EQ(CountColor(img, styled, yellow) > 0, on);
    EXPECT_EQ(CountColor(img, styled, red) > 0, on);
    EXPECT_GT(Ink(img, styled), 0);  // the text itself is drawn either way
  }
  // The token values are kept: highlighting on again shows the styles again.
  Set(smoSyntaxHighlight, true);
  EXPECT_GT(CountColor(Shot(memo), styled, yellow), 0);
}

TEST_F(PaintOptions, HyperCursorOverHotSpotsAndTheNormalCursorElsewhere) {
  memo.engine().setParser(1, &styles);
  memo.setText("see http://x here");
  std::vector<std::uint8_t> toks(17, 0);
  for (int i = 4; i < 12; ++i) toks[std::size_t(i)] = 7;
  memo.engine().storeTokens(0, 17, toks.data());
  memo.setHyperCursor(Qt::CrossCursor);
  const int y = memo.lineHeight() / 2;
  const QPoint link = memo.pointAt(6) + QPoint(1, y), plain = memo.pointAt(14) + QPoint(1, y);
  const struct {
    bool highlight;
    QPoint at;
    Qt::CursorShape cursor;
    bool hover;
  } rows[] = {{true, link, Qt::CrossCursor, true},
              {true, plain, Qt::IBeamCursor, false},
              {false, link, Qt::IBeamCursor, false}};
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << "highlight " << r.highlight << " at x " << r.at.x());
    Set(smoSyntaxHighlight, r.highlight);
    QSignalSpy hovers(&memo, &TSyntaxMemo::OnHyperlinkHover);
    QTest::mouseMove(memo.viewport(), r.at);
    EXPECT_EQ(memo.viewport()->cursor().shape(), r.cursor);
    EXPECT_EQ(hovers.count() > 0, r.hover);
  }
  // An owner that chose its own cursor while the mouse moved off keeps it.
  Set(smoSyntaxHighlight, true);
  QTest::mouseMove(memo.viewport(), plain);
  QTest::mouseMove(memo.viewport(), link);
  ASSERT_EQ(memo.viewport()->cursor().shape(), Qt::CrossCursor);
  auto c = QObject::connect(&memo, &TSyntaxMemo::OnMouseMove,
                            [&] { memo.viewport()->setCursor(Qt::ArrowCursor); });
  QSignalSpy leaves(&memo, &TSyntaxMemo::OnHyperlinkLeave);
  QTest::mouseMove(memo.viewport(), plain);
  EXPECT_EQ(leaves.count(), 1);
  EXPECT_EQ(memo.viewport()->cursor().shape(), Qt::ArrowCursor);
  QObject::disconnect(c);
}

// Right of a wrapped row's last character is no part of a link, as right of a line's end is not.
TEST_F(PaintOptions, APointRightOfAWrappedRowIsNotOverItsLink) {
  MemoEngine& e = memo.engine();
  e.setParser(1, &styles);
  Set(smoSyntaxHighlight, true);
  e.wrapAtColumn = 10;
  memo.setText("http://abcdefghijkl");
  std::vector<std::uint8_t> toks(19, 7);
  e.storeTokens(0, 19, toks.data());
  memo.setWordWrap(true);
  ASSERT_TRUE(e.wrapIndex() && e.wrapIndex()->continues(0));
  const int y = memo.lineHeight() / 2;
  QSignalSpy hovers(&memo, &TSyntaxMemo::OnHyperlinkHover);
  QTest::mouseMove(memo.viewport(), memo.pointAt(3) + QPoint(1, y));
  EXPECT_EQ(hovers.count(), 1);
  EXPECT_NE(memo.viewport()->cursor().shape(), Qt::IBeamCursor);
  hovers.clear();
  QTest::mouseMove(memo.viewport(), QPoint(memo.textLeft() + 16 * Cell(), y));
  EXPECT_EQ(hovers.count(), 0);
  EXPECT_EQ(memo.viewport()->cursor().shape(), Qt::IBeamCursor);
}

TEST_F(PaintOptions, WrapGlyphAndWrapColumnAreDrawnOnlyWithTheirOptions) {
  MemoEngine& e = memo.engine();
  e.wrapAtColumn = 10;
  memo.setText("abcdefghijklmnopqrstuvwxyz");
  memo.setWordWrap(true);
  ASSERT_TRUE(e.wrapIndex() && e.wrapIndex()->continues(0));
  const int glyphX = memo.textLeft() + 10 * Cell();
  const QRect glyphCell(glyphX + 1, 0, Cell(), memo.lineHeight());
  const QRect belowText(memo.textLeft(), 4 * memo.lineHeight(), memo.viewport()->width(), memo.lineHeight());
  const QColor column(160, 160, 224);
  for (const bool glyph : {false, true})
    for (const bool col : {false, true}) {
      SCOPED_TRACE(testing::Message() << "glyph " << glyph << ", column " << col);
      Set(smoShowWrapGlyph, glyph);
      Set(smoShowWrapColumn, col);
      const QImage img = Shot(memo);
      EXPECT_EQ(Count(img, glyphCell, [&](QColor p) { return p.lightness() < 200 && p != column; }) > 0, glyph);
      EXPECT_EQ(CountColor(img, belowText, column) > 0, col);
    }
}

TEST_F(PaintOptions, ScreenshotsOfTheGutterTheRightMarginAndTheBlockCaret) {
  MemoEngine& e = memo.engine();
  e.rightMargin = 40;
  e.gutterWidth = 34;
  QByteArray text;
  text += "<html>\r<head><title>Gutter, margin and caret</title></head>\r<body>\r";
  text += "<p>A line that runs on past the right margin, to show where it is drawn.</p>\r";
  text += "<p>Short line.</p>\r</body>\r</html>\r";
  memo.setText(text);
  e.setBookmark(1, e.store().lineStart(1));
  e.setBookmark(2, e.store().lineStart(3));
  Set(smoShowGutter, true);
  SaveShot("memo_gutter.png");
  Set(smoShowRMargin, true);
  SaveShot("memo_right_margin.png");
  memo.setOverwriteMode(true);
  memo.setSelStart(e.store().lineStart(4) + 3);
  SaveShot("memo_block_cursor.png");
  const QImage img = Shot(memo);
  EXPECT_GE(Ink(img, CellAt(memo.selection().caret)), Cell() * memo.lineHeight() / 3);
}
