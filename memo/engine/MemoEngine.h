// The editor control's engine (Qt-free): text store, selection, editing, undo, exports,
// bookmarks, parser slots and the message interface. TSyntaxMemo (memo/widget) draws it.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "memo/engine/ByteStream.h"
#include "memo/engine/DisplayColumns.h"
#include "memo/engine/Export.h"
#include "memo/engine/FoldRegions.h"
#include "memo/engine/LineMarks.h"
#include "memo/engine/MarkupLines.h"
#include "memo/engine/MarkTracker.h"
#include "memo/engine/Options.h"
#include "memo/engine/TextStore.h"
#include "memo/engine/TokenScanner.h"
#include "memo/engine/Types.h"
#include "memo/engine/UndoStack.h"
#include "memo/engine/search/SearchMemory.h"
#include "memo/engine/WrapIndex.h"

namespace velora::memo {

// Clipboard service; the widget installs the Qt clipboard, the engine defaults to its own.
class ClipboardHost {
 public:
  virtual ~ClipboardHost() = default;
  // text (rtf) is empty when the plain (rich) text format is not wanted.
  virtual void setData(const std::string& text, const std::string& rtf) = 0;
  [[nodiscard]] virtual std::optional<std::string> text() const = 0;
};

// Told of every change of the text, with the range that goes before the change and the range
// that came after it (assistive tools report both; a new document is the whole text replaced).
class TextObserver {
 public:
  virtual ~TextObserver() = default;
  virtual void beforeReplace(Pos a, Pos b) = 0;
  virtual void afterReplace(Pos a, Pos inserted) = 0;
};

class MemoryClipboard final : public ClipboardHost {
 public:
  void setData(const std::string& text, const std::string& rtf) override {
    text_ = text;
    rtf_ = rtf;
    has_ = !text.empty();  // rich text alone is nothing to paste
  }
  [[nodiscard]] std::optional<std::string> text() const override {
    return has_ ? std::optional<std::string>(text_) : std::nullopt;
  }
  [[nodiscard]] const std::string& rtf() const noexcept { return rtf_; }

 private:
  std::string text_, rtf_;
  bool has_ = false;
};

struct Point {
  int x = 0;
  int y = 0;
};

// Payload of the dropped-files message 0x0233 (lParam points to one).
struct DroppedFiles {
  std::vector<std::string> files;
  Point at{-1, -1};  // client coordinates; (-1, -1) when outside the client area
};

// Token range of messages 0x0C13 / 0x0C14 (wParam points to one; 0 = the whole document).
struct PosRange {
  Pos start = 0;
  Pos end = 0;
};

class MemoEngine : private UndoTarget {
 public:
  MemoEngine();
  ~MemoEngine() override;
  MemoEngine(const MemoEngine&) = delete;
  MemoEngine& operator=(const MemoEngine&) = delete;

  // ---- The message interface; the typed API below is what it dispatches to.
  std::intptr_t perform(unsigned msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);

  // ---- Text
  // Replaces the whole document (breaks normalised); empties the undo log.
  void setText(std::string_view raw);
  // The document with breaks as stored (one CR) / as CR LF.
  [[nodiscard]] std::string text() const { return store_.text(); }
  [[nodiscard]] std::string textCRLF() const { return exportPlain(store_, 0, store_.length(), true); }
  [[nodiscard]] Pos length() const noexcept { return store_.length(); }
  [[nodiscard]] const TextStore& store() const noexcept { return store_; }
  TextStore& store() noexcept { return store_; }
  // TSyntaxMemoStrings: line access (text without the break); assigning replaces the document.
  [[nodiscard]] LineNo lineCount() const noexcept { return store_.lineCount(); }
  [[nodiscard]] std::string line(LineNo i) const { return store_.lineText(i); }
  void assignLines(const std::vector<std::string>& lines);

