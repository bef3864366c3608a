// The main window's side of the editor windows: creating them, the calls
// they make on the main window, the messages they send, and the File, Edit
// and Search commands that forward to the active editor window.
#include "app/commands/MainCommands.h"
#include "app/shell/CommandGate.h"
#include "app/shell/MainWindow.h"
#include "app/shell/StatusLine.h"
#include "editor/case/CaseConversion.h"
#include "editor/window/EditorCreate.h"
#include "editor/window/EditorMessages.h"
#include "editor/window/FrmEditor.h"
#include "platform/Library.h"
#include "platform/Prompter.h"
#include "platform/Record.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace vlr {
namespace {

// The browser check, made once at start: the preview module loads and the
// browser's helper process is installed.
bool PreviewBrowserUsable() {
    LibraryHandle preview = LoadLibrary("preview.dll");
    if (!preview)
        return false;
    const QString helper = QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + "/QtWebEngineProcess";
    const bool usable = QFileInfo(helper).isExecutable();
    FreeLibrary(preview);
    return usable;
}

class MainEditorHost : public EditorHost {
public:
    explicit MainEditorHost(TFrmMainVLR& w) : w_(w), browserUsable_(PreviewBrowserUsable()) {}
    // The editor windows go with the host they call: they are deleted here,
    // while the main window's parts still exist, not later with its children.
    ~MainEditorHost() override {
        QList<QMdiSubWindow*> editors;
        for (QMdiSubWindow* sub : w_.mdiArea()->subWindowList())
            if (qobject_cast<TFrmEditor*>(sub->widget())) {
                // Deleting one activates another: none may report any more.
                sub->disconnect();
                sub->widget()->disconnect();
                editors << sub;
            }
        qDeleteAll(editors);
    }

    void UpdateEditorCommands(bool lastClosing) override { w_.UpdateEditorCommands(lastClosing); }
    void SetImageEx(const std::string& kind) override {
        w_.statusLine()->showDocumentKind(QString::fromStdString(kind));
    }
    void SetCaretPanels(const std::string& line, const std::string& column) override {
        w_.statusLine()->setPanelText(2, QString::fromStdString(line));
        w_.statusLine()->setPanelText(3, QString::fromStdString(column));
    }
    void SetUndoRedoButtons(bool canUndo, bool canRedo) override {
        w_.gate().setEnabled("Undo2", canUndo);
        w_.gate().setEnabled("Redo2", canRedo);
    }
    QMdiSubWindow* AddEditorWindow(QWidget* editor) override {
        QMdiSubWindow* sub = w_.mdiArea()->addSubWindow(editor);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->resize(520, 380);
        return sub;
    }
    void SuspendPainting(bool suspended) override {
        // Creations may nest (a template dialog opening a document): painting
        // resumes when the outermost one ends.
        depth_ += suspended ? 1 : -1;
        if (depth_ == (suspended ? 1 : 0))
            w_.setUpdatesEnabled(!suspended);
    }
    void ReportException(QObject* sender, std::exception_ptr error, const std::string& method) override {
        w_.ReportEditorException(sender, error, method);
    }
    bool BrowserUsable() const override { return browserUsable_; }

private:
    TFrmMainVLR& w_;
    bool browserUsable_;
    int depth_ = 0;
};


}  // namespace

