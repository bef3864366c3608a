// "Help on Keyword": the look-up of a word in an index page.
#include "editor/window/HelpKeyword.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class KeywordLookupTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("vlr_keywords_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        help = dir.string() + "/";
        std::ofstream(dir / "keywords.html")
            << "<!DOCTYPE html><html><body>\n"
               "<nav><a href=\"index.html\">Contents</a><a href=\"search.html\">Tables of results</a></nav>\n"
               "<ul>\n"
               "<li><a href=\"authoring.html#tables\">Tables and cells</a></li>\n"
               "<li><a href=\"authoring.html#tags\">&lt;table&gt;</a></li>\n"
               "<li><a href=\"authoring.html#text\">&lt;b&gt;</a></li>\n"
               "<li><a href=\"mainwindow.html#view\">Animation of menus</a></li>\n"
               "<li><a href=\"files.html#save\">Save P&amp;roject</a></li>\n"
               "<li><a href=\"authoring.html#quick\">&amp;nbsp;</a></li>\n"
               "<li><a href=\"authoring.html#entities\">Copyright sign &#169;</a></li>\n"
               "<li><a href=\"search.html#expressions\"><em>Regular</em> expressions</a></li>\n"
               "</ul></body></html>\n";
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Page(const std::string& target) const { return "file://" + help + target; }

    fs::path dir;
    std::string help;
};

TEST_F(KeywordLookupTest, AnExactKeyWinsOverAnEarlierPartialOneAndLetterCaseDoesNotCount) {
    // "table" starts "Tables and cells" (listed first), but "<table>" is the word itself.
    EXPECT_EQ(vlr::HelpPageFor("table", help), Page("authoring.html#tags"));
    EXPECT_EQ(vlr::HelpPageFor("TABLE", help), Page("authoring.html#tags"));
    EXPECT_EQ(vlr::HelpPageFor("  <Table>\n", help), Page("authoring.html#tags"));
    EXPECT_EQ(vlr::HelpPageFor("</table>", help), Page("authoring.html#tags"));
    EXPECT_EQ(vlr::HelpPageFor("B", help), Page("authoring.html#text"));
    // A command's caption as the menu shows it: access key and dots ignored.
    EXPECT_EQ(vlr::HelpPageFor("Table...", help), Page("authoring.html#tags"));
    EXPECT_EQ(vlr::HelpPageFor("Save P&roject", help), Page("files.html#save"));
    EXPECT_EQ(vlr::HelpPageFor("save project", help), Page("files.html#save"));
}

TEST_F(KeywordLookupTest, PartialWordsFindTheStartOfAnEntryThenTheStartOfAWordInIt) {
    EXPECT_EQ(vlr::HelpPageFor("anim", help), Page("mainwindow.html#view"));
    EXPECT_EQ(vlr::HelpPageFor("menus", help), Page("mainwindow.html#view"));
    EXPECT_EQ(vlr::HelpPageFor("express", help), Page("search.html#expressions"));  // markup inside the entry
    EXPECT_EQ(vlr::HelpPageFor("\u00a9", help), Page("authoring.html#entities"));   // a decoded entity
    EXPECT_EQ(vlr::HelpPageFor("&nbsp;", help), Page("authoring.html#quick"));
    // Inside a word is no match: "nimation" is not the start of a word, and
    // the navigation bar above the list is not part of the index.
    EXPECT_EQ(vlr::HelpPageFor("nimation", help), Page("keywords.html?q=nimation"));
    EXPECT_EQ(vlr::HelpPageFor("results", help), Page("keywords.html?q=results"));
}

TEST_F(KeywordLookupTest, AnUnknownWordOpensTheIndexShowingTheWordAndNothingBreaksTheAddress) {
    EXPECT_EQ(vlr::HelpPageFor("frobnicate", help), Page("keywords.html?q=frobnicate"));
    EXPECT_EQ(vlr::HelpPageFor(" two words&x=<\"> ", help),
              Page("keywords.html?q=two%20words%26x%3D%3C%22%3E"));
    EXPECT_EQ(vlr::HelpPageFor("caf\u00e9", help), Page("keywords.html?q=caf%C3%A9"));
    // Nothing selected, or only blanks: the index itself.
    EXPECT_EQ(vlr::HelpPageFor("", help), Page("keywords.html"));
    EXPECT_EQ(vlr::HelpPageFor(" \t", help), Page("keywords.html"));
    // Without an index every word leads to where the index would be.
    fs::remove(dir / "keywords.html");
    EXPECT_EQ(vlr::HelpPageFor("table", help), Page("keywords.html"));
}

TEST(HelpKey, TagsAccessKeysAndDotsAreLeftOutButEntitiesAndAmpersandsInTextStay) {
    EXPECT_EQ(vlr::HelpKey("<BlockQuote>"), "blockquote");
    EXPECT_EQ(vlr::HelpKey("&Save Project &As..."), "save project as");
    EXPECT_EQ(vlr::HelpKey("&&nbsp"), "&nbsp");
    EXPECT_EQ(vlr::HelpKey("&nbsp;"), "&nbsp;");
    EXPECT_EQ(vlr::HelpKey("Search & replace"), "search & replace");
    EXPECT_EQ(vlr::HelpKey("<"), "<");
    EXPECT_EQ(vlr::HelpKey("..."), "...");
}

}  // namespace
