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
