#include "spelling/engine/SpellCheck.h"

#include <map>

namespace vlr::spelling {

using velora::memo::Pos;

namespace {

bool EndsSentence(char c) { return c == '.' || c == '!' || c == '?'; }

}  // namespace

SpellQuestion DescribeWord(const velora::memo::MemoEngine& engine, Pos start, Pos end) {
    SpellQuestion q;
    const velora::memo::TextStore& store = engine.store();
    q.word = store.text(start, end);
    const velora::memo::LineNo line = store.lineFromPos(start);
    const Pos ls = store.lineStart(line);
    const std::string text = store.lineText(line);
    const std::size_t ws = std::size_t(start - ls);
    const std::size_t we = std::min(text.size(), std::size_t(end - ls));
    std::size_t from = ws;
    while (from > 0 && !(EndsSentence(text[from - 1]) && from < ws && text[from] == ' '))
        --from;
    std::size_t to = we;
    while (to < text.size() && !EndsSentence(text[to]))
        ++to;
    if (to < text.size())
        ++to;
    // Markup is left out; the word keeps its place in what remains.
    bool inTag = false;
    for (std::size_t i = from; i < to; ++i) {
        if (i == ws)
            q.wordOffset = q.sentence.size();
        const char c = text[i];
        if (i >= ws && i < we) {
            q.sentence += c;
            continue;
        }
        if (c == '<') {
            inTag = true;
            continue;
        }
        if (c == '>' && inTag) {
            inTag = false;
            continue;
        }
        if (!inTag)
            q.sentence += c == '\t' ? ' ' : c;
    }
    // Leading blanks are dropped.
    const std::size_t lead = std::min(q.sentence.find_first_not_of(' '), q.wordOffset);
    q.sentence.erase(0, lead);
    q.wordOffset -= lead;
    return q;
}

SpellRunResult RunSpellCheck(velora::memo::MemoEngine& engine, SpellDictionary& dict, const SpellOptions& options,
                             const SpellAsk& ask) {
    SpellRunResult result;
    CompleteTokens(engine);
    std::map<std::string, std::string> changeAll;
    const auto replace = [&](const FoundWord& w, const std::string& with) {
        engine.setSelection(w.start, w.end);
        engine.replaceSelection(with);
        ++result.changes;
        return w.start + Pos(with.size());
    };
    Pos at = 0;
    for (;;) {
        const WordWalker walker(engine, options);
        const FoundWord w = walker.NextFrom(at);
        if (!w.found())
            break;
        at = w.end;
        const auto all = changeAll.find(w.text);
        if (all != changeAll.end()) {
            at = replace(w, all->second);
            CompleteTokens(engine);
            continue;
        }
        if (dict.Check(w.text))
            continue;
        engine.setSelection(w.start, w.end);
        SpellQuestion q = DescribeWord(engine, w.start, w.end);
        q.lookUp = [&dict, word = w.text] { return dict.Suggest(word, kMaxSuggestions); };
        ++result.questions;
        const SpellDecision d = ask(q);
        switch (d.action) {
            case SpellAction::Cancel:
                result.cancelled = true;
                return result;
            case SpellAction::Ignore:
                break;
            case SpellAction::IgnoreAll:
                dict.IgnoreAll(w.text);
                break;
            case SpellAction::Add:
                dict.AddToUser(w.text);
                break;
            case SpellAction::ChangeAll:
                changeAll[w.text] = d.replacement;
                at = replace(w, d.replacement);
                CompleteTokens(engine);
                break;
            case SpellAction::Change:
                at = replace(w, d.replacement);
                CompleteTokens(engine);
                break;
        }
    }
    return result;
}

}  // namespace vlr::spelling
