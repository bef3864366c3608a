// The control's message interface: one switch from message numbers to the typed engine API.
#include <algorithm>
#include <cstring>

#include "memo/engine/Messages.h"
#include "memo/engine/MemoEngine.h"

namespace velora::memo {

namespace {
inline std::intptr_t packWords(Pos lo, Pos hi) noexcept {
  return std::intptr_t((std::uint32_t(lo) & 0xFFFF) | ((std::uint32_t(hi) & 0xFFFF) << 16));
}
inline std::string_view zstr(std::intptr_t p) noexcept {
  return p ? std::string_view(reinterpret_cast<const char*>(p)) : std::string_view();
}
template <class T>
inline T* ptr(std::intptr_t p) noexcept { return reinterpret_cast<T*>(p); }
}  // namespace

std::intptr_t MemoEngine::perform(unsigned m, std::uintptr_t wParam, std::intptr_t lParam) {
  const bool set = (wParam & msg::kSet) != 0;
  const auto sw = static_cast<std::intptr_t>(wParam);
  switch (m) {
    // ---- standard messages
    case msg::kSetText:
      setText(zstr(lParam));
      return 1;
    case msg::kGetText: {
      if (!lParam || wParam == 0) return 0;
      const std::string t = textCRLF();
      const std::size_t n = std::min<std::size_t>(t.size(), wParam - 1);
      std::memcpy(ptr<char>(lParam), t.data(), n);
      ptr<char>(lParam)[n] = '\0';
      return std::intptr_t(n);
    }
    case msg::kGetTextLength:
      return std::intptr_t(store_.length() + store_.lineCount() - 1);
    case msg::kGetSel:
      if (wParam) *reinterpret_cast<Pos*>(wParam) = sel_.start();
      if (lParam) *ptr<Pos>(lParam) = sel_.end();
      return (sel_.end() > 0xFFFF) ? -1 : packWords(sel_.start(), sel_.end());
    case msg::kSetSel: {
      Pos a = sw, c = lParam;
      if (a == -1) {
        setSelection(sel_.caret, sel_.caret);
        return 1;
      }
      if (c == -1) c = store_.length();
      setSelection(a, c);
      return 1;
    }
    case msg::kLineScroll:
      setFirstVisibleColumn(firstCol_ + sw);
      setFirstVisibleLine(firstLine_ + lParam);
      return 1;
    case msg::kScrollCaret:
      scrollCaretIntoView();
      return 1;
    case msg::kGetModify:
      return modified() ? 1 : 0;
    case msg::kSetModify:
      setModified(wParam != 0);
      return 0;
    case msg::kGetLineCount:
      return std::intptr_t(store_.lineCount());
    case msg::kLineIndex: {
      const LineNo l = sw == -1 ? store_.lineFromPos(sel_.caret) : sw;
      if (l < 0 || l >= store_.lineCount()) return -1;
      return std::intptr_t(store_.lineStart(l));
    }
    case msg::kLineLength: {
      const Pos p = sw == -1 ? sel_.caret : sw;
      return std::intptr_t(store_.lineLength(store_.lineFromPos(p)));
    }
    case msg::kReplaceSel:
      replaceSelection(zstr(lParam));
      return 0;
    case msg::kGetLine: {
      if (!lParam) return 0;
      std::uint16_t max = 0;
      std::memcpy(&max, ptr<char>(lParam), sizeof max);
      if (sw < 0 || sw >= store_.lineCount()) return 0;
      const std::string t = store_.lineText(sw);
      const std::size_t n = std::min<std::size_t>(t.size(), max);
      std::memcpy(ptr<char>(lParam), t.data(), n);
      return std::intptr_t(n);
    }
    case msg::kCanUndo:
      return canUndo() ? 1 : 0;
    case msg::kEmUndo:
    case msg::kUndo:
      if (!canUndo()) return 0;
      undo();
      return 1;
    case msg::kLineFromChar:
      return std::intptr_t(store_.lineFromPos(sw == -1 ? sel_.start() : sw));
    case msg::kEmptyUndoBuffer:
      setModified(false);
      return 0;
    case msg::kGetFirstVisibleLine:
      return std::intptr_t(firstLine_);
    case msg::kSetReadOnly:
      readOnly = wParam != 0;
      return 1;
    case msg::kPosFromChar: {
      const Point pt = pointFromPos ? pointFromPos(Pos(sw)) : Point{};
      return packWords(pt.x, pt.y);
    }
    case msg::kCharFromPos: {
      const Point pt{int(std::int16_t(lParam & 0xFFFF)), int(std::int16_t((lParam >> 16) & 0xFFFF))};
      const Pos p = posFromPoint ? posFromPoint(pt) : 0;
      return packWords(p, store_.lineFromPos(p));
    }
    case msg::kHScroll:
    case msg::kVScroll: {
      const unsigned code = unsigned(wParam & 0xFFFF);
      const Pos thumb = Pos((wParam >> 16) & 0xFFFF);
      const bool v = m == msg::kVScroll;
      const Pos cur = v ? firstLine_ : firstCol_;
      const Pos page = v ? visibleLines_ : visibleCols_;
      Pos to = cur;
      switch (code) {
        case msg::kSbLineUp: to = cur - 1; break;
        case msg::kSbLineDown: to = cur + 1; break;
        case msg::kSbPageUp: to = cur - page; break;
        case msg::kSbPageDown: to = cur + page; break;
        case msg::kSbThumbPosition:
        case msg::kSbThumbTrack: to = thumb; break;
        case msg::kSbTop: to = 0; break;
        case msg::kSbBottom: to = v ? store_.lineCount() - 1 : 0; break;
        default: break;
      }
      if (v) setFirstVisibleLine(to);
      else setFirstVisibleColumn(to);
      return 0;
    }
    case msg::kLButtonDblClk: {
      const Point pt{int(std::int16_t(lParam & 0xFFFF)), int(std::int16_t((lParam >> 16) & 0xFFFF))};
      doubleClickAt(posFromPoint ? posFromPoint(pt) : sel_.caret);
      if (onDoubleClick) onDoubleClick(pt);
      return 0;
    }
    case msg::kDropFiles: {
      // Files are taken only with smoProcessDroppedFiles (1: handed to the owner, 0: refused).
      const auto* d = ptr<const DroppedFiles>(lParam);
      if (!d || !hasOption(smoProcessDroppedFiles) || !onFilesDropped) return 0;
      onFilesDropped(d->files, d->at);
      return 1;
    }
    case msg::kCut: cut(); return 0;
    case msg::kCopy: copy(); return 0;
    case msg::kPaste: paste(); return 0;

    // ---- private messages
    case msg::kSelection:
      if (set) {
        if (const auto* s = ptr<const Selection>(lParam)) setSelection(s->anchor, s->caret);
        return 1;
      }
      if (auto* s = ptr<Selection>(lParam)) *s = sel_;
      return 1;
    case msg::kReplaceSelection:
      replaceSelection(zstr(lParam));
      return 1;
    case msg::kPaintSuspended: {
      const bool was = paintSuspended_;
      if (set) setPaintSuspended(lParam != 0, (wParam & msg::kNoRepaint) == 0);
      return was ? 1 : 0;
    }
    case msg::kInsertStream:
      if (auto* s = ptr<ByteStream>(lParam)) insertStream(*s, (wParam & msg::kNoRepaint) != 0);
      return 1;
    case msg::kWriteSelection: {
      auto* s = ptr<ByteStream>(lParam);
      if (!s) return 0;
      const std::string t = exportSelection(unsigned(wParam));
      s->write(t);
      return std::intptr_t(t.size());
    }
    case msg::kModified:
      if (set) setModified(lParam != 0);
      return modified() ? 1 : 0;
    case msg::kFirstVisibleLine:
      if (set) setFirstVisibleLine(lParam, (wParam & msg::kNoRepaint) == 0);
      return std::intptr_t(firstLine_);
    case msg::kFirstVisibleColumn:
      if (set) setFirstVisibleColumn(lParam, (wParam & msg::kNoRepaint) == 0);
      return std::intptr_t(firstCol_);
    case msg::kSearch:
      return std::intptr_t(search(zstr(lParam), unsigned(wParam)));
    case msg::kCopySelection: {
      const std::string t = exportSelection(unsigned(wParam));
      if (lParam) {
        std::memcpy(ptr<char>(lParam), t.data(), t.size());
        ptr<char>(lParam)[t.size()] = '\0';
      }
      return std::intptr_t(t.size());
    }
    case msg::kCanRedo:
      return canRedo() ? 1 : 0;
    case msg::kRedo:
      if (!canRedo()) return 0;
      redo();
      return 1;
    case msg::kBlockIndent:
      blockIndent();
      return 1;
    case msg::kBlockUnindent:
      blockUnindent();
      return 1;
    case msg::kSettingsChanged:
      if (onSettingsChanged) onSettingsChanged();
      requestRepaint();
      return 1;
    case msg::kStoreTokens:
    case msg::kReadTokens: {
      PosRange r{0, store_.length()};
      if (wParam) r = *reinterpret_cast<const PosRange*>(wParam);
      if (!lParam) return 0;
      if (m == msg::kStoreTokens) {
        storeTokens(r.start, r.end, ptr<const std::uint8_t>(lParam));
        return 1;
      }
      const auto t = tokens(r.start, r.end);
      std::memcpy(ptr<std::uint8_t>(lParam), t.data(), t.size());
      return std::intptr_t(t.size());
    }
    case msg::kUndoLog:
      if (set) {
        if (auto* other = ptr<std::unique_ptr<TUndoStack>>(lParam)) swapUndoStack(*other);
      }
      return reinterpret_cast<std::intptr_t>(undo_.get());
    case msg::kSpellLineLimit:
      spellLineLimit = lParam - 1;
      return 0;
    case msg::kSpellStep:
      return onSpellStep ? onSpellStep() : 0;
    default:
      return 0;
  }
}

}  // namespace velora::memo
