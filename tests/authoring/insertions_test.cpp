// The insertion table: every row's exact markup and flag, legacy and modern,
// and the font start.
#include "authoring/markup/Insertions.h"
#include "authoring/markup/TagCase.h"

#include <gtest/gtest.h>

#include <set>

using namespace vlr::authoring;

namespace {

struct Expected {
    const char* command;
    const char* start;
    const char* end;
    const char* flag;
};

// The markup each command sends, written out once more by hand.
const Expected kLegacy[] = {
    {"LineBreak2", "", "<br>", "no"},
    {"SpeedButton7", "", "<br>", "no"},
    {"Paragraph2", "<p>", "</p>", "yes"},
    {"SpeedButton6", "<p>", "</p>", "yes"},
    {"Comment2", "<!-- ", " -->", "yes"},
    {"ToolbarButton974", "<!-- ", " -->", "yes"},
    {"ToolbarButton9723", "<b>", "</b>", "yes"},
    {"ToolbarButton9725", "<i>", "</i>", "yes"},
    {"ToolbarButton9724", "<u>", "</u>", "yes"},
    {"ToolbarButton9726", "<strike>", "</strike>", "yes"},
    {"ToolbarButton9720", "<p align=\"left\">", "</p>", "yes"},
    {"ToolbarButton9721", "<p align=\"center\">", "</p>", "yes"},
    {"ToolbarButton9722", "<p align=\"right\">", "</p>", "yes"},
    {"H1", "<br>", "", "no"},
    {"P1", "<p>", "</p>", "yes"},
    {"STYLE1", "<style type=\"text/CSS\"><!--\x0a\x0d\x0a\x0d", "\x0a\x0d--></style>", "yes"},
    {"SPAN1", "<span>", "</span>", "yes"},
    {"EM1", "<i>", "</i>", "yes"},
    {"HR1", "<u>", "</u>", "yes"},
    {"TITLE1", "<title>", "</title>", "yes"},
    {"META1", "<meta ", ">", "yes"},
    {"E1", "<!-- ", " -->", "yes"},
    {"StartTag1", "<", "", "no"},
    {"EndTag1", ">", "", "no"},
    {"H11", "<h1>", "</h1>", "yes"},
    {"H21", "<h2>", "</h2>", "yes"},
    {"H31", "<h3>", "</h3>", "yes"},
    {"Address1", "<address>", "</address>", "yes"},
    {"Center1", "<center>", "</center>", "yes"},
    {"Left1", "<p align=\"left\">", "</p>", "yes"},
    {"Right1", "<p align=\"right\">", "</p>", "yes"},
    {"Non1", "&nbsp;", "", "no"},
    {"BlockQuote1", "<blockquote>", "</blockquote>", "no"},
    {"Script1", "<script language=\"", "\"></script>", "yes"},
    {"Link1", "<a href=\"", "\">My Link</a>", "yes"},
    {"Body1", "<body>", "</body>", "yes"},
    {"ToolbarButton9740", "", "<input type=\"submit\" name=\"B1\" value=\"Submit\">", "no"},
    {"ToolbarButton9741", "<select name=\"D1\" size=\"1\">", "</select>", "yes"},
    {"ToolbarButton9742", "", "<input type=\"checkbox\" name=\"C1\">", "no"},
    {"ToolbarButton9743", "<textarea name=\"S1\" rows=\"2\" cols=\"20\">", "</textarea>", "yes"},
    {"ToolbarButton9744", "", "<input type=\"text\" size=\"20\" name=\"T1\">", "no"},
    {"ToolbarButton9738", "", "<input type=\"radio\" checked name=\"R1\" value=\"V1\">", "no"},
};

// Commands whose markup changes under "Write modern HTML".
const Expected kModern[] = {
    {"ToolbarButton9723", "<strong>", "</strong>", "yes"},
    {"ToolbarButton9725", "<em>", "</em>", "yes"},
    {"EM1", "<em>", "</em>", "yes"},
    {"ToolbarButton9726", "<s>", "</s>", "yes"},
    {"ToolbarButton9720", "<p style=\"text-align:left\">", "</p>", "yes"},
    {"Left1", "<p style=\"text-align:left\">", "</p>", "yes"},
    {"ToolbarButton9721", "<p style=\"text-align:center\">", "</p>", "yes"},
    {"ToolbarButton9722", "<p style=\"text-align:right\">", "</p>", "yes"},
    {"Right1", "<p style=\"text-align:right\">", "</p>", "yes"},
    {"Center1", "<div style=\"text-align:center\">", "</div>", "yes"},
    {"STYLE1", "<style>\n\r\n\r", "\n\r</style>", "yes"},
};

Markup Of(const char* command, bool modern) {
    const Insertion* row = FindInsertion(command);
    EXPECT_NE(row, nullptr) << command;
    return row ? MarkupOf(*row, modern) : Markup{};
}

}  // namespace

TEST(Insertions, EveryFixedCommandSendsItsMarkupAndFlag) {
    for (const Expected& e : kLegacy)
        EXPECT_EQ(Of(e.command, false), (Markup{e.start, e.end, e.flag})) << e.command;
}

