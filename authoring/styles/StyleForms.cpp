// Building the style element, the style rule and the style attribute.
#include "authoring/styles/StyleForms.h"

#include "authoring/markup/TagCase.h"

namespace vlr::authoring {
namespace {

constexpr char CR = '\r';

struct Property {
    const char* label;  // as in a rule; the attribute form drops the three leading blanks
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

std::string ValueOf(const TStyleSheet& s, const Property& p, int decoration) {
    const int v = p.value == kDecoration ? decoration : p.value;
    std::string out = s.S[static_cast<std::size_t>(v)];
    if (p.unit >= 0)
        out += s.S[static_cast<std::size_t>(p.unit)];
    return out;
}

// "name  {" CR, the eleven lines, "}" CR CR.
std::string Rule(const TStyleSheet& s, int decoration) {
    std::string out = s.Name() + "  {" + CR;
    const std::size_t n = std::size(kProperties);
    for (std::size_t i = 0; i < n; ++i) {
        out += kProperties[i].label + ValueOf(s, kProperties[i], decoration);
        if (i + 1 < n)
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
        std::string out = TagCase("STYLE", lowerTags) + "=\"";
        const std::size_t n = std::size(kProperties);
        for (std::size_t i = 0; i < n; ++i) {
            const std::string_view label = kProperties[i].label;
            // "font-size: " first, then " font-family: " and so on.
            out += label.substr(i == 0 ? 3 : 2);
            out += ValueOf(s, kProperties[i], 8);
            if (i + 1 < n)
                out += ';';
        }
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
