// Every key of the built-in key table through the control (offscreen key clicks), the extend
// flag, OnCommandRecognised, read-only controls and the undo steps of the deleting commands.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTest>
#include <functional>
#include <vector>

#include "memo/engine/keys/KeyboardActionController.h"
#include "memo/widget/SyntaxMemo.h"

using namespace velora::memo;

namespace {

struct Key {
  Qt::Key key;
  Qt::KeyboardModifiers mods = Qt::NoModifier;
};

// The undo log's cells, read through the one member of TStack that holds them.
struct UndoCells : TUndoStack {
  static const std::deque<Cell>& Of(const TUndoStack& s) { return s.*(&UndoCells::cells_); }
};

struct KeyCommands : ::testing::Test {
  TSyntaxMemo memo;
  void SetUp() override {
    memo.resize(640, 360);
    memo.show();
    memo.activateWindow();
    memo.setFocus();
    QApplication::processEvents();
  }
  void Press(const std::vector<Key>& keys) {
    for (const Key& k : keys) QTest::keyClick(&memo, k.key, k.mods);
  }
  // Where the caret and the anchor are, and the text, as one string for compact expectations.
  std::string State() {
    const Selection s = memo.selection();
    return memo.text().toStdString() + " [" + std::to_string(s.anchor) + "," + std::to_string(s.caret) + "]";
  }
};

constexpr auto Ctrl = Qt::ControlModifier;
constexpr auto Shift = Qt::ShiftModifier;

TEST_F(KeyCommands, EveryDefaultKeyRunsItsCommand) {
  struct Case {
    const char* name;
    const char* text;
    Pos anchor, caret;
    std::vector<Key> keys;
    const char* expected;  // text [anchor,caret]
  };
  const Case cases[] = {
      {"Left", "abc", 2, 2, {{Qt::Key_Left}}, "abc [1,1]"},
      {"Left collapses a selection", "abc", 1, 3, {{Qt::Key_Left}}, "abc [1,1]"},
      {"Right", "abc", 1, 1, {{Qt::Key_Right}}, "abc [2,2]"},
      {"Home goes to the first non-blank", "  ab", 4, 4, {{Qt::Key_Home}}, "  ab [2,2]"},
      {"Home twice goes to the line start", "  ab", 4, 4, {{Qt::Key_Home}, {Qt::Key_Home}}, "  ab [0,0]"},
      {"End", "ab\rcd", 0, 0, {{Qt::Key_End}}, "ab\rcd [2,2]"},
      {"Up keeps the column", "abc\rdef", 6, 6, {{Qt::Key_Up}}, "abc\rdef [2,2]"},
      {"Down from a caret placed after Up", "abc\rdef", 1, 1, {{Qt::Key_Down}}, "abc\rdef [5,5]"},
      {"Down keeps the column over a short line", "abcd\rx\rabcd", 3, 3, {{Qt::Key_Down}, {Qt::Key_Down}},
       "abcd\rx\rabcd [10,10]"},
      {"Ctrl+Left", "one two", 7, 7, {{Qt::Key_Left, Ctrl}}, "one two [4,4]"},
      {"Ctrl+Right", "one two", 0, 0, {{Qt::Key_Right, Ctrl}}, "one two [4,4]"},
      {"Ctrl+Home", "ab\rcd", 4, 4, {{Qt::Key_Home, Ctrl}}, "ab\rcd [0,0]"},
      {"Ctrl+End", "ab\rcd", 0, 0, {{Qt::Key_End, Ctrl}}, "ab\rcd [5,5]"},
      {"Ctrl+X then Ctrl+V", "one two", 0, 4, {{Qt::Key_X, Ctrl}, {Qt::Key_End}, {Qt::Key_V, Ctrl}}, "twoone  [7,7]"},
      {"Ctrl+C then Ctrl+V", "ab", 0, 1, {{Qt::Key_C, Ctrl}, {Qt::Key_End}, {Qt::Key_V, Ctrl}}, "aba [3,3]"},
      {"Delete", "abc", 1, 1, {{Qt::Key_Delete}}, "ac [1,1]"},
      {"Delete a selection", "abcd", 1, 3, {{Qt::Key_Delete}}, "ad [1,1]"},
      {"Backspace", "abc", 1, 1, {{Qt::Key_Backspace}}, "bc [0,0]"},
      {"Backspace a selection", "abcd", 3, 1, {{Qt::Key_Backspace}}, "ad [1,1]"},
      {"Ctrl+K I", "a\rb", 0, 3, {{Qt::Key_K, Ctrl}, {Qt::Key_I}}, " a\r b [0,5]"},
      {"Ctrl+K then Ctrl+I", "a\rb", 0, 3, {{Qt::Key_K, Ctrl}, {Qt::Key_I, Ctrl}}, " a\r b [0,5]"},
      {"Ctrl+K U", " a\r b", 0, 5, {{Qt::Key_K, Ctrl}, {Qt::Key_U}}, "a\rb [0,3]"},
      {"Ctrl+Y deletes the line and its break", "ab\rcd\ref", 4, 4, {{Qt::Key_Y, Ctrl}}, "ab\ref [3,3]"},
      {"Ctrl+Y on the last line", "ab\rcd", 4, 4, {{Qt::Key_Y, Ctrl}}, "ab\r [3,3]"},
      {"Ctrl+Z", "ab", 2, 2, {{Qt::Key_Backspace}, {Qt::Key_Z, Ctrl}}, "ab [2,2]"},
      {"Ctrl+Shift+Z", "ab", 2, 2, {{Qt::Key_Backspace}, {Qt::Key_Z, Ctrl}, {Qt::Key_Z, Ctrl | Shift}}, "a [1,1]"},
      {"Ctrl+Backspace", "one two", 7, 7, {{Qt::Key_Backspace, Ctrl}}, "one  [4,4]"},
      // The extend flag: movement keys with Shift keep the anchor.
      {"Shift+Left extends by one character", "abc", 3, 3, {{Qt::Key_Left, Shift}}, "abc [3,2]"},
      {"Shift+Right", "abc", 0, 0, {{Qt::Key_Right, Shift}, {Qt::Key_Right, Shift}}, "abc [0,2]"},
      {"Shift+End", "abc\rd", 1, 1, {{Qt::Key_End, Shift}}, "abc\rd [1,3]"},
      {"Shift+Home", "abc", 2, 2, {{Qt::Key_Home, Shift}}, "abc [2,0]"},
      {"Shift+Down", "abc\rdef", 1, 1, {{Qt::Key_Down, Shift}}, "abc\rdef [1,5]"},
      {"Shift+Up", "abc\rdef", 5, 5, {{Qt::Key_Up, Shift}}, "abc\rdef [5,1]"},
      {"Ctrl+Shift+Left", "one two", 7, 7, {{Qt::Key_Left, Ctrl | Shift}}, "one two [7,4]"},
      {"Ctrl+Shift+Right", "one two", 0, 0, {{Qt::Key_Right, Ctrl | Shift}}, "one two [0,4]"},
      {"Ctrl+Shift+Home", "ab\rcd", 4, 4, {{Qt::Key_Home, Ctrl | Shift}}, "ab\rcd [4,0]"},
      {"Ctrl+Shift+End", "ab\rcd", 1, 1, {{Qt::Key_End, Ctrl | Shift}}, "ab\rcd [1,5]"},
      {"Shift+Backspace deletes back", "abc", 2, 2, {{Qt::Key_Backspace, Shift}}, "ac [1,1]"},
      // A prefix followed by an unbound key: the prefix is swallowed, the key goes through.
      {"Ctrl+K then z", "ab", 1, 1, {{Qt::Key_K, Ctrl}, {Qt::Key_Z}}, "azb [2,2]"},
      {"Ctrl+Q then Return", "ab", 1, 1, {{Qt::Key_Q, Ctrl}, {Qt::Key_Return}}, "a\rb [2,2]"},
  };
  for (const Case& c : cases) {
    memo.setText(c.text);
    memo.setSelection(c.anchor, c.caret);
    Press(c.keys);
    EXPECT_EQ(State(), c.expected) << c.name;
  }
}

TEST_F(KeyCommands, PagesBookmarksAndOverwrite) {
  QByteArray text;
  for (int i = 1; i <= 200; ++i) text += "line " + QByteArray::number(i) + "\r";
  memo.setText(text);
  memo.setSelStart(0);
  const int page = int(memo.engine().visibleLines()) - 1;
  ASSERT_GT(page, 2);
  QTest::keyClick(&memo, Qt::Key_PageDown);
  EXPECT_EQ(memo.caretLine(), 1 + page);
  QTest::keyClick(&memo, Qt::Key_PageDown, Shift);
  EXPECT_EQ(memo.caretLine(), 1 + 2 * page);
  EXPECT_EQ(memo.selection().anchor, memo.engine().store().lineStart(page));
  QTest::keyClick(&memo, Qt::Key_PageUp);
  EXPECT_EQ(memo.caretLine(), 1 + page);
  EXPECT_TRUE(memo.selection().empty());

  // Ctrl+K n sets bookmark n at the caret, Ctrl+Q n goes back to it; every digit.
  for (int n = 0; n <= 9; ++n) {
    memo.setSelStart(10 * n + 3);
    Press({{Qt::Key_K, Ctrl}, {Qt::Key(Qt::Key_0 + n)}});
  }
  for (int n = 9; n >= 0; --n) {
    memo.setSelStart(1000);
    Press({{Qt::Key_Q, Ctrl}, {Qt::Key(Qt::Key_0 + n)}});
    EXPECT_EQ(memo.selection().caret, 10 * n + 3) << n;
    EXPECT_EQ(memo.engine().bookmark(n).value_or(-1), 10 * n + 3) << n;
  }
  EXPECT_EQ(memo.text(), text);  // no digit was typed

  memo.setText("abc");
  memo.setSelStart(0);
  QTest::keyClick(&memo, Qt::Key_Insert);
  EXPECT_TRUE(memo.overwriteMode());
  QTest::keyClicks(&memo, "x");
  EXPECT_EQ(memo.text(), QByteArray("xbc"));
  QTest::keyClick(&memo, Qt::Key_Insert);
  EXPECT_FALSE(memo.overwriteMode());
}

TEST_F(KeyCommands, ModifierKeysAloneNeitherCompleteNorCancelASequence) {
  memo.setText("a\rb");
  memo.selectAll();
  QTest::keyClick(&memo, Qt::Key_K, Ctrl);
  QTest::keyClick(&memo, Qt::Key_Shift);
  QTest::keyClick(&memo, Qt::Key_Control);
  QTest::keyClick(&memo, Qt::Key_I);
  EXPECT_EQ(memo.text(), QByteArray(" a\r b"));
  // Leaving the control forgets a waiting prefix.
  QTest::keyClick(&memo, Qt::Key_K, Ctrl);
  QFocusEvent out(QEvent::FocusOut);
  QApplication::sendEvent(&memo, &out);
  memo.setSelStart(0);
  QTest::keyClick(&memo, Qt::Key_I);
  EXPECT_EQ(memo.text(), QByteArray("i a\r b"));
}

TEST_F(KeyCommands, OnCommandRecognisedSeesAndMayChangeTheCommand) {
  memo.setText("ab\rcd");
  memo.setSelStart(4);
  std::vector<int> seen;
  QObject::connect(&memo, &TSyntaxMemo::OnCommandRecognised, [&](int& code) {
    seen.push_back(code);
    if (code == caDELETELINE) code = caDOCSTART;
  });
  QTest::keyClick(&memo, Qt::Key_Y, Ctrl);
  EXPECT_EQ(memo.text(), QByteArray("ab\rcd"));  // not deleted: the handler asked for another command
  EXPECT_EQ(memo.selection().caret, 0);
  Press({{Qt::Key_K, Ctrl}, {Qt::Key_1}, {Qt::Key_Right}, {Qt::Key_A}});
  EXPECT_EQ(seen, (std::vector<int>{caDELETELINE, caSETBOOKMARK0 + 1, caRIGHT}));  // typed keys are no commands
}

TEST_F(KeyCommands, ReadOnlyRefusesEditingCommandsButMovesAndCopies) {
  memo.setText("one two\rthree");
  memo.setSelection(0, 3);
  QTest::keyClick(&memo, Qt::Key_Delete);  // something to undo
  memo.setReadOnly(true);
  const QByteArray before = memo.text();
  QApplication::clipboard()->setText(QStringLiteral("pasted"));
  const std::vector<std::vector<Key>> editing = {
      {{Qt::Key_X, Ctrl}}, {{Qt::Key_V, Ctrl}}, {{Qt::Key_Delete}}, {{Qt::Key_Backspace}},
      {{Qt::Key_K, Ctrl}, {Qt::Key_I}}, {{Qt::Key_K, Ctrl}, {Qt::Key_U}}, {{Qt::Key_Y, Ctrl}},
      {{Qt::Key_Z, Ctrl}}, {{Qt::Key_Z, Ctrl | Shift}}, {{Qt::Key_Backspace, Ctrl}}};
  for (const auto& keys : editing) {
    memo.setSelection(1, 4);
    Press(keys);
    EXPECT_EQ(memo.text(), before) << int(keys.front().key);
  }
  for (int code : {caCUT, caPASTE, caDELETE, caBACKSPACE, caBLOCKIND, caBLOCKUND, caDELETELINE, caUNDO, caREDO,
                   caDELPREVWORD}) {
    memo.setSelection(1, 4);
    memo.executeCommand(code, false);
    EXPECT_EQ(memo.text(), before) << code;
  }
  memo.setSelection(0, 3);
  QTest::keyClick(&memo, Qt::Key_C, Ctrl);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral(" tw"));
  QTest::keyClick(&memo, Qt::Key_End, Ctrl);
  EXPECT_EQ(memo.selection().caret, memo.engine().length());
}

