// Context detection and the items of the completion list.
#include "memo/engine/complete/Completion.h"

#include <algorithm>

#include "memo/engine/MemoEngine.h"
#include "memo/engine/complete/WebData.h"

namespace velora::memo {

namespace {

using K = CompletionKind;

bool IsNameChar(char c) noexcept {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         c == ':' || c == '.';
}
bool IsAlnum(char c) noexcept { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }
bool IsBlank(char c) noexcept { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsPathChar(char c) noexcept {
  return !IsBlank(c) && c != '<' && c != '>' && c != '&' && c != '"' && c != '\'' && c != '%';
}

template <class Pred>
std::size_t BackOver(std::string_view t, std::size_t at, Pred p) {
  while (at > 0 && p(t[at - 1])) --at;
  return at;
}

std::string Trim(std::string_view s) {
  std::size_t a = 0, b = s.size();
  while (a < b && IsBlank(s[a])) ++a;
  while (b > a && IsBlank(s[b - 1])) --b;
  return std::string(s.substr(a, b - a));
}

CompletionRequest Make(const MarkupSlice& s, K kind, std::size_t start, std::size_t at) {
  CompletionRequest r;
  r.kind = kind;
  r.start = s.base + Pos(start);
  r.prefix = s.text.substr(start, at - start);
  return r;
}

// Inside a style sheet's text [from, at): a property name or, after its ":", a value.
CompletionRequest CssRequest(const MarkupSlice& s, std::size_t from, std::size_t at) {
  std::size_t i = at;
  while (i > from && s.text[i - 1] != ':' && s.text[i - 1] != ';' && s.text[i - 1] != '{' && s.text[i - 1] != '}') --i;
  const std::size_t word = BackOver(s.text, at, [](char c) { return IsAlnum(c) || c == '-'; });
  if (i > from && s.text[i - 1] == ':') {
    std::size_t nameEnd = i - 1;
    while (nameEnd > from && IsBlank(s.text[nameEnd - 1])) --nameEnd;
    const std::size_t nameStart = BackOver(s.text, nameEnd, [](char c) { return IsAlnum(c) || c == '-'; });
    if (nameStart == nameEnd || nameStart < from) return {};
    CompletionRequest r = Make(s, K::CssValue, std::max(word, i), at);
    r.property = s.text.substr(nameStart, nameEnd - nameStart);
    return r;
  }
  // A property name: only white space between the rule's start (or ";") and the word.
  if (!Trim(std::string_view(s.text).substr(i, word - i)).empty()) return {};
  return Make(s, K::CssProperty, word, at);
}

// The attribute whose value starts after the quote at offset q: the name before its "=".
std::string AttributeBefore(const MarkupSlice& s, std::size_t q) {
  std::size_t i = q;
  while (i > 0 && IsBlank(s.text[i - 1])) --i;
  if (i == 0 || s.text[i - 1] != '=') return {};
  --i;
  while (i > 0 && IsBlank(s.text[i - 1])) --i;
  const std::size_t a = BackOver(s.text, i, IsNameChar);
  return s.text.substr(a, i - a);
}

CompletionRequest InTag(const MarkupSlice& s, std::size_t at) {
  const std::size_t ts = TagStart(s, at);
  if (ts == std::string::npos) return {};
  const bool endTag = ts + 1 < s.text.size() && s.text[ts + 1] == '/';
  const std::size_t nameStart = ts + (endTag ? 2 : 1);
  const std::string element = NameAt(s.text, nameStart);
  if (at <= nameStart + element.size()) {
    CompletionRequest r = Make(s, K::Element, nameStart, at);
    r.endTag = endTag;
    return r;
  }
  if (endTag) return {};
  const std::size_t word = BackOver(s.text, at, IsNameChar);
  if (word > 0 && IsBlank(s.text[word - 1])) {
    CompletionRequest r = Make(s, K::Attribute, word, at);
    r.element = element;
    return r;
  }
  return {};
}

CompletionRequest InValue(const MarkupSlice& s, std::size_t at) {
  // The opening quote: the first character of the value's run of values.
  std::size_t q = at;
  while (q > 0 && ZoneAt(s, q) == MarkupZone::Value) {
    const char c = s.text[q - 1];
    if ((c == '"' || c == '\'') && (s.tokens[q - 1] == 24 || s.tokens[q - 1] == 25 || !AttributeBefore(s, q - 1).empty()))
      break;
    --q;
  }
  if (q == 0) return {};
  const std::size_t quote = q - 1;
  const std::string attribute = AsciiLower(AttributeBefore(s, quote));
  if (attribute.empty()) return {};
  const std::size_t ts = TagStart(s, quote);
  const std::string element = ts == std::string::npos ? std::string() : NameAt(s.text, ts + 1);
  const std::size_t word = BackOver(s.text, at, [](char c) { return IsAlnum(c) || c == '-' || c == '_' || c == '/'; });
  if (word > q && s.text[word - 1] == '&') return Make(s, K::Entity, word, at);
  if (attribute == "style") return CssRequest(s, q, at);
  CompletionRequest r = Make(s, K::AttributeValue, std::max(word, q), at);
  r.element = element;
  r.attribute = attribute;
  return r;
}

void AddMatches(std::vector<CompletionItem>& out, const std::vector<CompletionItem>& all, std::string_view prefix) {
  // Labels starting with the prefix as written, then those starting with it in another letter
  // case ("AMP;" after "amp;"), then those containing it elsewhere.
  const std::string p = AsciiLower(prefix);
  std::vector<const CompletionItem*> otherCase, inside;
  for (const CompletionItem& item : all) {
    if (item.label.starts_with(prefix)) {
      out.push_back(item);
      continue;
    }
    const std::string l = AsciiLower(item.label);
    if (l.starts_with(p)) otherCase.push_back(&item);
    else if (!p.empty() && l.find(p) != std::string::npos) inside.push_back(&item);
  }
  for (const CompletionItem* item : otherCase) out.push_back(*item);
  for (const CompletionItem* item : inside) out.push_back(*item);
}

std::vector<CompletionItem> Plain(const std::vector<std::string>& words, std::string_view suffix = {}) {
  std::vector<CompletionItem> out;
  out.reserve(words.size());
  for (const std::string& w : words) out.push_back({w, w + std::string(suffix), {}});
  return out;
}

}  // namespace

CompletionRequest DetectCompletion(const MarkupSlice& s, std::size_t at) {
  at = std::min(at, s.text.size());
  const std::string_view t = s.text;
  const MarkupZone zone = ZoneAt(s, at);
  if (zone == MarkupZone::Comment || zone == MarkupZone::Other || zone == MarkupZone::Unknown) return {};
  // The program's own references, in text and in attribute values alike.
  const std::size_t var = BackOver(t, at, [](char c) { return IsAlnum(c) || c == '_' || c == '-' || c == '.'; });
  if (var >= 2 && t[var - 2] == '<' && t[var - 1] == '%') return Make(s, K::Variable, var, at);
  const std::size_t inc = BackOver(t, at, IsPathChar);
  if (inc >= 2 && t[inc - 2] == '<' && t[inc - 1] == '&') return Make(s, K::IncludeFile, inc, at);
  switch (zone) {
    case MarkupZone::Text: {
      const std::size_t word = BackOver(t, at, IsNameChar);
      if (word >= 1 && t[word - 1] == '<') return Make(s, K::Element, word, at);
      if (word >= 2 && t[word - 1] == '/' && t[word - 2] == '<') {
        CompletionRequest r = Make(s, K::Element, word, at);
        r.endTag = true;
        return r;
      }
      const std::size_t ref = BackOver(t, at, IsAlnum);
      if (ref >= 1 && t[ref - 1] == '&') return Make(s, K::Entity, ref, at);
      return {};
    }
    case MarkupZone::Tag: {
      const std::size_t word = BackOver(t, at, IsNameChar);
      if (word >= 1 && t[word - 1] == '<') return Make(s, K::Element, word, at);
      return InTag(s, at);
    }
    case MarkupZone::Value: return InValue(s, at);
    case MarkupZone::CssProperty:
    case MarkupZone::CssValue: {
      std::size_t from = at;
      while (from > 0 && t[from - 1] != '{' && t[from - 1] != '}' && at - from < 2048) --from;
      return CssRequest(s, from, at);
    }
    default: return {};
  }
}

CompletionRequest DetectCompletion(const MemoEngine& e) {
  const Pos caret = e.selection().caret;
  const MarkupSlice s = MarkupSlice::Of(e, caret - 8192, caret);
  return DetectCompletion(s, std::size_t(caret - s.base));
}

std::vector<CompletionItem> CompletionItems(const CompletionRequest& r, const CompletionSources& src) {
  std::vector<CompletionItem> all;
  const WebData* d = src.data;
  switch (r.kind) {
    case K::None: return {};
    case K::Element:
      if (d) all = Plain(d->elements, r.endTag ? ">" : "");
      break;
    case K::Attribute:
      if (d) all = Plain(d->attributesOf(r.element));
      break;
    case K::AttributeValue:
      if (d)
        if (const std::vector<std::string>* v = d->valuesOf(r.element, r.attribute)) all = Plain(*v);
      break;
    case K::Entity:
      if (d) {
        all.reserve(d->entities.size());
        for (const auto& [name, chars] : d->entities)
          if (name.ends_with(';')) all.push_back({name, name, chars});
      }
      break;
    case K::CssProperty:
      if (d) all = Plain(d->properties);
      break;
    case K::CssValue:
      if (d)
        if (const std::vector<std::string>* v = d->keywordsOf(r.property)) all = Plain(*v);
      break;
    case K::Variable: all = Plain(src.variables, "%>"); break;
    case K::IncludeFile: all = Plain(src.includes, "&>"); break;
  }
  std::vector<CompletionItem> out;
  AddMatches(out, all, r.prefix);
  return out;
}

void AcceptCompletion(MemoEngine& e, const CompletionRequest& r, const CompletionItem& item) {
  if (e.readOnly) return;
  const Pos caret = e.selection().caret;
  const Pos start = std::clamp<Pos>(r.start, 0, caret);
  std::string insert = item.insert;
  // A closing "%>", "&>" or ">" that already follows is not written twice.
  for (std::string_view tail : {"%>", "&>", ">"}) {
    if (!insert.ends_with(tail)) continue;
    if (e.store().text(caret, std::min(e.length(), caret + Pos(tail.size()))) == tail)
      insert.resize(insert.size() - tail.size());
    break;
  }
  e.setSelection(start, caret, false);
  e.replaceSelection(insert);
}

}  // namespace velora::memo
