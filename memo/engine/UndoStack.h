// Undo log of the editor control: TStack of 16-byte cells, TUndo entries, TUndoStack logging.
//
// An operation is logged as one group of six cells: boundary, selection before, removed text,
// inserted text or stream, selection after, boundary (the boundaries carry the operation code).
// A compound operation is framed by [boundary(id), selection, boundary(id)] at both ends, with
// an identifier of 11 or more (11 drag and drop, 13 delete a character, 17 block indent,
// 18 block un-indent, 19 delete the previous word), so that one undo reverses all of it.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "memo/engine/ByteStream.h"
#include "memo/engine/Types.h"

namespace velora::memo {

// Entry types of TUndo.
enum class UndoType : std::uint8_t { Selection = 0, Text = 1, Stream = 4, Boundary = 5 };

// One log entry: a type and up to two values, or an owned text or stream.
struct TUndo {
  UndoType type = UndoType::Boundary;
  std::int64_t v1 = 0;  // selection: anchor; boundary: operation code
  std::int64_t v2 = 0;  // selection: caret
  std::string text;     // type 1 (zero-terminated; the length is kept, so NUL bytes survive)
  std::unique_ptr<MemoryStream> stream;  // type 4
  std::uint64_t serial = 0;  // given by the stack when pushed: tells this cell from any other

  [[nodiscard]] Selection selection() const noexcept { return {v1, v2}; }
};

// Stack of cells with a redo cursor: cells [0, cursor) can be undone, [cursor, count) redone.
class TStack {
 public:
  struct Cell {
    std::unique_ptr<TUndo> entry;
    std::int64_t size = 0;  // the entry's size in bytes
  };
  static_assert(sizeof(Cell) == 16, "a log cell is 16 bytes");

  [[nodiscard]] std::size_t count() const noexcept { return cells_.size(); }
  [[nodiscard]] std::size_t cursor() const noexcept { return cursor_; }
  // The total of 16 + entry size over all cells.
  [[nodiscard]] std::int64_t totalSize() const noexcept { return total_; }
  // Limit on the total size; -1 = no limit (the default).
  [[nodiscard]] std::int64_t limit() const noexcept { return limit_; }
  void setLimit(std::int64_t limit) { limit_ = limit; }

  // Pushes at the cursor; cells that could be redone are discarded first.
  void push(std::unique_ptr<TUndo> entry);
  // Removes the most recent cell below the cursor ("Stack underflow" when there is none).
  std::unique_ptr<TUndo> pop();
  void clear() noexcept;
  // The serial of the cell below the cursor; 0 when nothing can be undone.
  [[nodiscard]] std::uint64_t topSerial() const noexcept;

 protected:
  static std::int64_t entrySize(const TUndo& e) noexcept;
  void removeOldest() noexcept;

  std::deque<Cell> cells_;
  std::size_t cursor_ = 0;
  std::int64_t total_ = 0;
  std::int64_t limit_ = -1;
  std::uint64_t nextSerial_ = 1;
};

// What the log reads and drives: the control (MemoEngine implements it).
class UndoTarget {
 public:
  virtual ~UndoTarget() = default;
  [[nodiscard]] virtual Selection undoSelection() const = 0;
  [[nodiscard]] virtual std::string undoText(Pos a, Pos b) const = 0;
  virtual void undoSelect(Selection s) = 0;
  // Replaces [a, b) by text (normalised as any insertion); returns the stored length inserted.
  virtual Pos undoReplace(Pos a, Pos b, std::string_view text) = 0;
  // Replaces [a, b) by the stream's contents from its start.
  virtual Pos undoReplaceStream(Pos a, Pos b, ByteStream& s) = 0;
  // Compound undo and redo: redrawing suspended between begin and end; step after each operation.
  virtual void undoCompoundBegin() {}
  virtual void undoCompoundStep() {}
  virtual void undoCompoundEnd() {}
  virtual void undoBeep() {}
};

// Logging operation codes.
enum UndoOp : int {
  kOpReplace = 1,
  kOpGroupOpen = 2,
  kOpGroupClose = 3,
  kOpStream = 4,
  kOpLogOn = 6,
  kOpLogOff = 7,
  kOpClear = 8,
  kOpUnindentLine = 9,
  kOpIndentLine = 10,
};

// Group identifiers.
enum UndoGroupId : int {
  kGroupDragDrop = 11,
  kGroupDeleteChar = 13,
  kGroupBlockIndent = 17,
  kGroupBlockUnindent = 18,
  kGroupDeletePrevWord = 19,
  kGroupDeleteNextWord = 20,
};

enum class UndoPhase { None, Before, After };

struct UndoArg {
  std::string_view text;          // op 1 "before": the incoming text; op 10: the indent text;
                                  // op 9: the bytes removed
  ByteStream* stream = nullptr;   // op 4 "before": the incoming stream at its read position
  int id = 0;                     // ops 2, 3: the group identifier
  Pos pos = 0;                    // ops 9, 10: the line start
  Pos count = 0;                  // op 9: bytes removed
};

class TUndoStack : public TStack {
 public:
  // The one logging entry point: every edit is logged through here.
  void log(UndoTarget& t, int op, UndoPhase phase = UndoPhase::None, const UndoArg& arg = {});

