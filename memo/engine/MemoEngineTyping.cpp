// The editor control's engine: typing, the Return and Tab keys, indentation filling and the
// double-click selection.
#include <algorithm>

#include "memo/engine/MemoEngine.h"

namespace velora::memo {

namespace {
inline bool isBlank(char c) noexcept { return c == ' ' || c == '\t'; }
}  // namespace

void MemoEngine::typeText(std::string_view raw, bool overwrite) {
  if (readOnly || raw.empty()) return;
  if (overwrite && sel_.empty() && sel_.caret < store_.length() && store_.charAt(sel_.caret) != '\r')
    setSelection(sel_.caret, nextCharPos(sel_.caret), false);
  replaceSelection(raw);
}

std::string MemoEngine::fillText(Pos col) const {
  std::string out;
  if (col <= 0) return out;
  Pos c = 0;
  if (hasOption(smoSmartFill) && hasOption(smoUseTAB)) {
    for (;;) {
      const Pos next = nextTabStop(int(c));
      if (next > col) break;
      out.push_back('\t');
      c = next;
    }
  }
  out.append(std::size_t(col - c), ' ');
  return out;
}

void MemoEngine::newLine() {
  if (readOnly) return;
  std::string ins = "\r";
  if (hasOption(smoAutoIndent)) {
    const Pos ls = store_.lineStart(store_.lineFromPos(sel_.start()));
    Pos p = ls;
    while (p < sel_.start() && isBlank(store_.charAt(p))) ++p;
    if (hasOption(smoSmartFill)) ins += fillText(displayColumn(p));
    else ins += store_.text(ls, p);
  }
  replaceSelection(ins);
}

void MemoEngine::tabKey(bool overwrite) {
  if (readOnly) return;
  if (!hasOption(smoTabToColumn)) {
    typeText("\t", overwrite);
    return;
  }
  Pos at = sel_.start();
  Pos col = displayColumn(at);
  const Pos stop = nextTabStop(int(col));
  if (overwrite && sel_.empty()) {
    // Overwriting keeps the line's characters: the caret moves over them to the column, and
    // blanks are added only past the line's end.
    const LineNo line = store_.lineFromPos(at);
    const Pos end = store_.lineEnd(line);
    const Pos target = posAtDisplayColumn(line, stop);
    if (target < end || displayColumn(end) >= stop) {
      moveCaret(std::min(target, end), false);
      return;
    }
    at = end;
    col = displayColumn(end);
    setSelection(at, at, false);
  }
  replaceSelection(hasOption(smoUseTAB) ? std::string("\t") : std::string(std::size_t(stop - col), ' '));
}

void MemoEngine::doubleClickAt(Pos p) {
  if (hasOption(smoWordSelect)) {
    const auto [a, b] = wordAt(p);
    setSelection(a, b);
  } else {
    setSelection(p, p);
  }
}

}  // namespace velora::memo
