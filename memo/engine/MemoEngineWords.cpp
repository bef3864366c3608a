// The editor control's engine: word tests, word movement and the word at a position. The
// owner's tests (fn_CharIsInWord, fn_CharStartsWord) or its OnWordBreakProc decide; word
// boundaries never cross a line break, which is a step of its own.
#include <cctype>
#include <climits>
#include <string>
#include <vector>

#include "memo/engine/MemoEngine.h"

namespace velora::memo {

namespace {

enum class CharClass : unsigned char { Blank, Word, Other };

inline bool isBlank(char c) noexcept { return c == ' ' || c == '\t'; }

// The caret's line with the class of every character.
struct LineWords {
  Pos start = 0;
  std::string text;
  std::vector<CharClass> cls;
  [[nodiscard]] Pos size() const noexcept { return Pos(text.size()); }
  [[nodiscard]] int length() const noexcept { return text.size() > std::size_t(INT_MAX) ? INT_MAX : int(text.size()); }
};

}  // namespace

bool MemoEngine::isWordChar(unsigned char c) const {
  if (fn_CharIsInWord) return fn_CharIsInWord(c);
  return std::isalnum(c) || c == '_' || c >= 128;
}

bool MemoEngine::startsWord(unsigned char c) const {
  if (fn_CharStartsWord) return fn_CharStartsWord(c);
  return isWordChar(c);
}

namespace {

LineWords classify(const MemoEngine& e, Pos p) {
  const TextStore& s = e.store();
  const LineNo line = s.lineFromPos(p);
  LineWords w;
  w.start = s.lineStart(line);
  w.text = s.lineText(line);
  w.cls.resize(w.text.size());
  if (e.onWordBreakProc) {
    for (std::size_t k = 0; k < w.text.size(); ++k) {
      const bool delimiter = e.onWordBreakProc(w.text.c_str(), int(k), w.length(), MemoEngine::kWbIsDelimiter) != 0;
      w.cls[k] = isBlank(w.text[k]) ? CharClass::Blank : (delimiter ? CharClass::Other : CharClass::Word);
    }
    return w;
  }
  // A run of in-word characters is a word from its first character that starts one.
  bool inWord = false;
  for (std::size_t k = 0; k < w.text.size(); ++k) {
    const auto c = static_cast<unsigned char>(w.text[k]);
    if (e.isWordChar(c)) {
      if (!inWord && e.startsWord(c)) inWord = true;
      w.cls[k] = inWord ? CharClass::Word : CharClass::Other;
    } else {
      inWord = false;
      w.cls[k] = isBlank(char(c)) ? CharClass::Blank : CharClass::Other;
    }
  }
  return w;
}

// The owner's answer as an offset into the line, clamped to it.
Pos askProc(const MemoEngine& e, const LineWords& w, Pos offset, int code) {
  const int r = e.onWordBreakProc(w.text.c_str(), int(offset), w.length(), code);
  return std::clamp<Pos>(r, 0, w.size());
}

}  // namespace

Pos MemoEngine::wordLeft(Pos p) const {
  p = store_.clamp(p);
  if (p == 0) return 0;
  const LineWords w = classify(*this, p);
  Pos k = p - w.start;
  if (k == 0) return p - 1;  // over the break to the end of the previous line
  if (onWordBreakProc) return w.start + std::min(askProc(*this, w, k, kWbLeft), k - 1);
  while (k > 0 && w.cls[std::size_t(k - 1)] == CharClass::Blank) --k;
  if (k == 0) return w.start;
  const CharClass c = w.cls[std::size_t(k - 1)];
  while (k > 0 && w.cls[std::size_t(k - 1)] == c) --k;
  return w.start + k;
}

Pos MemoEngine::wordRight(Pos p) const {
  const Pos len = store_.length();
  p = store_.clamp(p);
  if (p >= len) return len;
  if (store_.charAt(p) == '\r') return p + 1;
  const LineWords w = classify(*this, p);
  Pos k = p - w.start;
  if (onWordBreakProc) return w.start + std::max(askProc(*this, w, k, kWbRight), k + 1);
  const CharClass c = w.cls[std::size_t(k)];
  if (c != CharClass::Blank)
    while (k < w.size() && w.cls[std::size_t(k)] == c) ++k;
  while (k < w.size() && w.cls[std::size_t(k)] == CharClass::Blank) ++k;
  return w.start + k;
}

std::pair<Pos, Pos> MemoEngine::wordAt(Pos p) const {
  p = store_.clamp(p);
  const LineWords w = classify(*this, p);
  Pos k = p - w.start;
  // At the end of a word the word before the position counts.
  if ((k >= w.size() || w.cls[std::size_t(k)] != CharClass::Word) && k > 0 && w.cls[std::size_t(k - 1)] == CharClass::Word)
    --k;
  if (k < w.size() && w.cls[std::size_t(k)] == CharClass::Word) {
    Pos a = k, b = k;
    while (a > 0 && w.cls[std::size_t(a - 1)] == CharClass::Word) --a;
    while (b < w.size() && w.cls[std::size_t(b)] == CharClass::Word) ++b;
    return {w.start + a, w.start + b};
  }
  return {p, k < w.size() ? nextCharPos(p) : p};
}

}  // namespace velora::memo
