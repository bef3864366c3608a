// The completion list under real key events: it opens after "<", "&", a space in a tag, a quote
// and a colon, follows the typed text, takes Return or Tab, closes on Escape, and Ctrl+Space
// opens it anywhere. A screenshot of the open list is written for the manual.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "MarkupMemo.h"
#include "memo/widget/CompletionPopup.h"
#include "memo/widget/SyntaxMemo.h"

namespace {

using velora::memo::CompletionPopup;
using velora::memo::TSyntaxMemo;

struct List : completetest::MarkupMemo {
  void SetUp() override {
    MarkupMemo::SetUp();
    memo.setCompletionSources([] { return std::vector<std::string>{"SiteName", "Author"}; },
                              [] { return std::vector<std::string>{"parts/header.htm", "parts/footer.htm"}; });
  }
  std::string Current() const {
    CompletionPopup* p = memo.completionPopup();
    return p && p->currentItem() ? p->currentItem()->label : std::string("(closed)");
  }
};

TEST_F(List, ElementsFilteredAsTypedAndReturnAccepts) {
  Start("<body>\r|\r</body>");
  QTest::keyClicks(&memo, "<");
  ASSERT_NE(memo.completionPopup(), nullptr);
  EXPECT_EQ(Current(), "a");
  QTest::keyClicks(&memo, "tabl");
  EXPECT_EQ(Current(), "table");
  EXPECT_EQ(memo.completionPopup()->items().size(), 1u);
  QTest::keyClick(&memo, Qt::Key_Return);
  EXPECT_EQ(memo.completionPopup(), nullptr);
  EXPECT_EQ(Text(), "<body>\r<table\r</body>");
  QTest::keyClicks(&memo, ">");
  EXPECT_EQ(Text(), "<body>\r<table></table>\r</body>");
}

TEST_F(List, EscapeClosesArrowsMoveTabAcceptsBackspaceWidens) {
  Start("|");
  QTest::keyClicks(&memo, "<di");
  EXPECT_EQ(Current(), "dialog");
  QTest::keyClick(&memo, Qt::Key_Down);
  QTest::keyClick(&memo, Qt::Key_Down);
  EXPECT_EQ(Current(), "div");
  QTest::keyClick(&memo, Qt::Key_Backspace);
  EXPECT_EQ(Text(), "<d");
  EXPECT_GT(memo.completionPopup()->items().size(), 3u);
  QTest::keyClick(&memo, Qt::Key_Escape);
  EXPECT_EQ(memo.completionPopup(), nullptr);
  EXPECT_EQ(Text(), "<d");
  // Closed, Return is a line break again.
  QTest::keyClick(&memo, Qt::Key_Return);
  EXPECT_EQ(Text(), "<d\r");
  Start("<a |");
  QTest::keyClick(&memo, Qt::Key_Space, Qt::ControlModifier);
  ASSERT_NE(memo.completionPopup(), nullptr);
  QTest::keyClicks(&memo, "hre");
  EXPECT_EQ(Current(), "href");
  QTest::keyClick(&memo, Qt::Key_Tab);
  EXPECT_EQ(Text(), "<a href");
}

TEST_F(List, AttributesAfterASpaceAndValuesAfterTheQuote) {
  Start("|");
  QTest::keyClicks(&memo, "<input ");
  ASSERT_NE(memo.completionPopup(), nullptr);
  QTest::keyClicks(&memo, "typ");
  EXPECT_EQ(Current(), "type");
  QTest::keyClick(&memo, Qt::Key_Return);
  QTest::keyClicks(&memo, "=\"");
  ASSERT_NE(memo.completionPopup(), nullptr);
  QTest::keyClicks(&memo, "chec");
  QTest::keyClick(&memo, Qt::Key_Return);
  EXPECT_EQ(Text(), "<input type=\"checkbox\"");
  QTest::keyClicks(&memo, "\">");
  EXPECT_EQ(Text(), "<input type=\"checkbox\">");
}

TEST_F(List, CharacterReferencesAndCssPropertiesWithTheirKeywords) {
  Start("<p>Caf|</p>");
  QTest::keyClicks(&memo, "&eacu");
  EXPECT_EQ(Current(), "eacute;");
  QTest::keyClick(&memo, Qt::Key_Return);
  EXPECT_EQ(Text(), "<p>Caf&eacute;</p>");
  Start("<style>\rp {\r  |\r}\r</style>");
  QTest::keyClicks(&memo, "d");
  ASSERT_NE(memo.completionPopup(), nullptr);
  QTest::keyClicks(&memo, "isp");
  EXPECT_EQ(Current(), "display");
  QTest::keyClick(&memo, Qt::Key_Return);
  QTest::keyClicks(&memo, ": fl");
  EXPECT_EQ(Current(), "flex");
  QTest::keyClick(&memo, Qt::Key_Return);
  EXPECT_EQ(Text(), "<style>\rp {\r  display: flex\r}\r</style>");
  // An owner that keeps Ctrl+Space for itself leaves the list to Ctrl+Shift+Space.
  memo.setCtrlSpaceCompletes(false);
  Start("<p style=\"|\">");
  QTest::keyClick(&memo, Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(memo.completionPopup(), nullptr);
  QTest::keyClick(&memo, Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Current(), "accent-color");
  QTest::keyClick(&memo, Qt::Key_Escape);
  memo.setCtrlSpaceCompletes(true);
  // A comment offers nothing, even on Ctrl+Space.
  Start("<!-- |");
  QTest::keyClick(&memo, Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(memo.completionPopup(), nullptr);
}

TEST_F(List, VariablesAndIncludeFilesOfTheOwner) {
  Start("<h1>|</h1>");
  QTest::keyClicks(&memo, "<%");
  EXPECT_EQ(Current(), "SiteName");
  QTest::keyClick(&memo, Qt::Key_Return);
  EXPECT_EQ(Text(), "<h1><%SiteName%></h1>");
  Start("<body>\r|");
  QTest::keyClicks(&memo, "<&");
  QTest::keyClicks(&memo, "f");
  EXPECT_EQ(Current(), "parts/footer.htm");
  QTest::keyClick(&memo, Qt::Key_Return);
  EXPECT_EQ(Text(), "<body>\r<&parts/footer.htm&>");
}

TEST_F(List, AClickElsewhereClosesTheListAndTheScreenshotShowsIt) {
  Start("<body>\r<p class=\"intro\">Welcome</p>\r|\r</body>");
  QTest::keyClicks(&memo, "<s");
  ASSERT_NE(memo.completionPopup(), nullptr);
  QApplication::processEvents();
  const QImage shot = memo.grab().toImage();
  EXPECT_TRUE(shot.save(QStringLiteral("completion-list.png")));
  const QRect r = memo.completionPopup()->geometry();
  EXPECT_GT(r.height(), 5 * memo.lineHeight());
  memo.setSelStart(3);
  EXPECT_EQ(memo.completionPopup(), nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  TSyntaxMemo::setWebDataFile(QStringLiteral(VELORA_WEB_DATA));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
