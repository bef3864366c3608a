// The completion list.
#include "memo/widget/CompletionPopup.h"

#include <QAbstractListModel>
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

#include "memo/widget/SyntaxMemo.h"

namespace velora::memo {

namespace {

constexpr int kDetailRole = Qt::UserRole + 1;

QString FromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

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

class CompletionModel : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;
  std::vector<CompletionItem> items;
  void reset(std::vector<CompletionItem> v) {
    beginResetModel();
    items = std::move(v);
    endResetModel();
  }
  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(items.size()); }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= int(items.size())) return {};
    const CompletionItem& it = items[std::size_t(index.row())];
    if (role == Qt::DisplayRole) return FromUtf8(it.label);
    if (role == kDetailRole) return FromUtf8(it.detail);
    return {};
  }
};

CompletionPopup::CompletionPopup(TSyntaxMemo& memo)
    : QListView(memo.viewport()), memo_(memo), model_(new CompletionModel(this)) {
  setObjectName(QStringLiteral("CompletionPopup"));
  setFocusPolicy(Qt::NoFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setUniformItemSizes(true);
  setFrameShape(QFrame::Box);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setModel(model_);
  setItemDelegate(new CompletionDelegate(this));
  connect(this, &QListView::clicked, this, [this](const QModelIndex& index) {
    setCurrentIndex(index);
    Q_EMIT activated();
  });
  hide();
}

CompletionPopup::~CompletionPopup() = default;

const std::vector<CompletionItem>& CompletionPopup::items() const noexcept { return model_->items; }

void CompletionPopup::showItems(std::vector<CompletionItem> items, Pos wordStart) {
  model_->reset(std::move(items));
  const std::vector<CompletionItem>& all = model_->items;
  setCurrentIndex(all.empty() ? QModelIndex() : model_->index(0));
  // The width of the longest row (by bytes: measuring thousands of rows would cost more than
  // the list is worth).
  const QFontMetrics fm(font());
  std::size_t longest = 0;
  for (std::size_t i = 1; i < all.size(); ++i)
    if (all[i].label.size() + all[i].detail.size() > all[longest].label.size() + all[longest].detail.size())
      longest = i;
  int widest = 0;
  if (!all.empty()) {
    const CompletionItem& it = all[longest];
    widest = fm.horizontalAdvance(FromUtf8(it.label)) +
             (it.detail.empty() ? 0 : fm.horizontalAdvance(FromUtf8(it.detail)) + 24);
  }
  const int rowHeight = all.empty() ? fm.height() : std::max(1, sizeHintForRow(0));
  const int rows = std::min<int>(int(all.size()), kRows);
  const int scroll = int(all.size()) > kRows ? verticalScrollBar()->sizeHint().width() : 0;
  resize(std::clamp(widest + 24 + scroll, 120, 480), rows * rowHeight + 2 * frameWidth());
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
  const int r = currentIndex().row();
  return r >= 0 && r < int(model_->items.size()) ? &model_->items[std::size_t(r)] : nullptr;
}

void CompletionPopup::moveSelection(int rows) {
  if (model_->items.empty()) return;
  setCurrentIndex(model_->index(std::clamp(currentIndex().row() + rows, 0, int(model_->items.size()) - 1)));
}

}  // namespace velora::memo
