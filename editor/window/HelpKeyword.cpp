// Partial-keyword search of the help index.
#include "editor/window/HelpKeyword.h"

#include <cctype>
#include <fstream>
#include <sstream>
#include <vector>

namespace vlr {

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Trimmed(const std::string& s) {
    const std::size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos)
        return {};
    return s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1);
}

struct Entry {
    std::string target, text;
};

// The index's entries: <a href="target">text</a>, in order.
std::vector<Entry> IndexEntries(const std::string& page) {
    std::vector<Entry> entries;
    std::size_t at = 0;
    while ((at = page.find("<a href=\"", at)) != std::string::npos) {
        const std::size_t targetStart = at + 9;
        const std::size_t targetEnd = page.find('"', targetStart);
        const std::size_t textStart = page.find('>', targetEnd);
        const std::size_t textEnd = page.find("</a>", textStart);
        if (targetEnd == std::string::npos || textStart == std::string::npos || textEnd == std::string::npos)
            break;
        entries.push_back({page.substr(targetStart, targetEnd - targetStart),
                           page.substr(textStart + 1, textEnd - textStart - 1)});
        at = textEnd;
    }
    return entries;
}

}  // namespace

std::string HelpPageFor(const std::string& word, const std::string& helpDir) {
    const std::string index = "file://" + helpDir + "keywords.html";
    const std::string w = Lower(Trimmed(word));
    if (w.empty())
        return index;
    std::ifstream in(helpDir + "keywords.html", std::ios::binary);
    if (!in)
        return index;
    std::stringstream s;
    s << in.rdbuf();
    // Only the list: the navigation bar above it links to every page too.
    std::string page = s.str();
    const std::size_t list = page.find("<ul>");
    if (list != std::string::npos)
        page = page.substr(list);
    const std::vector<Entry> entries = IndexEntries(page);
    for (const Entry& e : entries)
        if (Lower(e.text).rfind(w, 0) == 0)
            return "file://" + helpDir + e.target;
    for (const Entry& e : entries)
        if (Lower(e.text).find(w) != std::string::npos)
            return "file://" + helpDir + e.target;
    return index;
}

}  // namespace vlr
