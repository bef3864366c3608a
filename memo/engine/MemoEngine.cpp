// The editor control's engine: selection, editing operations, undo driving, bookmarks, search.
#include "memo/engine/MemoEngine.h"

#include <algorithm>
#include <ctime>
#include <functional>
#include <new>
#include <stdexcept>

#include "memo/engine/LineBreaks.h"
#include "memo/engine/TitleText.h"
#include "memo/engine/Utf8.h"

namespace velora::memo {

namespace {
constexpr std::size_t kStreamChunk = 8192;
}  // namespace

MemoEngine::MemoEngine() : undo_(std::make_unique<TUndoStack>()) {
  bookmarks_.onBookmarkSet = [this](int i) {
    requestRepaint();
    if (onBookmarkSet) onBookmarkSet(i);
  };
  bookmarks_.onBookmarkClear = [this](int i) {
    requestRepaint();
    if (onBookmarkClear) onBookmarkClear(i);
  };
  marks_.onChanged = [this] { requestRepaint(); };
}
MemoEngine::~MemoEngine() = default;

// ---- change bracketing

// Events of a change are raised once the outermost bracket closes, that is after the undo log
// has recorded the whole operation (and its group): a handler that edits the text then starts
// a new operation instead of interleaving with a half-logged one.
void MemoEngine::endChange() {
  if (--changeDepth_ > 0) return;
  const bool changed = changed_;
  changed_ = false;
  if (changed) {
    if (rescan_ && hasOption(smoSyntaxHighlight) && currentParser() && store_.firstDirtyRecord() >= 0)
      rescan_(*this, store_.firstDirtyRecord());
    folds_->settle();
    requestRepaint();
  }
  marks_.flush();
  std::vector<std::pair<Pos, Pos>> texts;
  texts.swap(pendingTextChanges_);
  const bool selection = selectionPending_;
  selectionPending_ = false;
  if (onTextChange)
    for (const auto& [start, extent] : texts) onTextChange(start, extent);
  if (changed && onChange) onChange();
  if (selection && onSelectionChange) onSelectionChange();
}

void MemoEngine::notifySelection() {
  if (changeDepth_ > 0) selectionPending_ = true;
  else if (onSelectionChange) onSelectionChange();
}

Pos MemoEngine::replaceRange(Pos a, Pos b, std::string_view stored) {
  if (readOnly) return 0;
  a = store_.clamp(a);
  b = store_.clamp(b);
  if (b < a) std::swap(a, b);
  if (a == b && stored.empty()) return 0;
  ChangeScope scope(*this);
  const Pos lengthBefore = store_.length();
  const bool byLines = wrap_ || !folds_->empty() || !markers_.empty();
  const LineNo firstLine = byLines ? store_.lineFromPos(a) : 0;
  const LineNo lastLine = byLines ? store_.lineFromPos(b) : 0;
  const MarkTracker::Removal removal = marks_.prepare(store_, a, b);
  columns_.edited(a);
  // When the store cannot take the new text, the removed text goes back: nothing changed.
  std::string removed;
  Pos n = 0;
  if (textObserver) textObserver->beforeReplace(a, b);
  try {
    if (a < b && !stored.empty()) removed = store_.text(a, b);
    if (a < b) store_.erase(a, b);
    n = store_.insert(a, stored);
  } catch (const std::bad_alloc&) {
    if (store_.length() + Pos(removed.size()) == lengthBefore) store_.insert(a, removed, false);
    if (textObserver) textObserver->afterReplace(a, store_.length() - (lengthBefore - (b - a)));
    throw ESyntaxMemo(errtext::kNoMemory);
  }
  if (textObserver) textObserver->afterReplace(a, n);
  if (byLines) {
    // The edited lines are laid out again; the lines after them keep their rows.
    const auto added = std::count(stored.begin(), stored.end(), '\r');
    if (wrap_) wrap_->replaceLines(firstLine, lastLine - firstLine + 1, 1 + LineNo(added));
    folds_->replaceLines(firstLine, lastLine - firstLine + 1, 1 + LineNo(added));
    markers_.replaceLines(firstLine, lastLine - firstLine + 1, 1 + LineNo(added), n - (b - a));
  }
  marks_.apply(removal, n);
  changed_ = true;
  pendingTextChanges_.emplace_back(a, n);
  return n;
}

std::string MemoEngine::storedCopy(std::string_view raw) const {
  try {
    if (raw.size() > maxBufferBytes) throw std::bad_alloc();
    return normaliseBreaks(raw);
  } catch (const std::bad_alloc&) {
    throw ESyntaxMemo(errtext::kNoBufferMemory);
  } catch (const std::length_error&) {
    throw ESyntaxMemo(errtext::kNoBufferMemory);
  }
}

Pos MemoEngine::streamInto(Pos at, ByteStream& s) {
  std::string buf(kStreamChunk, '\0');
  std::string chunk;
  BreakNormaliser norm;
  Pos caret = at;
  for (;;) {
    const std::size_t got = s.read(buf.data(), kStreamChunk);
    const bool final = got < kStreamChunk || s.position() >= s.size();
    chunk.clear();
    // A trailing CR (or LF) that may start a pair is held back and read with the next chunk.
    norm.feed(std::string_view(buf.data(), got), final, chunk);
    caret += replaceRange(caret, caret, chunk);
    sel_ = {caret, caret};  // the anchor follows the caret
    if (final) break;
  }
  return caret - at;
}

// ---- text

void MemoEngine::setText(std::string_view raw) {
  ChangeScope scope(*this);
  if (textObserver) textObserver->beforeReplace(0, store_.length());
  store_.setText(raw);
  if (textObserver) textObserver->afterReplace(0, store_.length());
  columns_.clear();
  if (wrap_) wrap_->rebuild();
  folds_->unfoldAll();
  markers_.clear();
  sel_ = {0, 0};
  firstLine_ = 0;
  firstCol_ = 0;
  marks_.releaseAll();
  log(kOpClear);
  changed_ = true;
  pendingTextChanges_.emplace_back(0, store_.length());
  notifySelection();
}

void MemoEngine::assignLines(const std::vector<std::string>& lines) {
  std::string all;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) all.push_back('\r');
    all += lines[i];
  }
  setText(all);
}

