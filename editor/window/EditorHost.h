// What an editor window needs of the main window it lives in: the calls it
// makes directly (editor commands, status line, toolbar buttons, the
// exception report) besides the messages it sends to the main window handle.
#pragma once

#include <exception>
#include <string>
#include <vector>

class QMdiSubWindow;
class QPrinter;
class QObject;
class QWidget;

namespace vlr {

class TFrmEditor;

class EditorHost {
public:
    virtual ~EditorHost() = default;

    // Enables or disables the commands that need an editor window.
    virtual void UpdateEditorCommands(bool lastClosing) = 0;
    // Shows the document-kind icon: "editor", "graphic", anything else hides
    // both and clears the caret and modified panels.
    virtual void SetImageEx(const std::string& kind) = 0;
    // Status panels 2 and 3: the caret's line and column.
    virtual void SetCaretPanels(const std::string& line, const std::string& column) = 0;
    // The Undo and Redo toolbar buttons.
    virtual void SetUndoRedoButtons(bool canUndo, bool canRedo) = 0;
    // Places an editor window in the multi-document area without showing it.
    virtual QMdiSubWindow* AddEditorWindow(QWidget* editor) = 0;
    // Suspends or resumes painting of the main window.
    virtual void SuspendPainting(bool suspended) = 0;
    // Passes an error of an editor-window method to the program's exception report.
    virtual void ReportException(QObject* sender, std::exception_ptr error, const std::string& method) = 0;
    // The printer and settings chosen with Printer Setup, which printing starts from.
    virtual QPrinter& Printer() = 0;
    // The document's text changed, was saved, or its window is closing: the
    // host keeps (or drops) a recovery copy of unsaved text.
    virtual void DocumentChanged(TFrmEditor& editor) = 0;
    virtual void DocumentSaved(TFrmEditor& editor) = 0;
    virtual void DocumentClosed(TFrmEditor& editor) = 0;
    // Whether the start-up check found the preview browser usable.
    virtual bool BrowserUsable() const = 0;
    // What the completion list offers after "<%" and "<&": the names of the open project's
    // and the program's variables, and the files a page may include (relative to the source
    // directory). None without a project.
    virtual std::vector<std::string> CompletionVariables() { return {}; }
    // Opens (or brings up) the editor window of a file of the site with the
    // caret on a line; false when it could not be opened.
    virtual bool OpenSourceAtLine(const std::string& path, int line) {
        (void)path;
        (void)line;
        return false;
    }
    virtual std::vector<std::string> CompletionIncludes() { return {}; }
    // The key scheme in the preferences changed (chosen in the options dialog): the menus
    // show its keys.
    virtual void KeySchemeChanged() {}
};

}  // namespace vlr
