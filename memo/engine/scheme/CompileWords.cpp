// The "%%words" section, and the case rule applied to words and keyword tables at the end.
#include <unordered_map>

#include "memo/engine/scheme/CompileContext.h"
#include "memo/engine/scheme/SchemeError.h"

namespace vlr {

namespace {

// Records `text` with the states listed for it; false when an entry of the same text already
// counts in one of them. Every word also counts in state 0, so an entry without a list meets
// every other entry of its text.
bool AddWordText(std::unordered_map<std::string, std::vector<TStateSet>>& texts, const std::string& text,
                 const TStateSet& listed) {
  std::vector<TStateSet>& lists = texts[text];
  for (const TStateSet& other : lists)
    if (listed.none() || other.none() || (listed & other).any()) return false;
  lists.push_back(listed);
  return true;
}

}  // namespace

void CompileWords(TSchemeBuild& b) {
  while (!b.AtSectionEnd()) {
    const TSchemeToken wordTok = b.r.Peek();
    if (wordTok.kind == TSchemeTokenKind::String) b.context = "%%Words - " + wordTok.text;
    const TSchemeToken word = b.ReadStringToken();
    if (word.text.empty()) b.Fail(word, TSchemeErrorId::StringExpected);

    const TSchemeToken follow = b.ReadStringToken();
    TWordEntry entry;
    entry.text = word.text;
    if (const auto group = ParseSingleCharSpec(follow.raw, OriginOf(follow))) {
      entry.follow = b.AddGroup(*group, follow);
    }
    entry.value = b.ReadByte();
    TStateSet listed;
    if (b.r.Peek().Is(TReservedWord::LBracket)) listed = b.r.ReadStateList();
    entry.valid = listed;
    entry.valid.set(0);

    if (!AddWordText(b.wordTexts, word.text, listed)) b.Fail(word, TSchemeErrorId::DuplicateWord);
    b.Record(entry.value).valid |= listed;
    b.t.words.push_back(std::move(entry));
    b.wordAt.emplace_back(word.line, word.column);
  }
}

void FinishWords(TSchemeBuild& b) {
  const bool sensitive = b.t.settings.caseSensitive;
  const auto failAt = [](std::pair<int, int> at, TSchemeErrorId id, std::string text) {
    throw ESchemeError(id, std::move(text), at.first, at.second);
  };
  if (!sensitive) {
    std::unordered_map<std::string, std::vector<TStateSet>> seen;
    for (std::size_t i = 0; i < b.t.words.size(); ++i) {
      TWordEntry& w = b.t.words[i];
      w.text = AsciiLower(std::move(w.text));
      TStateSet listed = w.valid;
      listed.reset(0);
      if (!AddWordText(seen, w.text, listed))
        failAt(b.wordAt[i], TSchemeErrorId::DuplicateWord, SchemeMessage(TSchemeErrorId::DuplicateWord));
    }
  }
  for (std::size_t k = 0; k < b.t.keywordTables.size(); ++k) {
    TKeywordTable& table = b.t.keywordTables[k];
    const int own = k < b.keywordCase.size() ? b.keywordCase[k] : -1;
    table.caseSensitive = own < 0 ? sensitive : own != 0;
    std::unordered_set<std::string> seen;
    for (std::size_t i = 0; i < table.words.size(); ++i) {
      auto& w = table.words[i];
      if (!table.caseSensitive) w.text = AsciiLower(std::move(w.text));
      if (!seen.insert(w.text).second)
        failAt(b.keywordAt[k][i], TSchemeErrorId::None, SchemeFormat("Duplicate keyword - '%s'", {w.text}));
    }
  }
  for (std::size_t v = 0; v < 256; ++v)
    if (!b.contextGiven[v]) b.t.contextStates[v] = b.t.startStates;
}

}  // namespace vlr