void TFrmMainVLR::ConnectEditorCommands() {
    editorHost_ = std::make_shared<MainEditorHost>(*this);
    createNewEditor = [this] { OpenNewEditor(); };
    // Opening by type belongs to the project unit; until it is set, every file opens in an editor window.
    if (!parseToOpen)
        parseToOpen = [this](const QString& path) { OpenEditorForFile(path.toStdString()); };
    gate_->makeAvailable(CommandGroup::EditorFile);
    gate_->makeAvailable(CommandGroup::EditForward);

    auto on = [this](const char* name, std::function<void()> handler) { onTriggered(name, std::move(handler)); };
    auto forward = [this, on](const char* name, unsigned msg) {
        on(name, [this, name, msg] {
            enter((std::string(name) + "Click").c_str());
            ForwardToEditor(msg);
        });
    };
    const std::pair<const char*, unsigned> plain[] = {
        {"Undo1", EM_UNDO},     {"Undo2", EM_UNDO},     {"Redo1", EM_REDO},           {"Redo2", EM_REDO},
        {"Cut1", EM_CUT},       {"Cut2", EM_CUT},       {"Copy1", EM_COPY},           {"Copy2", EM_COPY},
        {"Paste1", EM_PASTE},   {"Paste2", EM_PASTE},   {"Delete1", EM_DELETE},       {"Delete2", EM_DELETE},
        {"SelectAll1", EM_SELECT_ALL}, {"IndentSelectedText1", EM_INDENT},
        {"UnindentSelectedText1", EM_UNINDENT}, {"ShowAll1", EM_SHOW_ALL},
    };
    for (const auto& [name, msg] : plain)
        forward(name, msg);
    auto toEditorOnly = [this, on](const char* name, unsigned msg) {
        on(name, [this, name, msg] {
            enter((std::string(name) + "Click").c_str());
            if (ActiveChildClass() == "TFrmEditor")
                ForwardToEditor(msg);
        });
    };
    toEditorOnly("ChangeCase1", EM_CHANGE_CASE);
    toEditorOnly("EditorOptions1", EM_OPTIONS);
    auto regex = [this] {
        QAction* a = action("RegularExpressions1");
        return std::string(a && a->isChecked() ? "true" : "false");
    };
    auto find = [this, regex] {
        enter("Find1Click");
        const std::string re = regex();
        ForwardToEditor(EM_FIND, &re);
        gate_->setEnabled("FindNext1", true);
    };
    on("Find1", find);
    on("Findonthispage1", find);
    on("FindNext1", [this, regex] {
        enter("FindNext1Click");
        const std::string re = regex();
        ForwardToEditor(EM_FIND_NEXT, &re);
    });
    on("Replace1", [this, regex] {
        enter("Replace1Click");
        const std::string re = regex();
        ForwardToEditor(EM_REPLACE, &re);
    });
    on("GoToLine1", [this] {
        enter("GoToLine1Click");
        std::optional<std::string> line =
            CurrentPrompter().InputBox({.caption = "Go To Line...", .prompt = "Enter Line Number", .value = "0"});
        const std::string text = line ? *line : "0";
        ForwardToEditor(EM_GO_TO_LINE, &text);
    });
    if (QMenu* edit = commands_->menu("Edit1")) {
        connect(edit, &QMenu::aboutToShow, this, [this] {
            enter("Edit1Click");
            const std::pair<const char*, const char*> mirror[] = {
                {"Undo1", "Undo2"}, {"Redo1", "Redo2"},     {"Cut1", "Cut2"},
                {"Copy1", "Copy2"}, {"Paste1", "Paste2"},   {"Delete1", "Delete2"},
                {"IndentSelectedText1", "Cut2"}, {"UnindentSelectedText1", "Cut2"}, {"ChangeCase1", "Cut2"},
            };
            for (const auto& [item, button] : mirror)
                if (QAction* b = action(button))
                    gate_->setEnabled(item, b->isEnabled());
        });
    }
}

void TFrmMainVLR::ForwardToEditor(unsigned msg, const std::string* first) {
    Handle h = ActiveChildHandle();
    if (!h)
        return;
    RecordPtr r = first ? MakeRecord(*first) : RecordPtr();
    SendMessage(h, msg, 0, reinterpret_cast<LParam>(r.release()));
}

void TFrmMainVLR::ReportEditorException(QObject* sender, std::exception_ptr error, const std::string& method) {
    currentMethod_ = method;
    HandleExceptionEx(sender, error);
}

