#include "plugins/PlugInText.h"

namespace vlr {
namespace {

// Length of the valid UTF-8 sequence at `i`, or 0 when the byte there does not
// start one (overlong forms, surrogates and values past U+10FFFF included).
std::size_t Utf8SequenceAt(std::string_view s, std::size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    char32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        cp = lead & 0x07;
    } else {
        return 0;
    }
    if (i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    const bool overlong = (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000);
    if (overlong || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
        return 0;
    return n;
}

}  // namespace

QString PlugInString(std::string_view bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            out.append(QLatin1Char(static_cast<char>(c)));
            ++i;
        } else if (const std::size_t n = Utf8SequenceAt(bytes, i)) {
            out.append(QString::fromUtf8(bytes.data() + i, static_cast<qsizetype>(n)));
            i += n;
        } else {
            out.append(QChar(static_cast<char16_t>(c)));
            ++i;
        }
    }
    return out;
}

QString PlugInCaption(std::string_view bytes) {
    QString caption = PlugInString(bytes);
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return caption;
}

}  // namespace vlr
