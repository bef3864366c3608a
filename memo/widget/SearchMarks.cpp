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
  const TextStore& s = memo_.engine().store();
  const LineNo first = memo_.engine().firstVisibleLine();
  const LineNo last = std::min<LineNo>(s.lineCount() - 1, first + height() / std::max(1, memo_.lineHeight()) + 1);
  const Pos from = s.lineStart(first);
  const Pos to = s.lineStart(last) + s.lineLength(last);
  QPainter g(this);
  g.setClipRect(QRect(memo_.textLeft(), 0, width(), height()));
  const QColor mark(255, 210, 0, 110);
  // Only the marks that reach the visible lines are drawn.
  auto it = std::lower_bound(ranges_.begin(), ranges_.end(), from,
                             [](const std::pair<Pos, Pos>& r, Pos key) { return r.second < key; });
  for (; it != ranges_.end() && it->first <= to; ++it) {
    for (LineNo l = std::max(first, s.lineFromPos(it->first)); l <= last; ++l) {
      const Pos ls = s.lineStart(l);
      const Pos le = ls + s.lineLength(l);
      if (ls > it->second) break;
      const Pos a = std::max(it->first, ls);
      const Pos b = std::min(it->second, le);
      const QPoint pa = memo_.pointAt(a);
      int xb = memo_.pointAt(b).x();
      if (it->second > le) xb += memo_.fontMetrics().averageCharWidth();  // the break itself
      g.fillRect(QRect(pa.x(), pa.y(), std::max(1, xb - pa.x()), memo_.lineHeight()), mark);
    }
  }
}

}  // namespace velora::memo
