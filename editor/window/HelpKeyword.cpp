// Look-up of a word in the keyword index of the user's manual.
#include "editor/window/HelpKeyword.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

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

void AppendUtf8(std::string& out, unsigned long code) {
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x110000) {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

// The text of an entry as shown: tags dropped, the usual entities decoded.
std::string Decoded(const std::string& html) {
    std::string out;
    for (std::size_t i = 0; i < html.size(); ++i) {
        const char c = html[i];
        if (c == '<') {
            const std::size_t close = html.find('>', i);
            if (close == std::string::npos)
                break;
            i = close;
            continue;
        }
        if (c != '&') {
            out += c;
            continue;
        }
        const std::size_t semi = html.find(';', i);
        if (semi == std::string::npos || semi - i > 10) {
            out += c;
            continue;
        }
        const std::string name = html.substr(i + 1, semi - i - 1);
        if (name == "lt")
            out += '<';
        else if (name == "gt")
            out += '>';
        else if (name == "amp")
            out += '&';
        else if (name == "quot")
            out += '"';
        else if (name == "nbsp")
            out += ' ';
        else if (name.size() > 1 && name[0] == '#')
            AppendUtf8(out, name[1] == 'x' ? std::strtoul(name.c_str() + 2, nullptr, 16)
                                           : std::strtoul(name.c_str() + 1, nullptr, 10));
        else {
            out += c;
            continue;
        }
        i = semi;
    }
    return out;
}

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// True when some word of `key` (a run starting after a blank or punctuation)
// starts with `w`.
bool AWordStartsWith(const std::string& key, const std::string& w) {
    for (std::size_t at = key.find(w); at != std::string::npos; at = key.find(w, at + 1))
        if (at == 0 || !IsWordChar(key[at - 1]))
            return true;
    return false;
}

std::string PercentEncoded(const std::string& s) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            out += char(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

}  // namespace

std::vector<HelpIndexEntry> HelpIndexEntries(const std::string& document) {
    std::string page = document;
    const std::size_t list = page.find("<ul");
    if (list != std::string::npos)
        page = page.substr(list);
    std::vector<HelpIndexEntry> entries;
    std::size_t at = 0;
    while ((at = page.find("<a href=\"", at)) != std::string::npos) {
        const std::size_t targetStart = at + 9;
        const std::size_t targetEnd = page.find('"', targetStart);
        if (targetEnd == std::string::npos)
            break;
        const std::size_t textStart = page.find('>', targetEnd);
        if (textStart == std::string::npos)
            break;
        const std::size_t textEnd = page.find("</a>", textStart);
        if (textEnd == std::string::npos)
            break;
        entries.push_back({page.substr(targetStart, targetEnd - targetStart),
                           Decoded(page.substr(textStart + 1, textEnd - textStart - 1))});
        at = textEnd;
    }
    return entries;
}

std::string HelpKey(const std::string& text) {
    std::string s = Trimmed(text);
    if (s.size() > 1 && s.front() == '<' && s.back() == '>') {
        s = s.substr(1, s.size() - 2);
        if (!s.empty() && s.front() == '/')
            s.erase(0, 1);
    }
    while (s.size() > 3 && s.compare(s.size() - 3, 3, "...") == 0)
        s.resize(s.size() - 3);
    // "&&" stands for a shown "&"; a single "&" marks the access key.
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size() && s[i + 1] == '&') {
            out += '&';
            ++i;
        } else if (s[i] == '&' && i + 1 < s.size() && std::isalpha(static_cast<unsigned char>(s[i + 1])) &&
                   s.find(';', i) == std::string::npos) {
            continue;
        } else {
            out += s[i];
        }
    }
    return Lower(Trimmed(out));
}

std::string HelpPageFor(const std::string& word, const std::string& helpDir) {
    const std::string index = "file://" + helpDir + "keywords.html";
    const std::string w = HelpKey(word);
    if (w.empty())
        return index;
    std::ifstream in(helpDir + "keywords.html", std::ios::binary);
    if (!in)
        return index;
    std::stringstream s;
    s << in.rdbuf();
    const std::vector<HelpIndexEntry> entries = HelpIndexEntries(s.str());
    std::vector<std::string> keys;
    keys.reserve(entries.size());
    for (const HelpIndexEntry& e : entries)
        keys.push_back(HelpKey(e.text));
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (keys[i] == w)
            return "file://" + helpDir + entries[i].target;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (keys[i].rfind(w, 0) == 0)
            return "file://" + helpDir + entries[i].target;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (AWordStartsWith(keys[i], w))
            return "file://" + helpDir + entries[i].target;
    return index + "?q=" + PercentEncoded(Trimmed(word));
}

}  // namespace vlr
