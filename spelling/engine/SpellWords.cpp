#include "spelling/engine/SpellWords.h"

#include <limits>

namespace vlr::spelling {

using velora::memo::Pos;

namespace {

bool IsLetterByte(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 0x80; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsWordByte(unsigned char c) { return IsLetterByte(c) || IsDigit(c); }
bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '<' || c == '>' || c == '"' || c == '(' || c == ')'; }

// A run of non-blank characters that is an address or a file reference:
// "http://...", "www.x", "name@host", "a/b", "index.html".
bool IsAddressRun(std::string_view run) {
    if (run.find("://") != std::string_view::npos || run.find('@') != std::string_view::npos ||
        run.find('/') != std::string_view::npos || run.find('\\') != std::string_view::npos)
        return true;
    if (run.size() > 4 && (run.substr(0, 4) == "www." || run.substr(0, 4) == "WWW."))
        return true;
    // A dot with a letter right after it inside the run (a host or a file name),
    // not a full stop at its end.
    for (std::size_t i = 1; i + 1 < run.size(); ++i)
        if (run[i] == '.' && IsWordByte(static_cast<unsigned char>(run[i - 1])) &&
            IsLetterByte(static_cast<unsigned char>(run[i + 1])))
            return true;
    return false;
}

}  // namespace

void ForEachWord(std::string_view text, const std::uint8_t* tokens, const velora::memo::TokenScanner* scanner,
                 const SpellOptions& options, const std::function<void(std::size_t, std::size_t)>& fn) {
    // A prose value on a token that opens with '<' is markup all the same: the
    // scheme's start states also produce tag openers such as "<style".
    const auto prose = [&](std::size_t i) {
        if (!tokens || !scanner)
            return true;
        if (!scanner->isProseToken(tokens[i]))
            return false;
        std::size_t k = i;
        while (k > 0 && tokens[k - 1] == tokens[i] && text[k - 1] != '<')
            --k;
        return !(k > 0 && tokens[k - 1] == tokens[i] && text[k - 1] == '<');
    };
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        // Variable references are never words.
        if (c == '<' && i + 1 < n && text[i + 1] == '%') {
            const std::size_t close = text.find("%>", i + 2);
            i = close == std::string_view::npos ? n : close + 2;
            continue;
        }
        // Entities: "&name;" and "&#123;".
        if (c == '&') {
            std::size_t j = i + 1;
            while (j < n && (IsWordByte(static_cast<unsigned char>(text[j])) || text[j] == '#'))
                ++j;
            i = j;
            continue;
        }
        if (!IsWordByte(c)) {
            ++i;
            continue;
        }
        // The run of non-blank characters the word sits in.
        std::size_t runStart = i;
        while (runStart > 0 && !IsBlank(static_cast<unsigned char>(text[runStart - 1])))
            --runStart;
        std::size_t runEnd = i;
        while (runEnd < n && !IsBlank(static_cast<unsigned char>(text[runEnd])))
            ++runEnd;
        if (prose(i) && IsAddressRun(text.substr(runStart, runEnd - runStart))) {
            i = runEnd;
            continue;
        }
        // The word: letters and digits, with apostrophes between letters.
        std::size_t j = i;
        while (j < n) {
            const unsigned char d = static_cast<unsigned char>(text[j]);
            if (IsWordByte(d)) {
                ++j;
            } else if (d == '\'' && j + 1 < n && IsLetterByte(static_cast<unsigned char>(text[j + 1]))) {
                ++j;
            } else {
                break;
            }
        }
        bool check = true, digits = false, lower = false, letters = false;
        for (std::size_t k = i; k < j; ++k) {
            const unsigned char d = static_cast<unsigned char>(text[k]);
            if (!prose(k))
                check = false;
            if (IsDigit(d))
                digits = true;
            if (d >= 'a' && d <= 'z')
                lower = true;
            if (IsLetterByte(d))
                letters = true;
        }
        if (!letters || (options.skipDigits && digits) || (options.skipCapitals && !lower && j - i > 1))
            check = false;
        // A word glued to markup ("<b>wrd</b>" is fine; "wrd" in an attribute is not prose).
        if (check)
            fn(i, j - i);
        i = j;
    }
}

WordWalker::WordWalker(const velora::memo::MemoEngine& engine, const SpellOptions& options)
    : engine_(engine), options_(options) {}

FoundWord WordWalker::NextFrom(Pos from) const {
    const velora::memo::TextStore& store = engine_.store();
    if (from >= store.length())
        return {};
    const velora::memo::TokenScanner* scanner = ProseScanner(engine_);
    velora::memo::Location loc = store.locate(from < 0 ? 0 : from);
    velora::memo::RecordRef ref = loc.ref;
    Pos recStart = loc.recordStart;
    for (;;) {
        const velora::memo::LineRecord& rec = store.record(ref);
        const bool haveTokens = rec.tokens.size() == rec.text.size();
        FoundWord out;
        ForEachWord(rec.text, haveTokens ? rec.tokens.data() : nullptr, haveTokens ? scanner : nullptr, options_,
                    [&](std::size_t off, std::size_t len) {
                        if (out.found() || recStart + Pos(off) < from)
                            return;
                        out.start = recStart + Pos(off);
                        out.end = out.start + Pos(len);
                        out.text = rec.text.substr(off, len);
                    });
        if (out.found())
            return out;
        recStart += Pos(rec.text.size());
        if (!store.next(ref))
            return {};
    }
}

const velora::memo::TokenScanner* ProseScanner(const velora::memo::MemoEngine& engine) {
    if (!engine.hasOption(velora::memo::smoSyntaxHighlight))
        return nullptr;
    return engine.currentParser();
}

void CompleteTokens(velora::memo::MemoEngine& engine) {
    while (engine.HighlightSlice(std::numeric_limits<std::int32_t>::max())) {
    }
}

}  // namespace vlr::spelling
