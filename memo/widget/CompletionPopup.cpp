// The completion list.
#include "memo/widget/CompletionPopup.h"

#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

#include "memo/widget/SyntaxMemo.h"

namespace velora::memo {

namespace {

constexpr int kDetailRole = Qt::UserRole + 1;

// The label, and its detail (a reference's character) at the right edge in a muted colour.
class CompletionDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* g, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool selected = option.state & QStyle::State_Selected;
    g->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
    const QRect r = option.rect.adjusted(4, 0, -4, 0);
    g->setPen(selected ? option.palette.highlightedText().color() : option.palette.text().color());
    g->drawText(r, Qt::AlignVCenter | Qt::AlignLeft, index.data(Qt::DisplayRole).toString());
    const QString detail = index.data(kDetailRole).toString();
    if (!detail.isEmpty()) {
      if (!selected) g->setPen(option.palette.placeholderText().color());
      g->drawText(r, Qt::AlignVCenter | Qt::AlignRight, detail);
    }
  }
};

}  // namespace

CompletionPopup::CompletionPopup(TSyntaxMemo& memo) : QListWidget(memo.viewport()), memo_(memo) {
  setObjectName(QStringLiteral("CompletionPopup"));
  setFocusPolicy(Qt::NoFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setUniformItemSizes(true);
  setFrameShape(QFrame::Box);
  setItemDelegate(new CompletionDelegate(this));
  connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* it) {
    setCurrentItem(it);
    Q_EMIT activated();
  });
  hide();
}

void CompletionPopup::showItems(std::vector<CompletionItem> items, Pos wordStart) {
  items_ = std::move(items);
  setUpdatesEnabled(false);
  clear();
  const QFontMetrics fm(font());
  int widest = 0;
  for (const CompletionItem& it : items_) {
    const QString label = QString::fromUtf8(it.label.data(), qsizetype(it.label.size()));
    const QString detail = QString::fromUtf8(it.detail.data(), qsizetype(it.detail.size()));
    auto* row = new QListWidgetItem(label, this);
    row->setData(kDetailRole, detail);
    widest = std::max(widest, fm.horizontalAdvance(label) + (detail.isEmpty() ? 0 : fm.horizontalAdvance(detail) + 24));
  }
  setCurrentRow(items_.empty() ? -1 : 0);
  setUpdatesEnabled(true);
  const int rowHeight = items_.empty() ? fm.height() : std::max(1, sizeHintForRow(0));
  const int rows = std::min<int>(int(items_.size()), kRows);
  const int scroll = int(items_.size()) > kRows ? verticalScrollBar()->sizeHint().width() : 0;
  resize(std::clamp(widest + 16 + scroll, 120, 480), rows * rowHeight + 2 * frameWidth());
  const QWidget* vp = memo_.viewport();
  const QPoint at = memo_.pointAt(wordStart);
  int y = at.y() + memo_.lineHeight();
  if (y + height() > vp->height() && at.y() - height() >= 0) y = at.y() - height();
  const int x = std::max(0, std::min(at.x(), vp->width() - width()));
  move(x, y);
  show();
  raise();
}

const CompletionItem* CompletionPopup::currentItem() const {
  const int r = currentRow();
  return r >= 0 && r < int(items_.size()) ? &items_[std::size_t(r)] : nullptr;
}

void CompletionPopup::moveSelection(int rows) {
  if (items_.empty()) return;
  setCurrentRow(std::clamp(currentRow() + rows, 0, int(items_.size()) - 1));
}

}  // namespace velora::memo
