// Offscreen tests of highlighting in the TSyntaxMemo widget: idle slices finish the document
// while the event loop runs, typing is answered between slices, text is painted in its style.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>
#include <cstdio>
#include <string>
#include <vector>

#include "TestTables.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/HtmlScanners.h"
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


TEST(WidgetHtmlScheme, ScreenshotOfAPageWithServerCodeRegexAndAnEarlyScriptEnd) {
  velora::memo::TSyntaxMemo memo;
  memo.resize(720, 300);
  memo.show();
  TSyntaxMemoParser html;
  html.Script = VELORA_HTML_SCHEME_SCRIPT;
  html.CompileScript();
  vlr::UseHtmlScanners(html);
  memo.setText("<!-- Syntax Highlighting -->\r"
               "<p class=\"intro\">Hello &amp; welcome, <? echo $user->name; ?>!</p>\r"
               "<script>\r"
               "var re = /^[a-z]+$/i, half = total / 2;\r"
               "const msg = `Hi ${name}, ${count} new`;\r"
               "// the comment ends here </script><b>back in the page</b>\r"
               "<style>@media screen { h1 { color: red; } }</style>\r");
  vlr::AttachHighlighter(memo.engine(), html);
  while (memo.engine().HighlightSlice(100000)) {}
  QApplication::processEvents();
  const QImage shot = memo.grab().toImage();
  ASSERT_FALSE(shot.isNull());
  const QString path = QDir::current().filePath(QStringLiteral("memo_html_page.png"));
  ASSERT_TRUE(shot.save(path));
  std::printf("screenshot: %s\n", qPrintable(path));
  // "<b>" after the script's early end is a tag again (maroon), not comment text (navy).
  const auto& st = memo.engine().store();
  const velora::memo::Pos b = st.lineStart(5) + velora::memo::Pos(st.lineText(5).find("<b>")) + 1;
  EXPECT_EQ(memo.engine().tokens(b, b + 1), (std::vector<std::uint8_t>{21}));
  vlr::DetachHighlighter(memo.engine());
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
