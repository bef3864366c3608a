// The help page for a word: the partial-keyword search of the help index.
#pragma once

#include <string>

namespace vlr {

// Searches the index page helpDir + "keywords.html" for the first entry whose
// text starts with the word (letter case ignored), else the first that
// contains it, and answers the address of the page it points to
// ("file://" + helpDir + "index.html#menus"). An empty word, a word found
// nowhere or a missing index answers the index page itself.
std::string HelpPageFor(const std::string& word, const std::string& helpDir);

}  // namespace vlr