  // ---- Selection and caret
  [[nodiscard]] Selection selection() const noexcept { return sel_; }
  // An anchor of -1 selects the whole document; both ends are clamped.
  void setSelection(Pos anchor, Pos caret, bool scroll = true);
  void setSelection(Selection s) { setSelection(s.anchor, s.caret); }
  [[nodiscard]] Pos selStart() const noexcept { return sel_.start(); }
  // Length as exported: every hard break counts two (CR LF).
  [[nodiscard]] Pos selLength() const noexcept;
  void setSelStart(Pos p) { setSelection(p, p); }
  void setSelLength(Pos n) { const Pos s = sel_.start(); setSelection(s, s + n); }
  [[nodiscard]] std::string selText() const { return exportPlain(store_, sel_.start(), sel_.end(), true); }
  void setSelText(std::string_view raw) { replaceSelection(raw); }
  // One-based (column, line) of the caret; a caret just after a break is column 1 of the next line.
  [[nodiscard]] std::pair<Pos, LineNo> caretColLine() const noexcept;
  // One-based column and line to a position: the column is clamped to just before the break.
  [[nodiscard]] Pos posFromColLine(Pos col, LineNo line) const noexcept;
  void goToColLine(Pos col, LineNo line) { const Pos p = posFromColLine(col, line); setSelection(p, p); }
  void selectAll() { setSelection(-1, 0); }
  // Moves the caret; with extend the anchor stays.
  void moveCaret(Pos p, bool extend);

  // ---- Editing. While ReadOnly is set every editing operation (typing, paste, cut, drops,
  // moveText, the editing messages, undo and redo, block indent, template and auto-replace
  // insertion) leaves the document and the undo log alone; the text primitive under them all
  // refuses too, so that no path can slip through.
  //
  // An insertion whose copy of the incoming text cannot be allocated raises ESyntaxMemo
  // "Cannot alloc memory for buffer!!"; one whose document growth cannot be allocated raises
  // "Not enough memory for operation". Either way the document, the selection and the undo
  // log stay as they were.
  void replaceSelection(std::string_view raw);
  // Inserts the stream (from its position) at the selection, replacing it, in 8192-byte chunks.
  void insertStream(ByteStream& s, bool noScroll = false);
  // Typed text: replaces the selection; in overwrite mode a character of the line is replaced.
  void typeText(std::string_view raw, bool overwrite = false);
  // Return key: a break; with smoAutoIndent followed by the indentation of the caret's line
  // (the leading blanks before the caret), copied as it is.
  void newLine();
  // Tab key. With smoTabToColumn the caret goes to the next indent column: one tab character
  // or blanks, as indentStyle says (see IndentStyle); in overwrite mode the caret moves over
  // the line's characters and blanks are added only past its end. Without the option a tab
  // character is typed.
  void tabKey(bool overwrite = false);
  // The indentation that reaches the display column of `p` on its line: the line's leading
  // blanks before `p` as they are, then spaces for the rest of the way. Code templates fill
  // their later lines with it, so that they line up with the document's own indentation.
  [[nodiscard]] std::string fillTo(Pos p) const;
  // The text of one new indentation level (block indent), as indentStyle says.
  [[nodiscard]] std::string indentText() const;
  void deleteSelection() { replaceSelection({}); }
  void deleteChar(bool forward);  // Del / Backspace: group 13
  void deletePrevWord();          // group 19
  void deleteNextWord();          // group 20
  void deleteLine();              // the caret's line record with its break
  void blockIndent();             // group 17
  void blockUnindent();           // group 18
  // Moves [a, b) to position `to` (a position of the text before the move) as one undo step
  // (group 11, dragging text); the moved text ends up selected. Returns its new start, or -1
  // when nothing moved (an empty range, a target inside it, read-only).
  Pos moveText(Pos a, Pos b, Pos to);

  // ---- Undo
  [[nodiscard]] bool canUndo() const noexcept { return undo_ && undo_->canUndo(); }
  [[nodiscard]] bool canRedo() const noexcept { return undo_ && undo_->canRedo(); }
  void undo();
  void redo();
  [[nodiscard]] bool modified() const noexcept {
    return undo_ && (undo_->hasCleanMark() ? undo_->changedSinceClean() : undo_->modified());
  }
  // false empties the undo log (with smaKeepUndoAfterSave it only marks the log's state as the
  // unchanged document); true does nothing.
  void setModified(bool m);
  // The time typing runs are measured with (a test may give its own).
  std::chrono::steady_clock::time_point (*typingClock)() = &std::chrono::steady_clock::now;
  [[nodiscard]] TUndoStack* undoStack() noexcept { return undo_.get(); }
  // Exchanges the control's undo log with the given one (which may be empty: no logging).
  void swapUndoStack(std::unique_ptr<TUndoStack>& other) noexcept { undo_.swap(other); }
  // Groups primitive edits into one undo step.
  class UndoGroup {
   public:
    UndoGroup(MemoEngine& e, int id);
    ~UndoGroup();
    UndoGroup(const UndoGroup&) = delete;
    UndoGroup& operator=(const UndoGroup&) = delete;

