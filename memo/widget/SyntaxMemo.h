// TSyntaxMemo: the editor control as a Qt widget. It paints the engine's visible lines and turns
// Qt events into engine calls; all editing logic lives in memo/engine (MemoEngine).
#pragma once

#include <QAbstractScrollArea>
#include <QByteArray>
#include <QFont>
#include <QList>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "memo/engine/MacroKeywords.h"
#include "memo/engine/MemoEngine.h"
#include "memo/engine/Messages.h"

class QAction;
class QIODevice;
class QMimeData;
class QPainter;
class QPrinter;
class QTimer;

namespace vlr {
class TKeyboardActionContoller;
}  // namespace vlr

namespace velora::memo {

class FoldMargin;
class TagMatch;
class TSearchDialog;
class TMemoAccessEvents;
class TTemplatePickList;
class CompletionPopup;
struct CompletionRequest;
struct MarkupAidsState;

// Editing commands of the key table, codes 0..44.
enum KeyCommand : int {
  caLEFT = 0, caRIGHT, caLINEHOME, caLINEEND, caUP, caDOWN, caPAGEUP, caPAGEDOWN, caWORDLEFT, caWORDRIGHT,
  caDOCSTART, caDOCEND, caCUT, caCOPY, caPASTE, caDELETE, caBACKSPACE, caBLOCKIND, caBLOCKUND, caINSTOGGLE,
  caSETBOOKMARK0 = 20, caGOTOBOOKMARK0 = 30, caDELETELINE = 40, caUNDO, caREDO, caDELPREVWORD, caPRINTSEL,
};

class TSyntaxMemo : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit TSyntaxMemo(QWidget* parent = nullptr);
  ~TSyntaxMemo() override;

  MemoEngine& engine() noexcept { return *engine_; }
  [[nodiscard]] const MemoEngine& engine() const noexcept { return *engine_; }
  // The message interface of the control (standard edit messages and 0x0C00..0x0C15).
  std::intptr_t Perform(unsigned msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);

