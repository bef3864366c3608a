// Opening files by type: ParseToOpen and its triggers (Open, drops on the
// toolbar docks and on the file list), the document-kind icons, and the file
// list's rows through the core module's DoPathEx.
#include "app/shell/MainWindow.h"
#include "platform/Prompter.h"
#include "app/shell/ProjectFileList.h"
#include "app/shell/RecentList.h"
#include "app/shell/StatusLine.h"
#include "project/open/FileKinds.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QToolBar>

#include <algorithm>
#include <cstring>

namespace vlr {
namespace {

bool fileExists(const std::string& path) {
    QFileInfo info(QString::fromStdString(path));
    return info.exists() && !info.isDir();
}

// DoPathEx's texts: a length byte and at most 255 characters.
void toShort(const std::string& text, unsigned char (&out)[256]) {
    const std::size_t n = std::min<std::size_t>(text.size(), 255);
    out[0] = static_cast<unsigned char>(n);
    std::memcpy(out + 1, text.data(), n);
}

std::string fromShort(const unsigned char (&in)[256]) {
    return std::string(reinterpret_cast<const char*>(in + 1), in[0]);
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
    explicit DockDropFilter(TFrmMainVLR* window) : QObject(window), window_(window) {}

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
            window_->FilesDroppedOnDock(files);
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

    TFrmMainVLR* window_;
};

}  // namespace

void TFrmMainVLR::ParseToOpen(const std::string& path) {
    enter("ParseToOpen");
    if (!fileExists(path)) {
        ShowMessage(MessageKind::Error, "", "File does not exist: " + path, BtnOk);
        return;
    }
    switch (KindOfFile(path)) {
    case OpenKind::Graphic: {
        FreezeDrawing freeze(this);
        if (libraries_.entry.IViewDisp)
            libraries_.entry.IViewDisp(appHandle_, path.c_str(), handle_);
        recentFiles_->Add(QString::fromStdString(path));
        SetThePic("graphic");
        break;
    }
    case OpenKind::Editor:
        if (openEditorFile)
            openEditorFile(QString::fromStdString(path));
        recentFiles_->Add(QString::fromStdString(path));
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

void TFrmMainVLR::OpenClick() {
    enter("Open1Click");
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

void TFrmMainVLR::SetThePic(const std::string& kind) {
    enter("SetThePic");
    if (kind == "editor") {
        status_->showDocumentKind("editor");
    } else if (kind == "graphic") {
        const bool wasHidden = status_->documentKind() != "graphic";
        status_->showDocumentKind("graphic");
        if (wasHidden) {
            status_->setPanelText(2, QString());
            status_->setPanelText(3, QString());
        }
    }
}

void TFrmMainVLR::SetImageEx(const std::string& kind) {
    enter("SetImageEx");
    if (kind == "editor" || kind == "graphic")
        SetThePic(kind);
    else
        status_->showDocumentKind(QString::fromStdString(kind));
}

void TFrmMainVLR::UpdateList() {
    enter("UpdateList");
    if (projectFile_ == kNoProjectFile) {
        fileList_->Clear();
        return;
    }
    std::vector<ProjectFileList::Row> rows;
    rows.reserve(project_.AllFiles.size());
    unsigned char source[256], directory[256], output[256], folder[256];
    toShort(project_.SourceDir, source);
    toShort(project_.OutputDir, output);
    for (const std::string& file : project_.AllFiles) {
        folder[0] = 0;
        toShort(DirectoryOf(file), directory);
        if (libraries_.entry.DoPathEx)
            libraries_.entry.DoPathEx(source, directory, output, folder);
        rows.push_back({FileNameOf(file), fromShort(folder), file});
    }
    fileList_->SetRows(rows);
}

void TFrmMainVLR::FilesDroppedOnList(const QStringList& paths) {
    enter("ListView1DragDrop");
    if (projectFile_ == kNoProjectFile)
        return;
    std::vector<std::string> files;
    for (const QString& p : paths)
        files.push_back(p.toStdString());
    AddFiles(files);
}

void TFrmMainVLR::FilesDroppedOnDock(const QStringList& paths) {
    enter("DockDragDrop");
    for (const QString& p : paths)
        ParseToOpen(p.toStdString());
}

void TFrmMainVLR::ConnectDockDrops() {
    auto* filter = new DockDropFilter(this);
    dockDrops_ = filter;
    setAcceptDrops(true);
    installEventFilter(filter);
    for (QToolBar* bar : findChildren<QToolBar*>()) {
        if (bar->parentWidget() != this)
            continue;  // the side panel's button row is not a dock
        bar->setAcceptDrops(true);
        bar->installEventFilter(filter);
    }
}

}  // namespace vlr
