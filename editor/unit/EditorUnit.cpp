// The main window's side of the editor windows: creating them, the calls
// they make on the main window, the messages they send, and the File, Edit
// and Search commands that forward to the active editor window.
#include "app/commands/KeySchemeCommands.h"
#include "app/commands/MainCommands.h"
#include "app/units/CommandGate.h"
#include "editor/unit/EditorUnit.h"

#include "app/units/CoreLibraries.h"
#include "app/units/ProjectAccess.h"
#include "app/units/ShellServices.h"
#include "app/units/UnitCommands.h"
#include "app/units/StatusPanels.h"
#include "editor/case/CaseConversion.h"
#include "editor/window/EditorCreate.h"
#include "editor/window/EditorMessages.h"
#include "editor/window/FrmEditor.h"
#include "platform/Library.h"
#include "platform/Prompter.h"
#include "platform/Record.h"
#include "platform/System.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>

#include <iostream>

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

}  // namespace

TEditorUnit::TEditorUnit(ShellServices& shell) : shell_(shell), browserUsable_(PreviewBrowserUsable()) {}

TEditorUnit::~TEditorUnit() {
    // The editor windows go with the host they call: they are deleted here,
    // while the main window's parts still exist.
    QList<QMdiSubWindow*> editors;
    for (QMdiSubWindow* sub : shell_.MdiArea()->subWindowList())
        if (qobject_cast<TFrmEditor*>(sub->widget())) {
            // Deleting one activates another: none may report any more.
            sub->disconnect();
            sub->widget()->disconnect();
            editors << sub;
        }
    qDeleteAll(editors);
}

void TEditorUnit::UpdateEditorCommands(bool lastClosing) { shell_.UpdateEditorCommands(lastClosing); }

void TEditorUnit::KeySchemeChanged() {
    if (const auto scheme = ReadKeySchemeChoice(shell_.PreferencesPath())) {
        ApplyKeySchemeChoice(shell_.Commands(), *scheme);
        YieldChildMenuKeys(*shell_.MdiArea(), shell_.Commands());
    }
}

void TEditorUnit::SetImageEx(const std::string& kind) {
    shell_.Status().showDocumentKind(QString::fromStdString(kind));
}

void TEditorUnit::SetCaretPanels(const std::string& line, const std::string& column) {
    shell_.Status().setPanelText(2, QString::fromStdString(line));
    shell_.Status().setPanelText(3, QString::fromStdString(column));
}

void TEditorUnit::SetUndoRedoButtons(bool canUndo, bool canRedo) {
    shell_.Gate().setEnabled("Undo2", canUndo);
    shell_.Gate().setEnabled("Redo2", canRedo);
}

void TEditorUnit::SuspendPainting(bool suspended) {
    // Creations may nest (a template dialog opening a document): painting
    // resumes when the outermost one ends.
    paintDepth_ += suspended ? 1 : -1;
    if (paintDepth_ == (suspended ? 1 : 0))
        shell_.MainWidget()->setUpdatesEnabled(!suspended);
}