   private:
    MemoEngine& e_;
    int id_;
  };

  // ---- Clipboard. Copy places the formats of ClipCopyFormats: the text with smTEXT, rich text
  // with smRTF; with neither nothing is copied, and cut then removes nothing.
  void cut();
  void copy();
  void paste();
  void setClipboard(ClipboardHost* c) noexcept { clipboard_ = c ? c : &ownClipboard_; }
  [[nodiscard]] ClipboardHost& clipboard() const noexcept { return *clipboard_; }
  unsigned clipCopyFormats = smTEXT | smRTF;

  // ---- Exports. The form bit kExportSaveFormat stands for the form of SaveFormat.
  [[nodiscard]] std::string exportRange(Pos a, Pos b, unsigned form) const;
  // The export form bits of SaveFormat (sfTEXT: CR LF text, sfRTF, sfHTML, sfUNIX: LF text).
  [[nodiscard]] unsigned saveFormBits() const noexcept;
  // Writes the whole document to the stream in SaveFormat; returns the number of bytes.
  std::int64_t saveToStream(ByteStream& out) const;
  [[nodiscard]] std::string exportSelection(unsigned form) const { return exportRange(sel_.start(), sel_.end(), form); }
  [[nodiscard]] ExportContext exportContext() const;

  // ---- Search (memo/engine/search; flags kSearch...)
  // With kSearchAtOnce: searches from the caret (backwards: from the selection start), selects
  // the match and returns its position, or -1 (OnSearchFail is raised). Without it the text and
  // flags are remembered and onSearchDialog is raised. A bad expression raises ERegExprError.
  Pos search(std::string_view text, unsigned flags);
  // Repeats the last search with its flags; a selection equal to the last match is stepped
  // over first, so the same place is not found again.
  Pos findNext();
  // The first match at or after `from` (backwards: the last starting before `from`), or -1;
  // `end` receives the end of the match (an expression match's real end).
  [[nodiscard]] Pos find(std::string_view text, unsigned flags, Pos from, Pos* end = nullptr) const;
  // The control's memory of the last search.
  [[nodiscard]] TSearchMemory& searchMemory() const noexcept { return *searchMemory_; }
  // An event to the owning widget, like onRepaint: a search without the
  // at-once flag asks its owner to show the find dialog.
  std::function<void(const std::string& text, unsigned flags)> onSearchDialog;

  // ---- Bookmarks 0..9 ("Bookmark index range error")
  void setBookmark(int index, Pos p) { bookmarks_.set(index, p); }
  void clearBookmark(int index) { bookmarks_.clear(index); }
  [[nodiscard]] std::optional<Pos> bookmark(int index) const { return bookmarks_.get(index); }
  void gotoBookmark(int index);
  // ---- Marks kept on their lines through edits, undo and redo (memo/engine/LineMarks.h): the
  // ten bookmarks, the line marks drawn in the gutter and the tracked lines. An owner may make
  // bookmark sets of its own over markTracker().
  [[nodiscard]] TCustomBookmarks& bookmarks() noexcept { return bookmarks_; }
  [[nodiscard]] const TCustomBookmarks& bookmarks() const noexcept { return bookmarks_; }
  [[nodiscard]] TLineMarks& lineMarks() noexcept { return lineMarks_; }
  [[nodiscard]] const TLineMarks& lineMarks() const noexcept { return lineMarks_; }
  [[nodiscard]] TLineTrackManager& lineTracks() noexcept { return lineTracks_; }
  [[nodiscard]] MarkTracker& markTracker() noexcept { return marks_; }

