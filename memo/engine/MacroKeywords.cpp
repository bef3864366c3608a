// Code templates and auto-replace: backwards matching over the line records and the expansion.
#include "memo/engine/MacroKeywords.h"

#include <algorithm>
#include <typeinfo>

#include "memo/engine/LegacyText.h"
#include "memo/engine/MemoEngine.h"
#include "memo/engine/search/CharSource.h"

namespace velora::memo {

namespace {
bool startsWord(const MemoEngine& e, unsigned char c) {
  if (e.fn_CharStartsWord) return e.fn_CharStartsWord(c);
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 128;
}
}  // namespace

// ---- TMacroKeywords

void TMacroKeywords::clear() {
  entries_.clear();
  trie_.assign(1, Node{});
}

void TMacroKeywords::add(TMacroEntry e) {
  if (e.name.empty()) return;
  // Typed text is UTF-8: an entry written in single bytes ("\xA3" for "£") is read as the
  // characters those bytes stand for, so that it can match and inserts what it shows.
  e.name = Windows1252AsUtf8(e.name);
  e.description = Windows1252AsUtf8(e.description);
  e.text = Windows1252AsUtf8(e.text);
  int node = 0;
  for (auto it = e.name.rbegin(); it != e.name.rend(); ++it) {
    const unsigned char c = (unsigned char)*it;
    auto& kids = trie_[std::size_t(node)].kids;
    auto k = std::find_if(kids.begin(), kids.end(), [c](const auto& p) { return p.first == c; });
    if (k != kids.end()) {
      node = k->second;
    } else {
      trie_.push_back(Node{});
      const int n = int(trie_.size()) - 1;
      trie_[std::size_t(node)].kids.emplace_back(c, n);
      node = n;
    }
  }
  // A name given twice keeps its first entry.
  if (trie_[std::size_t(node)].entry < 0) {
    trie_[std::size_t(node)].entry = int(entries_.size());
    entries_.push_back(std::move(e));
  }
}

void TMacroKeywords::checkAssignable(const TMacroKeywords& src) const {
  if (typeid(src) == typeid(*this)) return;
  std::string text = errtext::kCannotAssign;  // "Cannot assign a %s to %s"
  text.replace(text.find("%s"), 2, src.ClassName());
  text.replace(text.find("%s"), 2, ClassName());
  throw ESyntaxMemo(text);
}

void TMacroKeywords::Assign(const TMacroKeywords& src) {
  checkAssignable(src);
  if (&src == this) return;
  hotKey = src.hotKey;
  consume = src.consume;
  smartFill = src.smartFill;
  caretMarker = src.caretMarker;
  pickList = src.pickList;
  entries_ = src.entries_;
  trie_ = src.trie_;
}

const TMacroEntry* TMacroKeywords::matchBefore(const TextStore& s, Pos caret) const {
  StoreSource src(s);
  CharCursor cur(src);
  const TMacroEntry* found = nullptr;
  int node = 0;
  for (Pos p = caret - 1; p >= 0; --p) {
    const int c = cur.at(p);
    if (c < 0) break;
    const auto& kids = trie_[std::size_t(node)].kids;
    auto k = std::find_if(kids.begin(), kids.end(), [c](const auto& q) { return q.first == c; });
    if (k == kids.end()) break;
    node = k->second;
    if (trie_[std::size_t(node)].entry >= 0) found = &entries_[std::size_t(trie_[std::size_t(node)].entry)];
  }
  return found;
}

void TMacroKeywords::insertText(MemoEngine& e, Pos start, Pos end, std::string t) const {
  if (e.readOnly) return;
  // Smart fill: every later line starts at the display column where the name began, with the
  // line's own indentation copied as it is and blanks for the rest of the way.
  if (smartFill && !t.empty()) {
    const std::string pad = e.fillTo(start);
    std::string filled;
    for (std::size_t i = 0; i < t.size(); ++i) {
      filled += t[i];
      if (t[i] == '\r' || t[i] == '\n') {
        const char other = t[i] == '\r' ? '\n' : '\r';
        if (i + 1 < t.size() && t[i + 1] == other) filled += t[++i];
        filled += pad;
      }
    }
    t = std::move(filled);
  }
  // Breaks become one CR; other control characters except tab become ".".
  std::string out;
  for (std::size_t i = 0; i < t.size(); ++i) {
    const unsigned char c = (unsigned char)t[i];
    if (c == '\r' || c == '\n') {
      const char other = c == '\r' ? '\n' : '\r';
      if (i + 1 < t.size() && t[i + 1] == other) ++i;
      out += '\r';
    } else if ((c < 32 && c != '\t') || c == 127) {
      out += '.';
    } else {
      out += char(c);
    }
  }
  Pos marker = -1;
  if (caretMarker) {
    const std::size_t bar = out.find('|');
    if (bar != std::string::npos) {
      out.erase(bar, 1);
      marker = Pos(bar);
    }
  }
  MemoEngine::UndoGroup group(e, kGroupMacro);
  e.setSelection(start, end, false);
  e.replaceSelection(out);
  if (marker >= 0) e.setSelection(start + marker, start + marker);
}

// ---- TCodeTemplates

TCodeTemplates::TCodeTemplates() {
  hotKey = std::uint16_t(kCtrlKey | 'J');
  consume = smartFill = caretMarker = pickList = true;
}

void TCodeTemplates::expand(MemoEngine& e, const TMacroEntry& entry, Pos start, const MacroEvents& ev) const {
  std::string text = entry.text;
  if (ev.onTemplate) ev.onTemplate(entry.name, text);
  insertText(e, start, e.selection().caret, std::move(text));
}

TCodeTemplates::Offer TCodeTemplates::offerKey(MemoEngine& e, std::uint16_t key, const MacroEvents& ev,
                                               std::string* prefix) {
  if (key != hotKey || hotKey == 0 || e.readOnly) return Offer::NotMine;
  const Pos caret = e.selection().caret;
  if (const TMacroEntry* m = matchBefore(e.store(), caret)) {
    expand(e, *m, caret - Pos(m->name.size()), ev);
    return Offer::Expanded;
  }
  if (!pickList || entries().empty()) return Offer::NotMine;
  if (prefix) {
    prefix->clear();
    Pos p = caret;
    while (p > 0 && e.isWordChar((unsigned char)e.store().charAt(p - 1))) --p;
    for (Pos q = p; q < caret; ++q) {
      const char c = e.store().charAt(q);
      *prefix += (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
    }
  }
  return Offer::PickList;
}

// ---- TAutoReplace

TAutoReplace::TAutoReplace() {
  hotKey = 0;
  consume = smartFill = caretMarker = pickList = false;
  setActKeys(";,:.=()[]\\{Return}\\{Tab}\\{Space}");
}

std::vector<std::uint16_t> TAutoReplace::ParseActKeys(std::string_view text) {
  std::vector<std::uint16_t> keys;
  auto add = [&](std::uint16_t k) {
    if (std::find(keys.begin(), keys.end(), k) == keys.end()) keys.push_back(k);
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = (unsigned char)text[i];
    if (c != '\\') {
      if (auto k = KeyForChar(c)) add(*k);
      continue;
    }
    if (++i >= text.size()) throw ESyntaxMemo("Bad key specifier");
    const char d = text[i];
    if (d == 'n' || d == 'r') add(kVkReturn);
    else if (d == 's') add(kVkSpace);
    else if (d == 't') add(kVkTab);
    else if (d == '{') {
      const std::size_t close = text.find('}', i + 1);
      if (close == std::string_view::npos) throw ESyntaxMemo("Bad key specifier");
      const auto k = KeyFromName(text.substr(i + 1, close - i - 1));
      if (!k) throw ESyntaxMemo("Bad key specifier");
      add(*k);
      i = close;
    } else if (auto k = KeyForChar((unsigned char)d)) {
      add(std::uint16_t(*k & ~kShiftKey));  // a backslash takes the key without its shift state
    }
  }
  return keys;
}

void TAutoReplace::setActKeys(std::string_view text) {
  actKeys_ = ParseActKeys(text);
  actKeysText_.assign(text);
}

void TAutoReplace::Assign(const TMacroKeywords& src) {
  TCodeTemplates::Assign(src);  // checks the class first
  const auto& other = static_cast<const TAutoReplace&>(src);
  actKeysText_ = other.actKeysText_;
  actKeys_ = other.actKeys_;
  skipInCode = other.skipInCode;
}

bool TAutoReplace::isActKey(std::uint16_t key) const noexcept {
  return std::find(actKeys_.begin(), actKeys_.end(), key) != actKeys_.end();
}

bool TAutoReplace::offerKey(MemoEngine& e, std::uint16_t key, const MacroEvents& ev) {
  if (!isActKey(key) || e.readOnly || !e.selection().empty()) return false;
  const Pos caret = e.selection().caret;
  const TMacroEntry* m = matchBefore(e.store(), caret);
  if (!m) return false;
  const TextStore& s = e.store();
  const Pos start = caret - Pos(m->name.size());
  // Word rules: an item ending in a word character must end a word, and an item glued to a
  // word before it is left alone when its replacement would start a word there.
  if (e.isWordChar((unsigned char)m->name.back()) && caret < s.length() && e.isWordChar((unsigned char)s.charAt(caret)))
    return false;
  if (start > 0 && e.isWordChar((unsigned char)s.charAt(start - 1)) && !m->text.empty() &&
      startsWord(e, (unsigned char)m->text[0]))
    return false;
  if (skipInCode && ev.inCode && ev.inCode(caret)) return false;
  std::string with = m->text;
  bool can = true;
  MemoryStream stream;
  if (ev.onAutoReplace) ev.onAutoReplace(stream, m->name, with, can);
  if (!can) return false;
  if (stream.size() > 0) {
    MemoEngine::UndoGroup group(e, kGroupMacro);
    e.setSelection(start, caret, false);
    stream.seek(0);
    e.insertStream(stream);
    return true;
  }
  insertText(e, start, caret, std::move(with));
  return true;
}

}  // namespace velora::memo
