#include "editor/case/CaseConversion.h"

namespace vlr {

namespace {

// Locale-independent on purpose: <cctype> would follow the C locale and could
// touch bytes above 127.
constexpr bool IsLower(char c) noexcept { return c >= 'a' && c <= 'z'; }
constexpr bool IsUpper(char c) noexcept { return c >= 'A' && c <= 'Z'; }
constexpr char ToLower(char c) noexcept { return IsUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char ToUpper(char c) noexcept { return IsLower(c) ? static_cast<char>(c - 'a' + 'A') : c; }

// Converts inner letters with `inner` and the first letter of each word with
// `first`, following the word-start flag.
template <typename Inner, typename First>
std::string ByWords(std::string_view text, Inner inner, First first) {
    std::string out;
    out.reserve(text.size());
    bool wordStart = true;
    for (char c : text) {
        if (IsLower(ToLower(c))) {
            out.push_back(wordStart ? first(c) : inner(c));
            wordStart = false;
        } else {
            out.push_back(c);
            if (c != '\'')
                wordStart = true;
        }
    }
    return out;
}

template <typename Convert>
std::string EachByte(std::string_view text, Convert convert) {
    std::string out(text);
    for (char& c : out)
        c = convert(c);
    return out;
}

}  // namespace

std::string CaseLower(std::string_view text) { return EachByte(text, ToLower); }

std::string CaseCapitals(std::string_view text) { return EachByte(text, ToUpper); }

std::string CaseTitle(std::string_view text) { return ByWords(text, ToLower, ToUpper); }

std::string CaseToggle(std::string_view text) { return ByWords(text, ToUpper, ToLower); }

std::string CaseSentence(std::string_view text) {
    std::string out = CaseLower(text);
    for (char& c : out) {
        if (IsLower(c)) {
            c = ToUpper(c);
            break;
        }
    }
    return out;
}

std::string ConvertCase(std::string_view text, CaseChoice choice) {
    switch (choice) {
    case CaseChoice::Lower: return CaseLower(text);
    case CaseChoice::Upper: return CaseCapitals(text);
    case CaseChoice::Toggle: return CaseToggle(text);
    case CaseChoice::Title: return CaseTitle(text);
    }
    return std::string(text);
}

}  // namespace vlr
