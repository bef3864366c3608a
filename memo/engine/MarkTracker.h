// Positions that stay with their text while the document is edited: the anchors of bookmarks,
// line marks and tracked lines (memo/engine/LineMarks.h). The tracker keeps every anchor of the
// control in one list ordered by position and moves them on each edit:
//   - an anchor before the edited range stays;
//   - an anchor at or after its end moves by the change in length (an insertion at an anchor
//     pushes it along with the text after it);
//   - an anchor inside a removed range whose line is deleted is released (line marks and tracked
//     lines) or moves to the start of the removed range (bookmarks); other anchors inside the
//     range move to its start, onto the line the remains of theirs joined.
// A line counts as deleted when all of its text and one of the breaks around it are removed.
// Undo and redo put the text of a removal back exactly, so the tracker remembers what a removal
// did to anchors and, when undo or redo inserts that very text at that place again, brings the
// released anchors back and returns the moved ones to where they were.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "memo/engine/Types.h"

namespace velora::memo {

class TextStore;

// A list whose entries are anchored (LineMarks.h). Keys are the list's own entry numbers.
class MarkClient {
 public:
  virtual ~MarkClient() = default;
  // Whether an entry goes when its line is deleted (otherwise it moves to the deletion point).
  [[nodiscard]] virtual bool releasedWithLine() const noexcept = 0;
  // The entry's line was deleted: the list parks it (undo may bring it back) and tells its owner.
  virtual void anchorReleased(int key) = 0;
  // Undo or redo brought the entry's line back.
  virtual void anchorRevived(int key) = 0;
  // The tracker will not bring a released entry back any more: its parked data may go.
  virtual void anchorForgotten(int key) = 0;
  // An edit moved the entry onto another line's remains (not a mere shift of line numbers).
  virtual void anchorMerged(int /*key*/) {}
};

class MarkTracker {
 public:
  MarkTracker() = default;
  MarkTracker(const MarkTracker&) = delete;
  MarkTracker& operator=(const MarkTracker&) = delete;

  // ---- Anchors of the lists
  void add(MarkClient* c, int key, Pos pos);
  // Removes an entry's anchor (no event); false when it has none.
  bool remove(const MarkClient* c, int key);
  // Moves an existing anchor (or adds it).
  void move(MarkClient* c, int key, Pos pos);
  [[nodiscard]] std::optional<Pos> position(const MarkClient* c, int key) const;
  // The entries of a list anchored in [from, to), in the order of their positions.
  void forEachIn(const MarkClient* c, Pos from, Pos to, const std::function<void(int key, Pos pos)>& fn) const;
  [[nodiscard]] std::size_t count() const noexcept { return anchors_.size(); }
  // A list that goes away: its anchors and remembered entries go with it.
  void detach(const MarkClient* c);

  // ---- Edits (the engine's text primitive calls these around each change)
  // What removing [a, b) will do, judged on the text before the change.
  static constexpr char kLineKept = 0, kLineDeleted = 1, kLineMerged = 2;
  struct Removal {
    Pos a = 0, b = 0;
    std::vector<char> lineDeleted;  // per anchor in [a, b): kLineKept, kLineDeleted, kLineMerged
    std::size_t hash = 0;           // of the removed text, when anchors are inside
    std::size_t firstInside = 0;    // index of the first anchor in [a, b)
  };
  [[nodiscard]] Removal prepare(const TextStore& s, Pos a, Pos b) const;
  // After the change: `inserted` bytes now stand at a in place of [a, b).
  void apply(const Removal& r, Pos inserted);
  // Undo or redo inserted `length` bytes at `at`: anchors a removal of that very text there
  // released or moved come back.
  void restore(const TextStore& s, Pos at, Pos length);
  // The whole document was replaced: every list's anchors are released, nothing is remembered.
  void releaseAll();
  // The undo history is gone: released entries can no longer come back.
  void forgetUndo();

  // Raised when an owner adds, moves or removes an anchor (edits repaint anyway).
  std::function<void()> onChanged;

  // ---- Events of edits wait until the edit is complete (the engine flushes them).
  void post(std::function<void()> event) { pending_.push_back(std::move(event)); }
  void flush();

 private:
  struct Anchor {
    Pos pos;
    std::uint64_t serial;
    MarkClient* client;
    int key;
  };
  struct Remembered {
    MarkClient* client;
    int key;
    std::uint64_t serial;
    Pos offset;  // from the start of the removed text
    bool released;
  };
  struct Memory {
    Pos at, length;
    std::size_t hash;
    std::vector<Remembered> items;
  };
  static constexpr std::size_t kMaxMemories = 64;

  [[nodiscard]] std::size_t lowerBound(Pos p) const noexcept;
  void forget(Memory& m);
  void insertSorted(const Anchor& a);

  std::vector<Anchor> anchors_;  // ordered by position
  std::deque<Memory> memories_;  // newest last
  std::uint64_t nextSerial_ = 1;
  std::vector<std::function<void()>> pending_;
};

}  // namespace velora::memo