namespace {
EditorDirs dirsOf(const TFrmMainVLR& w) {
    EditorDirs d;
    if (w.projectDirectories) {
        auto [src, out] = w.projectDirectories();
        d.srcDir = src;
        d.outDir = w.ProjectFile() == "none" ? std::string() : out;
    }
    return d;
}
}  // namespace

TFrmEditor* TFrmMainVLR::OpenEditorForFile(const std::string& path) {
    enter("OpenEditorForFile");
    return CreateEditorForFile(*editorHost_, appHandle_, handle_, path, dirsOf(*this));
}

TFrmEditor* TFrmMainVLR::OpenEditorFromTemplate(const std::string& path) {
    enter("OpenEditorFromTemplate");
    return CreateEditorFromTemplate(*editorHost_, appHandle_, handle_, path, dirsOf(*this));
}

TFrmEditor* TFrmMainVLR::OpenNewEditor() {
    enter("OpenNewEditor");
    return CreateNewEditor(*editorHost_, appHandle_, appDir_, handle_, dirsOf(*this));
}

void TFrmMainVLR::SendStrings(const std::string& start, const std::string& end, const std::string& flag) {
    enter("SendStrings");
    auto tagCase = [this](const std::string& s) { return lowerTags_ ? CaseLower(s) : CaseCapitals(s); };
    Handle child = ActiveChildHandle();
    if (GetClassName(child) != "TFrmEditor")
        return;
    RecordPtr r = MakeRecord(tagCase(start), tagCase(end), flag);
    SendMessage(child, EM_INSERT_MARKUP, 0, reinterpret_cast<LParam>(r.release()));
}

bool TFrmMainVLR::HandleEditorMessage(unsigned msg, WParam, LParam lParam, LResult& result) {
    result = 0;
    switch (msg) {
    case MW_EDITOR_MOD_STATE: {
        enter("EditorModState");
        const bool modified = FirstText(AdoptRecord(lParam)) == "true";
        if (modified) {
            if (status_->panelText(6) != "Modified") {
                status_->setPanelText(6, "Modified");
                gate_->setEnabled("Save2", true);
            }
        } else if (!status_->panelText(6).isEmpty()) {
            status_->setPanelText(6, QString());
            gate_->setEnabled("Save2", false);
        }
        return true;
    }
    case MW_DO_EDIT_BUTTONS: {
        enter("DoEditButtons");
        RecordPtr r = AdoptRecord(lParam);
        const bool selected = FirstText(r) == "true";
        const bool pastable = r && RecordText(r->second) == "true";
        for (const char* name : {"Delete2", "Cut2", "Copy2"})
            gate_->setEnabled(name, selected);
        gate_->setEnabled("Paste2", pastable);
        return true;
    }
    case MW_FIND_NEXT_STATE:
        enter("FNext");
        gate_->setEnabled("FindNext1", FirstText(AdoptRecord(lParam)) == "true");
        return true;
    case 3063: {
        enter("NewFromTemplate");
        RecordPtr r = AdoptRecord(lParam);
        const std::string path = FirstText(r) + SecondText(r);
        r.reset();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        try {
            OpenEditorFromTemplate(path);
        } catch (...) {
            QApplication::restoreOverrideCursor();
            throw;
        }
        QApplication::restoreOverrideCursor();
        return true;
    }
    case MW_ADD_TO_REPOSITORY: {
        enter("AddToRepository");
        const std::string path = FirstText(AdoptRecord(lParam));
        if (libraries_.entry.AddObjRep)
            libraries_.entry.AddObjRep(appHandle_, handle_, path.c_str());
        return true;
    }
    case 2924: {
        enter("SendTheString");
        // The three texts belong to the sender.
        const auto* t = reinterpret_cast<const TMyRecord*>(lParam);
        if (t)
            SendStrings(RecordText(t->first), RecordText(t->second), RecordText(t->third));
        return true;
    }
    default:
        return false;
    }
}

}  // namespace vlr
