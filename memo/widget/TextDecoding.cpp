// Decoding of the store's bytes for display: UTF-8 with Windows-1252 for invalid bytes.
#include "memo/widget/TextDecoding.h"

#include "memo/engine/Utf8.h"

namespace velora::memo {

char16_t cp1252(unsigned char c) noexcept { return char16_t(cp1252Char(c)); }

int utf8Length(std::string_view b, std::size_t i) noexcept { return utf8CharLength(b, i); }

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
