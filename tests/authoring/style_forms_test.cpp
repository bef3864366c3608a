// The three forms of a style, byte for byte.
#include "authoring/styles/StyleForms.h"

#include <gtest/gtest.h>

using namespace vlr::authoring;

namespace {

// Every text different, so a value in the wrong place shows.
void Fill(TStyleSheet& s) {
    const char* texts[] = {"H1x", "note", "Arial", "12", "pt", "1.5", "em", "italic", "underline", "overline",
                           "bold", "2", "px", "3", "mm", "4", "cm", "center", "#FF0000", "1px", "white"};
    for (int i = 0; i < kStyleTextCount; ++i)
        s.S[static_cast<std::size_t>(i)] = texts[i];
}

const std::string kLines =
    "   font-size: 12pt;\r"
    "   font-family: Arial;\r"
    "   font-weight: bold;\r"
    "   font-style: italic;\r"
    "   line-height: 1.5em;\r";
const std::string kTail =
    "   text-indent: 2px;\r"
    "   margin-left: 3mm;\r"
    "   margin-right: 4cm;\r"
    "   color: #FF0000;\r"
    "   background: white\r";

}  // namespace

TEST(StyleForms, FullStyleTagUsesS9AndTagCaseForTheTwoWordsOnly) {
    TCSSList list;
    Fill(*list.Add());
    const std::string rule = ".H1x {\r" + kLines + "   text-decoration: overline;\r" + kTail + "}\r\r";
    EXPECT_EQ(StyleText(*list.Items(0), StyleForm::FullStyleTag, true),
              "<style type=\"text/css\"><!--\r\r" + rule + "--></style>\r");
    EXPECT_EQ(StyleText(*list.Items(0), StyleForm::FullStyleTag, false),
              "<STYLE TYPE=\"text/css\"><!--\r\r" + rule + "--></STYLE>\r");
    EXPECT_EQ(StyleText(*list.Items(0), StyleForm::FullStyleTag, true, true), "<style>\r\r" + rule + "</style>\r");
}

TEST(StyleForms, DefinitionUsesS8) {
    TCSSList list;
    Fill(*list.Add());
    EXPECT_EQ(StyleText(*list.Items(0), StyleForm::StyleDefinition, false),
              ".H1x {\r" + kLines + "   text-decoration: underline;\r" + kTail + "}\r\r");
}

TEST(StyleForms, AttributeIsOneLineWithItsLeadingBlank) {
    TCSSList list;
    Fill(*list.Add());
    EXPECT_EQ(StyleText(*list.Items(0), StyleForm::StyleAttribute, true),
              " style=\"font-size: 12pt; font-family: Arial; font-weight: bold; font-style: italic; "
              "line-height: 1.5em; text-decoration: underline; text-indent: 2px; margin-left: 3mm; "
              "margin-right: 4cm; color: #FF0000; background: white\"");
}

TEST(StyleForms, OnlyThePropertiesThatAreSetAreWritten) {
    TCSSList list;
    TStyleSheet& s = *list.Add();
    s.S[0] = "note";
    s.S[3] = "12";
    s.S[4] = "pt";
    s.S[6] = "em";  // a unit without its number sets nothing
    s.S[18] = "#336699";
    EXPECT_EQ(StyleText(s, StyleForm::StyleDefinition, true), ".note {\r   font-size: 12pt;\r   color: #336699\r}\r\r");
    EXPECT_EQ(StyleText(s, StyleForm::StyleAttribute, false), " STYLE=\"font-size: 12pt; color: #336699\"");
    TStyleSheet& empty = *list.Add();
    empty.S[0] = "plain";
    EXPECT_EQ(StyleText(empty, StyleForm::StyleDefinition, true), ".plain {\r}\r\r");
    EXPECT_EQ(StyleText(empty, StyleForm::StyleAttribute, true), " style=\"\"");
}

TEST(StyleForms, SelectorsFromStyleNames) {
    EXPECT_EQ(CssSelector("note"), ".note");
    EXPECT_EQ(CssSelector("  Big Heading "), ".Big-Heading");
    EXPECT_EQ(CssSelector("New Style 2"), ".New-Style-2");
    EXPECT_EQ(CssSelector("2col"), ".\\32 col");
    // Names that are selectors already stay as the user wrote them.
    for (const char* kept : {"h1", "P", ".note", "#top", "*", "nav a", "ul li.first", "a:hover", "h1, h2", "div > p"})
        EXPECT_EQ(CssSelector(kept), kept);
    EXPECT_EQ(CssSelector("   "), "");
    EXPECT_EQ(CssSelector("!!"), "");
}

TEST(StyleForms, DuplicatesInsertTheFirstUnknownNamesNothing) {
    TCSSList list;
    for (const char* colour : {"red", "blue"}) {
        TStyleSheet* s = list.Add();
        s->S[0] = "Same";
        s->S[18] = colour;
    }
    const std::string first = StyleTextByName(list, "Same", StyleForm::StyleAttribute, true);
    EXPECT_NE(first.find("color: red"), std::string::npos);
    EXPECT_EQ(StyleTextByName(list, "same", StyleForm::StyleAttribute, true), "");
}
