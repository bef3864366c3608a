// Decoding of the store's bytes for display: UTF-8 with Windows-1252 for invalid bytes.
#include "memo/widget/TextDecoding.h"

namespace velora::memo {

char16_t cp1252(unsigned char c) noexcept {
  static const char16_t high[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                    0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
  if (c >= 0x80 && c < 0xA0) return high[c - 0x80];
  return char16_t(c);
}

int utf8Length(std::string_view b, std::size_t i) noexcept {
  const auto c = static_cast<unsigned char>(b[i]);
  int n = 1;
  if (c >= 0xC2 && c <= 0xDF) n = 2;
  else if (c >= 0xE0 && c <= 0xEF) n = 3;
  else if (c >= 0xF0 && c <= 0xF4) n = 4;
  if (n == 1 || i + std::size_t(n) > b.size()) return 1;
  for (int k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(b[i + std::size_t(k)]) & 0xC0) != 0x80) return 1;
  // Overlong and surrogate forms are invalid.
  const auto c1 = static_cast<unsigned char>(b[i + 1]);
  if (c == 0xE0 && c1 < 0xA0) return 1;
  if (c == 0xED && c1 >= 0xA0) return 1;
  if (c == 0xF0 && c1 < 0x90) return 1;
  if (c == 0xF4 && c1 >= 0x90) return 1;
  return n;
}

QString decodeBytes(std::string_view bytes) {
  QString out;
  out.reserve(int(bytes.size()));
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    const int n = utf8Length(bytes, i);
    if (n > 1) {
      char32_t cp = c & (n == 2 ? 0x1F : n == 3 ? 0x0F : 0x07);
      for (int k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(bytes[i + std::size_t(k)]) & 0x3F);
      out.append(QString::fromUcs4(&cp, 1));
    } else {
      out.append(QChar(c >= 0x80 ? cp1252(c) : char16_t(c)));
    }
    i += std::size_t(n);
  }
  return out;
}

std::string encodeText(const QString& s) {
  const QByteArray b = s.toUtf8();
  return std::string(b.constData(), std::size_t(b.size()));
}

}  // namespace velora::memo
