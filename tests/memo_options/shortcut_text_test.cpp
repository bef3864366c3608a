// Key codes as shortcut texts, and the key-capture field that enters them.
#include "memo/widget/options/KeyCapture.h"
#include "memo/widget/options/ShortcutText.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace velora::memo {
namespace {

TEST(ShortcutText, NamesKeysAndModifiers) {
  const struct {
    std::uint16_t key;
    const char* text;
  } kCases[] = {
      {0, ""},
      {'A', "A"},
      {'7', "7"},
      {0x4000 | 'K', "Ctrl+K"},
      {0x6000 | 'Z', "Ctrl+Shift+Z"},
      {0xE000 | 'Q', "Ctrl+Alt+Shift+Q"},
      {0x8000 | 112, "Alt+F1"},
      {123, "F12"},
      {33, "PgUp"},
      {34, "PgDn"},
      {45, "Ins"},
      {46, "Del"},
      {8, "Backspace"},
      {0x4000 | 8, "Ctrl+Backspace"},
      {13, "Enter"},
      {9, "Tab"},
      {32, "Space"},
      {27, "Esc"},
      {37, "Left"},
      {38, "Up"},
      {39, "Right"},
      {40, "Down"},
      {36, "Home"},
      {35, "End"},
      {0xBA, ";"},
      {0x2000 | 0xBE, "Shift+."},
      {0xDC, "\\"},
      {0x60, "Num 0"},
      {0x6B, "Num +"},
      {0xFF, "Key 255"},
      {0x4000, "Ctrl+"},
      // Bits between the key and the modifiers are not part of the text.
      {0x0100 | 'B', "B"},
  };
  for (const auto& c : kCases) EXPECT_EQ(ShortcutText(c.key), c.text) << "key 0x" << std::hex << c.key;
}

TEST(KeyCapture, TakesTheNextKeyWithItsModifiersAndClears) {
  TKeyCapture field;
  field.show();
  QSignalSpy changed(&field, &TKeyCapture::keyChanged);
  QTest::keyClick(&field, Qt::Key_K, Qt::ControlModifier);
  EXPECT_EQ(field.key(), 0x4000 | 'K');
  EXPECT_EQ(field.text(), QStringLiteral("Ctrl+K"));
  // A modifier alone waits for its key; Tab is captured rather than moving the focus.
  QTest::keyClick(&field, Qt::Key_Control, Qt::ControlModifier);
  EXPECT_EQ(field.key(), 0x4000 | 'K');
  QTest::keyClick(&field, Qt::Key_Tab);
  EXPECT_EQ(field.key(), 9);
  EXPECT_EQ(field.text(), QStringLiteral("Tab"));
  QTest::keyClick(&field, Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(field.key(), 0x2000 | 37);
  EXPECT_EQ(changed.count(), 3);
  field.clear();
  EXPECT_EQ(field.key(), 0);
  EXPECT_EQ(changed.count(), 4);

  // The second key of a sequence keeps no modifiers.
  TKeyCapture second;
  second.setModifiersAllowed(false);
  second.show();
  QTest::keyClick(&second, Qt::Key_I, Qt::ControlModifier);
  EXPECT_EQ(second.key(), 'I');
  EXPECT_EQ(second.text(), QStringLiteral("I"));
}

}  // namespace
}  // namespace velora::memo
