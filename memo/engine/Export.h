// Exports of a range of the store: plain text (CR LF or stored CR), Unix text, RTF and HTML page.
#pragma once

#include <functional>
#include <string>

#include "memo/engine/TextStore.h"
#include "memo/engine/TokenScanner.h"

namespace velora::memo {

// Form bits of messages 0x0C07 and 0x0C0D.
enum ExportForm : unsigned {
  kExportStoredCR = 0,
  kExportCRLF = 1,
  kExportRTF = 2,
  kExportHTML = 4,
  kExportLF = 8,
  // The form of the control's SaveFormat (MemoEngine resolves it before exporting).
  kExportSaveFormat = 16,
};

struct ExportContext {
  std::string fontName = "Courier New";
  int fontSize = 10;
  std::string title;
  std::string date;  // today's date as text (HTML form)
  // Style of a token value; without a highlighter every character has style 0 (defaults).
  std::function<StyleEffect(std::uint8_t)> styleOf;
  int styleCount = 1;
  Color defaultForeground = rgb(0, 0, 0);
  Color defaultBackground = rgb(255, 255, 255);
};

[[nodiscard]] std::string exportPlain(const TextStore& s, Pos a, Pos b, bool crlf);
[[nodiscard]] std::string exportUnix(const TextStore& s, Pos a, Pos b);
[[nodiscard]] std::string exportHTML(const TextStore& s, Pos a, Pos b, const ExportContext& c);
[[nodiscard]] std::string exportRTF(const TextStore& s, Pos a, Pos b, const ExportContext& c);
// Dispatch on the form bits (RTF before HTML before LF before plain).
[[nodiscard]] std::string exportRange(const TextStore& s, Pos a, Pos b, unsigned form, const ExportContext& c);
// The colour written as red, green, blue (red and blue bytes exchanged).
[[nodiscard]] inline unsigned htmlColor(Color c) noexcept {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

}  // namespace velora::memo