// ---- selection

void MemoEngine::setSelection(Pos anchor, Pos caret, bool scroll) {
  const Selection old = sel_;
  if (anchor == -1) {
    anchor = 0;
    caret = store_.length();
  }
  // Positions from outside land on character starts, never inside a UTF-8 sequence.
  sel_ = {snapToChar(anchor), snapToChar(caret)};
  if (folds_->reveal(store_.lineFromPos(sel_.caret))) requestRepaint();
  if (scroll) scrollCaretIntoView();
  if (sel_ != old) {
    ++selectionMoves_;
    requestRepaint();
    notifySelection();
  }
}

Pos MemoEngine::selLength() const noexcept {
  const Pos s = sel_.start(), e = sel_.end();
  return (e - s) + store_.breaksIn(s, e);
}

std::pair<Pos, LineNo> MemoEngine::caretColLine() const noexcept {
  const LineNo l = store_.lineFromPos(sel_.caret);
  return {sel_.caret - store_.lineStart(l) + 1, l + 1};
}

Pos MemoEngine::posFromColLine(Pos col, LineNo line) const noexcept {
  line = std::clamp<LineNo>(line, 1, store_.lineCount()) - 1;
  const Pos ls = store_.lineStart(line);
  return ls + std::clamp<Pos>(col - 1, 0, store_.lineLength(line));
}

void MemoEngine::moveCaret(Pos p, bool extend) {
  if (extend) setSelection(sel_.anchor, p);
  else setSelection(p, p);
}

// ---- editing

void MemoEngine::replaceSelection(std::string_view raw) {
  if (readOnly) return;
  const Pos s = sel_.start(), e = sel_.end();
  if (s == e && raw.empty()) return;
  const std::string stored = storedCopy(raw);
  ChangeScope scope(*this);
  UndoArg arg;
  arg.text = raw;
  log(kOpReplace, UndoPhase::Before, arg);
  Pos n = 0;
  try {
    n = replaceRange(s, e, stored);
  } catch (const ESyntaxMemo&) {
    cancelLog();
    throw;
  }
  setSelection(s + n, s + n, false);
  log(kOpReplace, UndoPhase::After);
  scrollCaretIntoView();
}