  // ---- The C++ API the editor window uses (thin layers over the engine).
  [[nodiscard]] QByteArray text() const;  // breaks as stored (CR)
  void setText(const QByteArray& bytes);  // replaces the document, empties undo
  [[nodiscard]] QByteArray textCRLF() const;
  [[nodiscard]] Selection selection() const { return engine_->selection(); }
  void setSelection(Pos anchor, Pos caret) { engine_->setSelection(anchor, caret); }
  [[nodiscard]] Pos selStart() const { return engine_->selStart(); }
  [[nodiscard]] Pos selLength() const { return engine_->selLength(); }
  void setSelStart(Pos p) { engine_->setSelStart(p); }
  void setSelLength(Pos n) { engine_->setSelLength(n); }
  [[nodiscard]] QByteArray selText() const;
  void setSelText(const QByteArray& t) { engine_->setSelText(std::string_view(t.constData(), std::size_t(t.size()))); }
  // One-based caret column and line.
  [[nodiscard]] int caretColumn() const { return int(engine_->caretColLine().first); }
  [[nodiscard]] int caretLine() const { return int(engine_->caretColLine().second); }
  void goToLineColumn(int line, int column) { engine_->goToColLine(column, line); }
  void undo() { engine_->undo(); }
  void redo() { engine_->redo(); }
  [[nodiscard]] bool canUndo() const { return engine_->canUndo(); }
  [[nodiscard]] bool canRedo() const { return engine_->canRedo(); }
  [[nodiscard]] bool modified() const { return engine_->modified(); }
  void setModified(bool m) { engine_->setModified(m); }
  void cut() { engine_->cut(); }
  void copy() { engine_->copy(); }
  // A paste that cannot be allocated is reported (ReportError), the document unchanged.
  void paste() { guarded([this] { engine_->paste(); }); }
  void selectAll() { engine_->selectAll(); }
  void blockIndent() { engine_->blockIndent(); }
  void blockUnindent() { engine_->blockUnindent(); }
  // Plain search from the caret (search flags; letter case ignored unless 0x10); selects the match.
  Pos find(const QByteArray& what, unsigned flags = kSearchAtOnce) {
    return engine_->search(std::string_view(what.constData(), std::size_t(what.size())), flags | kSearchAtOnce);
  }
  [[nodiscard]] bool readOnly() const { return engine_->readOnly; }
  void setReadOnly(bool r) { engine_->readOnly = r; viewport()->update(); }
  // WantTab off: Tab moves the focus; WantReturns off: Return is left to the parent (a dialog's
  // default button).
  [[nodiscard]] bool wantTab() const { return engine_->wantTab; }
  void setWantTab(bool w) { engine_->wantTab = w; }
  [[nodiscard]] bool wantReturns() const { return engine_->wantReturns; }
  void setWantReturns(bool w) { engine_->wantReturns = w; }
  [[nodiscard]] QString fontName() const { return QString::fromStdString(engine_->fontName); }
  void setFontName(const QString& name);
  [[nodiscard]] int fontSize() const { return engine_->fontSize; }
  void setFontSize(int points);
  [[nodiscard]] bool overwriteMode() const noexcept { return overwrite_; }
  void setOverwriteMode(bool o) { overwrite_ = o; viewport()->update(); }
  // Word wrap (smoWordWrap) at WrapAtColumn, or at the window's width when that is 0.
  [[nodiscard]] bool wordWrap() const { return engine_->hasOption(smoWordWrap); }
  void setWordWrap(bool on);
  void setTitle(const QString& t) { engine_->title = encodeUtf8(t); }
  [[nodiscard]] QString title() const { return QString::fromUtf8(engine_->title.c_str()); }
  // Text of the token under the last mouse position (empty past the end of the line).
  [[nodiscard]] QByteArray hotSpotText() const;
  // Text of the token at a point of the viewport (empty past the end of the line).
  [[nodiscard]] QByteArray hotSpotTextAt(QPoint p) const;
  // Runs a key-table command with the extend-selection flag (SyntaxMemoCommands.cpp): movement
  // commands keep the anchor when extending; editing commands do nothing while read-only.
  void executeCommand(int code, bool extend);
  // Prints the document (or the selection) on the printer; OnPrintError and false when the
  // printer cannot be started.
  bool print(QPrinter& printer, bool selectionOnly = false);
  // Prints the selected text (command caPRINTSEL) on the owner's printer, or on the system's
  // default one when the owner gives none. Without a printer the owner is told through
  // OnPrintError and nothing is printed; without a selection there is nothing to print.
  bool printSelection();
  // Where printSelection prints: the source is asked at each print; nullptr or an unset source
  // means the system's default printer.
  void setPrinterSource(std::function<QPrinter*()> source) { printerSource_ = std::move(source); }
  // HideSelection: the selection is not drawn while the control has no focus.
  [[nodiscard]] bool hideSelection() const { return engine_->hideSelection; }
  void setHideSelection(bool h) { engine_->hideSelection = h; viewport()->update(); }
  // ShowFocusLine: the caret's row is marked with a band behind its text.
  [[nodiscard]] bool showFocusLine() const noexcept { return showFocusLine_; }
  void setShowFocusLine(bool s) { showFocusLine_ = s; viewport()->update(); }
  // HyperCursor: the mouse cursor over a hot-spot token (the owner's hover handler may change it).
  [[nodiscard]] Qt::CursorShape hyperCursor() const noexcept { return hyperCursor_; }
  void setHyperCursor(Qt::CursorShape c) { hyperCursor_ = c; }
  // def_FontStyle (fsBold, fsItalic, fsUnderline bits).
  [[nodiscard]] int defFontStyle() const { return engine_->defFontStyle; }
  void setDefFontStyle(int bits) { engine_->defFontStyle = bits; viewport()->update(); }
  // The key table keys are looked up in: the active language's, else the built-in one.
  [[nodiscard]] vlr::TKeyboardActionContoller& keyController() const;
  // Dragging text out of the control (smoOLEDragSource): the data of a drag of the selection,
  // which the control remembers as the drag's source, and the end of that drag with the action
  // the drop took (a move to another place removes the source as one undo step).
  [[nodiscard]] QMimeData* beginTextDrag();
  void endTextDrag(Qt::DropAction result);
  // An error of the control during a user action (ESyntaxMemo): OnError, or without a handler a
  // message box.
  void ReportError(const QString& message);

