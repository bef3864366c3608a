#include "project/unit/ProjectFileList.h"

#include "app/units/CommandGate.h"
#include "app/units/FileListArea.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QHeaderView>
#include <QIcon>
#include <QMenu>
#include <QMimeData>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>

namespace vlr {
namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

QAction* makeAction(QObject* parent, const char* name, const QString& caption, const QString& hint,
                    const char* theme, const char* own) {
    auto* a = new QAction(caption, parent);
    a->setObjectName(QString::fromLatin1(name));
    a->setToolTip(hint);
    a->setStatusTip(hint);
    if (*theme || *own)
        a->setIcon(QIcon::fromTheme(QString::fromLatin1(theme), QIcon(QString::fromLatin1(own))));
    a->setEnabled(false);
    return a;
}

}  // namespace

QStringList DroppedFiles(const QMimeData* data) {
    QStringList out;
    if (!data || !data->hasUrls())
        return out;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            out << url.toLocalFile();
    return out;
}

ProjectFileList::ProjectFileList(FileListArea& panel, const CommandGate& gate, QObject* parent)
    : QObject(parent), gate_(gate), view_(panel.fileList()) {
    add_ = makeAction(this, "AddFileButton", "Add File", "Add source files to the project", "list-add",
                      ":/icons/new-file.svg");
    remove_ = makeAction(this, "RemoveFileButton", "Remove File", "Remove the selected file from the project",
                         "list-remove", ":/icons/delete.svg");
    build_ = makeAction(this, "BuildAllButton", "Build All", "Build every page of the project", "",
                        ":/icons/build-all.svg");
    preview_ = makeAction(this, "PreviewButton", "Preview", "Build the selected file and view it",
                          "document-print-preview", ":/icons/find.svg");
    QToolBar* bar = panel.fileButtons();
    bar->addAction(add_);
    bar->addAction(remove_);
    bar->addSeparator();
    bar->addAction(build_);
    bar->addAction(preview_);

    menu_ = new QMenu(view_);
    menu_->setObjectName("PopupMenu1");
    edit_ = menu_->addAction("&Edit...");
    edit_->setObjectName("Edit2");
    previewItem_ = menu_->addAction("&Preview");
    previewItem_->setObjectName("Preview2");
    compile_ = menu_->addAction("&Compile");
    compile_->setObjectName("Compile1");
    menu_->addSeparator();
    removeItem_ = menu_->addAction("&Remove");
    removeItem_->setObjectName("Remove1");
    addItem_ = menu_->addAction("&Add File To Project...");
    addItem_->setObjectName("AddFileToProject1");
    connect(menu_, &QMenu::aboutToShow, this, &ProjectFileList::UpdateContextMenu);
    connect(edit_, &QAction::triggered, this, [this] {
        if (HasSelection())
            Q_EMIT openRequested(text(Selected().fullPath));
    });

    connect(view_, &QTreeWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { menu_->popup(view_->viewport()->mapToGlobal(pos)); });
    connect(view_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
        if (!item)
            return;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        struct Restore {
            ~Restore() { QApplication::restoreOverrideCursor(); }
        } restore;
        Q_EMIT openRequested(item->text(FullPath));
    });
    connect(view_, &QTreeWidget::itemSelectionChanged, this, &ProjectFileList::UpdateButtons);
    connect(view_->header(), &QHeaderView::sectionClicked, this, &ProjectFileList::SortByColumn);
    view_->header()->setSectionsClickable(true);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    viewport_ = view_->viewport();
    view_->viewport()->setAcceptDrops(true);
    view_->viewport()->installEventFilter(this);
}

bool ProjectFileList::buildOn() const { return gate_.available(CommandGroup::Build); }

void ProjectFileList::SetRows(const std::vector<Row>& rows) {
    view_->setUpdatesEnabled(false);
    view_->clear();
    QList<QTreeWidgetItem*> items;
    for (const Row& r : rows) {
        auto* item = new QTreeWidgetItem;
        item->setText(Filename, text(r.fileName));
        item->setText(OutputPath, text(r.outputFolder));
        item->setText(FullPath, text(r.fullPath));
        item->setText(OutputPathHidden, text(r.outputFolder));
        items << item;
    }
    view_->addTopLevelItems(items);
    view_->setUpdatesEnabled(true);
    UpdateButtons();
}

void ProjectFileList::Clear() { SetRows({}); }

int ProjectFileList::RowCount() const { return view_->topLevelItemCount(); }

ProjectFileList::Row ProjectFileList::RowAt(int index) const {
    QTreeWidgetItem* item = view_->topLevelItem(index);
    if (!item)
        return {};
    return {item->text(Filename).toStdString(), item->text(OutputPathHidden).toStdString(),
            item->text(FullPath).toStdString()};
}

std::vector<ProjectFileList::Row> ProjectFileList::Rows() const {
    std::vector<Row> out;
    for (int i = 0; i < RowCount(); ++i)
        out.push_back(RowAt(i));
    return out;
}

QTreeWidgetItem* ProjectFileList::selectedItem() const {
    const QList<QTreeWidgetItem*> items = view_->selectedItems();
    return items.isEmpty() ? nullptr : items.front();
}

bool ProjectFileList::HasSelection() const { return selectedItem() != nullptr; }

ProjectFileList::Row ProjectFileList::Selected() const {
    QTreeWidgetItem* item = selectedItem();
    return item ? RowAt(view_->indexOfTopLevelItem(item)) : Row{};
}

void ProjectFileList::Select(int index) {
    view_->clearSelection();
    if (QTreeWidgetItem* item = view_->topLevelItem(index)) {
        item->setSelected(true);
        view_->setCurrentItem(item);
        view_->scrollToItem(item);
    }
    UpdateButtons();
}

bool ProjectFileList::RemoveSelected() {
    QTreeWidgetItem* item = selectedItem();
    if (!item)
        return false;
    delete item;
    view_->clearSelection();
    UpdateButtons();
    return true;
}

void ProjectFileList::SortByColumn(int column) {
    if (column == sortColumn_)
        sortOrder_ = sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    else
        sortOrder_ = Qt::AscendingOrder;
    sortColumn_ = column;
    view_->sortItems(column, sortOrder_);
    // Sorting stays a one-time action: rows added later keep their order.
    view_->setSortingEnabled(false);
    if (QTreeWidgetItem* item = selectedItem())
        view_->scrollToItem(item);
}

void ProjectFileList::UpdateButtons() {
    const bool selected = HasSelection();
    remove_->setEnabled(selected);
    preview_->setEnabled(selected && buildOn());
}

void ProjectFileList::UpdateContextMenu() {
    const bool selected = HasSelection();
    edit_->setEnabled(selected);
    previewItem_->setEnabled(selected && buildOn());
    compile_->setEnabled(selected && buildOn());
    removeItem_->setEnabled(selected);
    addItem_->setEnabled(add_->isEnabled());
}

bool ProjectFileList::eventFilter(QObject* watched, QEvent* event) {
    // Compared by address only: the view may be part-way through its
    // destruction when its viewport's last events arrive.
    if (watched != viewport_)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* e = static_cast<QDropEvent*>(event);
        if (DroppedFiles(e->mimeData()).isEmpty())
            return false;
        e->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        const QStringList files = DroppedFiles(e->mimeData());
        if (files.isEmpty())
            return false;
        e->acceptProposedAction();
        Q_EMIT filesDropped(files);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

}  // namespace vlr