void MemoEngine::insertStream(ByteStream& s, bool noScroll) {
  if (readOnly) return;
  if (sel_.empty() && s.position() >= s.size()) return;  // nothing to insert, nothing to remove
  const Selection before = sel_;
  const Pos start = sel_.start(), end = sel_.end();
  const std::int64_t from = s.position();
  // The log's copy of the stream's rest must be possible, and the rest must fit in the
  // document; both are checked before anything changes.
  const std::int64_t rest = std::max<std::int64_t>(0, s.size() - from);
  if (std::uint64_t(rest) > maxBufferBytes) throw ESyntaxMemo(errtext::kNoBufferMemory);
  if (rest > store_.capacityLimit() - store_.length() + (end - start)) throw ESyntaxMemo(errtext::kNoMemory);
  std::string removed;
  try {
    removed = store_.text(start, end);
  } catch (const std::bad_alloc&) {
    throw ESyntaxMemo(errtext::kNoBufferMemory);
  }
  ChangeScope scope(*this);
  UndoArg arg;
  arg.stream = &s;
  log(kOpStream, UndoPhase::Before, arg);
  try {
    replaceRange(start, end, {});
    sel_ = {start, start};
    streamInto(start, s);
  } catch (const ESyntaxMemo&) {
    // A chunk could not be stored: the chunks stored so far go and the selection comes back.
    const Pos got = std::max<Pos>(0, sel_.caret - start);
    if (textObserver) textObserver->beforeReplace(start, start + got);
    store_.erase(start, start + got);
    store_.insert(start, removed, false);
    if (textObserver) textObserver->afterReplace(start, Pos(removed.size()));
    columns_.edited(start);
    markers_.clear();
    if (wrap_) wrap_->rebuild();
    sel_ = before;
    s.seek(from);
    cancelLog();
    throw;
  }
  log(kOpStream, UndoPhase::After);
  notifySelection();
  if (!noScroll) {
    scrollCaretIntoView();
    requestRepaint();
  }
}

MemoEngine::UndoGroup::UndoGroup(MemoEngine& e, int id) : e_(e), id_(id) {
  UndoArg a;
  a.id = id;
  e_.log(kOpGroupOpen, UndoPhase::None, a);
}

MemoEngine::UndoGroup::~UndoGroup() {
  UndoArg a;
  a.id = id_;
  e_.log(kOpGroupClose, UndoPhase::None, a);
}

void MemoEngine::deleteChar(bool forward) {
  if (readOnly) return;
  ChangeScope scope(*this);
  UndoGroup group(*this, kGroupDeleteChar);
  if (sel_.empty()) {
    const Pos c = sel_.caret;
    if (forward) {
      if (c >= store_.length()) return;
      setSelection(c, nextCharPos(c), false);
    } else {
      if (c == 0) return;
      setSelection(c, prevCharPos(c), false);
    }
  }
  replaceSelection({});
}

void MemoEngine::deletePrevWord() {
  if (readOnly) return;
  ChangeScope scope(*this);
  UndoGroup group(*this, kGroupDeletePrevWord);
  // With a selection only the selection goes, as with Backspace.
  if (sel_.empty()) moveCaret(wordLeft(sel_.caret), true);
  replaceSelection({});
}

void MemoEngine::deleteNextWord() {
  if (readOnly) return;
  ChangeScope scope(*this);
  UndoGroup group(*this, kGroupDeleteNextWord);
  // With a selection only the selection goes, as with Delete.
  if (sel_.empty()) moveCaret(wordRight(sel_.caret), true);
  replaceSelection({});
}

void MemoEngine::deleteLine() {
  if (readOnly) return;
  const Location loc = store_.locate(sel_.caret);
  const Pos rs = loc.recordStart;
  const Pos re = rs + Pos(store_.record(loc.ref).text.size());
  if (rs == re) return;
  setSelection(rs, re, false);
  replaceSelection({});
}

std::pair<LineNo, LineNo> MemoEngine::touchedLines() const noexcept {
  const Pos s = sel_.start(), e = sel_.end();
  const LineNo first = store_.lineFromPos(s);
  LineNo last = store_.lineFromPos(e);
  // A selection that ends at the start of a line does not touch that line.
  if (e > s && last > first && store_.lineStart(last) == e) --last;
  return {first, last};
}

int MemoEngine::nextTabStop(int col) const noexcept {
  for (int t : tabColumns)
    if (t > col) return t;
  const int w = tabDefault > 0 ? tabDefault : 4;
  return (col / w + 1) * w;  // the same rule as TabStops::next
}

