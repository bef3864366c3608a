// Building the markup of the insertion dialogs.
#include "libs/extdlgs/ElementMarkup.h"

#include "authoring/markup/HtmlEscape.h"
#include "authoring/markup/Insertions.h"
#include "authoring/markup/TagCase.h"

namespace vlr::extdlgs {
namespace {

using authoring::TagCase;

const std::string kBreak(authoring::kMarkupBreak);

// Builds a start tag: names in the tag case, values escaped.
class StartTag {
public:
    StartTag(const char* name, bool lower) : lower_(lower), text_("<" + TagCase(name, lower)) {}
    StartTag& attr(const char* name, const std::string& value) {
        text_ += " " + TagCase(name, lower_) + "=\"" + AttributeValue(value) + "\"";
        return *this;
    }
    StartTag& attrIf(const char* name, const std::string& value) { return value.empty() ? *this : attr(name, value); }
    StartTag& attrIf(const char* name, int value) { return value <= 0 ? *this : attr(name, std::to_string(value)); }
    std::string str() const { return text_ + ">"; }

private:
    bool lower_;
    std::string text_;
};

std::string EndTag(const char* name, bool lower) { return "</" + TagCase(name, lower) + ">"; }

std::string ParameterLines(const Parameters& parameters, bool lower) {
    std::string out;
    for (const auto& [name, value] : parameters)
        if (!name.empty())
            out += "  " + StartTag("param", lower).attr("name", name).attr("value", value).str() + kBreak;
    return out;
}

}  // namespace

std::string AttributeValue(const std::string& value) { return EscapeAttribute(value); }

MarkupPair LinkMarkup(const LinkSpec& link, bool lower) {
    StartTag a("a", lower);
    a.attr("href", link.address).attrIf("target", link.target).attrIf("title", link.title);
    return {a.str() + link.text, EndTag("a", lower)};
}

MarkupPair TableMarkup(const TableSpec& t, bool lower) {
    StartTag table("table", lower);
    table.attr("border", std::to_string(t.border < 0 ? 0 : t.border));
    if (t.width > 0)
        table.attr("width", std::to_string(t.width) + (t.widthPercent ? "%" : ""));
    if (t.cellPadding >= 0)
        table.attr("cellpadding", std::to_string(t.cellPadding));
    if (t.cellSpacing >= 0)
        table.attr("cellspacing", std::to_string(t.cellSpacing));
    const int rows = t.rows < 1 ? 1 : t.rows;
    const int columns = t.columns < 1 ? 1 : t.columns;

    std::string start = table.str() + kBreak;
    if (!t.caption.empty())
        start += "  " + TagCase("<caption>", lower) + t.caption + EndTag("caption", lower) + kBreak;
    std::string end;
    std::string* out = &start;
    for (int r = 0; r < rows; ++r) {
        const char* cell = r == 0 && t.headerRow ? "th" : "td";
        *out += "  " + TagCase("<tr>", lower) + kBreak;
        for (int c = 0; c < columns; ++c) {
            *out += "    " + StartTag(cell, lower).str();
            // The caret (or the selection) goes into the first cell.
            if (r == 0 && c == 0)
                out = &end;
            *out += EndTag(cell, lower) + kBreak;
        }
        *out += "  " + EndTag("tr", lower) + kBreak;
    }
    end += EndTag("table", lower);
    return {start, end};
}

std::string ObjectMarkup(const ObjectSpec& o, bool lower) {
    StartTag object("object", lower);
    object.attr("classid", o.classId).attrIf("id", o.id).attrIf("codebase", o.codeBase).attrIf("width", o.width)
        .attrIf("height", o.height);
    return object.str() + kBreak + ParameterLines(o.parameters, lower) + EndTag("object", lower);
}

std::string AppletMarkup(const AppletSpec& a, bool lower) {
    StartTag applet("applet", lower);
    applet.attr("code", a.code).attrIf("codebase", a.codeBase).attrIf("archive", a.archive).attrIf("name", a.name)
        .attrIf("width", a.width).attrIf("height", a.height).attrIf("alt", a.alt);
    return applet.str() + kBreak + ParameterLines(a.parameters, lower) + EndTag("applet", lower);
}

}  // namespace vlr::extdlgs
