// Shortcut texts of key codes.
#include "memo/widget/options/ShortcutText.h"

#include "memo/engine/KeyCodes.h"

namespace velora::memo {

namespace {

std::string KeyName(std::uint8_t vk) {
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::string(1, char(vk));
  if (vk >= kVkF1 && vk < kVkF1 + 24) return "F" + std::to_string(vk - kVkF1 + 1);
  if (vk >= 0x60 && vk <= 0x69) return "Num " + std::to_string(vk - 0x60);
  switch (vk) {
    case kVkBack: return "Backspace";
    case kVkTab: return "Tab";
    case 12: return "Clear";
    case kVkReturn: return "Enter";
    case 19: return "Pause";
    case 27: return "Esc";
    case kVkSpace: return "Space";
    case kVkPageUp: return "PgUp";
    case kVkPageDown: return "PgDn";
    case kVkEnd: return "End";
    case kVkHome: return "Home";
    case kVkLeft: return "Left";
    case kVkUp: return "Up";
    case kVkRight: return "Right";
    case kVkDown: return "Down";
    case kVkInsert: return "Ins";
    case kVkDelete: return "Del";
    case 0x6A: return "Num *";
    case 0x6B: return "Num +";
    case 0x6D: return "Num -";
    case 0x6E: return "Num .";
    case 0x6F: return "Num /";
    case 0xBA: return ";";
    case 0xBB: return "=";
    case 0xBC: return ",";
    case 0xBD: return "-";
    case 0xBE: return ".";
    case 0xBF: return "/";
    case 0xC0: return "`";
    case 0xDB: return "[";
    case 0xDC: return "\\";
    case 0xDD: return "]";
    case 0xDE: return "'";
    default: return "Key " + std::to_string(vk);
  }
}

}  // namespace

std::string ShortcutText(std::uint16_t key) {
  if (key == 0) return {};
  std::string text;
  if (key & kCtrlKey) text += "Ctrl+";
  if (key & kAltKey) text += "Alt+";
  if (key & kShiftKey) text += "Shift+";
  const auto vk = std::uint8_t(key & 0xFF);
  if (vk != 0) text += KeyName(vk);
  return text;
}

}  // namespace velora::memo
