// Case conversion of selected text: lower, upper, toggle, title and sentence
// case over byte strings, changing only the 26 ASCII letters.
#pragma once

#include <string>
#include <string_view>

namespace vlr {

// The conversions the "Change Case" dialog offers.
enum class CaseChoice { Lower, Upper, Toggle, Title };

// Every byte that is not an ASCII letter is copied unchanged, so bytes of
// UTF-8 sequences, digits, punctuation and line breaks pass through as they are.
[[nodiscard]] std::string CaseLower(std::string_view text);
[[nodiscard]] std::string CaseCapitals(std::string_view text);

// Word rule of CaseTitle and CaseToggle: a word-start flag, initially set, is
// cleared by an ASCII letter, kept by an apostrophe and set by any other byte
// (including each byte of a UTF-8 sequence and each line-break byte). A letter
// met while the flag is set is the first letter of a word.

// Lower case with the first letter of each word in upper case.
[[nodiscard]] std::string CaseTitle(std::string_view text);
// Upper case with the first letter of each word in lower case.
[[nodiscard]] std::string CaseToggle(std::string_view text);

// Lower case with the first ASCII letter of the whole text in upper case.
[[nodiscard]] std::string CaseSentence(std::string_view text);

// The replacement for a selection converted with the dialog's choice.
[[nodiscard]] std::string ConvertCase(std::string_view text, CaseChoice choice);

}  // namespace vlr
