// The fold margin of TSyntaxMemo: a strip right of the gutter with a marker on every line that
// opens a foldable region ("-" open, "+" folded), the fold commands, and the "..." shown after a
// folded header. The regions come from the highlighter's tokens (memo/engine/MarkupPairs.h); the
// folded set lives in the engine (memo/engine/FoldRegions.h).
#pragma once

#include <QPoint>
#include <optional>

#include "memo/engine/Types.h"

class QPainter;

namespace velora::memo {

class TSyntaxMemo;
struct FoldRange;

class FoldMargin {
 public:
  explicit FoldMargin(TSyntaxMemo& memo) : memo_(memo) {}

  // The strip's width: 0 while folding (smaFolding) is off.
  [[nodiscard]] int width() const;
  // Its left edge in viewport coordinates (right of the gutter).
  [[nodiscard]] int left() const;
  // Draws the markers of the visible rows and the marks after folded headers.
  void paint(QPainter& g) const;
  // A click at a point of the viewport: on a marker of the strip it folds or unfolds the
  // marker's region (true: the click was the margin's).
  bool click(QPoint at);

  // Folds or unfolds the region of the caret's line; on a line inside a region the innermost
  // region around it is folded and the caret moves to its header. False when there is none.
  bool toggleAtCaret();
  // Folds every region of the document (highlighting what is still pending first).
  void foldAll();
  void unfoldAll();
  // Folds or unfolds the region opening on `line`; false when none opens there.
  bool toggleLine(LineNo line);

 private:
  [[nodiscard]] std::optional<FoldRange> regionAround(LineNo line) const;
  TSyntaxMemo& memo_;
};

}  // namespace velora::memo
