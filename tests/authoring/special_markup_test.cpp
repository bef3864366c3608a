// Character entities, lists, the advert banner and variable references.
#include "authoring/markup/SpecialMarkup.h"

#include <gtest/gtest.h>

using namespace vlr::authoring;

TEST(Entities, EveryCharacterMenuCaptionGivesItsCode) {
    const std::pair<const char*, int> items[] = {
        {"<", 60},   {">", 62},   {"\u00a9", 169}, {"\u00ae", 174}, {"tm", 8482}, {"\u00a3", 163},
        {"\u00a2", 162}, {"\u00a5", 165}, {"\u00a4", 164}, {"\u00a7", 167}, {"\u00a6", 166}, {"\u00a8", 168},
        {"\u00aa", 170}, {"\u00ab", 171}, {"\u00bb", 187}, {"\u00b5", 181}, {"\u00bf", 191}, {"\u00b6", 182},
        {"\u00b1", 177}, {"\u00f7", 247}, {"\u00d7", 215}, {"\u00b9", 185}, {"\u00b2", 178}, {"\u00b3", 179},
        {"\u00bc", 188}, {"\u00bd", 189}, {"\u00be", 190}, {"\u00ba", 186}, {"\u00c0", 192}, {"\u00c1", 193},
    };
    for (const auto& [caption, code] : items)
        EXPECT_EQ(EntityCodeOfCaption(caption), code) << caption;
    EXPECT_EQ(EntityMarkup(169), "&#169;");
    EXPECT_EQ(EntityMarkup(8482), "&#8482;");
    EXPECT_EQ(EntityMarkup(kInitialCharCode), "&#60;");
}

TEST(Entities, CaptionsOutsideTheCodePageHaveNoCode) {
    EXPECT_EQ(EntityCodeOfCaption(""), std::nullopt);
    EXPECT_EQ(EntityCodeOfCaption("\u20ac"), std::nullopt);  // three-byte sequence
    EXPECT_EQ(EntityCodeOfCaption("\xc3"), std::nullopt);     // cut short
    EXPECT_EQ(EntityCodeOfCaption("\xc2\x85"), std::nullopt); // a C1 control
    EXPECT_EQ(EntityCodeOfCaption("tmx"), 't');                // only the exact caption is the trade mark
}

TEST(Lists, CaptionsChooseListTypesComparedInLowerCase) {
    const std::pair<const char*, const char*> items[] = {
        {"&Regular", "regular"},       {"Circl&e", "circle"}, {"S&quare", "square"},
        {"&Numbers", "1"},             {"Small &Letters", "a"}, {"Capital Le&tters", "A"},
        {"Roman Numerals (&Small)", "i"}, {"Roman Numerals (&Capital)", "I"},
    };
    for (const auto& [caption, type] : items)
        EXPECT_EQ(ListTypeForCaption(caption), type) << caption;
    EXPECT_EQ(ListTypeForCaption("CAPITAL LE&TTERS"), "A");
    EXPECT_EQ(ListTypeForCaption("Capital Letters"), std::nullopt);  // the ampersand is part of it
}

TEST(Lists, RegularAndTypedListsInBothCases) {
    EXPECT_EQ(ListMarkup("regular", true),
              "<ul>\n\r    <li>bullet 1\n\r    <li>bullet 2\n\r</ul>");
    EXPECT_EQ(ListMarkup("regular", false),
              "<UL>\n\r    <LI>BULLET 1\n\r    <LI>BULLET 2\n\r</UL>");
    // The placeholder texts are fixed parts too; the type value is inserted
    // unchanged, whatever the tag case.
    // Numbering types make an ordered list; bullet shapes stay a bulleted one.
    for (const char* numbered : {"1", "a", "A", "i", "I"})
        EXPECT_EQ(ListMarkup(numbered, true), std::string("<ol type=\"") + numbered +
                                                  "\">\n\r    <li>bullet 1\n\r    <li>bullet 2\n\r</ol>");
    EXPECT_EQ(ListMarkup("1", false), "<OL TYPE=\"1\">\n\r    <LI>BULLET 1\n\r    <LI>BULLET 2\n\r</OL>");
    EXPECT_EQ(ListMarkup("square", true),
              "<ul type=\"square\">\n\r    <li>bullet 1\n\r    <li>bullet 2\n\r</ul>");
    EXPECT_EQ(ListMarkup("circle", false),
              "<UL TYPE=\"circle\">\n\r    <LI>BULLET 1\n\r    <LI>BULLET 2\n\r</UL>");
}

TEST(Advert, OnlyNamesTakeTheTagCase) {
    EXPECT_EQ(AdvertMarkup("https://x.example", true),
              "<a href=\"https://x.example\"><img src=\"https://x.example/banners/button4.gif\" border=0 "
              "width=88 height=31 alt=\"Created With VLR\"></a>");
    EXPECT_EQ(AdvertMarkup("https://x.example", false),
              "<A HREF=\"https://x.example\"><IMG SRC=\"https://x.example/banners/button4.gif\" BORDER=0 "
              "WIDTH=88 HEIGHT=31 ALT=\"Created With VLR\"></A>");
}

TEST(Variables, NameBetweenPercentBrackets) {
    EXPECT_EQ(VariableMarkup("Title"), "<%Title%>");
    EXPECT_EQ(VariableMarkup(""), "<%%>");
}
