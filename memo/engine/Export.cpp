// Exports of the editor control: plain, Unix, HTML page and rich text forms of a range.
#include "memo/engine/Export.h"

#include "memo/engine/Utf8.h"

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

namespace velora::memo {

namespace {

std::string fmt(const char* f, auto... args) {
  char buf[512];
  const int n = std::snprintf(buf, sizeof buf, f, args...);
  return std::string(buf, n > 0 ? std::size_t(n) : 0);
}

StyleEffect effectOf(const ExportContext& c, const LineRecord& r, std::size_t i) {
  const std::uint8_t tok = r.tokens.empty() ? 0 : r.tokens[i];
  StyleEffect e = c.styleOf ? c.styleOf(tok) : StyleEffect{};
  if (e.defaultForeground) e.foreground = c.defaultForeground;
  if (e.defaultBackground) e.background = c.defaultBackground;
  return e;
}

}  // namespace

std::string exportPlain(const TextStore& s, Pos a, Pos b, bool crlf) {
  std::string out;
  a = s.clamp(a);
  b = s.clamp(b);
  if (a >= b) return out;
  out.reserve(std::size_t(b - a) + (crlf ? std::size_t(s.breaksIn(a, b)) : 0));
  s.forEachSegment(a, b, [&](const LineRecord& r, std::size_t from, std::size_t to) {
    out.append(r.text.data() + from, to - from);
    if (crlf && to == r.text.size() && r.hard) out.push_back('\n');
  });
  return out;
}

std::string exportUnix(const TextStore& s, Pos a, Pos b) {
  std::string out;
  a = s.clamp(a);
  b = s.clamp(b);
  if (a >= b) return out;
  out.reserve(std::size_t(b - a));
  s.forEachSegment(a, b, [&](const LineRecord& r, std::size_t from, std::size_t to) {
    if (to == r.text.size() && r.hard) {
      out.append(r.text.data() + from, to - 1 - from);
      out.push_back('\n');
    } else {
      out.append(r.text.data() + from, to - from);
    }
  });
  return out;
}

std::string exportHTML(const TextStore& s, Pos a, Pos b, const ExportContext& c) {
  std::string out;
  const StyleEffect s0 = [&] {
    StyleEffect e = c.styleOf ? c.styleOf(0) : StyleEffect{};
    if (e.defaultForeground) e.foreground = c.defaultForeground;
    if (e.defaultBackground) e.background = c.defaultBackground;
    return e;
  }();
  out += "<HTML><HEAD>\r\n";
  out += "<META NAME=\"Generator\" CONTENT=\"TSyntaxMemo 2.00.02\">\r\n";
  out += "<TITLE>" + c.title + "</TITLE>\r\n";
  out += "<META NAME=\"Date\" CONTENT=\"" + c.date + "\">\r\n";
  out += "</HEAD>\r\n";
  out += fmt("<BODY TEXT=\"#%.6x\" BGCOLOR=\"#%.6x\">\r\n", htmlColor(s0.foreground), htmlColor(s0.background));
  out += "<PRE>";
  out += "<FONT FACE=\"" + c.fontName + "\">\r\n";
  Color lastFg = s0.foreground;
  bool inB = false, inI = false, inU = false;
  s.forEachSegment(a, b, [&](const LineRecord& r, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
      const StyleEffect e = effectOf(c, r, i);
      if (e.foreground != lastFg) {
        out += fmt("</FONT><FONT COLOR=\"#%.6x\">", htmlColor(e.foreground));
        lastFg = e.foreground;
      }
      if (e.bold && !inB) { out += "<B>"; inB = true; }
      if (e.italic && !inI) { out += "<I>"; inI = true; }
      if (e.underline && !inU) { out += "<U>"; inU = true; }
      if (!e.bold && inB) { out += "</B>"; inB = false; }
      if (!e.italic && inI) { out += "</I>"; inI = false; }
      if (!e.underline && inU) { out += "</U>"; inU = false; }
      const unsigned char ch = static_cast<unsigned char>(r.text[i]);
      if (ch >= 128) {
        // Non-ASCII text as the numeric reference of its code point (one character of
        // several bytes is one reference; an invalid byte is its Windows-1252 character).
        const std::string_view seg(r.text.data(), to);
        const int n = utf8CharLength(seg, i);
        const char32_t cp = utf8CharAt(seg, i, n);
        if (cp == 160) out += "&nbsp;";
        else out += fmt("&#%u;", unsigned(cp));
        i += std::size_t(n - 1);
        continue;
      }
      if (ch == '\t') out += "&nbsp;";
      else if (ch < 32) continue;
      else if (ch == '"') out += "&quot;";
      else if (ch == '<') out += "&lt;";
      else if (ch == '>') out += "&gt;";
      else out.push_back(char(ch));
    }
    out += "\r\n";
  });
  out += "</PRE></FONT></BODY></HTML>\r\n";
  return out;
}

