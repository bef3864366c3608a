// TFrmEditor: the editor child window. It owns one document (text, file name,
// modified flag) held in its TSyntaxMemo, reports its state to the main window
// and answers the editor-window messages.
#pragma once

#include "editor/case/CaseConversion.h"
#include "editor/document/DocumentFile.h"
#include "editor/document/EditorConfig.h"
#include "editor/recovery/RecoveryScheduler.h"
#include "editor/window/EditorHost.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"
#include "memo/widget/SyntaxMemo.h"
#include "platform/Library.h"
#include "platform/Record.h"
#include "platform/Window.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QPoint;
class QFrame;
class QMdiSubWindow;
class QSplitter;
class QMenu;
class QStackedWidget;
class QTabBar;

namespace vlr {
namespace spelling {
class TSpellMarks;
}

class DocumentWatch;
class EditorCheck;
class EditorImage;
class EditorLinks;
class EditorPreview;
class LivePreviewPane;
class SearchMarks;
class TFindDialog;

class TFrmEditor : public QWidget, public MessageHandler, public RecoverySource {
    Q_OBJECT
public:
    // FormCreate: the window with its control, tab strip and context menu.
    TFrmEditor(EditorHost& host, QWidget* parent = nullptr);
    ~TFrmEditor() override;

    Handle handle() const { return handle_; }

    // What a recovery copy keeps: the document's file ("" while untitled)
    // and its text.
    QString RecoveryDocumentPath() const override;
    QByteArray RecoveryText() const override;
    velora::memo::TSyntaxMemo& memo() const { return *SyntaxMemo1; }
    QMdiSubWindow* subWindow() const { return sub_; }
    void setSubWindow(QMdiSubWindow* sub);

    // ---- window state
    std::string TempDir;
    std::string LastFind;
    unsigned LastFindOptions = 0;
    std::string FileName = "Untitled Web Page";
    Handle MainWnd = 0;
    Handle AppHandle = 0;
    LibraryHandle ValidateLib = nullptr;
    std::string SrcDir;
    std::string TickId;
    bool Ready = false;
    std::string PreviewFile;
    std::string PreviewSource;
    std::string OutDir;
    bool SkipUndoRefresh = true;
    std::string JpegWidth, JpegHeight, GifHeight, GifWidth;
    // The break style the document is saved in (that of its file, or its
    // .editorconfig's end_of_line; LF when new).
    BreakStyle Breaks = BreakStyle::LF;
    // What the .editorconfig files say for the document's file, read when it
    // is opened and whenever it is saved.
    EditorConfig DocConfig;

    // The control's own search text and options (what its Find and Replace
    // dialogs last searched for).
    std::string ControlSearchText;
    unsigned ControlSearchOptions = 0;

    // ---- operations
    void Open(const std::string& path);
    // False when nothing was saved (cancelled, refused or failed).
    bool SaveIt();
    bool SaveAs();
    void ModMessage();
    void CaretPos();
    void doundoredomessage();
    void DoEditButtons();
    void ModifyOptions();
    // Toggle comment on the selected lines (or the caret's), in the comment form of the
    // language there (EditorKeys.cpp).
    void ToggleComment();
    // The keys of the key scheme the window's table follows: Ctrl+/ toggles comments under
    // the Desktop scheme, and the context menu shows the scheme's keys.
    void applyKeyScheme();
    // Whether pasting is possible: the clipboard holds text.
    static bool ClipboardHasText();
    void ChangeCase();
    // Spell check of the whole document, background marks and the marked
    // word's entries at the top of the context menu (EditorSpelling.cpp).
    void CheckSpelling1Click();
    void AttachSpelling();
    void OfferSpelling(const QPoint& at);
    spelling::TSpellMarks* spellMarks() const { return spellMarks_; }
    // The page checked as the user types (EditorCheck.h).
    EditorCheck* pageCheck() const { return pageCheck_; }
    // The live preview pane beside the source (EditorLive.cpp): made when
    // first shown; nullptr before.
    LivePreviewPane* livePreview() const { return livePreview_; }
    void ToggleLivePreview();
    // The open project's file ("" without one), asked of the main window.
    std::string ProjectFile() const;
    // The full path the page is built as: its file, or for a page without
    // one a name in the source folder.
    std::string PagePath() const;
    void ReadEditorFont();
    void FindNext(bool regularExpressions);
    void ShowAll();
    void OpenFindDialog(unsigned options, bool replace);
    void MarkRange(velora::memo::Pos start, velora::memo::Pos end);
    SearchMarks& searchMarks() const { return *marks_; }

