// Find and replace in files on a fixture project: masks, hits with file, line and line text,
// expressions, replacement that keeps each file's line breaks, and unreadable files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "memo/engine/search/FileSearch.h"

using namespace velora::memo;
namespace fs = std::filesystem;

namespace {

class FileSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("vlr-file-search-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "sub");
    write("index.html", "<html>\r\n<p>Teh first page</p>\r\n<a href=\"a.html\">a</a> <a href=\"b.html\">b</a>\r\n");
    write("sub/news.htm", "<p>news\n<p>teh second\n");
    write("notes.txt", "teh notes\n");
    write("empty.html", "");
  }
  void TearDown() override { fs::remove_all(root); }
  void write(const std::string& name, const std::string& text) {
    std::ofstream(root / name, std::ios::binary) << text;
  }
  std::string read(const std::string& name) {
    std::ifstream in(root / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string path(const std::string& name) const { return (root / name).string(); }
  fs::path root;
};

}  // namespace

TEST(FileMask, WildcardsSeparatedBySemicolons) {
  EXPECT_TRUE(MatchesFileMask("index.html", "*.htm;*.html"));
  EXPECT_TRUE(MatchesFileMask("INDEX.HTM", "*.htm; *.html"));
  EXPECT_FALSE(MatchesFileMask("index.html.bak", "*.htm;*.html"));
  EXPECT_TRUE(MatchesFileMask("a1.hts", "a?.hts"));
  EXPECT_FALSE(MatchesFileMask("a12.hts", "a?.hts"));
  EXPECT_TRUE(MatchesFileMask("anything", ""));
}

TEST_F(FileSearchTest, ListsAndSearchesTheProjectFiles) {
  const auto files = ListFiles(root.string(), "*.htm;*.html");
  ASSERT_EQ(files, (std::vector<std::string>{path("empty.html"), path("index.html"), path("sub/news.htm")}));
  EXPECT_EQ(ListFiles(root.string(), "*.html", false).size(), 2u);
  TFileSearch s("teh", 0);
  const auto hits = s.searchFiles(files);
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(hits[0], (FileHit{path("index.html"), 2, 4, 10, 13, "<p>Teh first page</p>"}));
  EXPECT_EQ(hits[1].file, path("sub/news.htm"));
  EXPECT_EQ(hits[1].line, 2);
  EXPECT_EQ(hits[1].lineText, "<p>teh second");
  EXPECT_EQ(TFileSearch("teh", kSearchMatchCase).searchFiles(files).size(), 1u);
}

TEST_F(FileSearchTest, ExpressionsMatchAsInTheEditor) {
  TFileSearch s("<a href=\\\"[^\"]*\\\"", kSearchRegExp);
  std::vector<FileHit> hits;
  s.searchText("index.html", read("index.html"), hits);
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(hits[0].line, 3);
  EXPECT_EQ(hits[0].column, 1);
  EXPECT_EQ(hits[1].column, 24);
  EXPECT_EQ(hits[1].end - hits[1].start, 16);
  // "\n" is the line break, whatever the file uses.
  TFileSearch br("news\\n<p>", kSearchRegExp);
  std::vector<FileHit> h2;
  br.searchText("news", read("sub/news.htm"), h2);
  EXPECT_EQ(h2.size(), 1u);
  EXPECT_THROW(TFileSearch("a**", kSearchRegExp), ERegExprError);
  // A file where the expression runs out of steps is named with the line where it stopped.
  TFileSearch hard("(a|aa)*c", kSearchRegExp);
  std::vector<FileHit> h3;
  hard.searchText("long.html", "<p>é</p>\r\n<p>c</p>\n" + std::string(60, 'a'), h3);
  EXPECT_EQ(h3.size(), 1u);
  ASSERT_EQ(hard.stopped().size(), 1u);
  EXPECT_EQ(hard.stopped()[0].file, "long.html");
  EXPECT_EQ(hard.stopped()[0].line, 3);
}

TEST_F(FileSearchTest, ReplaceInFilesKeepsLineBreaksAndWritesWholeFiles) {
  TFileSearch s("teh", 0);
  std::vector<std::string> errors;
  const auto files = ListFiles(root.string(), "");
  const auto done = s.replaceInFiles(files, "the", &errors);
  EXPECT_TRUE(errors.empty());
  ASSERT_EQ(done.size(), 3u);
  EXPECT_EQ(read("index.html"), "<html>\r\n<p>the first page</p>\r\n<a href=\"a.html\">a</a> <a href=\"b.html\">b</a>\r\n");
  EXPECT_EQ(read("sub/news.htm"), "<p>news\n<p>the second\n");
  EXPECT_FALSE(fs::exists(path("index.html.vlrtmp")));
  // A replacement spanning a break is written with the file's own breaks.
  TFileSearch span("news\\n", kSearchRegExp);
  int n = 0;
  EXPECT_EQ(span.replaceIn("news\r\nx", "a\rb\r", &n), "a\r\nb\r\nx");
  EXPECT_EQ(n, 1);
  // A missing file is reported; the others are still done.
  errors.clear();
  TFileSearch p("page", 0);
  const auto d2 = p.replaceInFiles({path("missing.html"), path("index.html")}, "sheet", &errors);
  EXPECT_EQ(errors, std::vector<std::string>{path("missing.html")});
  ASSERT_EQ(d2.size(), 1u);
  EXPECT_EQ(d2[0].count, 1);
}