  // Geometry helpers (client coordinates of the viewport).
  [[nodiscard]] Pos positionAt(QPoint p) const;
  [[nodiscard]] QPoint pointAt(Pos p) const;
  [[nodiscard]] int lineHeight() const noexcept { return lineHeight_; }
  [[nodiscard]] int textLeft() const noexcept;
  // The gutter (GutterPaint.cpp): the mark area (smoShowGutter, gutterWidth pixels) with the
  // bookmarks and line marks, then the line numbers (smaLineNumbers), as wide as the digits of
  // the line count need.
  [[nodiscard]] int gutterPixels() const noexcept;
  [[nodiscard]] int lineNumberWidth() const noexcept;
  // The band behind the caret's line (smaCurrentLine or ShowFocusLine): the "Current line"
  // colour of the Highlighting page, by default a shade of the background.
  [[nodiscard]] QColor currentLineColor() const;
  // Answers input methods: caret rectangle, surrounding text, positions (CJK input).
  [[nodiscard]] QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
  // ---- Folding and matching (FoldMargin.cpp, TagMatch.cpp)
  [[nodiscard]] FoldMargin& foldMargin() const noexcept { return *foldMargin_; }
  [[nodiscard]] TagMatch& tagMatch() const noexcept { return *tagMatch_; }
  // The commands "Fold/Unfold Current", "Fold All", "Unfold All" and "Go to Matching Tag or
  // Bracket" with their keys, for the owner's menus; their keys work while the control has focus.
  [[nodiscard]] const QList<QAction*>& foldingActions() const noexcept { return foldingActions_; }
  // What the marks at a position mean (a misspelt word, a problem of the page), for assistive
  // tools reading the caret's place. Each kind of mark adds a describer for as long as its
  // owner lives; the descriptions found are joined.
  using MarkDescriber = std::function<QString(Pos)>;
  void addMarkDescriber(QObject* owner, MarkDescriber describe);
  [[nodiscard]] QString markDescriptionAt(Pos p) const;
  // True while parts of the document still wait for background highlighting.
  [[nodiscard]] bool highlightPending() const { return engine_->highlightPending(); }

  // ---- Search, templates and auto-replace (SyntaxMemoSearch.cpp)
  // The control's find or replace dialog, filled with the text, or with the selection's first
  // 80 characters when there is a selection and the search is not an expression.
  void FindDialog(const QString& text, unsigned flags, bool replace = false);
  [[nodiscard]] TSearchDialog* searchDialog() const noexcept { return searchDialog_; }
  // An owner's own variant of the dialog (a child of the owner) serves from now on.
  void setSearchDialog(TSearchDialog* d) noexcept { searchDialog_ = d; }
  // Repeats the last search (find next); the match position or -1.
  Pos FindNext();
  // Marks every match with the search-highlight mark (each the length of its match); the count.
  int MarkAll(const std::string& text, unsigned flags);
  // OnSearchFail, or without a handler the message "Search string \"...\" not found.".
  void ReportSearchFail(const std::string& text);
  // The error text, the expression and a caret under the error column.
  void ShowExpressionError(const ERegExprError& error);
  // The pick list while it is open.
  [[nodiscard]] TTemplatePickList* pickList() const noexcept { return pickList_; }
  // Expands a template of the language over the word before the caret (as the pick list does).
  void InsertTemplate(int index);

  // ---- HTML typing aids (SyntaxMemoAids.cpp): auto-closing of tags, quotes and brackets and the
  // completion list, as EditingAids switch them on, for a page highlighted with the program's
  // HTML scheme (whose token values they read). Off until the owner turns them on.
  void setMarkupAids(bool on);
  [[nodiscard]] bool markupAids() const noexcept;
  // Where the list finds the variables ("<%name%>") and include files ("<&file&>") it offers.
  void setCompletionSources(std::function<std::vector<std::string>()> variables,
                            std::function<std::vector<std::string>()> includes);
  // The web data file (default: completion/web-data.txt beside the program); before first use.
  static void setWebDataFile(const QString& path);
  // Opens the list for the caret's place (Ctrl+Space, Ctrl+Shift+Space); false when there is
  // nothing to offer.
  bool openCompletion();
  // Off: Ctrl+Space is left to the owner (the editor window inserts "&nbsp;" with it) and only
  // Ctrl+Shift+Space opens the list.
  void setCtrlSpaceCompletes(bool on);
  void closeCompletion();
  // The list while it is shown.
  [[nodiscard]] CompletionPopup* completionPopup() const noexcept;

