// The pick list of code templates.
#include "memo/widget/TemplatePickList.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

#include "memo/engine/MacroKeywords.h"
#include "memo/widget/SyntaxMemo.h"

namespace velora::memo {

namespace {

constexpr int kNameRole = Qt::UserRole + 1;

// Description, then the name in bold from the list's name column.
class PickDelegate : public QStyledItemDelegate {
 public:
  PickDelegate(TTemplatePickList& list) : QStyledItemDelegate(&list), list_(list) {}
  void paint(QPainter* g, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool selected = option.state & QStyle::State_Selected;
    g->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
    g->setPen(selected ? option.palette.highlightedText().color() : option.palette.text().color());
    QFont f = list_.font();
    g->setFont(f);
    const QRect r = option.rect.adjusted(2, 0, -2, 0);
    g->drawText(r, Qt::AlignVCenter | Qt::AlignLeft, index.data(Qt::DisplayRole).toString());
    f.setBold(true);
    g->setFont(f);
    g->drawText(r.adjusted(list_.nameColumn(), 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                index.data(kNameRole).toString());
  }
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return QSize(list_.width(), list_.rowHeight());
  }

 private:
  TTemplatePickList& list_;
};

}  // namespace

TTemplatePickList::TTemplatePickList(TSyntaxMemo& memo, const TCodeTemplates& templates, const QString& prefix)
    : QListWidget(memo.viewport()) {
  setObjectName(QStringLiteral("TemplatePickList"));
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setUniformItemSizes(true);
  QFont f(QStringLiteral("Arial"), 8);
  setFont(f);
  QFont bold = f;
  bold.setBold(true);
  const QFontMetrics plain(f), strong(bold);
  rowHeight_ = strong.height() + 2;  // the bold text height ("Wy") plus 2
  int widestDescription = 0, widestName = 0;
  for (const TMacroEntry& t : templates.entries()) {
    const QString d = QString::fromUtf8(t.description.c_str()), n = QString::fromUtf8(t.name.c_str());
    widestDescription = std::max(widestDescription, plain.horizontalAdvance(d));
    widestName = std::max(widestName, strong.horizontalAdvance(n));
    auto* item = new QListWidgetItem(d, this);
    item->setData(kNameRole, n);
  }
  nameColumn_ = widestDescription + 24;
  setItemDelegate(new PickDelegate(*this));
  const int rows = std::min(count(), 12);
  resize(widestDescription + widestName + 48, rows * rowHeight_ + 2);
  int selected = 0;
  const QString p = prefix.toLower();
  for (int i = 0; i < count(); ++i)
    if (!p.isEmpty() && item(i)->data(kNameRole).toString().toLower().contains(p)) {
      selected = i;
      break;
    }
  setCurrentRow(selected);
  // A double click chooses a row as Return does.
  connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* it) {
    const int r = row(it);
    close();
    Q_EMIT chosen(r);
  });
  place(memo);
  show();
  setFocus();
}

void TTemplatePickList::place(TSyntaxMemo& memo) {
  const QWidget* vp = memo.viewport();
  const QPoint caret = memo.pointAt(memo.engine().selection().caret);
  int y = caret.y() + memo.lineHeight();
  if (y + height() > vp->height() && caret.y() - height() >= 0) y = caret.y() - height();  // no room below
  int x = caret.x();
  if (x + width() > vp->width()) x = std::max(0, vp->width() - width());  // stays inside the control
  move(x, y);
}

void TTemplatePickList::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      const int row = currentRow();
      close();
      if (row >= 0) Q_EMIT chosen(row);
      return;
    }
    case Qt::Key_Escape:
      close();
      return;
    default: break;
  }
  const QString t = e->text();
  if (t.size() == 1 && t.at(0).isLetterOrNumber()) {
    // Select the first name starting with everything typed; when none does, start again from
    // this letter.
    auto findRow = [this](const QString& s) {
      for (int i = 0; i < count(); ++i)
        if (item(i)->data(kNameRole).toString().startsWith(s, Qt::CaseInsensitive)) return i;
      return -1;
    };
    typed_ += t;
    int row = findRow(typed_);
    if (row < 0) {
      typed_ = t;
      row = findRow(typed_);
    }
    if (row >= 0) setCurrentRow(row);
    return;
  }
  QListWidget::keyPressEvent(e);
}

void TTemplatePickList::focusOutEvent(QFocusEvent* e) {
  QListWidget::focusOutEvent(e);
  close();
}

void TTemplatePickList::close() {
  if (closing_) return;
  closing_ = true;
  hide();
  Q_EMIT closed();
  deleteLater();
}

}  // namespace velora::memo
