// Offscreen tests of the control's code templates and pick list, auto-replace, find and replace
// dialog, mark all and search failure messages.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "memo/widget/SearchDialogs.h"
#include "memo/widget/SearchMarks.h"
#include "memo/widget/SyntaxMemo.h"
#include "memo/widget/TemplatePickList.h"

using namespace velora::memo;

namespace {

// A language with typing aids only: token value 9 stands for code.
struct AidsLanguage : TokenScanner {
  TCodeTemplates templates;
  TAutoReplace replace;
  AidsLanguage() {
    templates.add({"b", "Bold", "<b>|</b>"});
    templates.add({"tab", "Table", "<table>\r\n<tr><td>|</td></tr>\r\n</table>"});
    templates.add({"ul", "List", "<ul>\r\n<li>|\r\n</ul>"});
    replace.add({"teh", "", "the"});
  }
  std::uint8_t scanToken(MemoEngine&, EdStream& s, int& length) override {
    s.advance();
    ++length;
    return 0;
  }
  void resetContext(std::uint8_t) override {}
  TCodeTemplates* codeTemplates() override { return &templates; }
  TAutoReplace* autoReplace() override { return &replace; }
  [[nodiscard]] bool isProseToken(std::uint8_t value) const override { return value != 9; }
};

struct AidsFixture : ::testing::Test {
  TSyntaxMemo memo;
  AidsLanguage language;
  void SetUp() override {
    memo.engine().setParser(1, &language);
    memo.resize(640, 360);
    memo.show();
    memo.activateWindow();
    memo.setFocus();
    QApplication::processEvents();
  }
  void TearDown() override {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<QMessageBox*>(w)) box->close();
    memo.engine().setParser(1, nullptr);
  }
  QMessageBox* box() { return memo.findChild<QMessageBox*>(); }
};

}  // namespace

TEST_F(AidsFixture, TypingCorrectsTheTypoAndKeepsTheSpace) {
  QTest::keyClicks(&memo, "teh teh");
  EXPECT_EQ(memo.text(), QByteArray("the teh"));
  QTest::keyClick(&memo, Qt::Key_Return);
  EXPECT_EQ(memo.text(), QByteArray("the the\r"));
  // One undo step takes the correction back; the act key was typed separately.
  QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(memo.text(), QByteArray("the teh"));
}

TEST_F(AidsFixture, AutoReplaceEventAndCodeTokens) {
  int raised = 0;
  QByteArray streamed;
  QObject::connect(&memo, &TSyntaxMemo::OnAutoReplace, &memo,
                   [&](QIODevice* stream, const QString& item, QString& with, bool& can) {
                     ++raised;
                     EXPECT_EQ(stream->size(), 0);
                     can = item == QStringLiteral("teh");
                     with = QStringLiteral("THE");
                     if (!streamed.isEmpty()) stream->write(streamed);
                   });
  QTest::keyClicks(&memo, "teh,");
  EXPECT_EQ(memo.text(), QByteArray("THE,"));
  EXPECT_EQ(raised, 1);
  // A handler that writes to the stream supplies the replacement: inserted as written, the
  // break made CR, and one undo step with the replacement.
  streamed = "the\r\nEnd";
  QTest::keyClicks(&memo, " teh.");
  EXPECT_EQ(memo.text(), QByteArray("THE, the\rEnd."));
  QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(memo.text(), QByteArray("THE, teh"));
  streamed.clear();
  // Token value 9 before the caret is code: nothing is replaced there.
  memo.setText("<teh");
  const std::uint8_t code[4] = {9, 9, 9, 9};
  memo.engine().storeTokens(0, 4, code);
  memo.setSelection(4, 4);
  QTest::keyClick(&memo, Qt::Key_Space);
  EXPECT_EQ(memo.text(), QByteArray("<teh "));
}

TEST_F(AidsFixture, CtrlJExpandsTheTemplateBeforeTheCaret) {
  QString name;
  QObject::connect(&memo, &TSyntaxMemo::OnTemplateEvent, &memo, [&](const QString& n, QString&) { name = n; });
  // smoUseTAB and smoSmartFill are on, as in the editor window: the later lines copy the
  // blanks before the name as they are.
  ASSERT_TRUE(memo.engine().hasOption(smoUseTAB) && memo.engine().hasOption(smoSmartFill));
  QTest::keyClicks(&memo, "    ul");
  QTest::keyClick(&memo, Qt::Key_J, Qt::ControlModifier);
  EXPECT_EQ(memo.text(), QByteArray("    <ul>\r    <li>\r    </ul>"));
  EXPECT_EQ(memo.selection(), (Selection{17, 17}));  // where the marker was
  EXPECT_EQ(name, QStringLiteral("ul"));
  EXPECT_EQ(memo.pickList(), nullptr);
  QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(memo.text(), QByteArray("    ul"));
}