  // ---- Parser slots 1..6 ("Parser index out of range"); parsers are not owned.
  void setParser(int slot, TokenScanner* p);
  [[nodiscard]] TokenScanner* parser(int slot) const;
  [[nodiscard]] int activeParser() const noexcept { return activeParser_; }
  void setActiveParser(int slot);
  [[nodiscard]] TokenScanner* currentParser() const noexcept { return parsers_[std::size_t(activeParser_ - 1)]; }
  // Called after edits for the first dirty record when highlighting is on and a parser is active.
  void setRescanHandler(std::function<void(MemoEngine&, RecNo)> h) { rescan_ = std::move(h); }
  // Token values of [a, b) (zeros where none are computed) and storing them from outside.
  [[nodiscard]] std::vector<std::uint8_t> tokens(Pos a, Pos b) const;
  void storeTokens(Pos a, Pos b, const std::uint8_t* values);
  // The token values of [a, b) changed (the highlighter reports what it rewrote): what was
  // worked out from them is worked out again.
  void tokensChanged(Pos a, Pos b);
  // OnTokenSeen: raised by a re-scan once before it with -1, -1, -1, once for every token found
  // (the owner may change the value) and once after it with -2, -2, -2.
  std::function<void(int& value, Pos start, Pos end)> onTokenSeen;
  // Background highlighting. The work object is owned by the control; onBackgroundPending is
  // raised when work appears, so that the widget schedules idle slices.
  void setBackgroundWork(std::unique_ptr<BackgroundWork> w) noexcept { background_ = std::move(w); }
  [[nodiscard]] BackgroundWork* backgroundWork() const noexcept { return background_.get(); }
  static constexpr std::int64_t kDefaultSliceMicros = 5000;
  // Runs one slice of background highlighting; true while more work remains.
  bool HighlightSlice(std::int64_t budgetMicros = kDefaultSliceMicros);
  [[nodiscard]] bool highlightPending() const {
    return background_ && hasOption(smoSyntaxHighlight) && currentParser() && background_->pending();
  }
  std::function<void()> onBackgroundPending;
  // The style of the character at p (style 0 without a parser).
  [[nodiscard]] StyleEffect styleAt(Pos p) const;

  // ---- Character helpers (UTF-8 aware moves; word characters through the owner hooks)
  [[nodiscard]] Pos nextCharPos(Pos p) const noexcept;
  [[nodiscard]] Pos prevCharPos(Pos p) const noexcept;
  // p clamped and moved back to the start of the character it falls in (memo/engine/Utf8.h).
  [[nodiscard]] Pos snapToChar(Pos p) const noexcept;
  // Word tests: fn_CharIsInWord (default: letters, digits, "_" and bytes from 128) and
  // fn_CharStartsWord (default: the in-word test). A word is a run of in-word characters
  // from its first character that starts a word; in-word characters before that count as
  // punctuation. Word movement, word selection, whole-word search and auto-replace use them.
  [[nodiscard]] bool isWordChar(unsigned char c) const;
  [[nodiscard]] bool startsWord(unsigned char c) const;
  // The start of the word (or punctuation run) left of p, and the start of the next one after
  // the blanks right of p; a line break is a step of its own.
  [[nodiscard]] Pos wordLeft(Pos p) const;
  [[nodiscard]] Pos wordRight(Pos p) const;
  // The word at p (or just before it); a single character where there is none.
  [[nodiscard]] std::pair<Pos, Pos> wordAt(Pos p) const;
  std::function<bool(unsigned char)> fn_CharIsInWord;
  std::function<bool(unsigned char)> fn_CharStartsWord;
  // OnWordBreakProc (lpch, ichCurrent, cch, code): when assigned it decides word boundaries
  // within the caret's line (text, offset, length): kWbLeft the start of the word left of the
  // offset, kWbRight the start of the next word, kWbIsDelimiter non-zero when the character at
  // the offset is no word character. Like the other on... members it is an event of the
  // control to the owner that assigns it, not wiring between parts of the program.
  std::function<int(const char* text, int current, int length, int code)> onWordBreakProc;
  static constexpr int kWbLeft = 0, kWbRight = 1, kWbIsDelimiter = 2;
  // Selects the word at the point (smoWordSelect), or places the caret there (message 0x0203).
  void doubleClickAt(Pos p);

