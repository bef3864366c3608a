// A spell check of a whole document: walks its words from the top, asks the
// caller about each misspelt one and carries out the answer. Every change is
// one undo step of the control; cancelling keeps the changes made so far.
#pragma once

#include "memo/engine/MemoEngine.h"
#include "spelling/engine/SpellDictionary.h"
#include "spelling/engine/SpellWords.h"

#include <functional>
#include <string>
#include <vector>

namespace vlr::spelling {

enum class SpellAction { Change, ChangeAll, Ignore, IgnoreAll, Add, Cancel };

struct SpellDecision {
    SpellAction action = SpellAction::Cancel;
    std::string replacement;  // for Change and Change All
};

struct SpellQuestion {
    std::string word;
    // The sentence the word is in (markup left out), and where the word is in it.
    std::string sentence;
    std::size_t wordOffset = 0;
    std::vector<std::string> suggestions;  // at most kMaxSuggestions, once Suggest() ran
    // Fills `suggestions` the first time (looking them up costs far more than
    // checking, so a check that is answered without them never pays for it).
    std::function<std::vector<std::string>()> lookUp;
    const std::vector<std::string>& Suggest() {
        if (lookUp) {
            suggestions = lookUp();
            lookUp = nullptr;
        }
        return suggestions;
    }
};

inline constexpr std::size_t kMaxSuggestions = 50;

using SpellAsk = std::function<SpellDecision(const SpellQuestion&)>;

struct SpellRunResult {
    int questions = 0;  // misspelt words asked about
    int changes = 0;    // words replaced
    bool cancelled = false;
};

// The sentence around [start, end) of the document, with markup removed.
SpellQuestion DescribeWord(const velora::memo::MemoEngine& engine, velora::memo::Pos start, velora::memo::Pos end);

// Checks the whole document. The word asked about is selected while the
// question is open.
SpellRunResult RunSpellCheck(velora::memo::MemoEngine& engine, SpellDictionary& dict, const SpellOptions& options,
                             const SpellAsk& ask);

}  // namespace vlr::spelling
