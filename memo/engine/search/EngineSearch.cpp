// The control's searches: MemoEngine's search, find next and find over its line records.
#include "memo/engine/LineBreaks.h"
#include "memo/engine/MemoEngine.h"
#include "memo/engine/search/CaseFold.h"

namespace velora::memo {

Pos MemoEngine::find(std::string_view text, unsigned flags, Pos from, Pos* end) const {
  StoreSource src(store_);
  const WordCharTest word = [this](unsigned char c) { return isWordChar(c); };
  const SearchMatch m = searchMemory_->find(src, text, flags, store_.clamp(from), &word);
  if (end) *end = m.end;
  return m.start;
}

Pos MemoEngine::search(std::string_view text, unsigned flags) {
  searchMemory_->remember(text, flags);
  if (!(flags & kSearchAtOnce)) {
    if (onSearchDialog) onSearchDialog(std::string(text), flags);
    return -1;
  }
  const bool backwards = (flags & kSearchBackwards) != 0;
  Pos p = -1, e = -1;
  if (!(backwards ? sel_.start() == 0 : sel_.caret >= store_.length()))
    p = find(text, flags, backwards ? sel_.start() : sel_.caret, &e);
  if (p < 0) {
    searchMemory_->setLastMatch({});
    if (onSearchFail) onSearchFail(std::string(text));
    return -1;
  }
  setSelection(p, e);
  return p;
}

Pos MemoEngine::findNext() {
  const std::string text = searchMemory_->text();
  const unsigned flags = searchMemory_->flags() | kSearchAtOnce;
  if (text.empty()) {
    if (onSearchFail) onSearchFail(text);
    return -1;
  }
  // The same place is not found again: a selection that is the last match (letter case
  // ignored for a plain text) puts the caret one character past its start.
  const Selection s = sel_;
  bool same = false;
  if (!s.empty()) {
    if (flags & kSearchRegExp) {
      const SearchMatch& m = searchMemory_->lastMatch();
      same = m.start == s.start() && m.end == s.end();
    } else {
      const std::string selected = store_.text(s.start(), s.end());
      const std::string wanted = normaliseBreaks(text);
      same = foldedEqual(selected, wanted);
    }
  } else if (flags & kSearchRegExp) {
    // An empty expression match at the caret would be found again.
    const SearchMatch& m = searchMemory_->lastMatch();
    same = m.found() && m.start == m.end && m.start == s.caret;
  }
  if (same && !(flags & kSearchBackwards)) {
    const Pos next = nextCharPos(s.start());
    setSelection(next, next, false);
  }
  const Pos p = search(text, flags);
  if (p < 0 && same) setSelection(s.anchor, s.caret, false);
  return p;
}

}  // namespace velora::memo
