// Offscreen tests of highlighting in the TSyntaxMemo widget: idle slices finish the document
// while the event loop runs, typing is answered between slices, text is painted in its style.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>
#include <string>

#include "TestTables.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"
#include "memo/widget/SyntaxMemo.h"

using namespace hltest;
using velora::memo::TSyntaxMemo;
using vlr::TSyntaxMemoParser;

namespace {

constexpr std::uint32_t kPurple = 0x800080;  // 0x00BBGGRR

TSchemeTables StyledTables() {
  TSchemeTables t = CommentTables();
  for (int v : {2, 3, 4}) t.map[std::size_t(v)] = 11;
  t.effects[11].present = true;
  t.effects[11].foreground = kPurple;
  t.effects[11].defaultForeground = false;
  return t;
}

struct WidgetFixture : ::testing::Test {
  TSyntaxMemo memo;
  TSyntaxMemoParser parser;
  void SetUp() override {
    parser.SetTables(StyledTables());
    vlr::AttachHighlighter(memo.engine(), parser);
    memo.resize(640, 360);
    memo.show();
    QApplication::processEvents();
  }
  // Runs the event loop until background highlighting is done (bounded).
  bool Settle() {
    QElapsedTimer t;
    t.start();
    while (memo.highlightPending() && t.elapsed() < 20000) QApplication::processEvents();
    return !memo.highlightPending();
  }
};

TEST_F(WidgetFixture, IdleSlicesFinishTheDocumentAndTypingGoesOn) {
  std::string text = "/* a comment\r";
  for (int i = 0; i < 60000; ++i) text += "name = 12345 /* note */ other\r";
  memo.setText(QByteArray(text.data(), qsizetype(text.size())));
  EXPECT_TRUE(memo.highlightPending());
  // Keys are handled while the rest is still being highlighted.
  memo.setSelStart(0);
  QTest::keyClicks(&memo, "*/");
  EXPECT_EQ(memo.text().left(4), QByteArray("*//*"));
  ASSERT_TRUE(Settle());
  TSyntaxMemoParser reference;
  reference.SetTables(StyledTables());
  EXPECT_EQ(memo.engine().tokens(0, memo.engine().length()), FullScan(reference, memo.engine().store()));
}

TEST_F(WidgetFixture, CommentIsPaintedInItsStyle) {
  memo.setText("/* WWWWWWWWWWWWWWWW */\rWWWWWWWWWWWWWWWW");
  ASSERT_TRUE(Settle());
  QApplication::processEvents();
  const QImage shot = memo.viewport()->grab().toImage();
  const int h = memo.lineHeight();
  // Count purple pixels in the first line and in the second (plain) line.
  int purpleFirst = 0, purpleSecond = 0;
  for (int y = 0; y < 2 * h && y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      const QColor c = shot.pixelColor(x, y);
      if (c.red() > 90 && c.blue() > 90 && c.green() < 60) (y < h ? purpleFirst : purpleSecond)++;
    }
  }
  EXPECT_GT(purpleFirst, 20);
  EXPECT_EQ(purpleSecond, 0);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