TEST(Insertions, ModernMarkupReplacesOnlyTheMappedCommands) {
    std::set<std::string> mapped;
    for (const Expected& e : kModern) {
        EXPECT_EQ(Of(e.command, true), (Markup{e.start, e.end, e.flag})) << e.command;
        mapped.insert(e.command);
    }
    for (const Expected& e : kLegacy)
        if (!mapped.count(e.command)) {
            EXPECT_EQ(Of(e.command, true), Of(e.command, false)) << e.command;
        }
}

TEST(Insertions, SecondFormButtonsRunTheFormToolbarsCommands) {
    const std::pair<const char*, const char*> twins[] = {
        {"InsertButton1", "ToolbarButton9740"},   {"InsertCombobox1", "ToolbarButton9741"},
        {"InsertCheckBox1", "ToolbarButton9742"}, {"InsertMemo1", "ToolbarButton9743"},
        {"InsertEditBox1", "ToolbarButton9744"},  {"InsertRadioButton1", "ToolbarButton9738"},
    };
    for (const auto& [twin, original] : twins) {
        EXPECT_EQ(Of(twin, false), Of(original, false)) << twin;
        EXPECT_EQ(std::string(FindInsertion(twin)->handler), std::string(original) + "Click");
    }
}

TEST(Insertions, CommandsAreUniqueAndUnknownNamesAreNotInsertions) {
    std::set<std::string> names;
    for (const Insertion& row : Insertions())
        EXPECT_TRUE(names.insert(row.command).second) << row.command;
    EXPECT_EQ(FindInsertion("Image1"), nullptr);
    EXPECT_EQ(FindInsertion(""), nullptr);
}

TEST(Insertions, QuickCodesAreInPopupOrder) {
    const char* order[] = {"H1",  "P1",  "FONT1", "STYLE1",  "SPAN1",   "EM1",      "HR1",   "TITLE1",
                           "META1", "E1", "StartTag1", "EndTag1", "H11", "H21", "H31", "Address1",
                           "Center1", "Left1", "Right1", "Non1", "BlockQuote1", "Script1", "Link1", "Body1"};
    auto rows = Insertions();
    auto it = rows.begin();
    for (const char* name : order) {
        while (it != rows.end() && std::string(it->command) != name)
            ++it;
        ASSERT_NE(it, rows.end()) << name << " missing or out of order";
    }
}

TEST(Insertions, FontStartTakesTheBoxTextsAsTyped) {
    EXPECT_EQ(FontStart("Arial", "-1", false), "<font face=\"Arial\" size=-1>");
    EXPECT_EQ(FontStart("", "", false), "<font face=\"\" size=>");
    EXPECT_EQ(MarkupOf(*FindInsertion("FONT1"), false, "Verdana", "+2"),
              (Markup{"<font face=\"Verdana\" size=+2>", "</font>", "yes"}));
    EXPECT_EQ(MarkupOf(*FindInsertion("ToolbarButton9735"), false, "Verdana", "7").start,
              "<font face=\"Verdana\" size=7>");
}

TEST(Insertions, ModernFontIsASpanWithCssSizes) {
    EXPECT_EQ(FontStart("Arial", "-1", true), "<span style=\"font-family:Arial;font-size:small\">");
    EXPECT_EQ(FontStart("Times New Roman", "+3", true),
              "<span style=\"font-family:'Times New Roman';font-size:xx-large\">");
    EXPECT_EQ(FontStart("Arial", "-3", true), "<span style=\"font-family:Arial;font-size:x-small\">");
    EXPECT_EQ(FontStart("Arial", "7", true), "<span style=\"font-family:Arial;font-size:xxx-large\">");
    EXPECT_EQ(FontStart("Arial", "12pt", true), "<span style=\"font-family:Arial;font-size:12pt\">");
    EXPECT_EQ(FontStart("", "+1", true), "<span style=\"font-size:large\">");
    EXPECT_EQ(FontStart("Arial", "", true), "<span style=\"font-family:Arial\">");
    EXPECT_EQ(FontStart("", "", true), "<span>");
    EXPECT_EQ(MarkupOf(*FindInsertion("FONT1"), true, "Arial", "+1").end, "</span>");
}

TEST(TagCaseRule, ChangesAsciiLettersOnlyAttributeValuesIncluded) {
    EXPECT_EQ(TagCase("<p align=\"left\">", false), "<P ALIGN=\"LEFT\">");
    EXPECT_EQ(TagCase("<P ALIGN=\"LEFT\">", true), "<p align=\"left\">");
    // Bytes of UTF-8 sequences and everything else pass through.
    EXPECT_EQ(TagCase("\xc3\xa9z\xc3\x89Z\n\r1-", false), "\xc3\xa9Z\xc3\x89Z\n\r1-");
    EXPECT_EQ(TagCase("\xc3\xa9z\xc3\x89Z", true), "\xc3\xa9z\xc3\x89z");
    EXPECT_EQ(TagCase("", false), "");
}