QPrinter& TEditorUnit::Printer() {
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void TEditorUnit::ReportException(QObject* sender, std::exception_ptr error, const std::string& method) {
    shell_.ReportExceptionAs(sender, error, method);
}

std::vector<unsigned> TEditorUnit::Messages() const {
    return {MW_EDITOR_MOD_STATE, MW_DO_EDIT_BUTTONS, MW_FIND_NEXT_STATE, MW_NEW_FROM_TEMPLATE,
            MW_ADD_TO_REPOSITORY, MW_SEND_THE_STRING};
}

void TEditorUnit::ConnectCommands() {
    shell_.Gate().makeAvailable(CommandGroup::EditorFile);
    shell_.Gate().makeAvailable(CommandGroup::EditForward);

    auto on = [this](const char* name, std::string method, std::function<void()> handler) {
        ConnectCommand(shell_, this, name, std::move(method), std::move(handler));
    };
    const std::pair<const char*, unsigned> plain[] = {
        {"Undo1", EM_UNDO},     {"Undo2", EM_UNDO},     {"Redo1", EM_REDO},           {"Redo2", EM_REDO},
        {"Cut1", EM_CUT},       {"Cut2", EM_CUT},       {"Copy1", EM_COPY},           {"Copy2", EM_COPY},
        {"Paste1", EM_PASTE},   {"Paste2", EM_PASTE},   {"Delete1", EM_DELETE},       {"Delete2", EM_DELETE},
        {"SelectAll1", EM_SELECT_ALL}, {"IndentSelectedText1", EM_INDENT},
        {"UnindentSelectedText1", EM_UNINDENT}, {"ShowAll1", EM_SHOW_ALL},
    };
    for (const auto& [name, msg] : plain)
        on(name, std::string(name) + "Click", [this, msg = msg] { ForwardToEditor(msg); });
    // "&New...": the new-document dialog of the stored documents and templates;
    // it opens the chosen one through 3063.
    shell_.Gate().makeAvailable(CommandGroup::Repository);
    on("New1", "New1Click", [this] {
        if (shell_.Libraries().entry.ShowObjRep)
            shell_.Libraries().entry.ShowObjRep(shell_.ApplicationHandle(), shell_.MainHandle());
    });
    for (const auto& [name, msg] : {std::pair{"ChangeCase1", EM_CHANGE_CASE}, std::pair{"EditorOptions1", EM_OPTIONS}})
        on(name, std::string(name) + "Click", [this, msg = msg] {
            if (shell_.ActiveChildClass() == "TFrmEditor")
                ForwardToEditor(msg);
        });
    auto regex = [this] {
        QAction* a = shell_.Commands().action("RegularExpressions1");
        return std::string(a && a->isChecked() ? "true" : "false");
    };
    auto find = [this, regex] {
        const std::string re = regex();
        ForwardToEditor(EM_FIND, &re);
        shell_.Gate().setEnabled("FindNext1", true);
    };
    on("Find1", "Find1Click", find);
    on("Findonthispage1", "Find1Click", find);
    on("FindNext1", "FindNext1Click", [this, regex] {
        const std::string re = regex();
        ForwardToEditor(EM_FIND_NEXT, &re);
    });
    on("Replace1", "Replace1Click", [this, regex] {
        const std::string re = regex();
        ForwardToEditor(EM_REPLACE, &re);
    });
    on("GoToLine1", "GoToLine1Click", [this] {
        std::optional<std::string> line =
            CurrentPrompter().InputBox({.caption = "Go To Line...", .prompt = "Enter Line Number", .value = "0"});
        const std::string text = line ? *line : "0";
        ForwardToEditor(EM_GO_TO_LINE, &text);
    });
    if (QMenu* edit = shell_.Commands().menu("Edit1")) {
        connect(edit, &QMenu::aboutToShow, this,
                [this] { RunGuarded(shell_, this, "Edit1Click", [this] { Edit1Click(); }); });
    }
}

void TEditorUnit::Edit1Click() {
    {
        {
            const std::pair<const char*, const char*> mirror[] = {
                {"Undo1", "Undo2"}, {"Redo1", "Redo2"},     {"Cut1", "Cut2"},
                {"Copy1", "Copy2"}, {"Paste1", "Paste2"},   {"Delete1", "Delete2"},
                {"IndentSelectedText1", "Cut2"}, {"UnindentSelectedText1", "Cut2"}, {"ChangeCase1", "Cut2"},
            };
            for (const auto& [item, button] : mirror)
                if (QAction* b = shell_.Commands().action(button))
                    shell_.Gate().setEnabled(item, b->isEnabled());
        }
    }
}

void TEditorUnit::ForwardToEditor(unsigned msg, const std::string* first) {
    // Only editor windows take these commands and release their records: a
    // picture window, say, would leave the record unreleased.
    Handle h = shell_.ActiveChildHandle();
    if (!h || GetClassName(h) != "TFrmEditor")
        return;
    RecordPtr r = first ? MakeRecord(*first) : RecordPtr();
    SendMessage(h, msg, 0, reinterpret_cast<LParam>(r.release()));
}

EditorDirs TEditorUnit::ProjectDirs() const {
    // New editor windows start in the open project's source and output
    // directories.
    EditorDirs d;
    ProjectAccess& project = shell_.Project();
    d.srcDir = project.Project().SourceDir;
    d.outDir = project.ProjectFile() == "none" ? std::string() : project.Project().OutputDir;
    return d;
}

TFrmEditor* TEditorUnit::OpenEditorForFile(const std::string& path) {
    shell_.Enter("OpenEditorForFile");
    // Every way of opening a file ends here: one window per file.
    if (TFrmEditor* open = OpenEditorOf(path)) {
        ActivateEditor(*open);
        return open;
    }
    return CreateEditorForFile(*this, shell_.ApplicationHandle(), shell_.MainHandle(), path, ProjectDirs());
}

TFrmEditor* TEditorUnit::OpenEditorFromTemplate(const std::string& path) {
    shell_.Enter("OpenEditorFromTemplate");
    return CreateEditorFromTemplate(*this, shell_.ApplicationHandle(), shell_.MainHandle(), path, ProjectDirs());
}

TFrmEditor* TEditorUnit::OpenNewEditor() {
    shell_.Enter("OpenNewEditor");
    return CreateNewEditor(*this, shell_.ApplicationHandle(), shell_.AppDir(), shell_.MainHandle(), ProjectDirs());
}

void TEditorUnit::CheckActiveSpelling() {
    const Handle child = shell_.ActiveChildHandle();
    if (child == 0)
        return;
    if (auto* editor = dynamic_cast<TFrmEditor*>(WindowHandler(child)))
        editor->CheckSpelling1Click();
}

void TEditorUnit::ChoosePrinter() {
    QPrinter& printer = Printer();
    if (PromptsAreLogged()) {
        std::cerr << "[printer setup] " << printer.printerName().toStdString() << std::endl;
        return;
    }
    QPrintDialog dialog(&printer, shell_.MainWidget());
    dialog.setWindowTitle("Printer Setup");
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOptions(dialog.options() & ~QAbstractPrintDialog::PrintSelection & ~QAbstractPrintDialog::PrintPageRange);
    if (dialog.exec() == QDialog::Accepted)
        shell_.SetStatusText("Printer: " + (printer.printerName().isEmpty() ? QString("file") : printer.printerName()));
}

void TEditorUnit::SendStrings(const std::string& start, const std::string& end, const std::string& flag) {
    shell_.Enter("SendStrings");
    auto tagCase = [this](const std::string& s) { return shell_.LowerTags() ? CaseLower(s) : CaseCapitals(s); };
    Handle child = shell_.ActiveChildHandle();
    if (GetClassName(child) != "TFrmEditor")
        return;
    RecordPtr r = MakeRecord(tagCase(start), tagCase(end), flag);
    SendMessage(child, EM_INSERT_MARKUP, 0, reinterpret_cast<LParam>(r.release()));
}

LResult TEditorUnit::HandleMessage(unsigned msg, WParam, LParam lParam) {
    switch (msg) {
    case MW_EDITOR_MOD_STATE: {
        shell_.Enter("EditorModState");
        const bool modified = FirstText(AdoptRecord(lParam)) == "true";
        if (modified) {
            if (shell_.Status().panelText(6) != "Modified") {
                shell_.Status().setPanelText(6, "Modified");
                shell_.Gate().setEnabled("Save2", true);
            }
        } else if (!shell_.Status().panelText(6).isEmpty()) {
            shell_.Status().setPanelText(6, QString());
            shell_.Gate().setEnabled("Save2", false);
        }
        return 0;
    }
    case MW_DO_EDIT_BUTTONS: {
        shell_.Enter("DoEditButtons");
        RecordPtr r = AdoptRecord(lParam);
        const bool selected = FirstText(r) == "true";
        const bool pastable = r && RecordText(r->second) == "true";
        for (const char* name : {"Delete2", "Cut2", "Copy2"})
            shell_.Gate().setEnabled(name, selected);
        shell_.Gate().setEnabled("Paste2", pastable);
        return 0;
    }
    case MW_FIND_NEXT_STATE:
        shell_.Enter("FNext");
        shell_.Gate().setEnabled("FindNext1", FirstText(AdoptRecord(lParam)) == "true");
        return 0;
    case MW_NEW_FROM_TEMPLATE: {
        shell_.Enter("NewFromTemplate");
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
        return 0;
    }
    case MW_ADD_TO_REPOSITORY: {
        shell_.Enter("AddToRepository");
        const std::string path = FirstText(AdoptRecord(lParam));
        if (shell_.Libraries().entry.AddObjRep)
            shell_.Libraries().entry.AddObjRep(shell_.ApplicationHandle(), shell_.MainHandle(), path.c_str());
        return 0;
    }
    case MW_SEND_THE_STRING: {
        shell_.Enter("SendTheString");
        // The three texts belong to the sender.
        const auto* t = reinterpret_cast<const TMyRecord*>(lParam);
        if (t)
            SendStrings(RecordText(t->first), RecordText(t->second), RecordText(t->third));
        return 0;
    }
    default:
        return 0;
    }
}

}  // namespace vlr
