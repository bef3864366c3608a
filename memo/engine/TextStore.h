// Line store of the editor control: a chain of line records with a position index beside it.
//
// The chain is kept in order in blocks of at most kBlockMax records; a Fenwick tree over the
// blocks holds their byte, record and hard-break counts, so that position -> record/line,
// line -> position and record lookups are O(log n) plus a short scan inside one block.
// "next" and "previous" of a record are its neighbours in this order (RecordRef::next/prev).
//
// Invariants (checkInvariants() verifies them):
// - A hard break is one CR (13) at the end of its record; no LF is ever stored.
// - Every record holds at most 65535 bytes. A record that does not end in CR continues on the
//   next record (word wrap or an over-long line), except the last record, which never ends in
//   CR and may be empty. No other record is empty.
// - Only the store changes a record's text; owners (the highlighter) change tokens and flags.
// - A record's token array is empty (not computed) or exactly as long as its text.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "memo/engine/Types.h"

namespace velora::memo {

inline constexpr std::size_t kMaxRecordBytes = 65535;

// Flag bits of a line record (Parts 7.1, 7.3).
enum RecordFlag : std::uint16_t {
  kRecRepaint = 1u << 0,         // repaint needed
  kRecTokensSupplied = 1u << 1,  // token values supplied from outside; must be recomputed
  kRecSpellPending = 1u << 3,    // waiting for the background spell check
  kRecRescan = 1u << 4,          // token values must be recomputed
};

struct LineRecord {
  std::string text;                  // the bytes, with the trailing CR of a hard break
  std::vector<std::uint8_t> tokens;  // one token value per byte; empty until computed
  std::uint16_t flags = kRecRepaint | kRecRescan;
  bool hard = false;  // text ends in CR; kept by the store (the index scans it without touching text)
  // The highlighter's checkpoint of its state at the record's start (an id in its own pool;
  // 0 = none). The store keeps it on the record that begins where an edited record began, since
  // the text before that start is unchanged; new records get 0.
  std::uint32_t scanState = 0;

  [[nodiscard]] std::uint16_t length() const noexcept { return static_cast<std::uint16_t>(text.size()); }
  [[nodiscard]] bool hardBreak() const noexcept { return hard; }
  // The text without its break.
  [[nodiscard]] std::string_view content() const noexcept {
    return std::string_view(text).substr(0, text.size() - (hardBreak() ? 1 : 0));
  }
};

// A record's place in the chain.
struct RecordRef {
  std::size_t block = 0;
  std::size_t index = 0;
  friend bool operator==(const RecordRef&, const RecordRef&) = default;
};

// Where a position lies.
struct Location {
  RecordRef ref;
  RecNo record = 0;     // global record number
  Pos recordStart = 0;  // position of the record's first byte
  LineNo line = 0;      // hard line of the record
  std::size_t offset = 0;  // position - recordStart
};

class TextStore {
 public:
  TextStore();

  // Replaces the whole document; the text is normalised (every break becomes one CR).
  void setText(std::string_view raw);
  // Inserts stored-form text (breaks already one CR, no LF) at p; returns the inserted length.
  // Throws std::bad_alloc, with the store unchanged, when the document would grow past the
  // capacity limit (unless withLimit is false: text put back after a failed replacement).
  Pos insert(Pos p, std::string_view stored, bool withLimit = true);
  // The most bytes the document may hold (the store's share of memory; lowered by owners and
  // tests, no limit by default).
  void setCapacityLimit(Pos bytes) noexcept { capacity_ = bytes < 0 ? 0 : bytes; }
  [[nodiscard]] Pos capacityLimit() const noexcept { return capacity_; }
  // Removes [a, b).
  void erase(Pos a, Pos b);

  [[nodiscard]] Pos length() const noexcept { return total_.bytes; }
  [[nodiscard]] LineNo lineCount() const noexcept { return total_.breaks + 1; }
  [[nodiscard]] RecNo recordCount() const noexcept { return total_.recs; }
  [[nodiscard]] Pos clamp(Pos p) const noexcept { return p < 0 ? 0 : (p > length() ? length() : p); }

  // Position lookups; out-of-range arguments are clamped.
  [[nodiscard]] Location locate(Pos p) const noexcept;
  [[nodiscard]] LineNo lineFromPos(Pos p) const noexcept { return locate(p).line; }
  [[nodiscard]] Pos lineStart(LineNo line) const noexcept;
  // Length of a line without its break.
  [[nodiscard]] Pos lineLength(LineNo line) const noexcept;
  [[nodiscard]] Pos lineEnd(LineNo line) const noexcept { return lineStart(line) + lineLength(line); }
  [[nodiscard]] std::string lineText(LineNo line) const;
  // Number of hard breaks in [a, b).
  [[nodiscard]] Pos breaksIn(Pos a, Pos b) const noexcept;
  // The stored bytes of [a, b).
  [[nodiscard]] std::string text(Pos a, Pos b) const;
  [[nodiscard]] std::string text() const { return text(0, length()); }
  // Characters (as Utf8.h counts them, each record on its own) of the whole text, before a
  // position, and the position of a character index; all through the block index, so that
  // assistive tools can address a large document by characters cheaply.
  [[nodiscard]] Pos charCount() const noexcept { return total_.chars; }
  [[nodiscard]] Pos charsBefore(Pos p) const noexcept;
  [[nodiscard]] Pos posOfChar(Pos c) const noexcept;
  [[nodiscard]] char charAt(Pos p) const noexcept;

