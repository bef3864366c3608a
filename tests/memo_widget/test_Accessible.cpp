// The control as assistive tools see it: its text by character offsets, the caret, selections,
// boundaries, styles, and the events typing raises.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <vector>

#include "memo/widget/MemoAccessible.h"
#include "memo/widget/SyntaxMemo.h"

using namespace velora::memo;

namespace {

struct Seen {
  QAccessible::Event type;
  int position;
  QString text;
};
std::vector<Seen> gSeen;

void Record(QAccessibleEvent* e) {
  switch (e->type()) {
    case QAccessible::TextInserted: {
      auto* t = static_cast<QAccessibleTextInsertEvent*>(e);
      gSeen.push_back({e->type(), t->changePosition(), t->textInserted()});
      break;
    }
    case QAccessible::TextRemoved: {
      auto* t = static_cast<QAccessibleTextRemoveEvent*>(e);
      gSeen.push_back({e->type(), t->changePosition(), t->textRemoved()});
      break;
    }
    case QAccessible::TextUpdated: {
      auto* t = static_cast<QAccessibleTextUpdateEvent*>(e);
      gSeen.push_back({e->type(), t->changePosition(), t->textInserted()});
      break;
    }
    case QAccessible::TextCaretMoved:
      gSeen.push_back({e->type(), static_cast<QAccessibleTextCursorEvent*>(e)->cursorPosition(), {}});
      break;
    case QAccessible::TextSelectionChanged: {
      auto* t = static_cast<QAccessibleTextSelectionEvent*>(e);
      gSeen.push_back({e->type(), t->selectionStart(), QString::number(t->selectionEnd())});
      break;
    }
    default:
      break;
  }
}

struct AccessibleMemo : ::testing::Test {
  TSyntaxMemo memo;
  QAccessibleInterface* iface = nullptr;
  QAccessibleTextInterface* text = nullptr;
  void SetUp() override {
    memo.resize(640, 360);
    memo.show();
    memo.setFocus();
    QApplication::processEvents();
    iface = QAccessible::queryAccessibleInterface(&memo);
    ASSERT_NE(iface, nullptr);
    text = iface->textInterface();
    ASSERT_NE(text, nullptr);
    TMemoAccessEvents::setEventSink(Record);
    gSeen.clear();
  }
  void TearDown() override {
    TMemoAccessEvents::setEventSink(nullptr);
  }
};

TEST_F(AccessibleMemo, OffsetsAreCharactersOfEveryScript) {
  // "é", "ж", "漢" are several bytes each; the emoji is beyond U+FFFF.
  memo.setText(QByteArray("été\rжук 漢字\r🙂 ok"));
  EXPECT_EQ(iface->role(), QAccessible::EditableText);
  EXPECT_TRUE(iface->state().multiLine);
  EXPECT_TRUE(iface->state().editable);
  EXPECT_EQ(text->characterCount(), 15);
  EXPECT_EQ(text->text(0, 3), QStringLiteral("été"));
  EXPECT_EQ(text->text(3, 8), QStringLiteral("\nжук "));
  EXPECT_EQ(text->text(11, 15), QStringLiteral("🙂 ok"));
  EXPECT_EQ(text->text(11, 12), QStringLiteral("🙂"));

  int s = 0, e = 0;
  EXPECT_EQ(text->textAtOffset(5, QAccessible::LineBoundary, &s, &e), QStringLiteral("жук 漢字\n"));
  EXPECT_EQ(s, 4);
  EXPECT_EQ(e, 11);
  EXPECT_EQ(text->textAtOffset(5, QAccessible::WordBoundary, &s, &e), QStringLiteral("жук"));
  EXPECT_EQ(s, 4);
  EXPECT_EQ(text->textBeforeOffset(5, QAccessible::LineBoundary, &s, &e), QStringLiteral("été\n"));
  EXPECT_EQ(text->textAfterOffset(5, QAccessible::LineBoundary, &s, &e), QStringLiteral("🙂 ok"));
  EXPECT_EQ(text->textAfterOffset(12, QAccessible::LineBoundary, &s, &e), QString());
  EXPECT_EQ(text->textAtOffset(11, QAccessible::CharBoundary, &s, &e), QStringLiteral("🙂"));

  // The caret and selections go both ways.
  text->setCursorPosition(6);
  EXPECT_EQ(memo.selStart(), Pos(QByteArray("été\rжу").size()));
  EXPECT_EQ(text->cursorPosition(), 6);
  text->setSelection(0, 1, 3);
  EXPECT_EQ(memo.selText(), QByteArray("té"));
  int a = 0, b = 0;
  text->selection(0, &a, &b);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 3);
  EXPECT_EQ(text->selectionCount(), 1);
  text->removeSelection(0);
  EXPECT_EQ(text->selectionCount(), 0);

