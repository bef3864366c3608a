// Undo log of the editor control.
#include "memo/engine/UndoStack.h"

#include <new>
#include <vector>

#include "memo/engine/LineBreaks.h"

namespace velora::memo {

// ---- TStack

std::int64_t TStack::entrySize(const TUndo& e) noexcept {
  switch (e.type) {
    case UndoType::Selection: return 16;
    case UndoType::Text: return std::int64_t(e.text.size()) + 1;
    case UndoType::Stream: return e.stream ? e.stream->size() : 0;
    case UndoType::Boundary: return 8;
  }
  return 0;
}

void TStack::push(std::unique_ptr<TUndo> entry) {
  while (cells_.size() > cursor_) {
    total_ -= 16 + cells_.back().size;
    cells_.pop_back();
  }
  const std::int64_t size = entrySize(*entry);
  entry->serial = nextSerial_++;
  cells_.push_back(Cell{std::move(entry), size});
  total_ += 16 + size;
  cursor_ = cells_.size();
}

std::unique_ptr<TUndo> TStack::pop() {
  if (cursor_ == 0) throw ESyntaxMemo(errtext::kStackUnderflow);
  while (cells_.size() > cursor_) {
    total_ -= 16 + cells_.back().size;
    cells_.pop_back();
  }
  auto e = std::move(cells_.back().entry);
  total_ -= 16 + cells_.back().size;
  cells_.pop_back();
  cursor_ = cells_.size();
  return e;
}

void TStack::clear() noexcept {
  cells_.clear();
  cursor_ = 0;
  total_ = 0;
}

std::uint64_t TStack::topSerial() const noexcept {
  return cursor_ > 0 && cells_[cursor_ - 1].entry ? cells_[cursor_ - 1].entry->serial : 0;
}

void TStack::removeOldest() noexcept {
  total_ -= 16 + cells_.front().size;
  cells_.pop_front();
  if (cursor_ > 0) --cursor_;
}

// ---- TUndoStack

void TUndoStack::pushBoundary(int code) {
  auto e = std::make_unique<TUndo>();
  e->type = UndoType::Boundary;
  e->v1 = code;
  push(std::move(e));
}

void TUndoStack::pushSelection(Selection s) {
  auto e = std::make_unique<TUndo>();
  e->type = UndoType::Selection;
  e->v1 = s.anchor;
  e->v2 = s.caret;
  push(std::move(e));
}

void TUndoStack::pushText(std::string s) {
  auto e = std::make_unique<TUndo>();
  e->type = UndoType::Text;
  e->text = std::move(s);
  push(std::move(e));
}

void TUndoStack::resetPending() noexcept {
  pendingOp_ = 0;
  pendingRemoved_.clear();
  pendingText_.clear();
  pendingStream_.reset();
}

void TUndoStack::badTransaction(UndoTarget& t) {
  clear();
  resetPending();
  groupId_ = 0;
  groupOps_ = 0;
  t.undoBeep();
  throw ESyntaxMemo(errtext::kBadTransaction);
}

void TUndoStack::openPendingGroup() {
  if (groupId_ == 0 || groupOps_ > 0) return;
  groupStart_ = cursor_;
  pushBoundary(groupId_);
  pushSelection(groupSel_);
  pushBoundary(groupId_);
}

void TUndoStack::logBefore(UndoTarget& t, int op, const UndoArg& arg) {
  pendingOp_ = op;
  pendingSel_ = t.undoSelection();
  pendingRemoved_ = t.undoText(pendingSel_.start(), pendingSel_.end());
  if (op == kOpReplace) {
    pendingText_.assign(arg.text);
    return;
  }
  // Keep a copy of the rest of the incoming stream; the stream is left where it was.
  pendingStream_ = std::make_unique<MemoryStream>();
  if (!arg.stream) return;
  const auto at = arg.stream->position();
  const auto rest = arg.stream->size() - at;
  if (rest > 0) {
    pendingStream_->data().resize(std::size_t(rest));
    const auto got = arg.stream->read(pendingStream_->data().data(), std::size_t(rest));
    pendingStream_->data().resize(got);
  }
  arg.stream->seek(at);
}

void TUndoStack::log(UndoTarget& t, int op, UndoPhase phase, const UndoArg& arg) {
  switch (op) {
    case kOpLogOn: logging_ = true; return;
    case kOpLogOff: logging_ = false; return;
    case kOpClear:
      clear();
      cleanSet_ = false;
      resetPending();
      groupId_ = 0;
      groupOps_ = 0;
      return;
    default: break;
  }
  if (!logging_) return;
  switch (op) {
    case kOpReplace:
    case kOpStream:
      if (phase == UndoPhase::Before) {
        if (pendingOp_ != 0) badTransaction(t);
        try {
          logBefore(t, op, arg);
        } catch (const std::bad_alloc&) {
          // The copies of the removed and the incoming text could not be made: the operation
          // is refused before anything changed.
          resetPending();
          throw ESyntaxMemo(errtext::kNoBufferMemory);
        }
      } else if (phase == UndoPhase::After) {
        if (pendingOp_ != op) badTransaction(t);
        openPendingGroup();
        pushBoundary(op);
        pushSelection(pendingSel_);
        pushText(std::move(pendingRemoved_));
        if (op == kOpReplace) {
          pushText(std::move(pendingText_));
        } else {
          auto e = std::make_unique<TUndo>();
          e->type = UndoType::Stream;
          e->stream = std::move(pendingStream_);
          push(std::move(e));
        }
        pushSelection(t.undoSelection());
        pushBoundary(op);
        if (groupId_) ++groupOps_;
        trim();
        resetPending();
      }
      return;
    case kOpGroupOpen:
      if (groupId_ != 0 || arg.id < 11) return;
      groupId_ = arg.id;
      groupOps_ = 0;
      groupSel_ = t.undoSelection();
      return;
    case kOpGroupClose:
      if (groupId_ == 0 || arg.id != groupId_) return;
      if (groupOps_ > 0) {
        pushBoundary(arg.id);
        pushSelection(t.undoSelection());
        pushBoundary(arg.id);
      }
      groupId_ = 0;
      groupOps_ = 0;
      trim();
      return;
    case kOpIndentLine: {
      // An empty selection at the line start and the inserted indent text.
      openPendingGroup();
      pushBoundary(op);
      pushSelection({arg.pos, arg.pos});
      pushText({});
      pushText(std::string(arg.text));
      const Pos end = arg.pos + Pos(normalisedLength(arg.text));
      pushSelection({end, end});
      pushBoundary(op);
      if (groupId_) ++groupOps_;
      trim();
      return;
    }
    case kOpUnindentLine:
      // The removed range and the removed bytes themselves. (Logging "as many blanks, all tabs
      // when the line starts with a tab" would turn "\t x" into "\t\tx" on undo.)
      openPendingGroup();
      pushBoundary(op);
      pushSelection({arg.pos, arg.pos + arg.count});
      pushText(std::string(arg.text));
      pushText({});
      pushSelection({arg.pos, arg.pos});
      pushBoundary(op);
      if (groupId_) ++groupOps_;
      trim();
      return;
    default: return;
  }
}

void TUndoStack::trim() {
  if (limit_ == -1) return;
  auto removeOldest = [this]() noexcept {
    TStack::removeOldest();
    if (groupId_ && groupStart_ > 0) --groupStart_;
  };
  while (total_ > limit_ && cursor_ > 0) {
    // Remove the oldest whole unit: one operation, or a whole group.
    const TUndo& first = *cells_.front().entry;
    if (first.type != UndoType::Boundary) {  // a stray cell: drop it
      removeOldest();
      continue;
    }
    const std::int64_t code = first.v1;
    if (code < 11) {
      removeOldest();
      while (cursor_ > 0) {
        const bool boundary = cells_.front().entry->type == UndoType::Boundary;
        removeOldest();
        if (boundary) break;
      }
      continue;
    }
    // A group: find its closing triple; an unfinished group is kept.
    std::size_t end = 3;
    bool complete = false;
    while (end + 2 < cursor_) {
      const TUndo& e = *cells_[end].entry;
      if (e.type == UndoType::Boundary && e.v1 == code) {
        complete = true;
        end += 3;
        break;
      }
      end += 6;
    }
    if (!complete) return;
    for (std::size_t k = 0; k < end && cursor_ > 0; ++k) removeOldest();
  }
}

const TUndo& TUndoStack::back(UndoType expected) {
  if (cursor_ == 0) throw ESyntaxMemo(errtext::kStackUnderflow);
  const TUndo& e = *cells_[cursor_ - 1].entry;
  if (e.type != expected) throw ESyntaxMemo(errtext::kBadStackState);
  --cursor_;
  return e;
}

const TUndo& TUndoStack::forward(UndoType expected) {
  if (cursor_ >= cells_.size()) throw ESyntaxMemo(errtext::kStackUnderflow);
  const TUndo& e = *cells_[cursor_].entry;
  if (e.type != expected) throw ESyntaxMemo(errtext::kBadStackState);
  ++cursor_;
  return e;
}

void TUndoStack::undoOne(UndoTarget& t) {
  const TUndo& b1 = back(UndoType::Boundary);
  const Selection after = back(UndoType::Selection).selection();
  (void)after;
  if (cursor_ == 0) throw ESyntaxMemo(errtext::kStackUnderflow);
  const TUndo& inserted = *cells_[cursor_ - 1].entry;
  if (inserted.type != UndoType::Text && inserted.type != UndoType::Stream) throw ESyntaxMemo(errtext::kBadStackState);
  --cursor_;
  const TUndo& removed = back(UndoType::Text);
  const Selection before = back(UndoType::Selection).selection();
  const TUndo& b0 = back(UndoType::Boundary);
  if (b0.v1 != b1.v1) throw ESyntaxMemo(errtext::kBadStackState);
  const Pos insLen = inserted.type == UndoType::Text
                         ? Pos(normalisedLength(inserted.text))
                         : Pos(inserted.stream ? normalisedLength(inserted.stream->data()) : 0);
  const Pos start = before.start();
  t.undoReplace(start, start + insLen, removed.text);
  t.undoSelect(before);
}

void TUndoStack::redoOne(UndoTarget& t) {
  const TUndo& b0 = forward(UndoType::Boundary);
  const Selection before = forward(UndoType::Selection).selection();
  forward(UndoType::Text);  // the removed text
  if (cursor_ >= cells_.size()) throw ESyntaxMemo(errtext::kStackUnderflow);
  const TUndo& inserted = *cells_[cursor_].entry;
  if (inserted.type != UndoType::Text && inserted.type != UndoType::Stream) throw ESyntaxMemo(errtext::kBadStackState);
  ++cursor_;
  const Selection after = forward(UndoType::Selection).selection();
  const TUndo& b1 = forward(UndoType::Boundary);
  if (b0.v1 != b1.v1) throw ESyntaxMemo(errtext::kBadStackState);
  t.undoSelect(before);
  if (inserted.type == UndoType::Text) {
    t.undoReplace(before.start(), before.end(), inserted.text);
  } else if (inserted.stream) {
    inserted.stream->seek(0);
    t.undoReplaceStream(before.start(), before.end(), *inserted.stream);
  }
  t.undoSelect(after);
}

bool TUndoStack::mergeLastInsertions() {
  if (groupId_ != 0 || pendingOp_ != 0 || cursor_ != cells_.size() || cursor_ < 12) return false;
  // Each operation: boundary, selection before, removed text, inserted text, selection after,
  // boundary.
  const auto plainInsert = [this](std::size_t at) {
    const TUndo* c[6];
    for (std::size_t k = 0; k < 6; ++k) c[k] = cells_[at + k].entry.get();
    return c[0]->type == UndoType::Boundary && c[0]->v1 == kOpReplace && c[5]->type == UndoType::Boundary &&
           c[5]->v1 == kOpReplace && c[1]->type == UndoType::Selection && c[1]->selection().empty() &&
           c[2]->type == UndoType::Text && c[2]->text.empty() && c[3]->type == UndoType::Text &&
           c[4]->type == UndoType::Selection;
  };
  const std::size_t second = cursor_ - 6, first = cursor_ - 12;
  if (!plainInsert(first) || !plainInsert(second)) return false;
  const TUndo& firstAfter = *cells_[first + 4].entry;
  const TUndo& secondBefore = *cells_[second + 1].entry;
  if (!firstAfter.selection().empty() || firstAfter.v2 != secondBefore.v2) return false;
  std::vector<std::unique_ptr<TUndo>> newer(6), older(6);
  for (std::size_t k = 6; k-- > 0;) newer[k] = pop();
  for (std::size_t k = 6; k-- > 0;) older[k] = pop();
  older[3]->text += newer[3]->text;
  older[4] = std::move(newer[4]);
  // Pushed again: the joined operation is a new state of the log (a clean mark on either half
  // no longer holds).
  for (auto& e : older) push(std::move(e));
  return true;
}

void TUndoStack::undo(UndoTarget& t) { replay(t, false); }

void TUndoStack::redo(UndoTarget& t) { replay(t, true); }

// Undo walks the log down from the cursor, redo walks it up; a group is
// replayed between its two boundary triples as one compound step.
void TUndoStack::replay(UndoTarget& t, bool redo) {
  auto atEnd = [&] { return redo ? cursor_ >= cells_.size() : cursor_ == 0; };
  auto next = [&]() -> const TUndo& { return *cells_[redo ? cursor_ : cursor_ - 1].entry; };
  auto step = [&](UndoType expected) -> const TUndo& { return redo ? forward(expected) : back(expected); };
  auto one = [&] { redo ? redoOne(t) : undoOne(t); };

  if (atEnd()) throw ESyntaxMemo(errtext::kStackUnderflow);
  const std::size_t saved = cursor_;
  const bool wasLogging = logging_;
  logging_ = false;
  try {
    const TUndo& top = next();
    if (top.type != UndoType::Boundary) throw ESyntaxMemo(errtext::kBadStackState);
    const std::int64_t code = top.v1;
    if (code >= 11) {
      t.undoCompoundBegin();
      try {
        step(UndoType::Boundary);
        step(UndoType::Selection);
        step(UndoType::Boundary);
        for (;;) {
          if (atEnd()) throw ESyntaxMemo(errtext::kStackUnderflow);
          const TUndo& e = next();
          if (e.type != UndoType::Boundary) throw ESyntaxMemo(errtext::kBadStackState);
          if (e.v1 == code) {  // the group's other boundary triple
            step(UndoType::Boundary);
            const Selection s = step(UndoType::Selection).selection();
            step(UndoType::Boundary);
            t.undoSelect(s);
            break;
          }
          one();
          t.undoCompoundStep();
        }
      } catch (...) {
        t.undoCompoundEnd();
        throw;
      }
      t.undoCompoundEnd();
    } else {
      one();
    }
  } catch (...) {
    cursor_ = saved;
    logging_ = wasLogging;
    throw;
  }
  logging_ = wasLogging;
}

}  // namespace velora::memo
