// A scheme compiled from script text drives the highlighter: golden token values of a small
// page, and the same values after the tables went through their stored form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memo/engine/MemoEngine.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/SchemeCompiler.h"
#include "memo/engine/scheme/StoredForm.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

namespace {

constexpr const char* kMiniHtml = R"(
%%language
name = 'Mini HTML'
case = __insensitive
startstate = [0]
anchor = [0, 1, 9]
contextstates = (3 5 6 7 8 [1]), (11 [2])

%%words
'<' '' 1
'>' '' 2 [1]
'body' '[^a-z0-9]' 3 [1]
'href' '[^a-z0-9]' 5 [1]
'=' '' 6 [1]
'&' '' 4
'http://' '' 18 [1]
'<!--' '' 9
'-->' '' 10 [2]

%%handlers
4 '[a-z#0-9]' ';' 1
18 1 '' 0

%%tokens
InState 1 (
  7 '"' 0 ? '"' 1
  8 __STD_IDENTIFIER
)
InState 2 (
  11 '[^\-]' '[^\-]' ? '-' 0
  11 '-' '[^>]' ? '' 0
)

%%states
1 ( +1 -0 )
2 ( -1 +0 )
9 ( +2 -0 )
10 ( -2 +0 )

%%map
1 21 2 21 3 21 5 5 7 2 9 11 10 11 11 11 4 16 18 18

%%effects
21 [] clMaroon clWhite *
5 [] clMaroon clWhite *
2 [] clGray clWhite *
11 [fsItalic] clPurple clWhite *
16 [] clGreen clWhite *
18 [fsUnderline] clNavy clWhite * 'hotspot'
)";

constexpr const char* kPage = "<BODY>\r<!-- a - b\rc -->\r<a href=\"x\" rel=http://e.org/p>&amp; &x</a>";

std::vector<std::uint8_t> Values(vlr::TSyntaxMemoParser& p) {
  velora::memo::MemoEngine e;
  e.setText(kPage);
  vlr::AttachHighlighter(e, p);
  while (e.HighlightSlice(100000)) {
  }
  return e.tokens(0, e.length());
}

TEST(CompiledScheme, GoldenValuesOfASmallPage) {
  vlr::TSyntaxMemoParser p;
  p.SetTables(vlr::CompileSchemeText(kMiniHtml));
  const std::vector<std::uint8_t> got = Values(p);
  const std::vector<int> want = {
      1, 3, 3, 3, 3, 2, 0,                                        // <BODY> (letter case ignored)
      9, 9, 9, 9, 11, 11, 11, 11, 11, 11, 11,                     // <!-- a - b and the break
      11, 11, 10, 10, 10, 0,                                      // c -->
      1, 8, 0, 5, 5, 5, 5, 6, 7, 7, 7, 0,                         // <a href="x"
      8, 8, 8, 6, 18, 18, 18, 18, 18, 18, 18, 18, 18, 18, 18, 18, 18, 18,  // rel=http://e.org/p
      2, 4, 4, 4, 4, 4, 0, 0, 0,                                  // >&amp; &x (no ";": not an entity)
      1, 0, 8, 2};                                                // </a>
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(int(got[i]), want[i]) << "at " << i;
  const velora::memo::StyleEffect url = p.styleOf(18);
  EXPECT_TRUE(url.hotspot);
  EXPECT_TRUE(url.underline);
  EXPECT_TRUE(p.styleOf(11).italic);
  EXPECT_FALSE(p.styleOf(11).defaultForeground);
}

TEST(CompiledScheme, StoredFormGivesTheSameValues) {
  const vlr::TSchemeTables compiled = vlr::CompileSchemeText(kMiniHtml);
  const vlr::TStoredFormResult loaded = vlr::ReadStoredForm(vlr::WriteStoredForm(compiled), "SyntaxMemoParser1");
  ASSERT_TRUE(loaded.Ok()) << loaded.message;
  vlr::TSyntaxMemoParser a, b;
  a.SetTables(compiled);
  b.SetTables(*loaded.tables);
  EXPECT_EQ(Values(a), Values(b));
}

}  // namespace
