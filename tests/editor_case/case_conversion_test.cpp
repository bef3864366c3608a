// Conversion functions: the four dialog choices, the word rule and sentence case.
#include "editor/case/CaseConversion.h"

#include <gtest/gtest.h>

#include <string>

namespace vlr {
namespace {

struct Row {
    std::string text, lower, upper, toggle, title;
};

void ExpectRow(const Row& row) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(CaseLower(row.text), row.lower);
    EXPECT_EQ(CaseCapitals(row.text), row.upper);
    EXPECT_EQ(CaseToggle(row.text), row.toggle);
    EXPECT_EQ(CaseTitle(row.text), row.title);
    EXPECT_EQ(ConvertCase(row.text, CaseChoice::Lower), row.lower);
    EXPECT_EQ(ConvertCase(row.text, CaseChoice::Upper), row.upper);
    EXPECT_EQ(ConvertCase(row.text, CaseChoice::Toggle), row.toggle);
    EXPECT_EQ(ConvertCase(row.text, CaseChoice::Title), row.title);
}

TEST(CaseTable, MixedCaseWords) {
    ExpectRow({"hello WORLD", "hello world", "HELLO WORLD", "hELLO wORLD", "Hello World"});
}

TEST(CaseTable, ApostropheKeepsTheWordGoing) {
    ExpectRow({"don't stop", "don't stop", "DON'T STOP", "dON'T sTOP", "Don't Stop"});
    EXPECT_EQ(CaseTitle("o'neil"), "O'neil");
    // An apostrophe before any letter leaves the flag set for the first letter.
    EXPECT_EQ(CaseTitle("'tis"), "'Tis");
    EXPECT_EQ(CaseToggle("'TIS"), "'tIS");
}

TEST(CaseTable, DigitsAndHyphensEndWords) {
    ExpectRow({"x-ray 2nd", "x-ray 2nd", "X-RAY 2ND", "x-rAY 2nD", "X-Ray 2Nd"});
    EXPECT_EQ(CaseTitle("a.b_c(d)e"), "A.B_C(D)E");
}

TEST(CaseTable, Utf8BytesAreCopiedAndEndWords) {
    // "é" is the two bytes C3 A9; neither changes, and each sets the flag.
    ExpectRow({"\xC3\xA9lan vital", "\xC3\xA9lan vital", "\xC3\xA9LAN VITAL", "\xC3\xA9lAN vITAL",
               "\xC3\xA9Lan Vital"});
    // Upper-case accented letters are not lowered either.
    EXPECT_EQ(CaseLower("\xC3\x89LAN"), "\xC3\x89lan");
    // A multi-byte letter inside a word splits it.
    EXPECT_EQ(CaseTitle("caf\xC3\xA9s"), "Caf\xC3\xA9S");
}

TEST(CaseTable, EveryLineBreakStartsAWord) {
    ExpectRow({"one TWO\nthree\r\nfour", "one two\nthree\r\nfour", "ONE TWO\nTHREE\r\nFOUR",
               "oNE tWO\ntHREE\r\nfOUR", "One Two\nThree\r\nFour"});
    EXPECT_EQ(CaseTitle("end.\rnext"), "End.\rNext");
}

TEST(CaseTable, EmptyTextGivesEmptyResult) {
    ExpectRow({"", "", "", "", ""});
    EXPECT_EQ(CaseSentence(""), "");
}

TEST(CaseBytes, OnlyAsciiLettersChange) {
    // Every byte value once: bytes other than A-Z and a-z survive all conversions.
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::string converted[] = {CaseLower(all), CaseCapitals(all), CaseToggle(all), CaseTitle(all),
                                     CaseSentence(all)};
    for (const std::string& out : converted) {
        ASSERT_EQ(out.size(), all.size());
        for (int b = 0; b < 256; ++b) {
            char c = static_cast<char>(b);
            bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
            if (!letter)
                EXPECT_EQ(out[b], c) << "byte " << b;
            else
                EXPECT_EQ(out[b] | 0x20, c | 0x20) << "byte " << b;
        }
    }
    // Embedded zero bytes are text like any other and also end a word.
    EXPECT_EQ(CaseTitle(std::string("ab\0cd", 5)), std::string("Ab\0Cd", 5));
}

TEST(CaseSentence, OnlyTheFirstLetterOfTheWholeTextIsCapital) {
    EXPECT_EQ(CaseSentence("hello WORLD. NEXT one"), "Hello world. next one");
    EXPECT_EQ(CaseSentence("  \n'quoted' TEXT"), "  \n'Quoted' text");
    EXPECT_EQ(CaseSentence("2ND place"), "2Nd place");
    EXPECT_EQ(CaseSentence("\xC3\xA9LAN"), "\xC3\xA9Lan");
    EXPECT_EQ(CaseSentence("123 !?"), "123 !?");
}

}  // namespace
}  // namespace vlr
