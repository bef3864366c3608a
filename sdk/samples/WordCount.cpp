// Sample plug-in: counts the words and characters of the text of the active
// document, as a reader sees it (not its tags, scripts and line breaks), and
// shows the result on the status bar.
#include "velora_plugin.h"

#include <dlfcn.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

namespace {

void* host = nullptr;

template <class F>
F Host(const char* name) {
    return host ? reinterpret_cast<F>(dlsym(host, name)) : nullptr;
}

void Status(const std::string& text) {
    if (auto status = Host<VlrStatusText>("StatusText"))
        status(text.c_str());
}

void SetField(char (&field)[VLR_ABOUT_FIELD], const char* text) {
    std::strncpy(field, text, VLR_ABOUT_FIELD - 1);
}

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Elements that run on inside a line of text: a word may continue across them
// ("<b>bo</b>ld" is one word). Every other tag ends a word.
bool Inline(const std::string& name) {
    static const std::set<std::string> kInline = {"a",    "abbr", "b",      "bdi",  "bdo",   "big",  "cite",
                                                  "code", "data", "dfn",    "em",   "font",  "i",    "kbd",
                                                  "mark", "q",    "s",      "samp", "small", "span", "strike",
                                                  "strong", "sub", "sup",   "time", "tt",    "u",    "var"};
    return kInline.count(name) != 0;
}

// The text a reader sees: tags, comments, the contents of script and style
// elements and the project's tokens (<%name%>, <&file&>, <?...?>) are left
// out, an entity is one character (a no-break space a space), and runs of
// blanks and line breaks are one space.
std::string VisibleText(const std::string& html) {
    const std::string lower = Lower(html);
    std::string text;
    std::size_t i = 0;
    auto separate = [&text] {
        if (!text.empty() && text.back() != ' ')
            text += ' ';
    };
    while (i < html.size()) {
        const char c = html[i];
        if (c == '<') {
            const char next = i + 1 < html.size() ? html[i + 1] : '\0';
            std::string close = ">";
            if (html.compare(i, 4, "<!--") == 0)
                close = "-->";
            else if (next == '%' || next == '&' || next == '?')
                close = std::string(1, next) + ">";
            else if (!std::isalpha(static_cast<unsigned char>(next)) && next != '/' && next != '!') {
                text += c;  // a lone "<" is text
                ++i;
                continue;
            }
            const std::size_t end = html.find(close, i + 1);
            const std::size_t after = end == std::string::npos ? html.size() : end + close.size();
            std::size_t n = i + 1 + (next == '/' ? 1 : 0);
            std::size_t nameEnd = n;
            while (nameEnd < html.size() && std::isalnum(static_cast<unsigned char>(html[nameEnd])))
                ++nameEnd;
            const std::string name = lower.substr(n, nameEnd - n);
            if (close != ">" || !Inline(name))
                separate();
            i = after;
            // The contents of a script or style element are no text.
            if (next != '/' && (name == "script" || name == "style")) {
                const std::size_t stop = lower.find("</" + name, i);
                i = stop == std::string::npos ? html.size() : stop;
            }
            continue;
        }
        if (c == '&') {
            std::size_t end = i + 1;
            while (end < html.size() && end - i <= 10 && (std::isalnum(static_cast<unsigned char>(html[end])) || html[end] == '#'))
                ++end;
            if (end < html.size() && html[end] == ';' && end > i + 1) {
                const std::string entity = lower.substr(i + 1, end - i - 1);
                if (entity == "nbsp" || entity == "#160")
                    separate();
                else
                    text += '*';  // one character, whichever
                i = end + 1;
                continue;
            }
        }
        if (std::isspace(static_cast<unsigned char>(c)))
            separate();
        else
            text += c;
        ++i;
    }
    if (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// Characters of UTF-8 text: every byte that does not continue a sequence.
long Characters(const std::string& text) {
    long n = 0;
    for (unsigned char c : text)
        n += (c & 0xC0) != 0x80 ? 1 : 0;
    return n;
}

long Words(const std::string& text) {
    long words = 0;
    bool inWord = false;
    for (unsigned char c : text) {
        const bool space = c == ' ';
        if (!space && !inWord)
            ++words;
        inWord = !space;
    }
    return words;
}

}  // namespace

extern "C" {

VLR_PLUGIN_EXPORT int32_t Init(void* hostModule) {
    host = hostModule;
    return 0;
}
VLR_PLUGIN_EXPORT const char* GetName(void) { return "Word Count"; }
VLR_PLUGIN_EXPORT int32_t iNeedsMenuItem(void) { return 1; }
VLR_PLUGIN_EXPORT int32_t iNeedsEditor(void) { return 1; }

VLR_PLUGIN_EXPORT int32_t Exec(void) {
    auto size = Host<VlrGetTextBufSize>("GetTextBufSize");
    auto getText = Host<VlrGetText>("GetText");
    if (!size || !getText)
        return 0;
    const int32_t length = size();
    if (length < 0) {
        Status("Word Count: no document is open");
        return 0;
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    if (!getText(text.data(), length))
        return 0;
    text.resize(std::strlen(text.c_str()));
    const std::string visible = VisibleText(text);
    const long words = Words(visible);
    Status("Words: " + std::to_string(words) + "   Characters: " + std::to_string(Characters(visible)));
    return 1;
}

VLR_PLUGIN_EXPORT int32_t iShowAboutEx(void) {
    TPlugInAbout about{};
    SetField(about.AboutTitle, "Word Count");
    SetField(about.AboutDate, "2026");
    SetField(about.AboutHolder, "the Velora developers");
    SetField(about.AboutComment, "Counts the words and characters of the text of the active document.");
    if (auto show = Host<VlrDispAbout>("DispAbout"))
        show(&about);
    return 0;
}

}  // extern "C"
