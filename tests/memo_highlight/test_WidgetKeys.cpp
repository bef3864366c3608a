// The control follows the key table of its language: a scheme's "%%keys" section replaces the
// built-in table, a change of the language's tables takes effect at once, and a control
// without a language (or whose language has no tables) uses the built-in table.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "memo/engine/keys/KeyboardActionController.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/SchemeCompiler.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"
#include "memo/widget/SyntaxMemo.h"

using velora::memo::Selection;
using velora::memo::TSyntaxMemo;

namespace {

constexpr auto Ctrl = Qt::ControlModifier;

struct WidgetKeys : ::testing::Test {
  TSyntaxMemo memo;
  vlr::TSyntaxMemoParser parser;
  void SetUp() override {
    memo.resize(640, 360);
    memo.show();
    memo.setFocus();
    QApplication::processEvents();
  }
  void Use(const std::string& keysSection) {
    // The language's settings reach the control too: one blank per indent step, as the
    // expectations below count.
    parser.SetTables(vlr::CompileSchemeText("%%language\nindentstep = 1\n%%map 1 1\n%%keys\n" + keysSection));
    vlr::AttachHighlighter(memo.engine(), parser);
  }
};

TEST_F(WidgetKeys, AKeysSectionReplacesTheTableAndTheControlFollowsIt) {
  Use("caRIGHT ( F3 )\n"
      "caBLOCKIND ( [ctrl] 'B', 'I' )\n"
      "caDELETELINE ( [alt] 'D' )\n"
      "caUNDO ( [ctrl] 'Z' )\n");
  memo.setText("ab\rcd");
  memo.setSelStart(0);
  QTest::keyClick(&memo, Qt::Key_Right);  // no longer bound
  EXPECT_EQ(memo.selection(), (Selection{0, 0}));
  QTest::keyClick(&memo, Qt::Key_F3);
  EXPECT_EQ(memo.selection(), (Selection{1, 1}));
  QTest::keyClick(&memo, Qt::Key_F3, Qt::ShiftModifier);  // a movement key now: Shift extends
  EXPECT_EQ(memo.selection(), (Selection{1, 2}));
  QTest::keyClick(&memo, Qt::Key_Y, Ctrl);  // the built-in delete-line key is gone
  EXPECT_EQ(memo.text(), QByteArray("ab\rcd"));
  memo.setSelStart(4);
  QTest::keyClick(&memo, Qt::Key_D, Qt::AltModifier);
  EXPECT_EQ(memo.text(), QByteArray("ab\r"));
  QTest::keyClick(&memo, Qt::Key_Z, Ctrl);
  EXPECT_EQ(memo.text(), QByteArray("ab\rcd"));
  // Ctrl+K is no prefix here: the next key is typed.
  memo.setSelection(0, 5);
  QTest::keyClick(&memo, Qt::Key_K, Ctrl);
  QTest::keyClick(&memo, Qt::Key_B, Ctrl);
  QTest::keyClick(&memo, Qt::Key_I);
  EXPECT_EQ(memo.text().left(3), QByteArray(" ab"));

  // New tables for the language: the control follows them, a waiting prefix is forgotten.
  QTest::keyClick(&memo, Qt::Key_B, Ctrl);
  Use("caLEFT ( F3 )\n");
  memo.setSelStart(2);
  QTest::keyClick(&memo, Qt::Key_F3);
  EXPECT_EQ(memo.selection(), (Selection{1, 1}));
  QTest::keyClick(&memo, Qt::Key_I);
  EXPECT_EQ(memo.text().left(4), QByteArray(" iab"));

  // A language without tables, or none at all: the built-in table.
  parser.ClearTables();
  QTest::keyClick(&memo, Qt::Key_End);
  EXPECT_EQ(memo.selection().caret, memo.engine().store().lineEnd(0));
  memo.engine().setParser(1, nullptr);
  QTest::keyClick(&memo, Qt::Key_Home, Ctrl);
  EXPECT_EQ(memo.selection().caret, 0);
}

TEST_F(WidgetKeys, TheHtmlLanguageKeepsItsOwnNamesAndRefusesASecondCtrlY) {
  parser.Script = VELORA_HTML_SCHEME_SCRIPT;
  parser.CompileScript();
  vlr::AttachHighlighter(memo.engine(), parser);
  vlr::TKeyboardActionContoller& keys = memo.keyController();
  ASSERT_EQ(&keys, parser.keyController());
  try {
    keys.AddSequence(vlr::kKeyCtrl | 'Y', 0, 41);
    FAIL() << "a second Ctrl+Y was accepted";
  } catch (const vlr::EAmbigiousKeyPair& e) {
    EXPECT_STREQ(e.what(), "Duplicate key sequence definition for\r\n\"Delete line\" and \"Undo\"");
  }
  memo.setText("one\rtwo");
  memo.setSelStart(5);
  QTest::keyClick(&memo, Qt::Key_Y, Ctrl);
  EXPECT_EQ(memo.text(), QByteArray("one\r"));
  // A sequence added to the language's controller works at once.
  keys.AddSequence(vlr::kKeyCtrl | 'E', 0, 11);
  memo.setSelStart(0);
  QTest::keyClick(&memo, Qt::Key_E, Ctrl);
  EXPECT_EQ(memo.selection().caret, memo.engine().length());
}

}  // namespace
