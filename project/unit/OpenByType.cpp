// Opening files by type: ParseToOpen and its triggers (Open, drops on the
// toolbar docks and on the file list), the document-kind icons, and the file
// list's rows with each file's output folder from the project's path model
// (the mapping the core module's DoPathEx and the build use).
#include "project/unit/ProjectUnit.h"

#include "app/units/CoreLibraries.h"
#include "app/units/EditorWindows.h"
#include "app/units/ShellServices.h"
#include "app/units/UnitCommands.h"
#include "platform/Prompter.h"
#include "project/unit/ProjectFileList.h"
#include "app/units/RecentItems.h"
#include "app/units/StatusPanels.h"
#include "project/build/ProjectPaths.h"
#include "project/open/FileKinds.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QToolBar>

namespace vlr {
namespace {

bool fileExists(const std::string& path) {
    QFileInfo info(QString::fromStdString(path));
    return info.exists() && !info.isDir();
}

// Keeps the main window from repainting while the picture viewer opens.
class FreezeDrawing {
public:
    explicit FreezeDrawing(QWidget* w) : w_(w) { w_->setUpdatesEnabled(false); }
    ~FreezeDrawing() { w_->setUpdatesEnabled(true); }
    FreezeDrawing(const FreezeDrawing&) = delete;
    FreezeDrawing& operator=(const FreezeDrawing&) = delete;

private:
    QWidget* w_;
};

// Files dropped on a toolbar or on the free part of a toolbar dock are opened
// by type; drops over the document area, the side panel and the menu bar are
// not the docks' business.
class DockDropFilter : public QObject {
public:
    DockDropFilter(TProjectUnit& unit, QMainWindow* window) : QObject(window), unit_(unit), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type t = event->type();
        if (t != QEvent::DragEnter && t != QEvent::DragMove && t != QEvent::Drop)
            return QObject::eventFilter(watched, event);
        auto* e = static_cast<QDropEvent*>(event);
        const QStringList files = DroppedFiles(e->mimeData());
        if (files.isEmpty() || !overDock(watched, e->position().toPoint())) {
            e->ignore();
            return t == QEvent::Drop ? false : QObject::eventFilter(watched, event);
        }
        e->acceptProposedAction();
        if (t == QEvent::Drop)
            unit_.DockDrop(files);
        return true;
    }

private:
    bool overDock(QObject* watched, const QPoint& pos) const {
        if (qobject_cast<QToolBar*>(watched))
            return true;
        if (watched != window_)
            return false;
        if (QWidget* c = window_->centralWidget(); c && c->geometry().contains(pos))
            return false;
        if (QWidget* m = window_->menuWidget(); m && m->geometry().contains(pos))
            return false;
        return true;
    }

    TProjectUnit& unit_;
    QMainWindow* window_;
};

}  // namespace

void TProjectUnit::ParseToOpen(const std::string& given) {
    shell_.Enter("ParseToOpen");
    // Every path is made absolute where it enters: opening a project makes
    // the project's folder current, after which a relative path would name
    // another file.
    const std::string path = AbsolutePath(given);
    if (!fileExists(path)) {
        ShowMessage(MessageKind::Error, "", "File does not exist: " + path, BtnOk);
        return;
    }
    switch (KindOfFile(path)) {
    case OpenKind::Graphic: {
        FreezeDrawing freeze(shell_.MainWidget());
        if (shell_.Libraries().entry.IViewDisp)
            shell_.Libraries().entry.IViewDisp(shell_.ApplicationHandle(), path.c_str(), shell_.MainHandle());
        shell_.RecentFiles().Add(QString::fromStdString(path));
        SetThePic("graphic");
        break;
    }
    case OpenKind::Editor:
        shell_.Editors().OpenEditorForFile(path);
        shell_.RecentFiles().Add(QString::fromStdString(path));
        SetThePic("editor");
        break;
    case OpenKind::Project:
        OpenProjectPath(path);
        break;
    case OpenKind::Unknown: {
        CurrentPrompter().Beep(BeepKind::Asterisk);
        MessageBoxRequest box;
        box.kind = MessageKind::Error;
        box.caption = KindCaption(MessageKind::Error);
        box.text = "Unrecognized File Extension";
        box.buttons = BtnOk;
        CurrentPrompter().MessageBox(box);
        break;
    }
    }
}

void TProjectUnit::OpenClick() {
    shell_.Enter("Open1Click");
    FileDialogRequest r;
    r.title = kOpenDialogTitle;
    r.filter = kOpenDialogFilter;
    r.multiSelect = true;
    auto files = CurrentPrompter().OpenFiles(r);
    if (!files)
        return;
    for (const std::string& f : *files)
        ParseToOpen(f);
}

void TProjectUnit::SetThePic(const std::string& kind) {
    shell_.Enter("SetThePic");
    if (kind == "editor") {
        shell_.Status().showDocumentKind("editor");
    } else if (kind == "graphic") {
        const bool wasHidden = shell_.Status().documentKind() != "graphic";
        shell_.Status().showDocumentKind("graphic");
        if (wasHidden) {
            shell_.Status().setPanelText(2, QString());
            shell_.Status().setPanelText(3, QString());
        }
    }
}

void TProjectUnit::SetImageEx(const std::string& kind) {
    shell_.Enter("SetImageEx");
    if (kind == "editor" || kind == "graphic")
        SetThePic(kind);
    else
        shell_.Status().showDocumentKind(QString::fromStdString(kind));
}

void TProjectUnit::UpdateList() {
    shell_.Enter("UpdateList");
    if (projectFile_ == kNoProjectFile) {
        fileList_->Clear();
        return;
    }
    // Computed here rather than through DoPathEx's short texts, which would cut
    // a long path at 255 characters and give a wrong folder.
    std::vector<ProjectFileList::Row> rows;
    rows.reserve(project_.AllFiles.size());
    for (const std::string& file : project_.AllFiles)
        rows.push_back({FileNameOf(file), build::OutputFolderOf(project_.SourceDir, file), file});
    fileList_->SetRows(rows);
}

void TProjectUnit::FilesDroppedOnList(const QStringList& paths) {
    shell_.Enter("ListView1DragDrop");
    if (projectFile_ == kNoProjectFile)
        return;
    std::vector<std::string> files;
    for (const QString& p : paths)
        files.push_back(p.toStdString());
    AddFiles(files);
}

void TProjectUnit::FilesDroppedOnDock(const QStringList& paths) {
    shell_.Enter("DockDragDrop");
    for (const QString& p : paths)
        ParseToOpen(p.toStdString());
}

void TProjectUnit::DockDrop(const QStringList& paths) {
    RunGuarded(shell_, this, "DockDragDrop", [&] { FilesDroppedOnDock(paths); });
}

void TProjectUnit::ConnectDockDrops() {
    QMainWindow* main = shell_.MainWidget();
    auto* filter = new DockDropFilter(*this, main);
    dockDrops_ = filter;
    main->setAcceptDrops(true);
    main->installEventFilter(filter);
    for (QToolBar* bar : main->findChildren<QToolBar*>()) {
        if (bar->parentWidget() != main)
            continue;  // the side panel's button row is not a dock
        bar->setAcceptDrops(true);
        bar->installEventFilter(filter);
    }
}

}  // namespace vlr