  // ---- View state (the widget reports its extent; scroll messages act on it)
  [[nodiscard]] LineNo firstVisibleLine() const noexcept { return firstLine_; }
  [[nodiscard]] Pos firstVisibleColumn() const noexcept { return firstCol_; }
  void setFirstVisibleLine(LineNo l, bool repaint = true);
  void setFirstVisibleColumn(Pos c, bool repaint = true);
  void setVisibleExtent(LineNo lines, Pos columns) noexcept { visibleLines_ = lines < 1 ? 1 : lines; visibleCols_ = columns < 1 ? 1 : columns; }
  [[nodiscard]] LineNo visibleLines() const noexcept { return visibleLines_; }
  // Scrolls so that the caret's line and display column are visible.
  void scrollCaretIntoView();
  // True when the caret lies inside the visible extent.
  [[nodiscard]] bool caretInView() const {
    const Pos row = rowOf(sel_.caret);
    if (row < firstLine_ || row >= firstLine_ + visibleLines_) return false;
    if (wrap_) return true;
    const Pos col = displayColumn(sel_.caret);
    return col >= firstCol_ && col < firstCol_ + visibleCols_;
  }
  // Zero-based display column of p in its line (tabs to their stops, wide characters two cells;
  // memo/engine/DisplayColumns.h), and the start of the character of `line` covering column
  // `col` (the line's end past it). Painting, hit-testing and scrolling all use these.
  [[nodiscard]] Pos displayColumn(Pos p) const { return columns_.column(p, tabStops()); }
  [[nodiscard]] Pos posAtDisplayColumn(LineNo line, Pos col) const {
    return columns_.positionAt(line, col, tabStops());
  }
  [[nodiscard]] TabStops tabStops() const { return TabStops{tabDefault, tabColumns}; }

  // ---- Word wrap (smoWordWrap). The widget reports the wrap width: WrapAtColumn, or the
  // window's width in columns when that is 0. While wrapping, the first visible line and the
  // vertical scroll count visual rows; positions, lines, columns, the selection, undo and the
  // exports stay those of the unwrapped text.
  void setWrapWidth(int columns);
  [[nodiscard]] const WrapIndex* wrapIndex() const noexcept { return wrap_.get(); }
  // Visual rows: lines when not wrapping, less the lines hidden in folded regions.
  [[nodiscard]] Pos rowCount() const noexcept {
    return folds_->shownRowCount(wrap_ ? wrap_->rowCount() : store_.lineCount());
  }
  [[nodiscard]] Pos rowOf(Pos p) const noexcept {
    return folds_->shownRow(wrap_ ? wrap_->rowOf(p) : store_.lineFromPos(p));
  }
  [[nodiscard]] Pos rowStart(Pos row) const noexcept {
    row = folds_->rawRow(row);
    return wrap_ ? wrap_->rowStart(row) : store_.lineStart(LineNo(row));
  }
  [[nodiscard]] Pos rowEnd(Pos row) const noexcept {
    row = folds_->rawRow(row);
    return wrap_ ? wrap_->rowEnd(row) : store_.lineEnd(LineNo(row));
  }
  // ---- Folding (memo/engine/FoldRegions.h): the folded regions, whose inner lines are hidden
  // rows. A caret placed on a hidden line unfolds the regions hiding it.
  [[nodiscard]] FoldRegions& folds() noexcept { return *folds_; }
  [[nodiscard]] const FoldRegions& folds() const noexcept { return *folds_; }
  // The fold markers and markup events of lines, kept between keystrokes
  // (memo/engine/MarkupLines.h).
  [[nodiscard]] MarkupLines& markupLines() noexcept { return markers_; }
  // The position at the top of the window.
  [[nodiscard]] Pos firstVisiblePos() const noexcept { return rowStart(firstLine_); }
  // Point <-> position mapping for 0x00D6 / 0x00D7 / 0x0203; the widget installs pixel metrics.
  std::function<Point(Pos)> pointFromPos;
  std::function<Pos(Point)> posFromPoint;

