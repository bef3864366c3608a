// Qt key events to the control's key codes.
#include "memo/widget/KeyEvents.h"

#include <QKeyEvent>

#include "memo/engine/KeyCodes.h"

namespace velora::memo {

std::uint16_t KeyCodeOf(const QKeyEvent& ev) {
  const Qt::KeyboardModifiers m = ev.modifiers();
  const bool ctrl = m & Qt::ControlModifier, alt = m & Qt::AltModifier, shift = m & Qt::ShiftModifier;
  const std::uint16_t mods =
      std::uint16_t((shift ? kShiftKey : 0) | (ctrl ? kCtrlKey : 0) | (alt ? kAltKey : 0));
  const int key = ev.key();
  if (!ctrl && !alt && key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Tab) {
    const QString t = ev.text();
    if (t.size() == 1 && t.at(0).unicode() >= 32 && t.at(0).unicode() < 127)
      if (auto k = KeyForChar((unsigned char)t.at(0).unicode())) return *k;
  }
  std::uint16_t vk = 0;
  if (key >= Qt::Key_A && key <= Qt::Key_Z) vk = std::uint16_t('A' + (key - Qt::Key_A));
  else if (key >= Qt::Key_0 && key <= Qt::Key_9) vk = std::uint16_t('0' + (key - Qt::Key_0));
  else if (key >= Qt::Key_F1 && key <= Qt::Key_F24) vk = std::uint16_t(kVkF1 + (key - Qt::Key_F1));
  else {
    switch (key) {
      case Qt::Key_Return: case Qt::Key_Enter: vk = kVkReturn; break;
      case Qt::Key_Tab: case Qt::Key_Backtab: vk = kVkTab; break;
      case Qt::Key_Space: vk = kVkSpace; break;
      case Qt::Key_Backspace: vk = kVkBack; break;
      case Qt::Key_Delete: vk = kVkDelete; break;
      case Qt::Key_Insert: vk = kVkInsert; break;
      case Qt::Key_Home: vk = kVkHome; break;
      case Qt::Key_End: vk = kVkEnd; break;
      case Qt::Key_PageUp: vk = kVkPageUp; break;
      case Qt::Key_PageDown: vk = kVkPageDown; break;
      case Qt::Key_Left: vk = kVkLeft; break;
      case Qt::Key_Up: vk = kVkUp; break;
      case Qt::Key_Right: vk = kVkRight; break;
      case Qt::Key_Down: vk = kVkDown; break;
      case Qt::Key_Escape: vk = 27; break;
      case Qt::Key_Clear: vk = 12; break;
      case Qt::Key_Pause: vk = 19; break;
      case Qt::Key_CapsLock: vk = 20; break;
      case Qt::Key_Print: vk = 44; break;
      case Qt::Key_Menu: vk = 93; break;
      case Qt::Key_NumLock: vk = 144; break;
      case Qt::Key_ScrollLock: vk = 145; break;
      default:
        if (key > 32 && key < 127)
          if (auto k = KeyForChar((unsigned char)key)) vk = std::uint16_t(*k & 0xFF);
        break;
    }
  }
  return std::uint16_t(vk | mods);
}

}  // namespace velora::memo
