// The Desktop key scheme and typing runs through real key events on the control (offscreen),
// and the undo history kept or emptied by saving.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <cctype>

#include "memo/engine/keys/KeyScheme.h"
#include "memo/engine/keys/KeyTable.h"
#include "memo/engine/keys/KeyboardActionController.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/widget/SyntaxMemo.h"

using namespace velora::memo;

namespace {

// Plain text with the key table of a scheme.
struct SchemeLanguage : TokenScanner {
  explicit SchemeLanguage(vlr::TKeyScheme scheme) {
    vlr::TKeyTable t = vlr::DefaultKeyTable();
    vlr::ApplyKeyScheme(t, scheme);
    keys.SetTable(t);
  }
  std::uint8_t scanToken(MemoEngine&, EdStream& s, int& length) override {
    do {
      s.advance();
      ++length;
    } while (!s.atEnd());
    return 0;
  }
  void resetContext(std::uint8_t) override {}
  vlr::TKeyboardActionContoller* keyController() override { return &keys; }
  vlr::TKeyboardActionContoller keys;
};

// A clock the test moves on by hand.
std::chrono::steady_clock::time_point gNow{};
std::chrono::steady_clock::time_point TestClock() { return gNow; }

struct KeySchemes : ::testing::Test {
  SchemeLanguage desktop{vlr::TKeyScheme::Desktop};
  SchemeLanguage classic{vlr::TKeyScheme::Classic};
  TSyntaxMemo memo;
  void SetUp() override {
    memo.resize(640, 360);
    memo.show();
    memo.activateWindow();
    memo.setFocus();
    QApplication::processEvents();
    memo.engine().typingClock = &TestClock;
  }
  void TearDown() override { vlr::DetachHighlighter(memo.engine()); }
  void use(SchemeLanguage& language) { vlr::AttachHighlighter(memo.engine(), language); }
  void setAid(SyntaxMemoEditingAid aid, bool on) {
    auto& a = memo.engine().editingAids;
    a = on ? (a | aid) : (a & ~SyntaxMemoEditingAids(aid));
  }
  void type(const char* text) { QTest::keyClicks(&memo, QString::fromLatin1(text)); }
  void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(&memo, k, m); }
  std::string text() { return memo.text().toStdString(); }
  // Undoes step by step; the text after each step.
  std::vector<std::string> undoAll() {
    std::vector<std::string> out;
    while (memo.canUndo()) {
      key(Qt::Key_Z, Qt::ControlModifier);
      out.push_back(text());
    }
    return out;
  }
};

constexpr auto Ctrl = Qt::ControlModifier;
constexpr auto Shift = Qt::ShiftModifier;

TEST_F(KeySchemes, DesktopKeysRedoSelectAllAndDeleteWords) {
  use(desktop);
  memo.setText("alpha beta gamma");
  memo.setSelection(16, 16);
  key(Qt::Key_Backspace, Ctrl);
  EXPECT_EQ(text(), "alpha beta ");
  key(Qt::Key_Z, Ctrl);
  EXPECT_EQ(text(), "alpha beta gamma");
  key(Qt::Key_Y, Ctrl);  // redo, not delete line
  EXPECT_EQ(text(), "alpha beta ");
  key(Qt::Key_Z, Ctrl);
  key(Qt::Key_Z, Ctrl | Shift);
  EXPECT_EQ(text(), "alpha beta ");
  key(Qt::Key_Z, Ctrl);
  memo.setSelection(0, 0);
  key(Qt::Key_Delete, Ctrl);
  EXPECT_EQ(text(), "beta gamma");
  key(Qt::Key_Z, Ctrl);  // one step
  EXPECT_EQ(text(), "alpha beta gamma");
  key(Qt::Key_A, Ctrl);
  EXPECT_EQ(memo.selection().start(), 0);
  EXPECT_EQ(memo.selection().end(), 16);
  // Delete line moved to Ctrl+Shift+K; bookmarks are reached with Ctrl and a digit.
  memo.setText("one\rtwo");
  memo.setSelection(5, 5);
  key(Qt::Key_K, Ctrl);
  key(Qt::Key_3);  // Ctrl+K, 3 sets bookmark 3
  memo.setSelection(0, 0);
  key(Qt::Key_3, Ctrl);
  EXPECT_EQ(memo.selection().caret, 5);
  key(Qt::Key_K, Ctrl | Shift);
  EXPECT_EQ(text(), "one\r");
}

