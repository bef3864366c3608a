// Building the style element, the style rule and the style attribute.
#include "authoring/styles/StyleForms.h"

#include "authoring/markup/TagCase.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace vlr::authoring {
namespace {

constexpr char CR = '\r';

struct Property {
    const char* label;  // as in a rule: three blanks, the name and ": "
    int value;          // index of the value text
    int unit;           // index of the unit text, -1 for none
};

// In output order; text-decoration's index depends on the form.
constexpr int kDecoration = -2;
constexpr Property kProperties[] = {
    {"   font-size: ", 3, 4},    {"   font-family: ", 2, -1},  {"   font-weight: ", 10, -1},
    {"   font-style: ", 7, -1},  {"   line-height: ", 5, 6},   {"   text-decoration: ", kDecoration, -1},
    {"   text-indent: ", 11, 12}, {"   margin-left: ", 13, 14}, {"   margin-right: ", 15, 16},
    {"   color: ", 18, -1},      {"   background: ", 20, -1},
};

// The value of a property, "" when it is not set: a measure without its
// number is not set either, whatever unit is chosen.
std::string ValueOf(const TStyleSheet& s, const Property& p, int decoration) {
    const int v = p.value == kDecoration ? decoration : p.value;
    std::string out = s.S[static_cast<std::size_t>(v)];
    if (p.unit >= 0 && !out.empty())
        out += s.S[static_cast<std::size_t>(p.unit)];
    return out;
}

// The properties that are set, as "name: value" without the indent.
std::vector<std::string> Declarations(const TStyleSheet& s, int decoration) {
    std::vector<std::string> out;
    for (const Property& p : kProperties) {
        const std::string value = ValueOf(s, p, decoration);
        if (!value.empty())
            out.push_back(std::string(std::string_view(p.label).substr(3)) + value);
    }
    return out;
}

bool IsElementName(std::string_view word) {
    static constexpr std::string_view kElements[] = {
        "a",       "abbr",     "address", "article",  "aside",  "audio",  "b",       "blockquote", "body",
        "button",  "caption",  "cite",    "code",     "dd",     "details", "div",    "dl",         "dt",
        "em",      "fieldset", "figcaption", "figure", "font",  "footer", "form",    "h1",         "h2",
        "h3",      "h4",       "h5",      "h6",       "header", "hr",     "html",    "i",          "img",
        "input",   "label",    "legend",  "li",       "main",   "mark",   "nav",     "ol",         "option",
        "p",       "pre",      "q",       "section",  "select", "small",  "span",    "strong",     "sub",
        "summary", "sup",      "table",   "tbody",    "td",     "textarea", "tfoot", "th",         "thead",
        "tr",      "u",        "ul",      "video"};
    const std::string lower = TagCase(word, true);
    for (std::string_view e : kElements)
        if (lower == e)
            return true;
    return false;
}

// A word that is a selector by itself: a class, an id, "*", or an element,
// perhaps with a class or id of its own ("li.first").
bool IsSelectorWord(std::string_view word) {
    if (word.empty())
        return false;
    if (word[0] == '.' || word[0] == '#' || word[0] == '*')
        return true;
    return IsElementName(word.substr(0, word.find_first_of(".#")));
}

}  // namespace

std::string CssSelector(std::string_view name) {
    const std::size_t first = name.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    name = name.substr(first, name.find_last_not_of(" \t") + 1 - first);
    // Written as a selector already: kept as the user wrote it.
    if (name.find_first_of(",>+~[:") != std::string_view::npos || name[0] == '@')
        return std::string(name);
    bool allSelectorWords = true;
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t end = std::min(name.find_first_of(" \t", at), name.size());
        allSelectorWords = allSelectorWords && IsSelectorWord(name.substr(at, end - at));
        at = name.find_first_not_of(" \t", end);
        if (at == std::string_view::npos)
            break;
    }
    if (allSelectorWords)
        return std::string(name);
    // A plain name ("note", "Big Heading") is a class: letters, digits, "-"
    // and "_" as they are, anything else a "-", and a leading digit
    // escaped as CSS writes it.
    std::string cls;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        const bool keep = std::isalnum(u) || c == '-' || c == '_' || u >= 0x80;
        if (keep)
            cls += c;
        else if (!cls.empty() && cls.back() != '-')
            cls += '-';
    }
    while (!cls.empty() && cls.back() == '-')
        cls.pop_back();
    if (cls.empty())
        return {};
    if (std::isdigit(static_cast<unsigned char>(cls[0])))
        cls = "\\3" + cls.substr(0, 1) + " " + cls.substr(1);
    return "." + cls;
}

namespace {

// Selector, " {" CR, one indented line per property that is set (";" after
// each but the last), "}" CR CR.
std::string Rule(const TStyleSheet& s, int decoration) {
    std::string out = CssSelector(s.Name()) + " {" + CR;
    const std::vector<std::string> lines = Declarations(s, decoration);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += "   " + lines[i];
        if (i + 1 < lines.size())
            out += ';';
        out += CR;
    }
    out += "}";
    out += CR;
    out += CR;
    return out;
}

}  // namespace

std::string StyleText(const TStyleSheet& s, StyleForm form, bool lowerTags, bool modern) {
    switch (form) {
    case StyleForm::FullStyleTag: {
        std::string out;
        if (modern)
            out = "<" + TagCase("STYLE", lowerTags) + ">";
        else
            out = "<" + TagCase("STYLE TYPE", lowerTags) + "=\"text/css\"><!--";
        out += CR;
        out += CR;
        out += Rule(s, 9);
        out += modern ? "</" : "--></";
        out += TagCase("STYLE", lowerTags) + ">";
        out += CR;
        return out;
    }
    case StyleForm::StyleDefinition:
        return Rule(s, 8);
    case StyleForm::StyleAttribute: {
        // Inserted where the caret stands inside a tag, after its name or
        // another attribute: the leading blank keeps the two apart.
        std::string out = " " + TagCase("STYLE", lowerTags) + "=\"";
        const std::vector<std::string> declarations = Declarations(s, 8);
        for (std::size_t i = 0; i < declarations.size(); ++i)
            out += (i == 0 ? "" : "; ") + declarations[i];
        out += '"';
        return out;
    }
    }
    return {};
}

std::string StyleTextByName(const TCSSList& list, std::string_view name, StyleForm form, bool lowerTags,
                            bool modern) {
    const TStyleSheet* s = list.Find(name);
    return s ? StyleText(*s, form, lowerTags, modern) : std::string();
}

}  // namespace vlr::authoring
