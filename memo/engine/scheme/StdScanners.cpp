#include "memo/engine/scheme/StdScanners.h"

#include "memo/engine/scheme/SchemeTables.h"

namespace vlr {

namespace {
using velora::memo::EdStream;
using velora::memo::Pos;

inline bool IsLineEnd(char c) noexcept { return c == '\r' || c == '\n'; }
inline bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }
inline bool IsLetter(char c) noexcept { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsUrlChar(char c) noexcept {
  if (IsLetter(c) || IsDigit(c)) return true;
  switch (c) {
    case '#': case '&': case '-': case '.': case '/': case ':': case '=': case '?': case '@':
    case '\\': case '_': case '|': case '~':
      return true;
    default:
      return false;
  }
}

bool IsMailChar(char c) noexcept {
  return IsLetter(c) || IsDigit(c) || c == '.' || c == '_' || c == '-' || c == '%' || c == '+' || c == '@';
}

// Advances over digits; returns how many.
int Digits(EdStream& s) {
  int n = 0;
  while (!s.atEnd() && IsDigit(s.current())) {
    s.advance();
    ++n;
  }
  return n;
}

// A run of `accept` characters in which a final "." is given back; the count kept.
template <class Accept>
int RunGivingBackDot(EdStream& s, Accept accept, bool* sawAt = nullptr) {
  int n = 0;
  bool lastDot = false;
  while (!s.atEnd() && accept(s.current())) {
    const char c = s.current();
    if (sawAt && c == '@') *sawAt = true;
    lastDot = c == '.';
    s.advance();
    ++n;
  }
  if (n > 0 && lastDot) {
    s.back();
    --n;
  }
  return n;
}

bool NumberOrFp(EdStream& s) {
  if (Digits(s) == 0) return false;
  if (!s.atEnd() && s.current() == '.') {
    const Pos dot = s.position();
    s.advance();
    if (Digits(s) == 0) {
      s.setPosition(dot);
      return true;
    }
  }
  if (!s.atEnd() && (s.current() == 'e' || s.current() == 'E')) {
    const Pos e = s.position();
    s.advance();
    if (!s.atEnd() && (s.current() == '+' || s.current() == '-')) s.advance();
    if (Digits(s) == 0) s.setPosition(e);  // no exponent digits: the "e" is not part of it
  }
  return true;
}

// From the opening `quote` to the closing one; a backslash takes the next character (C) or two
// quotes stand for one (Pascal). An unclosed string ends at a line end or the end of the text.
bool Quoted(EdStream& s, char quote, bool backslashEscapes) {
  if (s.atEnd() || s.current() != quote) return false;
  s.advance();
  while (!s.atEnd()) {
    const char c = s.current();
    if (IsLineEnd(c)) return true;
    s.advance();
    if (backslashEscapes && c == '\\') {
      if (!s.atEnd() && !IsLineEnd(s.current())) s.advance();
      continue;
    }
    if (c == quote) {
      if (!backslashEscapes && !s.atEnd() && s.current() == quote) {
        s.advance();
        continue;
      }
      return true;
    }
  }
  return true;
}

}  // namespace

bool RunStdScanner(std::uint8_t n, EdStream& s, Pos tokenStart) {
  switch (n) {
    case kScanStringChar: {
      if (s.atEnd()) return false;
      const char c = s.current();
      if (IsLineEnd(c)) return false;
      if (c == '"' || c == '\'') {
        s.advance();
        if (!s.atEnd() && s.current() == c) {
          s.advance();
          return true;
        }
        return false;
      }
      s.advance();
      return true;
    }
    case kScanUrlRun:
      return RunGivingBackDot(s, IsUrlChar) > 0;
    case kScanRestOfLine: {
      const Pos here = s.position();
      const bool atLineStart = tokenStart == 0 || [&] {
        EdStream t = s;
        t.setPosition(tokenStart);
        const char before = t.previous();
        t.setPosition(here);
        return IsLineEnd(before);
      }();
      if (!atLineStart) return false;
      while (!s.atEnd() && !IsLineEnd(s.current())) s.advance();
      return true;
    }
    case kScanIdentifier: {
      if (s.atEnd() || !(IsLetter(s.current()) || s.current() == '_')) return false;
      s.advance();
      while (!s.atEnd() && (IsLetter(s.current()) || IsDigit(s.current()) || s.current() == '_')) s.advance();
      return true;
    }
    case kScanNumberOrFp:
      return NumberOrFp(s);
    case kScanPascalString:
      return Quoted(s, '\'', false);
    case kScanCString:
      return Quoted(s, '"', true);
    case kScanCChar:
    case kScanCStringSq:
      return Quoted(s, '\'', true);
    case kScanCNumberSigned:
      if (!s.atEnd() && (s.current() == '+' || s.current() == '-')) s.advance();
      return NumberOrFp(s);
    case kScanNumber:
      return Digits(s) > 0;
    case kScanMailUrl: {
      bool sawAt = false;
      const int len = RunGivingBackDot(s, IsMailChar, &sawAt);
      return len > 0 && sawAt;
    }
    case kScanHtmlString: {
      if (s.atEnd()) return false;
      s.advance();  // the opening character, whatever it is
      while (!s.atEnd() && !IsLineEnd(s.current())) {
        const char c = s.current();
        s.advance();
        if (c == '"') break;
      }
      return true;
    }
    case kScanJsLineComment: {
      while (!s.atEnd() && !IsLineEnd(s.current())) {
        if (s.current() == '-') {
          // Two or more "-" followed by ">" end the comment before them.
          const Pos dash = s.position();
          int dashes = 0;
          while (!s.atEnd() && s.current() == '-') {
            s.advance();
            ++dashes;
          }
          if (dashes >= 2 && !s.atEnd() && s.current() == '>') {
            s.setPosition(dash);
            return true;
          }
          continue;
        }
        s.advance();
      }
      return true;
    }
    default:
      return false;
  }
}

}  // namespace vlr