 Q_SIGNALS:
  void OnChange();
  void OnTextChange(qint64 start, qint64 extent);
  void OnSelectionChange();
  void OnHyperlinkHover();
  // The mouse left the hot spot it was over (or left the control while over one).
  void OnHyperlinkLeave();
  // Every mouse move over the text, before the hot-spot test (so an owner's
  // reaction to the move comes before its reaction to the hover).
  void OnMouseMove(Qt::KeyboardModifiers modifiers, const QPoint& at);
  // A left-button click (press and release) and a double-click, after the
  // control's own handling.
  void OnClick();
  void OnDblClick();
  // A key, before the control handles it. An owner that did the key's whole
  // work sets handled, and the control then leaves the key alone.
  void OnKeyDown(int key, Qt::KeyboardModifiers modifiers, bool& handled);
  void OnHyperlinkClick(const QString& hyperData, int hyperType);
  void OnFilesDropped(const QStringList& files, const QPoint& atPoint);
  void OnDataDrop(const QStringList& sourceTypes);
  void OnGutterClick(int lineNo);
  void OnBookmarkSet(int index);
  void OnBookmarkClear(int index);
  // Line marks (engine().lineMarks()): drawn (a connected handler draws every mark itself in the
  // rectangle given, the control then draws none), changed (moved by the owner, joined with
  // another line by an edit, brought back by undo) or released (removed, or its line deleted).
  void OnDrawMark(QPainter* dc, const QRect& rect, const velora::memo::LineMark& mark);
  void OnMarkChange(const velora::memo::LineMark& mark);
  void OnMarkFree(const velora::memo::LineMark& mark);
  // Tracked lines (engine().lineTracks()) added (or brought back by undo) and released.
  void OnTrackAdd(int trackId);
  void OnTrackFree(int trackId);
  void OnCommandRecognised(int& actionCode);
  void OnSearchFail(const QString& searchString);
  // A template is about to be expanded; the handler may change its text.
  void OnTemplateEvent(const QString& templateName, QString& replacement);
  // An auto-replace item is about to be replaced; the handler may change or refuse it. The
  // stream is empty and open for writing: bytes a handler writes to it are inserted as they are
  // (breaks made CR, as a paste) instead of replaceWith, in the same single undo step.
  void OnAutoReplace(QIODevice* stream, const QString& replaceItem, QString& replaceWith, bool& canReplace);
  // Printing failed: no printer, or the printer could not be started.
  void OnPrintError(const QString& message);
  // The highlighter reports a token (the handler may change its value): -1, -1, -1 before a
  // re-scan, then every token with its extent, and -2, -2, -2 after it. Raised only while
  // connected, so that scanning costs nothing otherwise.
  void OnTokenSeen(int& tokenValue, qint64 extentStart, qint64 extentEnd);
  // An error of the control during a user action (a failed allocation of a large insertion).
  void OnError(const QString& message);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void leaveEvent(QEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;
  bool focusNextPrevChild(bool next) override;  // Tab is text unless WantTab is off
  void connectNotify(const QMetaMethod& signal) override;
  void disconnectNotify(const QMetaMethod& signal) override;

 private:
  static std::string encodeUtf8(const QString& s);
  void applyFont();
  void updateScrollBars();
  void syncFromEngine();
  void moveVertically(int lines, bool extend);
  void startTextDrag();
  // Runs a user action; an ESyntaxMemo it raises is reported (ReportError), not thrown on.
  template <class Action>
  void guarded(Action&& action) {
    try {
      action();
    } catch (const ESyntaxMemo& err) {
      ReportError(QString::fromUtf8(err.what()));
    }
  }
  // Whether a drag with this data may be dropped here (files only with smoProcessDroppedFiles,
  // text only when editable), and whether it is this control's own text drag.
  [[nodiscard]] bool acceptsDrop(const QMimeData* m) const;
  [[nodiscard]] bool isOwnDrag(const QMimeData* m) const;
  // Geometry counts visual rows (lines unless wrapping) and display columns (SyntaxMemoPaint.cpp).
  [[nodiscard]] int xOfPos(LineNo row, Pos p) const;
  [[nodiscard]] Pos posAtX(LineNo row, int x) const;
  [[nodiscard]] Pos rowBaseColumn(Pos row) const;
  // The visual row under a point of the viewport (the first or last one above or below the text).
  [[nodiscard]] Pos rowAt(QPoint p) const;
  // Draws the visible columns [firstCol, lastCol] of visual row `row` at y.
  void paintLine(QPainter& g, LineNo row, int y, Pos firstCol, Pos lastCol);
  // GutterPaint.cpp: the current line's band behind the text, and the gutter.
  void paintCurrentLine(QPainter& g, const QRect& r);
  void paintGutter(QPainter& g, const QRect& r);
  // The one-based line of a point of the gutter (of the row's line while wrapping).
  [[nodiscard]] int gutterLineAt(QPoint p) const;
  // The hot-spot test of a mouse move: OnHyperlinkHover and HyperCursor over a hot spot,
  // OnHyperlinkLeave and the normal cursor when the mouse leaves it (SyntaxMemoPaint.cpp).
  void updateHover(QPoint p);
  void setHovering(bool hot);
  // The style a token value is drawn in: none while smoSyntaxHighlight is off.
  [[nodiscard]] bool drawsTokenStyles() const;
  // SyntaxMemoSearch.cpp: the engine's search hooks, and code templates and auto-replace on a key
  // (true when the key was used up).
  void installSearchHooks();
  // SyntaxMemoFolding.cpp: the fold margin, tag matching and their commands; a key of one of
  // the commands runs it (true).
  void installFolding();
  bool runFoldingShortcut(const QKeyEvent& ev);
  bool offerTypingAids(QKeyEvent* e);
  [[nodiscard]] MacroEvents macroEvents();
  void showPickList(const QString& prefix);
  // SyntaxMemoAids.cpp: the list's keys and Ctrl+Space (before everything else), typing with
  // auto-closing (after the templates and auto-replace), and the list following typed text.
  bool offerMarkupKeys(QKeyEvent* e);
  bool typeWithMarkupAids(QKeyEvent* e);
  void markupAfterTyping(const QString& typed);
  void refreshCompletion(QChar typed);
  bool showCompletion(const CompletionRequest& request);
  void acceptCompletion();

  std::unique_ptr<MemoEngine> engine_;
  std::unique_ptr<ClipboardHost> clipboard_;
  QFont font_;
  int lineHeight_ = 16;
  int charWidth_ = 8;
  int ascent_ = 12;
  bool overwrite_ = false;
  vlr::TKeyboardActionContoller* lastKeys_ = nullptr;  // the key table the last key went to
  int desiredX_ = -1;         // kept across vertical moves
  Pos verticalCaret_ = -1;    // where the last vertical move left the caret
  bool mouseSelecting_ = false;
  bool wordSelecting_ = false;  // after a double-click with smoWordSelect: drags go by words
  Pos wordAnchorStart_ = 0, wordAnchorEnd_ = 0;
  bool dragPending_ = false;  // pressed inside the selection: a drag may start
  QPoint pressPoint_;
  QPoint lastMouse_{-1, -1};
  bool hovering_ = false;
  bool inDrag_ = false;       // a drag out of this control is running
  bool droppedOnSelf_ = false;
  Selection dragSource_;      // the text being dragged out of this control
  int maxWidthSeen_ = 0;
  bool syncing_ = false;
  QTimer* highlightTimer_ = nullptr;  // drives the engine's background highlighting slices
  TSearchDialog* searchDialog_ = nullptr;
  TTemplatePickList* pickList_ = nullptr;
  Pos pickStart_ = 0;  // start of the word the pick list replaces
  QString preedit_;                   // text an input method is composing (shown at the caret)
  bool showFocusLine_ = false;
  Qt::CursorShape hyperCursor_ = Qt::PointingHandCursor;
  std::function<QPrinter*()> printerSource_;
  std::unique_ptr<FoldMargin> foldMargin_;
  std::unique_ptr<TagMatch> tagMatch_;
  QList<QAction*> foldingActions_;
  std::unique_ptr<MarkupAidsState> markup_;
  std::unique_ptr<TMemoAccessEvents> accessEvents_;  // changes told to the accessibility bus
  std::vector<std::pair<QPointer<QObject>, MarkDescriber>> markDescribers_;
};

}  // namespace velora::memo
