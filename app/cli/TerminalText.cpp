#include "app/cli/TerminalText.h"

#include <cstdint>

namespace vlr::cli {
namespace {

void appendEscape(std::string& out, unsigned char byte) {
    switch (byte) {
    case '\t': out += "\\t"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    default: break;
    }
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0xf];
}

// Length of the valid UTF-8 sequence starting at text[i] and its code point;
// 0 when the bytes there are not valid UTF-8 (overlong forms and surrogates
// included).
std::size_t utf8Sequence(std::string_view text, std::size_t i, std::uint32_t& cp) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = b(0);
    std::size_t len = 0;
    std::uint32_t min = 0;
    if (lead >= 0xc2 && lead <= 0xdf) {
        len = 2, cp = lead & 0x1fu, min = 0x80;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        len = 3, cp = lead & 0x0fu, min = 0x800;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        len = 4, cp = lead & 0x07u, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > text.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((b(k) & 0xc0) != 0x80)
            return 0;
        cp = (cp << 6) | (b(k) & 0x3fu);
    }
    if (cp < min || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff))
        return 0;
    return len;
}

}  // namespace

std::string TerminalText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7f) {
            appendEscape(out, byte);
            ++i;
            continue;
        }
        if (byte < 0x80) {
            out += char(byte);
            ++i;
            continue;
        }
        std::uint32_t cp = 0;
        const std::size_t len = utf8Sequence(text, i, cp);
        if (len == 0) {
            appendEscape(out, byte);
            ++i;
        } else if (cp <= 0x9f) {
            // A C1 control (U+0080..U+009F) such as CSI: each byte escaped.
            for (std::size_t k = 0; k < len; ++k)
                appendEscape(out, static_cast<unsigned char>(text[i + k]));
            i += len;
        } else {
            out.append(text.substr(i, len));
            i += len;
        }
    }
    return out;
}

TerminalLines::TerminalLines(std::ostream& to) : std::ostream(nullptr), buffer_(to) { rdbuf(&buffer_); }

TerminalLines::~TerminalLines() { buffer_.emit(); }

void TerminalLines::Buffer::emit() {
    if (!line_.empty())
        to_ << TerminalText(line_);
    line_.clear();
}

TerminalLines::Buffer::int_type TerminalLines::Buffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    if (traits_type::to_char_type(c) == '\n') {
        emit();
        to_ << '\n';
    } else {
        line_ += traits_type::to_char_type(c);
    }
    return c;
}

int TerminalLines::Buffer::sync() {
    emit();
    to_.flush();
    return to_ ? 0 : -1;
}

}  // namespace vlr::cli