  // Geometry: the rectangle of a character leads back to it.
  const QRect r = text->characterRect(5);
  EXPECT_GT(r.width(), 0);
  EXPECT_EQ(text->offsetAtPoint(r.center()), 5);
}

TEST_F(AccessibleMemo, TypingAndMovingRaiseEventsWithTheChangedTextOnly) {
  memo.setText(QByteArray("Grüße\rzwei"));
  gSeen.clear();
  text->setCursorPosition(5);
  QTest::sendKeyEvent(QTest::Click, &memo, Qt::Key_Odiaeresis, QStringLiteral("ö"), Qt::NoModifier);
  QTest::keyClick(&memo, Qt::Key_Backspace);
  QTest::keyClick(&memo, Qt::Key_Right, Qt::ShiftModifier);

  std::vector<Seen> edits;
  for (const Seen& s : gSeen)
    if (s.type == QAccessible::TextInserted || s.type == QAccessible::TextRemoved) edits.push_back(s);
  ASSERT_EQ(edits.size(), 2u) ;
  EXPECT_EQ(edits[0].type, QAccessible::TextInserted);
  EXPECT_EQ(edits[0].position, 5);
  EXPECT_EQ(edits[0].text, QStringLiteral("ö"));
  EXPECT_EQ(edits[1].type, QAccessible::TextRemoved);
  EXPECT_EQ(edits[1].position, 5);
  EXPECT_EQ(edits[1].text, QStringLiteral("ö"));
  bool caretAt6 = false, selected = false;
  for (const Seen& s : gSeen) {
    caretAt6 = caretAt6 || (s.type == QAccessible::TextCaretMoved && s.position == 6);
    selected = selected || (s.type == QAccessible::TextSelectionChanged && s.position == 5 && s.text == "6");
  }
  EXPECT_TRUE(caretAt6);
  EXPECT_TRUE(selected);

  // Editing through the interface is an ordinary, undoable edit.
  auto* editable = static_cast<QAccessibleEditableTextInterface*>(iface->interface_cast(QAccessible::EditableTextInterface));
  ASSERT_NE(editable, nullptr);
  editable->replaceText(0, 5, QStringLiteral("Hallo"));
  EXPECT_EQ(memo.text(), QByteArray("Hallo\rzwei"));
  memo.undo();
  EXPECT_EQ(memo.text(), QByteArray("Grüße\rzwei"));
  memo.setReadOnly(true);
  EXPECT_EQ(iface->interface_cast(QAccessible::EditableTextInterface), nullptr);
  EXPECT_FALSE(iface->state().editable);
}

TEST_F(AccessibleMemo, MarksAtTheCaretAreItsDescription) {
  memo.setText(QByteArray("a teh b"));
  QObject owner;
  memo.addMarkDescriber(&owner, [](Pos p) { return p >= 2 && p < 5 ? QStringLiteral("Misspelt word") : QString(); });
  text->setCursorPosition(3);
  EXPECT_EQ(iface->text(QAccessible::Description), QStringLiteral("Misspelt word"));
  text->setCursorPosition(6);
  EXPECT_EQ(iface->text(QAccessible::Description), QString());
  int s = 0, e = 0;
  EXPECT_TRUE(text->attributes(3, &s, &e).contains(QStringLiteral("font-weight:normal")));
  EXPECT_LE(s, 3);
  EXPECT_GT(e, 3);
}

}  // namespace
