// The editor control's engine: the view state (first visible line and column, word wrap,
// scrolling the caret into view) and painting suspension.
#include <algorithm>

#include "memo/engine/MemoEngine.h"

namespace velora::memo {

void MemoEngine::setWrapWidth(int columns) {
  if (!hasOption(smoWordWrap) || columns <= 0) {
    if (!wrap_) return;
    const Pos top = firstVisiblePos();
    wrap_.reset();
    folds_->layoutChanged();
    firstLine_ = rowOf(top);
  } else {
    const std::string breakAfter = hasOption(smoWrapOverride) ? wrapOverride : std::string();
    if (wrap_ && wrap_->width() == columns && wrap_->tabs() == tabStops() && wrap_->breakAfter() == breakAfter) return;
    const Pos top = firstVisiblePos();
    wrap_ = std::make_unique<WrapIndex>(store_, columns, tabStops(), breakAfter);
    folds_->layoutChanged();
    firstLine_ = rowOf(top);
    firstCol_ = 0;  // wrapped text needs no horizontal scrolling
  }
  if (onViewChange) onViewChange();
  requestRepaint();
}

void MemoEngine::setFirstVisibleLine(LineNo l, bool repaint) {
  l = std::clamp<LineNo>(l, 0, rowCount() - 1);
  if (l == firstLine_) return;
  firstLine_ = l;
  if (onViewChange) onViewChange();
  if (repaint) requestRepaint();
}

void MemoEngine::setFirstVisibleColumn(Pos c, bool repaint) {
  c = std::max<Pos>(0, c);
  if (c == firstCol_) return;
  firstCol_ = c;
  if (onViewChange) onViewChange();
  if (repaint) requestRepaint();
}

void MemoEngine::scrollCaretIntoView() {
  if (wrap_) {
    const Pos row = rowOf(sel_.caret);
    LineNo first = firstLine_;
    if (row < first) first = row;
    else if (row >= first + visibleLines_) first = row - visibleLines_ + 1;
    setFirstVisibleLine(first);
    return;
  }
  const LineNo l = rowOf(sel_.caret);
  LineNo first = firstLine_;
  if (l < first) first = l;
  else if (l >= first + visibleLines_) first = l - visibleLines_ + 1;
  const Pos col = displayColumn(sel_.caret);
  Pos fc = firstCol_;
  if (col < fc) fc = col;
  else if (col >= fc + visibleCols_) fc = col - visibleCols_ + 1;
  setFirstVisibleLine(first);
  setFirstVisibleColumn(fc);
}

void MemoEngine::setPaintSuspended(bool s, bool repaintOnClear) {
  paintSuspended_ = s;
  if (!s && repaintOnClear) {
    repaintPending_ = false;
    if (onRepaint) onRepaint();
  }
}

void MemoEngine::requestRepaint() {
  if (paintSuspended_) {
    repaintPending_ = true;
    return;
  }
  if (onRepaint) onRepaint();
}

}  // namespace velora::memo
