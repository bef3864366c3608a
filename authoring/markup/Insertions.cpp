// The insertion table and the font start.
#include "authoring/markup/Insertions.h"

#include <array>
#include <optional>

namespace vlr::authoring {
namespace {

using K = InsertionKind;

#define BR "\n\r"

constexpr Insertion kInsertions[] = {
    // Insert menu and the Tags toolbar's plain buttons
    {"LineBreak2", "LineBreak2Click", K::Fixed, "", "<br>", "no"},
    {"SpeedButton7", "SpeedButton7Click", K::Fixed, "", "<br>", "no"},
    {"Paragraph2", "Paragraph2Click", K::Fixed, "<p>", "</p>", "yes"},
    {"SpeedButton6", "SpeedButton6Click", K::Fixed, "<p>", "</p>", "yes"},
    {"Comment2", "Comment2Click", K::Fixed, "<!-- ", " -->", "yes"},
    {"ToolbarButton974", "ToolbarButton974Click", K::Fixed, "<!-- ", " -->", "yes"},
    // Text Options toolbar
    {"ToolbarButton9723", "ToolbarButton9723Click", K::Fixed, "<b>", "</b>", "yes", "<strong>", "</strong>"},
    {"ToolbarButton9725", "ToolbarButton9725Click", K::Fixed, "<i>", "</i>", "yes", "<em>", "</em>"},
    {"ToolbarButton9724", "ToolbarButton9724Click", K::Fixed, "<u>", "</u>", "yes"},
    {"ToolbarButton9726", "ToolbarButton9726Click", K::Fixed, "<strike>", "</strike>", "yes", "<s>", "</s>"},
    {"ToolbarButton9720", "ToolbarButton9720Click", K::Fixed, "<p align=\"left\">", "</p>", "yes",
     "<p style=\"text-align:left\">", "</p>"},
    {"ToolbarButton9721", "ToolbarButton9721Click", K::Fixed, "<p align=\"center\">", "</p>", "yes",
     "<p style=\"text-align:center\">", "</p>"},
    {"ToolbarButton9722", "ToolbarButton9722Click", K::Fixed, "<p align=\"right\">", "</p>", "yes",
     "<p style=\"text-align:right\">", "</p>"},
    {"ToolbarButton9735", "ToolbarButton9735Click", K::Font, "", "</font>", "yes"},
    // Quick-codes popup, in menu order
    {"H1", "H1Click", K::Fixed, "<br>", "", "no"},
    {"P1", "P1Click", K::Fixed, "<p>", "</p>", "yes"},
    {"FONT1", "FONT1Click", K::Font, "", "</font>", "yes"},
    {"STYLE1", "STYLE1Click", K::Fixed, "<style type=\"text/CSS\"><!--" BR BR, BR "--></style>", "yes",
     "<style>" BR BR, BR "</style>"},
    {"SPAN1", "SPAN1Click", K::Fixed, "<span>", "</span>", "yes"},
    {"EM1", "EM1Click", K::Fixed, "<i>", "</i>", "yes", "<em>", "</em>"},
    {"HR1", "HR1Click", K::Fixed, "<u>", "</u>", "yes"},
    {"TITLE1", "TITLE1Click", K::Fixed, "<title>", "</title>", "yes"},
    {"META1", "META1Click", K::Fixed, "<meta ", ">", "yes"},
    {"E1", "E1Click", K::Fixed, "<!-- ", " -->", "yes"},
    {"StartTag1", "StartTag1Click", K::Fixed, "<", "", "no"},
    {"EndTag1", "EndTag1Click", K::Fixed, ">", "", "no"},
    {"H11", "H11Click", K::Fixed, "<h1>", "</h1>", "yes"},
    {"H21", "H21Click", K::Fixed, "<h2>", "</h2>", "yes"},
    {"H31", "H31Click", K::Fixed, "<h3>", "</h3>", "yes"},
    {"Address1", "Address1Click", K::Fixed, "<address>", "</address>", "yes"},
    {"Center1", "Center1Click", K::Fixed, "<center>", "</center>", "yes", "<div style=\"text-align:center\">",
     "</div>"},
    {"Left1", "Left1Click", K::Fixed, "<p align=\"left\">", "</p>", "yes", "<p style=\"text-align:left\">", "</p>"},
    {"Right1", "Right1Click", K::Fixed, "<p align=\"right\">", "</p>", "yes", "<p style=\"text-align:right\">",
     "</p>"},
    {"Non1", "Non1Click", K::Fixed, "&nbsp;", "", "no"},
    {"BlockQuote1", "BlockQuote1Click", K::Fixed, "<blockquote>", "</blockquote>", "no"},
    {"Script1", "Script1Click", K::Fixed, "<script language=\"", "\"></script>", "yes"},
    {"Link1", "Link1Click", K::Fixed, "<a href=\"", "\">My Link</a>", "yes"},
    {"Body1", "Body1Click", K::Fixed, "<body>", "</body>", "yes"},
    // Form Elements toolbar, and the Tags toolbar's second buttons running the same commands
    {"ToolbarButton9740", "ToolbarButton9740Click", K::Fixed, "",
     "<input type=\"submit\" name=\"B1\" value=\"Submit\">", "no"},
    {"InsertButton1", "ToolbarButton9740Click", K::Fixed, "",
     "<input type=\"submit\" name=\"B1\" value=\"Submit\">", "no"},
    {"ToolbarButton9741", "ToolbarButton9741Click", K::Fixed, "<select name=\"D1\" size=\"1\">", "</select>", "yes"},
    {"InsertCombobox1", "ToolbarButton9741Click", K::Fixed, "<select name=\"D1\" size=\"1\">", "</select>", "yes"},
    {"ToolbarButton9742", "ToolbarButton9742Click", K::Fixed, "", "<input type=\"checkbox\" name=\"C1\">", "no"},
    {"InsertCheckBox1", "ToolbarButton9742Click", K::Fixed, "", "<input type=\"checkbox\" name=\"C1\">", "no"},
    {"ToolbarButton9743", "ToolbarButton9743Click", K::Fixed, "<textarea name=\"S1\" rows=\"2\" cols=\"20\">",
     "</textarea>", "yes"},
    {"InsertMemo1", "ToolbarButton9743Click", K::Fixed, "<textarea name=\"S1\" rows=\"2\" cols=\"20\">",
     "</textarea>", "yes"},
    {"ToolbarButton9744", "ToolbarButton9744Click", K::Fixed, "", "<input type=\"text\" size=\"20\" name=\"T1\">",
     "no"},
    {"InsertEditBox1", "ToolbarButton9744Click", K::Fixed, "", "<input type=\"text\" size=\"20\" name=\"T1\">",
     "no"},
    {"ToolbarButton9738", "ToolbarButton9738Click", K::Fixed, "",
     "<input type=\"radio\" checked name=\"R1\" value=\"V1\">", "no"},
    {"InsertRadioButton1", "ToolbarButton9738Click", K::Fixed, "",
     "<input type=\"radio\" checked name=\"R1\" value=\"V1\">", "no"},
};

#undef BR

// The CSS keyword of an HTML font size: 1 to 7, or -3 to +3 relative to 3.
std::optional<std::string_view> CssSizeKeyword(std::string_view size) {
    static constexpr std::array<std::string_view, 7> kKeywords = {
        "x-small", "small", "medium", "large", "x-large", "xx-large", "xxx-large"};
    if (size.size() == 1 && size[0] >= '1' && size[0] <= '7')
        return kKeywords[static_cast<std::size_t>(size[0] - '1')];
    if (size.size() == 2 && (size[0] == '+' || size[0] == '-') && size[1] >= '0' && size[1] <= '6') {
        int n = 3 + (size[0] == '+' ? 1 : -1) * (size[1] - '0');
        n = n < 1 ? 1 : n > 7 ? 7 : n;
        return kKeywords[static_cast<std::size_t>(n - 1)];
    }
    return std::nullopt;
}

// A family name with blanks goes in single quotes (the attribute itself is in double quotes).
std::string CssFamily(std::string_view face) {
    if (face.find(' ') == std::string_view::npos)
        return std::string(face);
    return "'" + std::string(face) + "'";
}

}  // namespace

std::span<const Insertion> Insertions() { return kInsertions; }

const Insertion* FindInsertion(std::string_view command) {
    for (const Insertion& row : kInsertions)
        if (command == row.command)
            return &row;
    return nullptr;
}

std::string FontStart(std::string_view face, std::string_view size, bool modern) {
    if (!modern)
        return "<font face=\"" + std::string(face) + "\" size=" + std::string(size) + ">";
    std::string style;
    if (!face.empty())
        style += "font-family:" + CssFamily(face);
    if (!size.empty()) {
        if (!style.empty())
            style += ";";
        auto keyword = CssSizeKeyword(size);
        style += "font-size:" + std::string(keyword ? *keyword : size);
    }
    return style.empty() ? std::string("<span>") : "<span style=\"" + style + "\">";
}

std::string FontEnd(bool modern) { return modern ? "</span>" : "</font>"; }

Markup MarkupOf(const Insertion& row, bool modern, std::string_view fontFace, std::string_view fontSize) {
    if (row.kind == InsertionKind::Font)
        return {FontStart(fontFace, fontSize, modern), FontEnd(modern), row.flag};
    if (modern && row.modernStart)
        return {row.modernStart, row.modernEnd ? row.modernEnd : row.end, row.flag};
    return {row.start, row.end, row.flag};
}

}  // namespace vlr::authoring