  // ---- Painting suspension and update brackets (0x0C05)
  [[nodiscard]] bool paintSuspended() const noexcept { return paintSuspended_; }
  void setPaintSuspended(bool s, bool repaintOnClear = true);
  class UpdateBracket {
   public:
    explicit UpdateBracket(MemoEngine& e) : e_(e), was_(e.paintSuspended_) { e.paintSuspended_ = true; }
    ~UpdateBracket() { e_.setPaintSuspended(was_); }
    UpdateBracket(const UpdateBracket&) = delete;
    UpdateBracket& operator=(const UpdateBracket&) = delete;

   private:
    MemoEngine& e_;
    bool was_;
  };
  void requestRepaint();

  // ---- Properties
  SyntaxMemoOptions options = kDefaultOptions;
  [[nodiscard]] bool hasOption(SyntaxMemoOption o) const noexcept { return (options & o) != 0; }
  SyntaxMemoEditingAids editingAids = kDefaultEditingAids;
  [[nodiscard]] bool hasAid(SyntaxMemoEditingAid a) const noexcept { return (editingAids & a) != 0; }
  int indentStep = 1;
  // How new indentation is written; the owner sets it from the document.
  IndentStyle indentStyle;
  int tabDefault = 4;
  std::vector<int> tabColumns;  // zero-based explicit stops
  int rightMargin = 80;
  int wrapAtColumn = 0;
  // With smoWrapOverride, wrapped rows may also break after these characters.
  std::string wrapOverride = ">|:";
  int margin = 2;
  bool readOnly = false;
  bool hideSelection = false;
  // WantTab off: the Tab key moves the focus; WantReturns off: Return is left to the parent.
  bool wantTab = true;
  bool wantReturns = true;
  // The largest copy of incoming text an insertion may allocate (the limit of the allocator;
  // owners and tests may lower it) and the largest document the store may grow to.
  std::size_t maxBufferBytes = std::size_t(1) << 40;
  void setMaxDocumentBytes(Pos n) noexcept { store_.setCapacityLimit(n); }
  Color selTextColor = rgb(255, 255, 255);
  Color selTextBack = rgb(0, 0, 128);
  Color gutterColor = rgb(192, 192, 192);
  Color marginColor = rgb(192, 192, 192);  // the right margin line, marginWidth pixels wide
  int marginWidth = 1;
  Color defTextColor = rgb(0, 0, 0);
  Color defBackColor = rgb(255, 255, 255);
  int defFontStyle = 0;  // def_FontStyle: fsBold 1, fsItalic 2, fsUnderline 4, under every style's own
  int gutterWidth = 34;
  // The band behind the caret's line (smaCurrentLine); none: a shade of the background.
  std::optional<Color> currentLineColor;
  std::string fontName = "Courier New";
  int fontSize = 10;
  std::string title;  // the title text (print header, HTML title)
  SaveFormat saveFormat = SaveFormat::sfTEXT;
  std::string version = "2.00.02";
  unsigned visiblePropEdPages = kAllPropEdPages;  // the pages the options dialog shows
  // The spell checker's line limit (0x1634) and its step (0x1635): the background speller
  // installs the step and answers 1 while lines still wait for it.
  std::int64_t spellLineLimit = 0;
  std::function<std::intptr_t()> onSpellStep;
  // Today's date as text for the HTML export; replaceable for tests.
  std::function<std::string()> dateText;
  // Tab stop after column col (zero-based): the explicit stops, then multiples of TabDefault.
  [[nodiscard]] int nextTabStop(int col) const noexcept;

  // ---- Events
  std::function<void()> onChange;                       // OnChange
  std::function<void(Pos start, Pos extent)> onTextChange;  // OnTextChange
  std::function<void()> onSelectionChange;
  std::function<void()> onRepaint;            // repaint everything (the widget updates its viewport)
  std::function<void()> onViewChange;         // first visible line/column changed
  std::function<void()> onSettingsChanged;    // 0x0C12
  std::function<void(int)> onBookmarkSet, onBookmarkClear;
  std::function<void(const std::string&)> onSearchFail;
  std::function<void(const std::vector<std::string>&, Point)> onFilesDropped;
  std::function<void(Point)> onDoubleClick;
  std::function<void()> onBeep;
  // Not owned; nullptr when nobody listens, which costs a change nothing.
  TextObserver* textObserver = nullptr;

