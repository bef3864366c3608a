// The fold margin of TSyntaxMemo: markers, clicks and the fold commands.
#include "memo/widget/FoldMargin.h"

#include <QPainter>
#include <algorithm>

#include "memo/engine/FoldRegions.h"
#include "memo/engine/MarkupPairs.h"
#include "memo/widget/SyntaxMemo.h"

namespace velora::memo {

namespace {

constexpr int kMarginWidth = 14;

}  // namespace

int FoldMargin::width() const { return memo_.engine().hasAid(smaFolding) ? kMarginWidth : 0; }

int FoldMargin::left() const { return memo_.gutterPixels(); }

void FoldMargin::paint(QPainter& g) const {
  const int w = width();
  if (w == 0) return;
  MemoEngine& e = memo_.engine();
  const TextStore& s = e.store();
  const int h = memo_.lineHeight();
  const int x0 = left();
  const int rows = memo_.viewport()->height() / h + 1;
  const LineNo first = e.firstVisibleLine();
  const QColor ink(96, 96, 96);
  for (int k = 0; k < rows && first + k < e.rowCount(); ++k) {
    const Pos rs = e.rowStart(first + k);
    const LineNo line = s.lineFromPos(rs);
    if (s.lineStart(line) != rs) continue;  // a continuation row of a wrapped line
    const bool folded = e.folds().isFolded(line);
    if (!folded && !e.markupLines().opensRegion(line)) continue;
    const int y = k * h;
    const int box = std::min(w - 4, h - 4) | 1;
    const QRect r(x0 + (w - box) / 2, y + (h - box) / 2, box, box);
    g.setPen(ink);
    g.setBrush(Qt::white);
    g.drawRect(r.adjusted(0, 0, -1, -1));
    const int cy = r.top() + box / 2, cx = r.left() + box / 2;
    g.drawLine(r.left() + 2, cy, r.right() - 2, cy);
    if (folded) {
      g.drawLine(cx, r.top() + 2, cx, r.bottom() - 2);
      // After the header's text: a mark that lines are hidden here.
      const int tx = std::max(memo_.textLeft(), memo_.pointAt(s.lineEnd(line)).x()) + memo_.lineHeight() / 2;
      const QRect mark(tx, y + 2, 3 * memo_.lineHeight() / 2, h - 4);
      g.fillRect(mark, QColor(230, 230, 230));
      g.drawRect(mark.adjusted(0, 0, -1, -1));
      g.drawText(mark, Qt::AlignCenter, QStringLiteral("..."));
    }
  }
}

bool FoldMargin::click(QPoint at) {
  const int w = width();
  if (w == 0 || at.x() < left() || at.x() >= left() + w) return false;
  MemoEngine& e = memo_.engine();
  const Pos row = e.firstVisibleLine() + at.y() / memo_.lineHeight();
  if (row < 0 || row >= e.rowCount()) return false;
  // Beside a line without a marker the click is an ordinary one (the caret goes to the line).
  return toggleLine(e.store().lineFromPos(e.rowStart(row)));
}

bool FoldMargin::toggleLine(LineNo line) {
  MemoEngine& e = memo_.engine();
  if (e.folds().unfold(line)) {
    e.requestRepaint();
    return true;
  }
  const auto r = RegionOpeningOn(e.store(), line);
  if (!r || !e.folds().fold(*r)) return false;
  // The caret never stays on a hidden line: it goes to the header.
  const LineNo caretLine = e.store().lineFromPos(e.selection().caret);
  if (caretLine > r->first && caretLine < r->last) e.setSelection(e.store().lineEnd(r->first), e.store().lineEnd(r->first));
  e.requestRepaint();
  return true;
}

std::optional<FoldRange> FoldMargin::regionAround(LineNo line) const {
  const TextStore& s = memo_.engine().store();
  // The nearest header above whose region still covers the line (a region of the caret's own
  // line first).
  for (LineNo l = line; l >= 0 && line - l < 5000; --l) {
    const auto r = RegionOpeningOn(s, l);
    if (r && r->last > line) return r;
  }
  return std::nullopt;
}

bool FoldMargin::toggleAtCaret() {
  MemoEngine& e = memo_.engine();
  if (!e.hasAid(smaFolding)) return false;
  const LineNo line = e.store().lineFromPos(e.selection().caret);
  if (e.folds().isFolded(line)) return toggleLine(line);
  const auto r = regionAround(line);
  return r && toggleLine(r->first);
}

void FoldMargin::foldAll() {
  MemoEngine& e = memo_.engine();
  if (!e.hasAid(smaFolding)) return;
  while (e.highlightPending() && e.HighlightSlice(1000000)) {
  }
  e.folds().setFolded(AllRegions(e.store()));
  const LineNo caretLine = e.store().lineFromPos(e.selection().caret);
  if (e.folds().hidden(caretLine)) {
    // The caret goes to the header of the outermost region that hides its line.
    for (const FoldRange& r : e.folds().folded())
      if (r.first < caretLine && caretLine < r.last) {
        const Pos p = e.store().lineEnd(r.first);
        e.setSelection(p, p);
        break;
      }
  }
  e.requestRepaint();
}

void FoldMargin::unfoldAll() {
  MemoEngine& e = memo_.engine();
  e.folds().unfoldAll();
  e.requestRepaint();
}

}  // namespace velora::memo
