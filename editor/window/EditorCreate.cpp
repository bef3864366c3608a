// The creation entries of the editor window. Each builds the window hidden
// while the main window's painting is suspended, so that the user sees one
// finished window.
#include "editor/window/EditorCreate.h"

#include "editor/window/EditorMessages.h"
#include "editor/window/EditorPreview.h"
#include "editor/window/EditorScheme.h"
#include "editor/window/FrmEditor.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "platform/System.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalBlocker>
#include <QTabBar>

#include <filesystem>
#include <stdexcept>

namespace vlr {
namespace {

bool fileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

void missingFile(const std::string& path) {
    ShowMessage(MessageKind::Information, "", "Unable to find file " + path, BtnOk);
}

// Holds the main window's painting and the hourglass for one creation; a
// failure half-way removes the half-built window.
class Creation {
public:
    explicit Creation(EditorHost& host) : host_(host) { host_.SuspendPainting(true); }
    ~Creation() {
        if (cursor_)
            QApplication::restoreOverrideCursor();
        if (window_ && !done_) {
            // Reported while the half-built window is still counted, as a closing window does.
            if (window_->MainWnd)
                host_.UpdateEditorCommands(true);
            if (QMdiSubWindow* sub = window_->subWindow())
                delete sub;  // deletes the window with it
            else
                delete window_;
        }
        host_.SuspendPainting(false);
    }
    Creation(const Creation&) = delete;
    Creation& operator=(const Creation&) = delete;

    // Steps 2 and 3: the window, hidden, named FrmEditor; the tab strip only
    // when the preview browser can be used.
    TFrmEditor& build() {
        window_ = new TFrmEditor(host_);
        FrmEditor = window_;
        window_->setSubWindow(host_.AddEditorWindow(window_));
        window_->subWindow()->hide();
        if (host_.BrowserUsable())
            window_->preview().BuildIE();
        else
            window_->preview().CloseIE();
        return *window_;
    }
    void hourglass() {
        if (!cursor_)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        cursor_ = true;
    }
    void restoreCursor() {
        if (cursor_)
            QApplication::restoreOverrideCursor();
        cursor_ = false;
    }
    // Step 4 without the output directory.
    void attachMain(Handle mainWnd) {
        hourglass();
        window_->MainWnd = mainWnd;
        host_.UpdateEditorCommands(false);
    }
    // Steps 5 and 6, then showing the window.
    void configureAndShow(const std::string& appDir) {
        window_->AttachScheme(appDir);
        IniFile prefs(WritablePath("preferences.dat"));
        QMdiSubWindow* sub = window_->subWindow();
        if (prefs.ReadBool("EdEnv", "Maximize", false))
            sub->showMaximized();
        else
            sub->show();
        if (QMdiArea* area = sub->mdiArea())
            area->setActiveSubWindow(sub);
    }
    TFrmEditor* finish() {
        QSignalBlocker quiet(window_->SyntaxMemo1);
        window_->memo().setModified(false);
        window_->Ready = true;
        // The window became active before it was Ready: report its state now,
        // so the status line does not keep the previous document's.
        if (QMdiSubWindow* sub = window_->subWindow(); sub->mdiArea() && sub->mdiArea()->activeSubWindow() == sub)
            window_->ModMessage();
        restoreCursor();
        done_ = true;
        return window_;
    }

private:
    EditorHost& host_;
    TFrmEditor* window_ = nullptr;
    bool cursor_ = false;
    bool done_ = false;
};

void loadTemplate(TFrmEditor& w, const std::string& path) {
    LoadedDocument doc = LoadDocument(path);
    if (!doc.ok)
        throw std::runtime_error(doc.error);
    w.memo().setText(QByteArray(doc.text.data(), qsizetype(doc.text.size())));
    w.memo().setSelection(0, 0);
}

}  // namespace

TFrmEditor* CreateEditorForFile(EditorHost& host, Handle application, Handle mainWnd, const std::string& path,
                                const EditorDirs& dirs) {
    if (!fileExists(path)) {
        missingFile(path);
        return nullptr;
    }
    Creation c(host);
    TFrmEditor& w = c.build();
    w.AppHandle = application;
    w.OutDir = dirs.outDir;
    c.attachMain(mainWnd);
    c.configureAndShow(AppDir());
    w.Open(path);
    w.SrcDir = dirs.srcDir;
    return c.finish();
}

TFrmEditor* CreateEditorFromTemplate(EditorHost& host, Handle application, Handle mainWnd,
                                     const std::string& templatePath, const EditorDirs& dirs) {
    Creation c(host);
    TFrmEditor& w = c.build();
    w.AppHandle = application;
    c.attachMain(mainWnd);
    if (fileExists(templatePath))
        loadTemplate(w, templatePath);
    else
        missingFile(templatePath);
    c.configureAndShow(AppDir());
    w.OutDir = dirs.outDir;
    w.SrcDir = dirs.srcDir;
    w.FileName = kUntitled;
    return c.finish();
}

TFrmEditor* CreateNewEditor(EditorHost& host, Handle application, const std::string& appDir, Handle mainWnd,
                            const EditorDirs& dirs) {
    Creation c(host);
    TFrmEditor& w = c.build();
    w.AppHandle = application;
    c.configureAndShow(appDir);
    w.OutDir = dirs.outDir;
    w.SrcDir = dirs.srcDir;
    c.attachMain(mainWnd);
    const std::string normal = appDir + "templates/normal.htf";
    if (fileExists(normal))
        loadTemplate(w, normal);
    else
        missingFile(normal);
    w.FileName = kUntitled;
    return c.finish();
}

}  // namespace vlr
