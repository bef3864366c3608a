// The signals through which an owner window follows the mouse and the keys of
// the control, and may take over a key.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include "memo/widget/SyntaxMemo.h"

using namespace velora::memo;

namespace {
struct OwnerSignals : ::testing::Test {
  TSyntaxMemo memo;
  void SetUp() override {
    memo.resize(640, 360);
    memo.show();
    memo.setFocus();
    QApplication::processEvents();
  }
};
}  // namespace

TEST_F(OwnerSignals, KeyDownComesFirstAndMayTakeTheKey) {
  memo.setText("abc");
  QByteArray textSeen;
  bool take = false;
  QObject::connect(&memo, &TSyntaxMemo::OnKeyDown, [&](int key, Qt::KeyboardModifiers, bool& handled) {
    if (key == Qt::Key_X) textSeen = memo.text();  // before the control typed it
    handled = take;
  });
  QTest::keyClick(&memo, Qt::Key_X);
  EXPECT_EQ(textSeen, QByteArray("abc"));
  EXPECT_EQ(memo.text(), QByteArray("xabc"));
  take = true;
  QTest::keyClick(&memo, Qt::Key_Y);
  QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(memo.text(), QByteArray("xabc"));  // neither typed nor undone by the control
}

TEST_F(OwnerSignals, MouseMovesClicksAndDoubleClicks) {
  memo.setText("alpha beta");
  QSignalSpy moves(&memo, &TSyntaxMemo::OnMouseMove);
  QSignalSpy clicks(&memo, &TSyntaxMemo::OnClick);
  QSignalSpy doubles(&memo, &TSyntaxMemo::OnDblClick);
  const QPoint beta = memo.pointAt(7) + QPoint(1, memo.lineHeight() / 2);
  QTest::mouseMove(memo.viewport(), beta);
  ASSERT_GE(moves.count(), 1);
  EXPECT_EQ(moves.last().at(1).toPoint(), beta);
  QTest::mouseClick(memo.viewport(), Qt::LeftButton, Qt::NoModifier, beta);
  EXPECT_EQ(clicks.count(), 1);
  EXPECT_TRUE(memo.hotSpotText().contains("beta"));  // without a scheme the token is the line
  QTest::mouseClick(memo.viewport(), Qt::RightButton, Qt::NoModifier, beta);
  EXPECT_EQ(clicks.count(), 1);
  QTest::mouseDClick(memo.viewport(), Qt::LeftButton, Qt::NoModifier, beta);
  EXPECT_EQ(doubles.count(), 1);
}