    // The save dialog's filter, in the dialog's "Description|pattern|..." form.
    static const std::string& SaveFilter();

    LResult handleMessage(unsigned msg, WParam wParam, LParam lParam) override;
    // Runs an editor method ("TFrmEditor." + method), handing any error to
    // the exception report.
    void guarded(const char* method, const std::function<void()>& body);
    // Sends a record message to the main window.
    void Report(unsigned msg, RecordPtr record);

    // Step 5 of the creation entries: the HTML scheme component, the window's
    // initial control settings after the scheme's, then "sedprop.dat" (the
    // order is written down in AttachHtmlScheme).
    void AttachScheme(const std::string& appDir);

    // ---- components
    // The HTML scheme component in the control's parser slot 1 (empty
    // while the build has none).
    std::unique_ptr<TSyntaxMemoParser> SyntaxMemoParser1;
    QTabBar* TabSet1;
    QStackedWidget* Notebook1;
    QFrame* Panel1;
    // The source and, beside it, the live preview pane.
    QSplitter* SourceSplit;
    velora::memo::TSyntaxMemo* SyntaxMemo1;
    QWidget* OleContainer1;
    // The preview page's browser (from the preview module); nullptr without one.
    QWidget* Browser = nullptr;
    // The preview page: BuildIE, CloseIE, TabSet1Click, TabSet1DrawTab.
    EditorPreview& preview() const { return *preview_; }
    QMenu* PopupMenu1;
    QAction* Undo1;
    QAction* Redo1;
    QAction* Cut1;
    QAction* Copy1;
    QAction* Paste1;
    QAction* Delete1;
    QAction* SelectAll1;
    QAction* IndentSelection1;
    QAction* UnindentSelection1;
    QAction* ChangeCase1;
    QAction* ToggleComment1;
    QAction* VisitLink1;
    QAction* EditorOptions1;
    QAction* CheckSpelling1;
    QAction* AddToRepository1;
    QAction* LivePreview1;
    // Runs the context menu's enabling rules (PopupMenu1Popup).
    void PopupMenu1Popup();

    // The window's parts: tokens under the mouse and the HTML keys; image insertion.
    EditorLinks* Links = nullptr;
    std::unique_ptr<EditorImage> Images;
    // The watch on the document's file for changes made by other programs.
    DocumentWatch* Watch = nullptr;

    // Test seam: answers the case question instead of the "Change Case"
    // dialog when set.
    std::function<std::optional<CaseChoice>(QWidget*)> askCase;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void buildPopupMenu();
    void applyControlSettings();
    // Reads DocConfig for FileName and gives the control the document's tab
    // width and how new indentation is written (EditorIndent.cpp). `loaded`:
    // the text was just read from the file, whose charset is checked.
    void applyDocumentSettings(bool loaded);
    void FormShow();
    void FormActivate();
    void SyntaxMemo1Change();
    void SyntaxMemo1SelectionChange();
    bool FormCloseQuery();
    void InsertMarkup(const std::string& start, const std::string& end, const std::string& flag);
    void Print();
    LResult dispatch(unsigned msg, LParam lParam);
    std::string preferencesPath() const;

    friend class EditorPreview;
    EditorHost& host_;
    std::unique_ptr<EditorPreview> preview_;
    Handle handle_ = 0;
    QMdiSubWindow* sub_ = nullptr;
    SearchMarks* marks_ = nullptr;
    TFindDialog* findDialog_ = nullptr;
    bool shownBefore_ = false;
    spelling::TSpellMarks* spellMarks_ = nullptr;
    EditorCheck* pageCheck_ = nullptr;
    LivePreviewPane* livePreview_ = nullptr;
    std::vector<QAction*> spellActions_;
};

// The editor window created last; cleared when any editor window is destroyed.
extern TFrmEditor* FrmEditor;

}  // namespace vlr