int MemoEngine::indentColumns() const noexcept {
  switch (indentStyle.kind) {
    case IndentKind::Tabs: return nextTabStop(0);
    case IndentKind::Spaces: return std::max(1, indentStyle.width);
    case IndentKind::FromOptions: break;
  }
  return indentStep;
}

std::string MemoEngine::indentText() const {
  if (indentStyle.kind == IndentKind::Tabs) return "\t";
  if (indentStyle.kind == IndentKind::Spaces) return std::string(std::size_t(indentColumns()), ' ');
  const int step = std::max(0, indentStep);
  // With smoUseTAB, whole tab widths of the step are written as tabs.
  if (hasOption(smoUseTAB) && tabDefault > 0 && step >= tabDefault)
    return std::string(std::size_t(step / tabDefault), '\t') + std::string(std::size_t(step % tabDefault), ' ');
  return std::string(std::size_t(step), ' ');
}

void MemoEngine::blockIndent() {
  if (readOnly) return;
  const auto [first, last] = touchedLines();
  const std::string ind = indentText();
  if (ind.empty()) return;
  const Pos n = Pos(ind.size());
  UpdateBracket bracket(*this);
  ChangeScope scope(*this);
  UndoGroup group(*this, kGroupBlockIndent);
  Selection s = sel_;
  for (LineNo l = first; l <= last; ++l) {
    const Pos ls = store_.lineStart(l);
    replaceRange(ls, ls, ind);
    UndoArg a;
    a.text = ind;
    a.pos = ls;
    log(kOpIndentLine, UndoPhase::None, a);
    if (s.anchor > ls) s.anchor += n;
    if (s.caret > ls) s.caret += n;
  }
  setSelection(s.anchor, s.caret, false);
}

void MemoEngine::blockUnindent() {
  if (readOnly) return;
  const auto [first, last] = touchedLines();
  UpdateBracket bracket(*this);
  ChangeScope scope(*this);
  UndoGroup group(*this, kGroupBlockUnindent);
  Selection s = sel_;
  for (LineNo l = first; l <= last; ++l) {
    const Pos ls = store_.lineStart(l);
    // Up to one level of leading blank columns; a tab counts to the next tab stop.
    const int level = indentColumns();
    int col = 0;
    Pos k = 0;
    while (col < level) {
      const char c = store_.charAt(ls + k);
      if (c == ' ') ++col;
      else if (c == '\t') col = nextTabStop(col);
      else break;
      ++k;
    }
    if (k == 0) continue;
    // The log keeps the exact bytes removed, so that undo restores mixed tabs and blanks.
    const std::string removed = store_.text(ls, ls + k);
    UndoArg a;
    a.pos = ls;
    a.count = k;
    a.text = removed;
    log(kOpUnindentLine, UndoPhase::None, a);
    replaceRange(ls, ls + k, {});
    auto shift = [&](Pos p) { return p >= ls + k ? p - k : (p > ls ? ls : p); };
    s.anchor = shift(s.anchor);
    s.caret = shift(s.caret);
  }
  setSelection(s.anchor, s.caret, false);
}

Pos MemoEngine::moveText(Pos a, Pos b, Pos to) {
  a = snapToChar(a);
  b = snapToChar(b);
  to = snapToChar(to);
  if (b < a) std::swap(a, b);
  if (readOnly || a == b || (to >= a && to <= b)) return -1;
  const std::string moved = store_.text(a, b);
  ChangeScope scope(*this);
  setSelection(a, b, false);  // undo comes back to the source selected
  UndoGroup group(*this, kGroupDragDrop);
  replaceSelection({});
  const Pos at = to > b ? to - (b - a) : to;
  setSelection(at, at, false);
  replaceSelection(moved);
  setSelection(at, at + Pos(moved.size()));
  return at;
}

// ---- undo

// Undo and redo put text back exactly: marks that its removal released or moved come back.
Pos MemoEngine::undoReplace(Pos a, Pos b, std::string_view text) {
  const Pos n = replaceRange(a, b, normaliseBreaks(text));
  marks_.restore(store_, a, n);
  return n;
}

Pos MemoEngine::undoReplaceStream(Pos a, Pos b, ByteStream& s) {
  ChangeScope scope(*this);
  replaceRange(a, b, {});
  const Pos n = streamInto(a, s);
  marks_.restore(store_, a, n);
  return n;
}