  // Records.
  [[nodiscard]] RecordRef recordRef(RecNo r) const noexcept;
  [[nodiscard]] Location locateRecord(RecNo r) const noexcept;
  [[nodiscard]] const LineRecord& record(RecordRef r) const noexcept { return blocks_[r.block].recs[r.index]; }
  LineRecord& record(RecordRef r) noexcept { return blocks_[r.block].recs[r.index]; }
  [[nodiscard]] bool next(RecordRef& r) const noexcept;
  [[nodiscard]] bool prev(RecordRef& r) const noexcept;
  [[nodiscard]] RecordRef firstRecord() const noexcept { return {0, 0}; }
  [[nodiscard]] RecordRef lastRecord() const noexcept { return {blocks_.size() - 1, blocks_.back().recs.size() - 1}; }

  // Calls fn(record, from, to) for the covered byte range of every record touching [a, b).
  template <class Fn>
  void forEachSegment(Pos a, Pos b, Fn&& fn) const {
    a = clamp(a); b = clamp(b);
    if (a >= b) return;
    Location loc = locate(a);
    RecordRef r = loc.ref;
    std::size_t from = loc.offset;
    Pos left = b - a;
    for (;;) {
      const LineRecord& rec = record(r);
      const std::size_t to = static_cast<std::size_t>(std::min<Pos>(Pos(rec.text.size()), Pos(from) + left));
      if (to > from) fn(rec, from, to);
      left -= Pos(to - from);
      if (left <= 0 || !next(r)) break;
      from = 0;
    }
  }

  // Edited records since the last takeDirty(): the lowest record number changed, or -1.
  [[nodiscard]] RecNo firstDirtyRecord() const noexcept { return firstDirty_; }
  RecNo takeDirty() noexcept { const RecNo r = firstDirty_; firstDirty_ = -1; return r; }
  void markDirty(RecNo r) noexcept { if (firstDirty_ < 0 || r < firstDirty_) firstDirty_ = r; }

  // Approximate heap bytes owned by the store (for the memory benchmark and diagnostics).
  [[nodiscard]] std::size_t memoryUse() const noexcept;
  // Throws std::logic_error when an invariant is broken (tests).
  void checkInvariants() const;

  static constexpr std::size_t kBlockMax = 64;
  static constexpr std::size_t kBlockFill = 40;

 private:
  struct Sums {
    Pos bytes = 0;
    Pos breaks = 0;
    Pos recs = 0;
    Pos chars = 0;
    Sums& operator+=(const Sums& o) noexcept {
      bytes += o.bytes; breaks += o.breaks; recs += o.recs; chars += o.chars;
      return *this;
    }
    Sums& operator-=(const Sums& o) noexcept {
      bytes -= o.bytes; breaks -= o.breaks; recs -= o.recs; chars -= o.chars;
      return *this;
    }
  };
  struct Block {
    std::vector<LineRecord> recs;
    Sums sums;
  };

  static Sums sumsOf(const std::vector<LineRecord>& recs) noexcept;
  void rebuildIndex();
  void spliceBlocks(std::size_t first, std::size_t last, std::vector<LineRecord>& seq);
  void fenAdd(std::size_t block, const Sums& delta) noexcept;
  [[nodiscard]] Sums fenPrefix(std::size_t block) const noexcept;  // sums of blocks [0, block)
  // Replaces `count` records starting at `at` with `repl`; repl may be empty.
  void splice(RecordRef at, RecNo count, std::vector<LineRecord>&& repl);
  // Cuts content (with its parallel tokens, if any) into records; `last` = ends the document.
  static void cutRecords(std::string_view content, const std::vector<std::uint8_t>* tokens, bool last,
                         std::uint16_t flags, std::vector<LineRecord>& out);
  [[nodiscard]] bool isLast(RecordRef r) const noexcept {
    return r.block + 1 == blocks_.size() && r.index + 1 == blocks_[r.block].recs.size();
  }

  std::vector<Block> blocks_;
  std::vector<Sums> fen_;  // 1-based Fenwick tree over blocks_
  Sums total_;
  std::size_t fenTop_ = 1;  // highest power of two <= blocks_.size()
  RecNo firstDirty_ = 0;
  Pos capacity_ = Pos(1) << 62;
};

}  // namespace velora::memo
