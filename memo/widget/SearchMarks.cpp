// The search-highlight marks drawn over the control's text.
#include "memo/widget/SearchMarks.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>

#include "memo/widget/SyntaxMemo.h"

namespace velora::memo {

TSearchMarks::TSearchMarks(TSyntaxMemo& memo) : QWidget(memo.viewport()), memo_(memo) {
  setObjectName(QStringLiteral("SearchMarks"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setGeometry(memo.viewport()->rect());
  memo.viewport()->installEventFilter(this);
  connect(&memo, &TSyntaxMemo::OnTextChange, this, [this] { clear(); });
  show();
}

TSearchMarks& TSearchMarks::of(TSyntaxMemo& memo) {
  if (auto* m = memo.viewport()->findChild<TSearchMarks*>(QString(), Qt::FindDirectChildrenOnly)) return *m;
  return *new TSearchMarks(memo);
}

bool TSearchMarks::eventFilter(QObject* watched, QEvent* event) {
  // The marks sit on the viewport, their parent: it is asked directly, since
  // the control may already be half torn down when its viewport's last
  // events arrive.
  if (watched == parentWidget() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
  return false;
}

void TSearchMarks::add(Pos start, Pos end) {
  if (end <= start) return;
  ranges_.emplace_back(start, end);
  update();
}

void TSearchMarks::setRanges(std::vector<std::pair<Pos, Pos>> ranges) {
  ranges_ = std::move(ranges);
  update();
}

void TSearchMarks::clear() {
  if (ranges_.empty()) return;
  ranges_.clear();
  update();
}

void TSearchMarks::paintEvent(QPaintEvent*) {
  if (ranges_.empty()) return;
  // The window shows rows, not lines: folded regions hide lines and word wrap splits them.
  const MemoEngine& e = memo_.engine();
  const Pos first = e.firstVisibleLine();
  const Pos last = std::min<Pos>(e.rowCount() - 1, first + height() / std::max(1, memo_.lineHeight()) + 1);
  if (last < first) return;
  const Pos from = e.rowStart(first);
  const Pos to = e.rowEnd(last);
  QPainter g(this);
  g.setClipRect(QRect(memo_.textLeft(), 0, width(), height()));
  const QColor mark(255, 210, 0, 110);
  const int charWidth = memo_.fontMetrics().averageCharWidth();
  // Only the marks that reach the visible rows are drawn, on each row they cover.
  auto it = std::lower_bound(ranges_.begin(), ranges_.end(), from,
                             [](const std::pair<Pos, Pos>& r, Pos key) { return r.second < key; });
  for (; it != ranges_.end() && it->first <= to; ++it) {
    for (Pos row = std::max(first, e.rowOf(it->first)); row <= last; ++row) {
      const Pos rs = e.rowStart(row);
      const Pos re = e.rowEnd(row);
      if (rs > it->second) break;
      const Pos a = std::max(it->first, rs);
      const Pos b = std::min(it->second, re);
      // The end of a row that the next row continues is drawn on this row, past its last character.
      const bool lineEnds = re == e.store().lineEnd(e.store().lineFromPos(rs));
      // Nothing of the mark on this row (it lies inside a folded region, or starts on the next row).
      if (b < a || (b == a && (!lineEnds || it->second <= re))) continue;
      const int y = int(row - first) * memo_.lineHeight();
      const int xa = memo_.pointAt(a).x();
      int xb = b < re || lineEnds ? memo_.pointAt(b).x() : memo_.pointAt(e.prevCharPos(b)).x() + charWidth;
      if (it->second > re && lineEnds) xb += charWidth;  // the break itself
      g.fillRect(QRect(xa, y, std::max(1, xb - xa), memo_.lineHeight()), mark);
    }
  }
}

}  // namespace velora::memo
