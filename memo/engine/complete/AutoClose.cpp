// Auto-closing of tags, quotes and brackets.
#include "memo/engine/complete/AutoClose.h"

#include <algorithm>
#include <string>

#include "memo/engine/MemoEngine.h"
#include "memo/engine/complete/MarkupTokens.h"
#include "memo/engine/complete/WebData.h"

namespace velora::memo {

namespace {

// How far back the tag structure is looked at for "</" (the nearest open element).
constexpr Pos kOpenElementWindow = 256 * 1024;
constexpr Pos kZoneWindow = 8192;

bool IsWordChar(char c) noexcept {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         (unsigned char)c >= 0x80;
}

char CharAt(const MemoEngine& e, Pos p) { return p >= 0 && p < e.length() ? e.store().charAt(p) : '\0'; }

// A closer may be added before blanks, the line's end, a tag and closing punctuation, not before
// a word.
bool RoomForCloser(char next) noexcept {
  return next == '\0' || next == ' ' || next == '\t' || next == '\r' || next == ')' || next == ']' || next == '}' ||
         next == '>' || next == '<' || next == ';' || next == ',' || next == '/';
}

}  // namespace

bool AutoCloser::typeChar(MemoEngine& e, const WebData& data, char c) {
  if (e.readOnly || !e.selection().empty()) {
    overtype_.clear();
    return false;
  }
  if (typeOver(e, c)) return true;
  if (e.hasAid(smaAutoClosePairs) && stepOver(e, c)) return true;
  if (e.hasAid(smaAutoCloseTags)) {
    if (c == '>' && closeStartTag(e, data)) return true;
    if (c == '/' && completeEndTag(e, data)) return true;
  }
  if (!e.hasAid(smaAutoClosePairs)) return false;
  switch (c) {
    case '"': return pair(e, '"', '"');
    case '\'': return pair(e, '\'', '\'');
    case '(': return pair(e, '(', ')');
    case '[': return pair(e, '[', ']');
    case '{': return pair(e, '{', '}');
    default: return false;
  }
}

bool AutoCloser::closeStartTag(MemoEngine& e, const WebData& data) {
  const Pos caret = e.selection().caret;
  const MarkupSlice s = MarkupSlice::Of(e, caret - kZoneWindow, caret);
  const std::size_t at = std::size_t(caret - s.base);
  // Only a ">" that ends a start tag: not in text, a value, a comment or a script.
  if (ZoneAt(s, at) != MarkupZone::Tag || (at > 0 && s.text[at - 1] == '/')) return false;
  const std::size_t ts = TagStart(s, at);
  if (ts == std::string::npos || !IsStartTagOpener(s.tokens[ts])) return false;
  const std::string name = NameAt(s.text, ts + 1);
  if (name.empty() || data.isVoid(name)) return false;
  // Not when the end tag follows already (after blanks).
  const std::string after = e.store().text(caret, std::min(e.length(), caret + 256));
  std::size_t k = 0;
  while (k < after.size() && (after[k] == ' ' || after[k] == '\t' || after[k] == '\r')) ++k;
  const std::string endTag = "</" + AsciiLower(name);
  if (AsciiLower(std::string_view(after).substr(k, endTag.size())) == endTag) {
    const char next = k + endTag.size() < after.size() ? after[k + endTag.size()] : '\0';
    if (next == '>' || next == ' ' || next == '\0' || next == '\r') return false;
  }
  MemoEngine::UndoGroup group(e, kGroupTypingAid);
  e.typeText(">");
  const Pos inside = e.selection().caret;
  e.replaceSelection("</" + name + ">");
  e.setSelection(inside, inside);
  return true;
}

bool AutoCloser::completeEndTag(MemoEngine& e, const WebData& data) {
  const Pos caret = e.selection().caret;
  if (CharAt(e, caret - 1) != '<') return false;
  const MarkupSlice s = MarkupSlice::Of(e, caret - kOpenElementWindow, caret);
  const std::size_t at = std::size_t(caret - s.base);
  if (ZoneAt(s, at - 1) != MarkupZone::Text) return false;
  const std::string name = NearestOpenElement(s, at - 1, data);
  if (name.empty()) return false;
  // Right before that element's own end tag (the one its start tag's ">" brought), "</" goes
  // into it instead of adding a second: typing an end tag by hand after an auto-closed start
  // tag gives the text typed, the rest of the name and the ">" being stepped over.
  const std::string endTag = "</" + AsciiLower(name) + ">";
  if (AsciiLower(e.store().text(caret, std::min(e.length(), caret + Pos(endTag.size())))) == endTag) {
    MemoEngine::UndoGroup group(e, kGroupTypingAid);
    e.setSelection(caret - 1, caret);
    e.replaceSelection("");
    const Pos into = caret - 1 + 2;
    e.setSelection(into, into);
    overtype_ = endTag.substr(2);
    overtypeFromEnd_ = e.length() - into;
    return true;
  }
  // "/name>" replaces nothing and is typed at once: one undo step with the "/".
  e.typeText("/" + name + ">");
  return true;
}

bool AutoCloser::typeOver(MemoEngine& e, char c) {
  if (overtype_.empty()) return false;
  const Pos caret = e.selection().caret;
  const auto lower = [](char x) { return (x >= 'A' && x <= 'Z') ? char(x - 'A' + 'a') : x; };
  if (caret != e.length() - overtypeFromEnd_ || lower(c) != overtype_.front() || lower(CharAt(e, caret)) != overtype_.front()) {
    overtype_.clear();
    return false;
  }
  e.setSelection(caret + 1, caret + 1);
  overtype_.erase(0, 1);
  --overtypeFromEnd_;
  return true;
}

bool AutoCloser::pair(MemoEngine& e, char open, char close) {
  const Pos caret = e.selection().caret;
  const char next = CharAt(e, caret);
  const char prev = CharAt(e, caret - 1);
  if (!RoomForCloser(next) || prev == '\\') return false;
  const MarkupSlice s = MarkupSlice::Of(e, caret - kZoneWindow, caret);
  const MarkupZone zone = ZoneAt(s, std::size_t(caret - s.base));
  if (open == '"' || open == '\'') {
    // Quotes pair where a value or a string starts: after "=" in a tag, in code; never in
    // prose, where an apostrophe is a letter of a word.
    const bool tagValue = zone == MarkupZone::Tag && prev == '=';
    const bool code = (zone == MarkupZone::Script || zone == MarkupZone::CssValue || zone == MarkupZone::CssProperty) &&
                      !IsWordChar(prev);
    if (!tagValue && !code) return false;
  } else if (zone == MarkupZone::Comment || zone == MarkupZone::Other || zone == MarkupZone::Unknown) {
    return false;
  }
  e.typeText(std::string{open, close});
  const Pos inside = e.selection().caret - 1;
  e.setSelection(inside, inside);
  remember(e, inside);
  return true;
}

bool AutoCloser::stepOver(MemoEngine& e, char c) {
  if (c != '"' && c != '\'' && c != ')' && c != ']' && c != '}') return false;
  const Pos caret = e.selection().caret;
  if (CharAt(e, caret) != c) return false;
  for (std::size_t i = count_; i > 0; --i) {
    if (e.length() - closers_[i - 1] != caret) continue;
    // Closers inserted after this one (inside the pair) are passed already.
    count_ = i - 1;
    e.setSelection(caret + 1, caret + 1);
    return true;
  }
  return false;
}

void AutoCloser::remember(const MemoEngine& e, Pos closer) {
  if (count_ == closers_.size()) {
    std::move(closers_.begin() + 1, closers_.end(), closers_.begin());
    --count_;
  }
  closers_[count_++] = e.length() - closer;
}

}  // namespace velora::memo
