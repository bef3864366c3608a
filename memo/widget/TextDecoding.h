// Display form of a line's bytes: UTF-8, an invalid byte as its Windows-1252 character,
// tabs expanded to tab stops, with a map from byte offsets to display columns.
#pragma once

#include <QString>
#include <string_view>
#include <vector>

namespace velora::memo {

struct DisplayLine {
  QString text;
  std::vector<int> column;  // column[b] = index in text of byte offset b (size = bytes + 1)
};

// tabStop(col) gives the column of the next tab stop after col.
template <class TabStop>
DisplayLine decodeLine(std::string_view bytes, TabStop tabStop);

// The clipboard and drag format that carries the exact bytes of text inside the program.
inline constexpr const char* kTextBytesMime = "application/x-velora-text-bytes";
// Decodes bytes without tab expansion (clipboard, drag and drop, printing titles).
QString decodeBytes(std::string_view bytes);
// Text handed to the store: UTF-8 bytes of the string.
std::string encodeText(const QString& s);
// Length in bytes of the character starting with lead byte c followed by the bytes after it (1 when invalid).
int utf8Length(std::string_view bytes, std::size_t i) noexcept;
char16_t cp1252(unsigned char c) noexcept;

template <class TabStop>
DisplayLine decodeLine(std::string_view bytes, TabStop tabStop) {
  DisplayLine d;
  d.column.resize(bytes.size() + 1);
  d.text.reserve(int(bytes.size()));
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    const int at = int(d.text.size());
    if (c == '\t') {
      d.column[i] = at;
      const int to = tabStop(at);
      d.text.append(QString(to - at, QLatin1Char(' ')));
      ++i;
      continue;
    }
    const int n = utf8Length(bytes, i);
    for (int k = 0; k < n; ++k) d.column[i + std::size_t(k)] = at;
    if (n > 1) {
      char32_t cp = c & (n == 2 ? 0x1F : n == 3 ? 0x0F : 0x07);
      for (int k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(bytes[i + std::size_t(k)]) & 0x3F);
      d.text.append(QString::fromUcs4(&cp, 1));
    } else if (c < 0x20 || c == 0x7F) {
      d.text.append(QChar(char16_t(0x2400 + (c == 0x7F ? 0x21 : c))));  // control pictures
    } else if (c >= 0x80) {
      d.text.append(QChar(cp1252(c)));
    } else {
      d.text.append(QLatin1Char(char(c)));
    }
    i += std::size_t(n);
  }
  d.column[bytes.size()] = int(d.text.size());
  return d;
}

}  // namespace velora::memo
