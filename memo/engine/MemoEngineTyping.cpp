// The editor control's engine: typing, the Return and Tab keys, indentation filling and the
// double-click selection.
#include <algorithm>

#include "memo/engine/MemoEngine.h"

namespace velora::memo {

namespace {
inline bool isBlank(char c) noexcept { return c == ' ' || c == '\t'; }
}  // namespace

namespace {
bool IsBlankByte(char c) noexcept { return c == ' ' || c == '\t'; }
}  // namespace

void MemoEngine::typeText(std::string_view raw, bool overwrite) {
  if (readOnly || raw.empty()) return;
  // A run goes on from the last typed text when nothing happened between: the caret did not
  // move (not even away and back), no other edit was logged, less than a second passed, and
  // the new text does not start a word after a blank.
  const auto now = typingClock();
  const bool continues = hasAid(smaTypingRuns) && typingRun_.open && undo_ && sel_.empty() &&
                         selectionMoves_ == typingRun_.selectionMoves && undo_->topSerial() == typingRun_.serial &&
                         now - typingRun_.time < std::chrono::seconds(1) &&
                         !(typingRun_.endsInBlank && !IsBlankByte(raw.front()));
  if (overwrite && sel_.empty() && sel_.caret < store_.length() && store_.charAt(sel_.caret) != '\r')
    setSelection(sel_.caret, nextCharPos(sel_.caret), false);
  const bool plainInsert = sel_.empty();
  replaceSelection(raw);
  if (!hasAid(smaTypingRuns) || !undo_) return;
  if (continues && plainInsert) undo_->mergeLastInsertions();
  // An overwrite replaces a character: it is a step of its own and starts no run.
  typingRun_.open = plainInsert;
  typingRun_.serial = undo_->topSerial();
  typingRun_.selectionMoves = selectionMoves_;
  typingRun_.time = now;
  typingRun_.endsInBlank = IsBlankByte(raw.back());
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
