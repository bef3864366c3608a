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

std::string MemoEngine::fillTo(Pos p) const {
  const Pos ls = store_.lineStart(store_.lineFromPos(p));
  Pos q = ls;
  while (q < p && isBlank(store_.charAt(q))) ++q;
  std::string out = store_.text(ls, q);
  out.append(std::size_t(std::max<Pos>(0, displayColumn(p) - displayColumn(q))), ' ');
  return out;
}

void MemoEngine::newLine() {
  if (readOnly) return;
  std::string ins = "\r";
  if (hasOption(smoAutoIndent)) {
    // The indentation is copied as it is: a line indented with blanks is followed by blanks,
    // one indented with tabs by tabs, whatever the options say about new indentation.
    const Pos ls = store_.lineStart(store_.lineFromPos(sel_.start()));
    Pos p = ls;
    while (p < sel_.start() && isBlank(store_.charAt(p))) ++p;
    ins += store_.text(ls, p);
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
  const auto stopAfter = [this](Pos c) -> Pos {
    if (indentStyle.kind != IndentKind::Spaces) return nextTabStop(int(c));
    const Pos w = std::max(1, indentStyle.width);
    return (c / w + 1) * w;
  };
  const Pos stop = stopAfter(col);
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
  const bool tab = indentStyle.kind == IndentKind::Tabs ||
                   (indentStyle.kind == IndentKind::FromOptions && hasOption(smoUseTAB));
  replaceSelection(tab ? std::string("\t") : std::string(std::size_t(stopAfter(col) - col), ' '));
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