  [[nodiscard]] bool logging() const noexcept { return logging_; }
  [[nodiscard]] int openGroup() const noexcept { return groupId_; }
  [[nodiscard]] bool canUndo() const noexcept { return cursor_ > 0; }
  [[nodiscard]] bool canRedo() const noexcept { return cursor_ < cells_.size(); }
  // True exactly when the log holds any entry: one that can only be redone counts too, since
  // undoing everything since the last save still leaves a change that can come back.
  [[nodiscard]] bool modified() const noexcept { return !cells_.empty(); }

  void undo(UndoTarget& t);
  void redo(UndoTarget& t);
  // Drops the "before" half of an operation that failed (nothing was changed).
  void cancelPending() noexcept { resetPending(); }

  // The clean mark: the state of the log when the document was last saved with its history
  // kept. Undoing or redoing away from it, or any new edit, makes the document changed again;
  // coming back to it by undo or redo makes it unchanged. Emptying the log removes the mark.
  void markClean() noexcept { cleanSet_ = true; cleanSerial_ = topSerial(); }
  [[nodiscard]] bool hasCleanMark() const noexcept { return cleanSet_; }
  [[nodiscard]] bool changedSinceClean() const noexcept { return topSerial() != cleanSerial_; }

  // Typing runs: when the two operations below the cursor are plain insertions (nothing
  // removed, outside any group) and the second starts where the first ended, joins them into
  // one operation, so that one undo takes both back. False, with the log unchanged, otherwise.
  bool mergeLastInsertions();

 private:
  // The "before" half of a replacement or stream insertion: the selection, the text it removes
  // and a copy of the incoming text or stream.
  void logBefore(UndoTarget& t, int op, const UndoArg& arg);
  void pushBoundary(int code);
  void pushSelection(Selection s);
  void pushText(std::string s);
  void trim();
  void resetPending() noexcept;
  [[noreturn]] void badTransaction(UndoTarget& t);
  // Undoes / redoes the single operation just below / at the cursor.
  void replay(UndoTarget& t, bool redo);
  void undoOne(UndoTarget& t);
  void redoOne(UndoTarget& t);
  const TUndo& back(UndoType expected);     // the cell below the cursor; moves the cursor down
  const TUndo& forward(UndoType expected);  // the cell at the cursor; moves the cursor up

  bool logging_ = true;
  int pendingOp_ = 0;
  Selection pendingSel_;
  std::string pendingRemoved_;
  std::string pendingText_;
  std::unique_ptr<MemoryStream> pendingStream_;
  // The opening triple of a group is pushed with the group's first operation, so that a group
  // in which nothing happened leaves no trace (and keeps the redo entries).
  void openPendingGroup();
  bool cleanSet_ = false;
  std::uint64_t cleanSerial_ = 0;
  int groupId_ = 0;
  Selection groupSel_;
  std::size_t groupStart_ = 0;  // cursor at the group's opening triple
  int groupOps_ = 0;
};

}  // namespace velora::memo