void MemoEngine::undoCompoundBegin() {
  ++compoundDepth_;
  beginChange();
  paintSuspendedBeforeCompound_ = paintSuspended_;
  paintSuspended_ = true;
}

void MemoEngine::undoCompoundStep() {
  if (rescan_ && hasOption(smoSyntaxHighlight) && currentParser() && store_.firstDirtyRecord() >= 0)
    rescan_(*this, store_.firstDirtyRecord());
}

void MemoEngine::undoCompoundEnd() {
  --compoundDepth_;
  setPaintSuspended(paintSuspendedBeforeCompound_);
  endChange();
}

void MemoEngine::undo() {
  if (readOnly || !canUndo()) return;
  ChangeScope scope(*this);
  undo_->undo(*this);
  scrollCaretIntoView();
  notifySelection();
}

void MemoEngine::redo() {
  if (readOnly || !canRedo()) return;
  ChangeScope scope(*this);
  undo_->redo(*this);
  scrollCaretIntoView();
  notifySelection();
}

void MemoEngine::setModified(bool m) {
  if (m) return;
  // Saving with the history kept only marks where the document is unchanged.
  if (undo_ && hasAid(smaKeepUndoAfterSave)) {
    undo_->markClean();
    typingRun_.open = false;  // typing after the save is a change of its own
    if (onChange) onChange();
    return;
  }
  log(kOpClear);
  marks_.forgetUndo();
  if (onChange) onChange();
}

// ---- clipboard

void MemoEngine::copy() {
  if (sel_.empty() || (clipCopyFormats & (smTEXT | smRTF)) == 0) return;
  const std::string text = (clipCopyFormats & smTEXT) ? exportSelection(kExportCRLF) : std::string();
  const std::string rtf = (clipCopyFormats & smRTF) ? exportSelection(kExportRTF) : std::string();
  clipboard_->setData(text, rtf);
}

void MemoEngine::cut() {
  // Without a clipboard format the text would be lost: nothing is cut.
  if (readOnly || sel_.empty() || (clipCopyFormats & (smTEXT | smRTF)) == 0) return;
  copy();
  replaceSelection({});
}

void MemoEngine::paste() {
  if (readOnly) return;
  const auto t = clipboard_->text();
  if (!t) return;
  MemoryStream s(*t);
  insertStream(s);
}

// ---- exports

ExportContext MemoEngine::exportContext() const {
  ExportContext c;
  c.fontName = fontName;
  c.fontSize = fontSize;
  c.title = shownTitle(title, hasOption(smoTitleAsFilename));
  if (dateText) {
    c.date = dateText();
  } else {
    char buf[32];
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    std::strftime(buf, sizeof buf, "%Y-%m-%d", &tm);
    c.date = buf;
  }
  if (TokenScanner* p = currentParser()) {
    c.styleOf = [p](std::uint8_t t) { return p->styleOf(t); };
    c.styleCount = p->styleCount();
  }
  c.defaultForeground = defTextColor;
  c.defaultBackground = defBackColor;
  return c;
}

unsigned MemoEngine::saveFormBits() const noexcept {
  switch (saveFormat) {
    case SaveFormat::sfRTF: return kExportRTF;
    case SaveFormat::sfHTML: return kExportHTML;
    case SaveFormat::sfUNIX: return kExportLF;
    case SaveFormat::sfTEXT: break;
  }
  return kExportCRLF;
}

std::string MemoEngine::exportRange(Pos a, Pos b, unsigned form) const {
  if (form & kExportSaveFormat) form = saveFormBits();
  return memo::exportRange(store_, a, b, form, exportContext());
}

std::int64_t MemoEngine::saveToStream(ByteStream& out) const {
  const std::string t = exportRange(0, store_.length(), saveFormBits());
  out.write(t);
  return std::int64_t(t.size());
}

// ---- bookmarks and parsers

void MemoEngine::gotoBookmark(int index) {
  if (const auto p = bookmark(index)) setSelection(*p, *p);
}

void MemoEngine::setParser(int slot, TokenScanner* p) {
  if (slot < 1 || slot > 6) throw ESyntaxMemo(errtext::kParserRange);
  parsers_[std::size_t(slot - 1)] = p;
  requestRepaint();
}

TokenScanner* MemoEngine::parser(int slot) const {
  if (slot < 1 || slot > 6) throw ESyntaxMemo(errtext::kParserRange);
  return parsers_[std::size_t(slot - 1)];
}

