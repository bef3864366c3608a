// Qt key events as the control's 16-bit key codes.
#include <gtest/gtest.h>

#include <QKeyEvent>

#include "memo/widget/KeyEvents.h"

using velora::memo::KeyCodeOf;

namespace {

constexpr std::uint16_t S = 0x2000, C = 0x4000, A = 0x8000;

TEST(KeyEvents, EveryBindableKeyHasItsCode) {
  struct Case {
    int key;
    Qt::KeyboardModifiers mods;
    const char* text;
    std::uint16_t code;
  };
  const auto N = Qt::NoModifier, Sh = Qt::ShiftModifier, Ct = Qt::ControlModifier, Al = Qt::AltModifier;
  const Case cases[] = {
      {Qt::Key_A, N, "a", 'A'},
      {Qt::Key_A, Sh, "A", S | 'A'},
      {Qt::Key_Z, Ct, "\x1a", C | 'Z'},
      {Qt::Key_K, Ct | Sh, "", C | S | 'K'},
      {Qt::Key_Q, Al, "q", A | 'Q'},
      {Qt::Key_0, N, "0", '0'},
      {Qt::Key_9, Ct, "", C | '9'},
      {Qt::Key_5, Qt::KeypadModifier, "5", '5'},
      {Qt::Key_Exclam, Sh, "!", S | '1'},
      {Qt::Key_F1, N, "", 112},
      {Qt::Key_F12, N, "", 123},
      {Qt::Key_F3, Ct | Sh, "", C | S | 114},
      {Qt::Key_F24, N, "", 135},
      {Qt::Key_Left, N, "", 37},
      {Qt::Key_Up, Sh, "", S | 38},
      {Qt::Key_Right, Ct | Sh, "", C | S | 39},
      {Qt::Key_Down, Al, "", A | 40},
      {Qt::Key_Home, N, "", 36},
      {Qt::Key_End, Ct, "", C | 35},
      {Qt::Key_PageUp, N, "", 33},
      {Qt::Key_PageDown, N, "", 34},
      {Qt::Key_Insert, N, "", 45},
      {Qt::Key_Delete, N, "", 46},
      {Qt::Key_Backspace, N, "\b", 8},
      {Qt::Key_Backspace, Ct, "", C | 8},
      {Qt::Key_Return, N, "\r", 13},
      {Qt::Key_Enter, Qt::KeypadModifier, "\r", 13},
      {Qt::Key_Tab, N, "\t", 9},
      {Qt::Key_Backtab, Sh, "", S | 9},
      {Qt::Key_Space, N, " ", 32},
      {Qt::Key_Space, Ct, "", C | 32},
      {Qt::Key_Escape, N, "\x1b", 27},
      {Qt::Key_Pause, N, "", 19},
      {Qt::Key_Semicolon, N, ";", 0xBA},
      {Qt::Key_Colon, Sh, ":", S | 0xBA},
      {Qt::Key_Equal, N, "=", 0xBB},
      {Qt::Key_Comma, N, ",", 0xBC},
      {Qt::Key_Minus, N, "-", 0xBD},
      {Qt::Key_Period, N, ".", 0xBE},
      {Qt::Key_Period, Ct, "", C | 0xBE},
      {Qt::Key_Greater, Ct | Sh, "", C | S | 0xBE},
      {Qt::Key_Slash, N, "/", 0xBF},
      {Qt::Key_QuoteLeft, N, "`", 0xC0},
      {Qt::Key_BracketLeft, N, "[", 0xDB},
      {Qt::Key_Backslash, N, "\\", 0xDC},
      {Qt::Key_BracketRight, Ct, "", C | 0xDD},
      {Qt::Key_Apostrophe, N, "'", 0xDE},
      // A character of another layout has no virtual key: only the modifiers are left.
      {Qt::Key_Odiaeresis, N, "\xc3\xb6", 0},
      {Qt::Key_Odiaeresis, Ct, "", C},
  };
  for (const Case& c : cases) {
    const QKeyEvent ev(QEvent::KeyPress, c.key, c.mods, QString::fromUtf8(c.text));
    EXPECT_EQ(KeyCodeOf(ev), c.code) << "key 0x" << std::hex << c.key << " modifiers 0x" << int(c.mods);
  }
}

}  // namespace