 private:
  // UndoTarget
  [[nodiscard]] Selection undoSelection() const override { return sel_; }
  [[nodiscard]] std::string undoText(Pos a, Pos b) const override { return store_.text(a, b); }
  void undoSelect(Selection s) override { setSelection(s.anchor, s.caret, false); }
  Pos undoReplace(Pos a, Pos b, std::string_view text) override;
  Pos undoReplaceStream(Pos a, Pos b, ByteStream& s) override;
  void undoCompoundBegin() override;
  void undoCompoundStep() override;
  void undoCompoundEnd() override;
  void undoBeep() override { if (onBeep) onBeep(); }

  void log(int op, UndoPhase ph = UndoPhase::None, const UndoArg& a = {}) {
    if (undo_) undo_->log(*this, op, ph, a);
  }
  // The one text primitive: replaces [a, b) by stored-form text; returns the inserted length.
  // Refuses (0) while ReadOnly is set. When the store cannot grow it raises "Not enough memory
  // for operation" with the document unchanged.
  Pos replaceRange(Pos a, Pos b, std::string_view stored);
  // The incoming text in stored form, or "Cannot alloc memory for buffer!!".
  [[nodiscard]] std::string storedCopy(std::string_view raw) const;
  // Undo log: a failed operation's "before" entry is dropped.
  void cancelLog() noexcept { if (undo_) undo_->cancelPending(); }
  // Streams chunks into the store at the caret (after the selection was removed).
  Pos streamInto(Pos at, ByteStream& s);
  // Brackets a change; the outermost end raises OnChange once, re-scans and repaints.
  void beginChange() noexcept { ++changeDepth_; }
  void endChange();
  // OnSelectionChange now, or when the change under way has been logged.
  void notifySelection();
  struct ChangeScope {
    explicit ChangeScope(MemoEngine& e) : e(e) { e.beginChange(); }
    ~ChangeScope() { e.endChange(); }
    MemoEngine& e;
  };
  [[nodiscard]] std::pair<LineNo, LineNo> touchedLines() const noexcept;
  // Columns of one indentation level (block un-indent takes off at most this many).
  [[nodiscard]] int indentColumns() const noexcept;

  TextStore store_;
  mutable DisplayColumns columns_{store_};
  std::unique_ptr<WrapIndex> wrap_;
  std::unique_ptr<FoldRegions> folds_ = std::make_unique<FoldRegions>(store_, wrap_);
  MarkupLines markers_{store_};
  Selection sel_;
  std::unique_ptr<TUndoStack> undo_;
  // Typing runs (smaTypingRuns): the state after the last typed text.
  struct TypingRun {
    bool open = false;
    std::uint64_t serial = 0;           // the log's top cell after it
    std::uint64_t selectionMoves = 0;   // selectionMoves_ after it
    std::chrono::steady_clock::time_point time{};
    bool endsInBlank = false;
  };
  TypingRun typingRun_;
  std::uint64_t selectionMoves_ = 0;    // counts every change of the selection
  MemoryClipboard ownClipboard_;
  ClipboardHost* clipboard_ = &ownClipboard_;
  MarkTracker marks_;  // before the lists over it, which detach from it when they go
  TCustomBookmarks bookmarks_{marks_, store_, 10};
  TLineMarks lineMarks_{marks_, store_};
  TLineTrackManager lineTracks_{marks_, store_};
  std::array<TokenScanner*, 6> parsers_{};
  int activeParser_ = 1;
  std::function<void(MemoEngine&, RecNo)> rescan_;
  std::unique_ptr<BackgroundWork> background_;
  std::unique_ptr<TSearchMemory> searchMemory_ = std::make_unique<TSearchMemory>();
  LineNo firstLine_ = 0;
  Pos firstCol_ = 0;
  LineNo visibleLines_ = 25;
  Pos visibleCols_ = 80;
  bool paintSuspended_ = false;
  bool repaintPending_ = false;
  int changeDepth_ = 0;
  bool changed_ = false;
  Pos changeStart_ = 0, changeEnd_ = 0;
  std::vector<std::pair<Pos, Pos>> pendingTextChanges_;  // OnTextChange events of the change
  bool selectionPending_ = false;                         // OnSelectionChange after the change
  int compoundDepth_ = 0;
  bool paintSuspendedBeforeCompound_ = false;
};

}  // namespace velora::memo