void MemoEngine::setActiveParser(int slot) {
  if (slot < 1 || slot > 6) throw ESyntaxMemo(errtext::kParserRange);
  activeParser_ = slot;
  store_.markDirty(0);
  if (rescan_ && hasOption(smoSyntaxHighlight) && currentParser()) rescan_(*this, 0);
  requestRepaint();
}

std::vector<std::uint8_t> MemoEngine::tokens(Pos a, Pos b) const {
  std::vector<std::uint8_t> out;
  a = store_.clamp(a);
  b = store_.clamp(b);
  if (a >= b) return out;
  out.reserve(std::size_t(b - a));
  store_.forEachSegment(a, b, [&](const LineRecord& r, std::size_t from, std::size_t to) {
    if (r.tokens.empty()) out.insert(out.end(), to - from, 0);
    else out.insert(out.end(), r.tokens.begin() + std::ptrdiff_t(from), r.tokens.begin() + std::ptrdiff_t(to));
  });
  return out;
}

void MemoEngine::storeTokens(Pos a, Pos b, const std::uint8_t* values) {
  a = store_.clamp(a);
  b = store_.clamp(b);
  if (a >= b || !values) return;
  Location loc = store_.locate(a);
  RecordRef r = loc.ref;
  std::size_t from = loc.offset;
  Pos left = b - a;
  for (;;) {
    LineRecord& rec = store_.record(r);
    const std::size_t to = std::size_t(std::min<Pos>(Pos(rec.text.size()), Pos(from) + left));
    if (rec.tokens.empty()) rec.tokens.assign(rec.text.size(), 0);
    std::copy(values, values + (to - from), rec.tokens.begin() + std::ptrdiff_t(from));
    values += to - from;
    left -= Pos(to - from);
    rec.flags |= kRecTokensSupplied | kRecRepaint;
    if (left <= 0 || !store_.next(r)) break;
    from = 0;
  }
  tokensChanged(a, b);
  requestRepaint();
}

void MemoEngine::tokensChanged(Pos a, Pos b) {
  if (markers_.empty()) return;
  a = store_.clamp(a);
  b = store_.clamp(b);
  markers_.forget(store_.lineFromPos(a), store_.lineFromPos(b));
}

bool MemoEngine::HighlightSlice(std::int64_t budgetMicros) {
  if (!highlightPending()) return false;
  return background_->runSlice(*this, budgetMicros);
}

StyleEffect MemoEngine::styleAt(Pos p) const {
  TokenScanner* prs = currentParser();
  StyleEffect e;
  if (prs && p >= 0 && p < store_.length()) {
    const Location loc = store_.locate(p);
    const LineRecord& r = store_.record(loc.ref);
    e = prs->styleOf(r.tokens.empty() ? 0 : r.tokens[loc.offset]);
  } else if (prs) {
    e = prs->styleOf(0);
  }
  if (e.defaultForeground) e.foreground = defTextColor;
  if (e.defaultBackground) e.background = defBackColor;
  return e;
}

// ---- character helpers

Pos MemoEngine::nextCharPos(Pos p) const noexcept {
  const Pos len = store_.length();
  if (p >= len) return len;
  if (p < 0) return 0;
  char buf[4];
  const std::size_t n = std::size_t(std::min<Pos>(4, len - p));
  for (std::size_t k = 0; k < n; ++k) buf[k] = store_.charAt(p + Pos(k));
  return p + utf8CharLength(std::string_view(buf, n), 0);
}

Pos MemoEngine::prevCharPos(Pos p) const noexcept {
  if (p <= 0) return 0;
  p = std::min(p, store_.length());
  // The nearest lead byte up to three bytes back whose character ends exactly at p.
  for (Pos q = p - 1; q >= 0 && q >= p - 4; --q) {
    const auto c = static_cast<unsigned char>(store_.charAt(q));
    if ((c & 0xC0) != 0x80) return nextCharPos(q) == p ? q : p - 1;
  }
  return p - 1;
}

Pos MemoEngine::snapToChar(Pos p) const noexcept {
  p = store_.clamp(p);
  for (Pos q = p - 1; q >= 0 && q >= p - 3; --q) {
    const auto c = static_cast<unsigned char>(store_.charAt(q));
    if ((c & 0xC0) != 0x80) return nextCharPos(q) > p ? q : p;
  }
  return p;
}

}  // namespace velora::memo