TEST_F(AidsFixture, CtrlJWithoutANameOpensThePickList) {
  QTest::keyClicks(&memo, "x Ta");
  QTest::keyClick(&memo, Qt::Key_J, Qt::ControlModifier);
  TTemplatePickList* list = memo.pickList();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(memo.text(), QByteArray("x Ta"));  // the hot key is swallowed
  EXPECT_EQ(list->count(), 3);
  EXPECT_EQ(list->currentRow(), 1);  // the first name containing "ta"
  EXPECT_EQ(list->font().family(), QStringLiteral("Arial"));
  EXPECT_EQ(list->font().pointSize(), 8);
  EXPECT_GT(list->y(), memo.pointAt(memo.selection().caret).y());  // below the caret line
  list->grab().save(QStringLiteral("template_pick_list.png"));
  // Typed letters select by the start of the name, restarting from the last letter.
  QTest::keyClick(list, Qt::Key_U);
  EXPECT_EQ(list->currentRow(), 2);
  QTest::keyClick(list, Qt::Key_B);  // "ub" starts no name: "b" does
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_EQ(list->typed(), QStringLiteral("b"));
  QTest::keyClick(list, Qt::Key_T);
  QTest::keyClick(list, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(memo.pickList(), nullptr);
  EXPECT_EQ(memo.text(), QByteArray("x <table>\r  <tr><td></td></tr>\r  </table>"));
  // Escape closes the list and changes nothing.
  memo.setText("zz");
  memo.setSelection(2, 2);
  QTest::keyClick(&memo, Qt::Key_J, Qt::ControlModifier);
  ASSERT_NE(memo.pickList(), nullptr);
  QTest::keyClick(memo.pickList(), Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_EQ(memo.pickList(), nullptr);
  EXPECT_EQ(memo.text(), QByteArray("zz"));
}

TEST_F(AidsFixture, FindDialogSearchesReplacesAndMarks) {
  memo.setText("One two one\rtwo ONE");
  memo.setSelection(0, 3);
  memo.FindDialog(QString(), 0);
  TSearchDialog* d = memo.searchDialog();
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(d->isVisible());
  EXPECT_EQ(d->FindText->text(), QStringLiteral("One"));  // from the selection
  d->grab().save(QStringLiteral("find_dialog.png"));
  EXPECT_TRUE(d->findNext());
  EXPECT_EQ(memo.selection(), (Selection{8, 11}));
  // An expression: the whole match is selected.
  d->RegularExpression->setChecked(true);
  d->FindText->setText(QStringLiteral("t[a-z]+o"));
  memo.setSelection(0, 0);
  EXPECT_TRUE(d->findNext());
  EXPECT_EQ(memo.selection(), (Selection{4, 7}));
  // Mark all: each mark as long as its match.
  d->FindText->setText(QStringLiteral("o[a-z]*"));
  EXPECT_EQ(d->markAll(), 5);
  const auto& marks = TSearchMarks::of(memo).ranges();
  ASSERT_EQ(marks.size(), 5u);
  EXPECT_EQ(marks[0], (std::pair<Pos, Pos>{0, 3}));
  EXPECT_EQ(marks[1], (std::pair<Pos, Pos>{6, 7}));
  // Replace all as one undo step.
  memo.FindDialog(QString(), 0, true);
  d->FindText->setText(QStringLiteral("one"));
  d->ReplaceText->setText(QStringLiteral("1"));
  EXPECT_EQ(d->replaceAll(), 3);
  EXPECT_EQ(memo.text(), QByteArray("1 two 1\rtwo 1"));
  EXPECT_TRUE(TSearchMarks::of(memo).ranges().empty());  // text changed
  memo.undo();
  EXPECT_EQ(memo.text(), QByteArray("One two one\rtwo ONE"));
  // A replacement holding the search text is not searched again.
  memo.setText("a-a");
  d->FindText->setText(QStringLiteral("a"));
  d->ReplaceText->setText(QStringLiteral("aa"));
  EXPECT_EQ(d->replaceAll(), 2);
  EXPECT_EQ(memo.text(), QByteArray("aa-aa"));
  memo.setText("One two one\rtwo ONE");
  // Replace: the selected match is replaced, then the next one is selected.
  memo.setSelection(0, 0);
  d->MatchCase->setChecked(true);
  d->FindText->setText(QStringLiteral("two"));
  d->ReplaceText->setText(QStringLiteral("2"));
  EXPECT_TRUE(d->findNext());
  EXPECT_TRUE(d->replace());
  EXPECT_EQ(memo.text(), QByteArray("One 2 one\rtwo ONE"));
  EXPECT_EQ(memo.selection(), (Selection{10, 13}));
}

TEST_F(AidsFixture, FailuresGoToOnSearchFailOrToTheControlsMessages) {
  memo.setText("abc");
  memo.FindDialog(QString(), 0);
  TSearchDialog* d = memo.searchDialog();
  d->FindText->setText(QStringLiteral("zzz"));
  EXPECT_FALSE(d->findNext());
  ASSERT_NE(box(), nullptr);
  EXPECT_EQ(box()->text(), QStringLiteral("Search string \"zzz\" not found."));
  box()->close();
  QApplication::processEvents();
  // A bad expression: the error, the expression and the caret under the column.
  d->RegularExpression->setChecked(true);
  d->FindText->setText(QStringLiteral("a**"));
  EXPECT_FALSE(d->findNext());
  ASSERT_NE(box(), nullptr);
  EXPECT_EQ(box()->text(), QStringLiteral("Nested repeat\na**\n  ^"));
  box()->close();
  QApplication::processEvents();
  // With a handler the message is the owner's.
  QSignalSpy fail(&memo, &TSyntaxMemo::OnSearchFail);
  QObject::connect(&memo, &TSyntaxMemo::OnSearchFail, &memo, [](const QString&) {});
  d->RegularExpression->setChecked(false);
  EXPECT_FALSE(d->findNext());
  ASSERT_EQ(fail.count(), 1);
  EXPECT_EQ(fail[0][0].toString(), QStringLiteral("a**"));
  // The search message without "search at once" opens the dialog.
  d->hide();
  const std::string text = "b";
  memo.Perform(0x0C0B, kSearchMatchCase, std::intptr_t(text.c_str()));
  EXPECT_TRUE(d->isVisible());
  EXPECT_EQ(d->FindText->text(), QStringLiteral("b"));
  EXPECT_TRUE(d->MatchCase->isChecked());
}

TEST_F(AidsFixture, AnExpressionOutOfStepsSaysWhereTheSearchStopped) {
  memo.setText(QByteArray("Привет\rκόσμε\r") + QByteArray(60, 'a'));
  memo.FindDialog(QString(), 0);
  TSearchDialog* d = memo.searchDialog();
  d->RegularExpression->setChecked(true);
  d->FindText->setText(QStringLiteral("(a|aa)*c"));
  QTest::mouseClick(d->FindButton, Qt::LeftButton);
  ASSERT_NE(box(), nullptr);
  EXPECT_EQ(box()->text(), QStringLiteral("The expression needs too many steps; the search stopped at line 3."));
}


// Marks are drawn on the rows their text is shown on: below a folded region, which hides
// lines, and on every row of a word-wrapped line that they cover.
TEST(SearchMarksTest, AreDrawnOnTheRowsTheTextIsShownOn) {
  TSyntaxMemo memo;
  memo.resize(420, 300);
  memo.show();
  MemoEngine& e = memo.engine();
  QByteArray text;
  for (int i = 0; i < 60; ++i) text += "line " + QByteArray::number(i) + "\r";
  memo.setText(text);
  const Pos word = Pos(memo.text().indexOf("line 45"));
  // Lines 2 to 39 hidden: line 45 is the eighth row, although the window shows fewer lines.
  ASSERT_TRUE(e.folds().fold({1, 40}));
  ASSERT_EQ(e.rowOf(word), 7);
  TSearchMarks::of(memo).setRanges({{word, word + 7}});
  auto marked = [&memo](int row) {
    QApplication::processEvents();
    const QImage img = memo.viewport()->grab().toImage();
    int n = 0;
    for (int y = row * memo.lineHeight(); y < (row + 1) * memo.lineHeight() && y < img.height(); ++y)
      for (int x = memo.textLeft(); x < img.width(); ++x) {
        const QColor p = img.pixelColor(x, y);
        n += p.red() - p.blue() > 60 && p.green() - p.blue() > 40;  // the yellow of a mark
      }
    return n;
  };
  EXPECT_GT(marked(7), 0);
  EXPECT_EQ(marked(6) + marked(8), 0);

  // A mark across the break of a wrapped line covers the end of one row and the start of the next.
  e.folds().unfoldAll();
  e.wrapAtColumn = 10;
  memo.setText("abcdefghij klmnopq");
  memo.setWordWrap(true);
  ASSERT_TRUE(e.wrapIndex() && e.wrapIndex()->continues(0));
  const Pos from = Pos(memo.text().indexOf("ij klm"));
  TSearchMarks::of(memo).setRanges({{from, from + 6}});
  const int cell = memo.fontMetrics().averageCharWidth() * memo.lineHeight();
  EXPECT_GT(marked(0), 2 * cell);
  EXPECT_GT(marked(1), 2 * cell);
}
