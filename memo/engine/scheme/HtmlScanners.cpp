#include "memo/engine/scheme/HtmlScanners.h"

#include "memo/engine/scheme/SyntaxMemoParser.h"

namespace vlr {

namespace {

// The longest name taken; a longer run is not a variable reference.
constexpr int kMaxName = 255;

bool NameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool NameChar(char c) { return NameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

}  // namespace

bool ScanVariableRest(velora::memo::EdStream& s, int& kLength, int& kValue) {
  const velora::memo::Pos start = s.position();
  if (s.atEnd() || !NameStart(s.current())) return true;
  int n = 0;
  while (!s.atEnd() && NameChar(s.current()) && n <= kMaxName) {
    s.advance();
    ++n;
  }
  if (n <= kMaxName && !s.atEnd() && s.current() == '%') {
    s.advance();
    if (!s.atEnd() && s.current() == '>') {
      s.advance();
      kLength += n + 2;
      kValue = kHtmlVariableValue;
      return true;
    }
  }
  s.setPosition(start);  // server code: "<%" alone
  return true;
}

bool ScanRegexRest(velora::memo::EdStream& s, int& kLength) {
  const velora::memo::Pos start = s.position();
  bool inClass = false;
  while (!s.atEnd()) {
    const char c = s.current();
    if (c == '\r' || c == '\n') break;  // the store breaks lines with CR
    s.advance();
    if (c == '\\') {
      if (s.atEnd() || s.current() == '\r' || s.current() == '\n') break;
      s.advance();
    } else if (c == '<' && !s.atEnd() && s.current() == '/') {
      break;
    } else if (c == '[') {
      inClass = true;
    } else if (c == ']') {
      inClass = false;
    } else if (c == '/' && !inClass) {
      kLength += int(s.position() - start);
      return true;
    }
  }
  s.setPosition(start);
  return false;
}

void UseHtmlScanners(TSyntaxMemoParser& parser) {
  parser.OnCustomParse = [](TSyntaxMemoParser&, int parseId, velora::memo::EdStream& s, int& kLength,
                            int& kValue) {
    if (parseId == kHtmlVariableRest) return ScanVariableRest(s, kLength, kValue);
    if (parseId == kHtmlRegexRest) return ScanRegexRest(s, kLength);
    return false;
  };
}

}  // namespace vlr