TEST_F(KeyCommands, DeletingKeysAreOneUndoStepEach) {
  struct Case {
    std::vector<Key> keys;
    Pos anchor, caret;
    int group;
    const char* after;
  };
  const Case cases[] = {
      {{{Qt::Key_Delete}}, 4, 4, kGroupDeleteChar, "one wo three"},
      {{{Qt::Key_Delete}}, 4, 7, kGroupDeleteChar, "one  three"},
      {{{Qt::Key_Backspace}}, 4, 4, kGroupDeleteChar, "onetwo three"},
      {{{Qt::Key_Backspace}}, 7, 4, kGroupDeleteChar, "one  three"},
      {{{Qt::Key_Backspace, Ctrl}}, 13, 13, kGroupDeletePrevWord, "one two "},
      {{{Qt::Key_Backspace, Ctrl}}, 4, 7, kGroupDeletePrevWord, "one  three"},
  };
  for (const Case& c : cases) {
    memo.setText("one two three");
    memo.setSelection(c.anchor, c.caret);
    Press(c.keys);
    EXPECT_EQ(memo.text().toStdString(), c.after);
    const auto& cells = UndoCells::Of(*memo.engine().undoStack());
    ASSERT_GE(cells.size(), 2u);
    EXPECT_EQ(cells.front().entry->type, UndoType::Boundary);
    EXPECT_EQ(cells.front().entry->v1, c.group);
    EXPECT_EQ(cells.back().entry->type, UndoType::Boundary);
    EXPECT_EQ(cells.back().entry->v1, c.group);
    QTest::keyClick(&memo, Qt::Key_Z, Ctrl);
    EXPECT_EQ(memo.text(), QByteArray("one two three")) << c.after;
    EXPECT_EQ(memo.selection(), (Selection{c.anchor, c.caret})) << c.after;
    EXPECT_FALSE(memo.canUndo()) << c.after;
  }
}

TEST_F(KeyCommands, PrintSelectionPrintsOnlyTheSelection) {
  QByteArray text;
  for (int i = 1; i <= 300; ++i) text += "printed line " + QByteArray::number(i) + "\r";
  memo.setText(text);
  const auto pdfSize = [&](Selection sel) {
    const QString pdf = QDir::current().filePath(QStringLiteral("memo_print_selection.pdf"));
    QFile::remove(pdf);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    memo.setPrinterSource([&printer] { return &printer; });
    memo.setSelection(sel.anchor, sel.caret);
    memo.executeCommand(caPRINTSEL, false);
    memo.setPrinterSource(nullptr);
    return QFileInfo(pdf).size();
  };
  const qint64 all = pdfSize({0, memo.engine().length()});
  const qint64 one = pdfSize({0, 20});
  EXPECT_GT(one, 0);
  EXPECT_GT(all, one * 2);  // many pages against one
}

}  // namespace
