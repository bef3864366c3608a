// The editor-window unit of the main window: it creates editor windows, is
// the host they call (status panels, toolbar buttons, the exception report),
// answers the messages they send, forwards the Edit and Search commands to
// the active editor window and inserts markup into it.
#pragma once

#include "app/units/EditorWindows.h"
#include "app/units/FeatureUnit.h"
#include "editor/recovery/RecoveryScheduler.h"
#include "editor/recovery/RecoveryStore.h"
#include "editor/window/EditorCreate.h"
#include "editor/window/EditorHost.h"

#include <QObject>
#include <QRect>

#include <memory>
#include <string>
#include <vector>

namespace vlr {

class ShellServices;
class TFrmEditor;

// The geometry of a new editor window inside the visible part `visible` of
// the document area, with `existing` windows showing there and `step` pixels
// between cascaded windows.
QRect EditorWindowPlace(const QRect& visible, int existing, int step);

class TEditorUnit : public QObject, public FeatureUnit, public EditorWindows, public EditorHost {
    Q_OBJECT
public:
    explicit TEditorUnit(ShellServices& shell);
    // The editor windows go with the host they call: they are deleted here,
    // while the main window's parts still exist, not later with its children.
    ~TEditorUnit() override;

    // FeatureUnit
    const char* UnitName() const override { return "editor"; }
    std::vector<unsigned> Messages() const override;
    LResult HandleMessage(unsigned msg, WParam wParam, LParam lParam) override;
    void ConnectCommands() override;
    void Created() override;
    void Shown() override;
    void Closed() override;

    // EditorWindows
    TFrmEditor* OpenEditorForFile(const std::string& path) override;
    bool OpenEditorAtLine(const std::string& path, int line) override;
    bool OpenSourceAtLine(const std::string& path, int line) override { return OpenEditorAtLine(path, line); }
    TFrmEditor* OpenEditorFromTemplate(const std::string& path) override;
    TFrmEditor* OpenNewEditor() override;
    void CheckActiveSpelling() override;
    void ChoosePrinter() override;
    void SendStrings(const std::string& start, const std::string& end, const std::string& flag) override;

    // EditorHost
    void UpdateEditorCommands(bool lastClosing) override;
    void SetImageEx(const std::string& kind) override;
    void SetCaretPanels(const std::string& line, const std::string& column) override;
    void SetUndoRedoButtons(bool canUndo, bool canRedo) override;
    QMdiSubWindow* AddEditorWindow(QWidget* editor) override;
    void SuspendPainting(bool suspended) override;
    void ReportException(QObject* sender, std::exception_ptr error, const std::string& method) override;
    QPrinter& Printer() override;
    bool BrowserUsable() const override { return browserUsable_; }
    void DocumentChanged(TFrmEditor& editor) override;
    void DocumentSaved(TFrmEditor& editor) override;
    void DocumentClosed(TFrmEditor& editor) override;
    // EditorCompletion.cpp
    std::vector<std::string> CompletionVariables() override;
    std::vector<std::string> CompletionIncludes() override;
    void KeySchemeChanged() override;

    // The editor window holding the file (the same file under any name);
    // nullptr when it is not open.
    TFrmEditor* OpenEditorOf(const std::string& path) const;
    // Brings the window to the front (restored when minimised) with the focus in its text.
    void ActivateEditor(TFrmEditor& editor);

    // Recovery copies of unsaved text; nullptr while no session runs.
    RecoveryScheduler* recoveryScheduler() const { return recoveryTimer_.get(); }
    // Offers each document an unclean exit left behind and restores the
    // chosen ones as modified documents.
    void OfferRecoveredDocuments();

private:
    // Sends a command to the active editor window, with a record holding `first` when given.
    void ForwardToEditor(unsigned msg, const std::string* first = nullptr);
    void Edit1Click();
    EditorDirs ProjectDirs() const;

    ShellServices& shell_;
    bool browserUsable_;
    int paintDepth_ = 0;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<RecoveryStore> recovery_;
    std::unique_ptr<RecoveryScheduler> recoveryTimer_;
};

}  // namespace vlr
