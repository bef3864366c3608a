// The help page for a word ("Help on Keyword", F1 in an editor window): a
// look-up in the keyword index of the user's manual.
#pragma once

#include <string>
#include <vector>

namespace vlr {

// One entry of the index: the page it points to ("editor.html#keys") and its
// text as the reader sees it (entities decoded).
struct HelpIndexEntry {
    std::string target, text;
};

// The entries of an index page: every <a href="...">...</a> of its list (the
// navigation bar above the list links to every page too and is skipped).
std::vector<HelpIndexEntry> HelpIndexEntries(const std::string& page);

// The key a word or an entry is compared by: blanks around it, the angle
// brackets and slash of a tag ("<table>", "</table>"), a trailing "..." and
// the "&" of an access key are dropped, and letter case is ignored.
std::string HelpKey(const std::string& text);

// Searches the index page helpDir + "keywords.html" for the word: an entry
// whose key equals the word's, else the first whose key starts with it, else
// the first with a word inside it that starts with it. Answers the address
// of the page ("file://" + helpDir + "editor.html#keys"). An empty word, or a
// missing index, answers the index page; a word found nowhere answers the
// index page with the word in its query ("keywords.html?q=word", the word
// percent-encoded), which the page shows above the list.
std::string HelpPageFor(const std::string& word, const std::string& helpDir);

}  // namespace vlr
