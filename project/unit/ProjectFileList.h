// The project's file list in the side panel: its rows, column sorting, the
// button row above it (Add File, Remove File, Build All, Preview), its context
// menu and the files dropped on it. The project unit decides what the commands
// do; this class keeps the list and the enabled state of its own controls.
#pragma once

#include <QObject>
#include <QStringList>

#include <string>
#include <vector>

class QAction;
class QMenu;
class QMimeData;
class QTreeWidget;
class QTreeWidgetItem;

namespace vlr {

class CommandGate;
class FileListArea;

class ProjectFileList : public QObject {
    Q_OBJECT
public:
    enum Column { Filename = 0, OutputPath = 1, FullPath = 2, OutputPathHidden = 3 };

    struct Row {
        std::string fileName;
        std::string outputFolder;
        std::string fullPath;
    };

    // The Build All, Preview and Compile controls stay disabled while the
    // gate has no build commands.
    ProjectFileList(FileListArea& panel, const CommandGate& gate, QObject* parent = nullptr);

    // Replaces every row, in the given order (no sorting is applied).
    void SetRows(const std::vector<Row>& rows);
    void Clear();
    int RowCount() const;
    Row RowAt(int index) const;
    // The rows in the order the list shows them now.
    std::vector<Row> Rows() const;

    bool HasSelection() const;
    // The selected row (undefined when HasSelection() is false).
    Row Selected() const;
    void Select(int index);
    // Deletes the selected row; false when nothing is selected.
    bool RemoveSelected();

    // Sorts by a column as a click on its header does: ascending first, then
    // alternating for further clicks on the same column.
    void SortByColumn(int column);

    // Side panel buttons.
    QAction* addButton() const { return add_; }
    QAction* removeButton() const { return remove_; }
    QAction* buildButton() const { return build_; }
    QAction* previewButton() const { return preview_; }
    // Context menu and its items.
    QMenu* contextMenu() const { return menu_; }
    QAction* editItem() const { return edit_; }
    QAction* previewItem() const { return previewItem_; }
    QAction* compileItem() const { return compile_; }
    QAction* removeItem() const { return removeItem_; }
    QAction* addItem() const { return addItem_; }


    // The click rule: Remove and Preview enabled exactly when a row is selected.
    void UpdateButtons();
    // The context-menu rule: Edit, Preview, Compile and Remove follow the
    // selection, Add follows the Add File button.
    void UpdateContextMenu();

    QTreeWidget* view() const { return view_; }

Q_SIGNALS:
    // Double-click on a row or "&Edit..." in the context menu.
    void openRequested(const QString& fullPath);
    void filesDropped(const QStringList& paths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool buildOn() const;
    QTreeWidgetItem* selectedItem() const;

    const CommandGate& gate_;
    QTreeWidget* view_;
    QObject* viewport_ = nullptr;
    QAction* add_;
    QAction* remove_;
    QAction* build_;
    QAction* preview_;
    QMenu* menu_;
    QAction* edit_;
    QAction* previewItem_;
    QAction* compile_;
    QAction* removeItem_;
    QAction* addItem_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

// Local paths of the files a drag carries, in order.
QStringList DroppedFiles(const QMimeData* data);

}  // namespace vlr
