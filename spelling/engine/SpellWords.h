// Which words of a document a spell check looks at. Only prose is checked:
// the control's token values decide what markup, attribute, script, style and
// comment text is (the active scheme's prose values), and in the prose itself
// entities ("&amp;"), variable references ("<%Name%>"), file references and
// internet addresses are passed over. Words are UTF-8: any byte of a
// multi-byte character belongs to a word.
#pragma once

#include "memo/engine/MemoEngine.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vlr::spelling {

struct SpellOptions {
    std::string language = "en_US";
    bool background = true;    // check while typing and mark misspelt words
    bool skipCapitals = true;  // words written wholly in capitals
    bool skipDigits = true;    // words that contain a digit
};

// Calls fn(offset, length) for every word of `text` to check. `tokens` holds a
// token value per byte (may be null: all prose) and `scanner` tells prose
// values apart (null: all prose).
void ForEachWord(std::string_view text, const std::uint8_t* tokens, const velora::memo::TokenScanner* scanner,
                 const SpellOptions& options, const std::function<void(std::size_t, std::size_t)>& fn);

// A word found in the document.
struct FoundWord {
    velora::memo::Pos start = -1;
    velora::memo::Pos end = -1;
    std::string text;
    bool found() const { return start >= 0; }
};

// The words of the document from a position on, record by record. Token values
// are read from the control; the caller brings them up to date first
// (CompleteTokens).
class WordWalker {
public:
    WordWalker(const velora::memo::MemoEngine& engine, const SpellOptions& options);
    // The first word to check that starts at or after `from`.
    FoundWord NextFrom(velora::memo::Pos from) const;

private:
    const velora::memo::MemoEngine& engine_;
    const SpellOptions& options_;
};

// Finishes the control's background highlighting so that every record carries
// token values of the active scheme.
void CompleteTokens(velora::memo::MemoEngine& engine);

// The scanner whose prose values decide, or null when the control has no
// highlighting (everything is prose then).
const velora::memo::TokenScanner* ProseScanner(const velora::memo::MemoEngine& engine);

}  // namespace vlr::spelling
