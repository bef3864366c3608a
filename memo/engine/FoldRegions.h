// The folded regions of a document and the rows they hide.
//
// A folded region keeps its first line (the header) and its last line on screen and hides the
// lines between them. Regions may nest; the hidden lines are the union of their insides. The
// engine's visual rows skip hidden lines: rowCount, rowOf, rowStart and rowEnd go through
// shownRow / rawRow, which map the rows of the text (lines, or the word-wrapped rows) to the rows
// on screen with a binary search over the merged hidden spans.
//
// Folds follow edits like bookmarks: regions after an edit move with their lines, a region the
// edit reached into is checked again against the markup (settle) once the highlighter has
// re-scanned, and one whose header line was replaced goes.
#pragma once

#include <memory>
#include <vector>

#include "memo/engine/MarkupPairs.h"
#include "memo/engine/TextStore.h"
#include "memo/engine/Types.h"
#include "memo/engine/WrapIndex.h"

namespace velora::memo {

class FoldRegions {
 public:
  FoldRegions(const TextStore& store, const std::unique_ptr<WrapIndex>& wrap) : store_(store), wrap_(wrap) {}

  [[nodiscard]] bool empty() const noexcept { return folds_.empty(); }
  // The folded regions by header line.
  [[nodiscard]] const std::vector<FoldRange>& folded() const noexcept { return folds_; }
  [[nodiscard]] bool isFolded(LineNo header) const noexcept;
  // Folds a region (one that hides at least one line); false when it hides nothing.
  bool fold(FoldRange r);
  // Unfolds the region whose header is `header`; false when none was folded there.
  bool unfold(LineNo header);
  void unfoldAll();
  // Replaces the folded set (fold all).
  void setFolded(std::vector<FoldRange> regions);
  // True when the line is hidden inside a folded region.
  [[nodiscard]] bool hidden(LineNo line) const;
  // Unfolds every region that hides `line`; true when one did.
  bool reveal(LineNo line);
  // Lines [first, first + removed) of the old text became lines [first, first + added).
  void replaceLines(LineNo first, LineNo removed, LineNo added);
  // Checks the regions an edit reached into against the regions the tokens give now.
  void settle();
  // The row layout changed (word wrap switched or re-laid out).
  void layoutChanged() noexcept { dirty_ = true; }

  // Rows: `raw` rows are those of the text (lines, or wrapped rows), `shown` ones those on screen.
  [[nodiscard]] Pos shownRowCount(Pos rawRows) const;
  // A hidden row maps to the last row of its region's header.
  [[nodiscard]] Pos shownRow(Pos rawRow) const;
  [[nodiscard]] Pos rawRow(Pos shownRow) const;

 private:
  struct Span {
    LineNo first, last;   // hidden lines, inclusive
    Pos rowFirst, rowEnd;  // their raw rows [rowFirst, rowEnd)
    Pos hiddenBefore;      // hidden rows of the spans before
  };
  void rebuild() const;
  [[nodiscard]] Pos rawRowOfLine(LineNo line) const;

  const TextStore& store_;
  const std::unique_ptr<WrapIndex>& wrap_;
  std::vector<FoldRange> folds_;  // sorted by header
  std::vector<LineNo> unsettled_;
  mutable std::vector<Span> spans_;
  mutable Pos hiddenRows_ = 0;
  mutable bool dirty_ = true;
};

}  // namespace velora::memo