TEST_F(KeySchemes, ClassicKeysStayAsTheyWere) {
  use(classic);
  memo.setText("one\rtwo");
  memo.setSelection(5, 5);
  key(Qt::Key_Y, Ctrl);  // delete line
  EXPECT_EQ(text(), "one\r");
  key(Qt::Key_Z, Ctrl);
  EXPECT_EQ(text(), "one\rtwo");
  memo.setSelection(1, 1);
  key(Qt::Key_A, Ctrl);  // no command: the selection stays
  EXPECT_TRUE(memo.selection().empty());
  key(Qt::Key_Z, Ctrl | Shift);  // redo
  EXPECT_EQ(text(), "one\r");
}

TEST_F(KeySchemes, TypingRunsAreOneUndoStepEach) {
  setAid(smaTypingRuns, true);
  memo.setText("");
  // A word boundary after a blank starts a run: "hello " and "world".
  type("hello world");
  EXPECT_EQ(undoAll(), (std::vector<std::string>{"hello ", ""}));

  // A caret move ends a run, even one that comes back to where typing stopped.
  memo.setText("");
  type("abc");
  key(Qt::Key_Left);
  key(Qt::Key_Right);
  type("def");
  EXPECT_EQ(undoAll(), (std::vector<std::string>{"abc", ""}));

  // A pause of a second ends a run.
  memo.setText("");
  type("ab");
  gNow += std::chrono::milliseconds(999);
  type("c");
  gNow += std::chrono::seconds(1);
  type("d");
  EXPECT_EQ(undoAll(), (std::vector<std::string>{"abc", ""}));

  // Another edit between ends a run; redo gives the whole run back.
  memo.setText("");
  type("ab");
  key(Qt::Key_Backspace);
  type("cd");
  EXPECT_EQ(text(), "acd");
  key(Qt::Key_Z, Ctrl);
  EXPECT_EQ(text(), "a");
  key(Qt::Key_Z, Ctrl | Shift);
  EXPECT_EQ(text(), "acd");

  // Typing over a selection is a step of its own.
  memo.setText("xyz");
  memo.setSelection(0, 3);
  type("pq");
  EXPECT_EQ(text(), "pq");
  EXPECT_EQ(undoAll(), (std::vector<std::string>{"p", "xyz"}));
}

TEST_F(KeySchemes, WithoutTypingRunsEveryKeyIsAStep) {
  setAid(smaTypingRuns, false);
  memo.setText("");
  type("abc");
  EXPECT_EQ(undoAll(), (std::vector<std::string>{"ab", "a", ""}));
}

TEST_F(KeySchemes, SavingEmptiesOrKeepsTheUndoHistory) {
  setAid(smaTypingRuns, false);
  for (const bool keep : {false, true}) {
    SCOPED_TRACE(keep ? "kept" : "emptied");
    setAid(smaKeepUndoAfterSave, keep);
    memo.setText("");
    type("ab");
    memo.setModified(false);  // what saving does
    EXPECT_FALSE(memo.engine().modified());
    EXPECT_EQ(memo.canUndo(), keep);
    if (!keep) continue;
    key(Qt::Key_Z, Ctrl);
    EXPECT_EQ(text(), "a");
    EXPECT_TRUE(memo.engine().modified());  // away from the saved text
    key(Qt::Key_Z, Ctrl | Shift);
    EXPECT_FALSE(memo.engine().modified());  // back to it
    type("c");
    EXPECT_TRUE(memo.engine().modified());
    key(Qt::Key_Z, Ctrl);
    EXPECT_FALSE(memo.engine().modified());
  }
}

TEST_F(KeySchemes, ATypingRunAfterSavingIsAChange) {
  setAid(smaTypingRuns, true);
  setAid(smaKeepUndoAfterSave, true);
  memo.setText("");
  type("ab");
  memo.setModified(false);
  type("c");  // joined to "ab" it would take the saved text's step with it
  EXPECT_TRUE(memo.engine().modified());
  key(Qt::Key_Z, Ctrl);
  EXPECT_EQ(text(), "ab");
  EXPECT_FALSE(memo.engine().modified());
}

}  // namespace
