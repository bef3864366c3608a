// The control's search state and the one entry point for plain and expression searches.
#include "memo/engine/search/SearchMemory.h"

#include "memo/engine/LineBreaks.h"

namespace velora::memo {

namespace {
std::string_view cutUtf8(std::string_view s, std::size_t max) {
  if (s.size() <= max) return s;
  std::size_t n = max;
  // Step back over continuation bytes so that no sequence is cut.
  while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  return s.substr(0, n);
}
}  // namespace

std::string OutOfStepsMessage(LineNo line) {
  return "The expression needs too many steps; the search stopped at line " + std::to_string(line) + ".";
}

void TSearchMemory::remember(std::string_view text, unsigned flags) {
  stoppedAt_ = -1;
  text_.assign(cutUtf8(text, (flags & kSearchRegExp) ? kMaxExpressionText : kMaxPlainText));
  flags_ = flags;
}

SearchMatch TSearchMemory::find(const CharSource& src, std::string_view text, unsigned flags, Pos from,
                                const WordCharTest* word) {
  const bool back = (flags & kSearchBackwards) != 0;
  const bool matchCase = (flags & kSearchMatchCase) != 0;
  const WordCharTest* whole = (flags & kSearchWholeWord) ? word : nullptr;
  SearchMatch m;
  stoppedAt_ = -1;
  if (flags & kSearchRegExp) {
    if (!re_.compile(text, matchCase)) throw ERegExprError(re_.error(), re_.errorColumn(), text);
    CharCursor cur(src);
    for (Pos at = from;;) {
      const Pos p = back ? re_.searchBackward(src, at) : re_.search(src, at);
      if (p < 0) {
        stoppedAt_ = re_.stoppedAt();
        return m;
      }
      const Pos e = re_.matchEnd();
      bool ok = true;
      if (whole) {
        const int b = cur.at(p - 1), a = cur.at(e);
        ok = !(b >= 0 && (*whole)((unsigned char)b)) && !(a >= 0 && (*whole)((unsigned char)a));
      }
      if (ok) return last_ = {p, e};
      at = back ? p : p + 1;
    }
  }
  const std::string needle = normaliseBreaks(text);
  skip_.assign(needle, matchCase);
  if (skip_.empty()) return m;
  Pos e = -1;
  const Pos p = back ? PlainFindBackward(src, skip_, from, whole, &e) : PlainFindForward(src, skip_, from, whole, -1, &e);
  if (p < 0) return m;
  return last_ = {p, e};
}

}  // namespace velora::memo