std::string exportRTF(const TextStore& s, Pos a, Pos b, const ExportContext& c) {
  std::string out;
  out += "{\\rtf1 \\deff1";
  out += "{\\fonttbl ";
  out += "{\\f1 \\fnil " + c.fontName + ";}";
  out += "}\r\n";
  // Colour table: default foreground and background, then every further colour of a style.
  std::vector<Color> colors{c.defaultForeground, c.defaultBackground};
  auto indexOf = [&](Color col) -> int {
    for (std::size_t i = 0; i < colors.size(); ++i)
      if (colors[i] == col) return int(i);
    return -1;
  };
  if (c.styleOf) {
    for (int t = 0; t < c.styleCount && t < 256; ++t) {
      const StyleEffect e = c.styleOf(std::uint8_t(t));
      for (Color col : {e.defaultForeground ? c.defaultForeground : e.foreground,
                        e.defaultBackground ? c.defaultBackground : e.background})
        if (indexOf(col) < 0 && colors.size() < 256) colors.push_back(col);
    }
  }
  out += "{\\colortbl";
  for (Color col : colors) out += fmt("\\red%d\\green%d\\blue%d;", int(col & 0xFF), int((col >> 8) & 0xFF), int((col >> 16) & 0xFF));
  out += "}\r\n";
  // \fs counts half points.
  out += fmt("{\\f1\\fs%d\\cf0\\cb1 ", c.fontSize * 2);
  bool bold = false, italic = false, under = false;
  int fg = 0, bg = 1;
  s.forEachSegment(a, b, [&](const LineRecord& r, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
      const StyleEffect e = effectOf(c, r, i);
      if (e.bold != bold) { out += e.bold ? "\\b1 " : "\\b0 "; bold = e.bold; }
      if (e.italic != italic) { out += e.italic ? "\\i1 " : "\\i0 "; italic = e.italic; }
      if (e.underline != under) { out += e.underline ? "\\ul1 " : "\\ul0 "; under = e.underline; }
      int f = indexOf(e.foreground);
      if (f < 0) f = 0;
      int g = indexOf(e.background);
      if (g < 0) g = 1;
      if (f != fg) { out += fmt("\\cf%d ", f); fg = f; }
      if (g != bg) { out += fmt("\\cb%d ", g); bg = g; }
      const unsigned char ch = static_cast<unsigned char>(r.text[i]);
      switch (ch) {
        case '\t': out += "\\tab "; break;
        case '\f': out += "\\page "; break;
        case '\r': out += "\\line "; break;
        case '\'': out += "\\'27"; break;
        case '\\': out += "\\\\"; break;
        case '{': out += "\\{"; break;
        case '}': out += "\\}"; break;
        default:
          if (ch >= 128) {
            const std::string_view seg(r.text.data(), to);
            const int n = utf8CharLength(seg, i);
            if (n == 1) {
              // An invalid byte: the byte itself, read in the document's code page.
              out += fmt("\\'%02x", unsigned(ch));
              break;
            }
            // \uN? with N a signed 16-bit value; characters outside the basic plane go as
            // their two surrogates. "?" stands in for readers without Unicode.
            const char32_t cp = utf8CharAt(seg, i, n);
            auto unit = [&](unsigned u) { out += fmt("\\u%d?", int(std::int16_t(std::uint16_t(u)))); };
            if (cp >= 0x10000) {
              unit(0xD800 + ((cp - 0x10000) >> 10));
              unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
            } else {
              unit(unsigned(cp));
            }
            i += std::size_t(n - 1);
          } else {
            out.push_back(char(ch));
          }
      }
    }
    out += "\r\n";
  });
  out += "}}";
  return out;
}

std::string exportRange(const TextStore& s, Pos a, Pos b, unsigned form, const ExportContext& c) {
  if (form & kExportRTF) return exportRTF(s, a, b, c);
  if (form & kExportHTML) return exportHTML(s, a, b, c);
  if (form & kExportLF) return exportUnix(s, a, b);
  return exportPlain(s, a, b, (form & kExportCRLF) != 0);
}

}  // namespace velora::memo
