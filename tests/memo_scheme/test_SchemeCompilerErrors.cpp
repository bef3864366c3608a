// Tests of the scheme compiler's errors: texts, positions, context, and that a failed compile
// leaves nothing half-built.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "SchemeTestUtil.h"

using namespace vlr;
using vlr::test::CompileError;
using vlr::test::Where;

TEST(SchemeCompilerErrors, PositionsPointAtTheOffendingToken) {
  EXPECT_EQ(Where(CompileError("%%map\n  1 2\n  3 300\n")), "3:5 Range error, value outwith 0 .. 255");
  EXPECT_EQ(Where(CompileError("%%language\n name 'x'")), "2:7 '=' expected");
  EXPECT_EQ(Where(CompileError("%%language\n name = 5")), "2:9 String value expected");
  EXPECT_EQ(Where(CompileError("%%language\n indentstep = 21")), "2:15 Range error, value outwith 0 .. 20");
  EXPECT_EQ(Where(CompileError("%%language\n map = 1")), "2:2 Unknown Identifier 'map'");
  EXPECT_EQ(Where(CompileError("%%language\n InState = 1")), "2:2 Unknown script identifier");
  EXPECT_EQ(Where(CompileError("  1 2")), "1:3 Script syntax error");
  EXPECT_EQ(Where(CompileError("%%words 'a' '' 1 [2")), "1:20 Unexpected EOF");
  EXPECT_EQ(Where(CompileError("%%tokens 1 'a' 'b'")), "1:19 Unexpected EOF");
  EXPECT_EQ(Where(CompileError("%%tokens\n 1 25")), "2:4 Script syntax error");
  EXPECT_EQ(Where(CompileError("%%tokens\n 1 'a' 3 '' 0")), "2:8 Script syntax error");
  EXPECT_EQ(Where(CompileError("%%tokens InState 2 ( 1 'a' 'b' '' 0 \n%%map")), "2:1 ')' expected");
  // The full message form; no entry had been named yet (see ContextNamesTheEntry).
  EXPECT_EQ(CompileError("%%map\n 1 x").Message(), "** ERROR near line 2, Column 4: Unknown Identifier 'x'");
}

TEST(SchemeCompilerErrors, CharacterSpecificationErrors) {
  EXPECT_EQ(Where(CompileError("%%words\n  'a' '[z-a]' 1")), "2:7 Characters not in correct order for range specifier");
  EXPECT_EQ(Where(CompileError("%%words\n  'a' 'ab' 1")), "2:7 Single character specifier expected");
  EXPECT_EQ(CompileError("%%tokens 1 'a' 'b' 'abcde' 0").Text(), "Maximum of 4 character specifier allowed");
  EXPECT_EQ(CompileError("%%tokens 1 '[ab' 'b' '' 0").Text(), "']' expected");
  EXPECT_EQ(CompileError("%%tokens 1 '' 'b' '' 0").Text(), "Single character specifier expected");
  // Escapes inside a specification are read from the text as written.
  const TSchemeTables t = test::Compile(R"(%%tokens 1 '\]' '[\]\-]' '\n' 0)");
  const TTokenEntry& e = t.defaultTable.entries[0];
  EXPECT_EQ(t.defaultTable.first[']'], 0);
  const TSM_CharGroup& body = t.groups[e.spec.body.group];
  EXPECT_TRUE(body.Contains(']'));
  EXPECT_TRUE(body.Contains('-'));
  EXPECT_EQ(body.Count(), 2u);
  EXPECT_EQ(t.groups[e.spec.term[0].group], TSM_CharGroup::Single(13));
}

TEST(SchemeCompilerErrors, ContextNamesTheEntry) {
  EXPECT_EQ(CompileError("%%words 'begin' '' 300").Context(), "%%Words - begin");
  EXPECT_EQ(CompileError("%%tokens 12 'a' 'b' 'abcde' 0").Context(), "%%Tokens - 12");
  EXPECT_EQ(CompileError("%%language name = 3").Context(), "%%Language - Name");
  EXPECT_EQ(CompileError("%%words 'begin' '' 300").Message(),
            "** ERROR near line 1, Column 20: Range error, value outwith 0 .. 255 (in %%Words - begin)");
}

TEST(SchemeCompilerErrors, ActKeysThatCannotBeReadAreRefused) {
  for (const char* keys : {R"('\{Bogus}')", R"('ab\{Return')", R"(';\{}')"}) {
    const ESchemeCompileError e = CompileError(std::string("%%autoreplace\n actionkeys = ") + keys + "\n'teh' = 'the'");
    EXPECT_EQ(Where(e), "2:15 Bad key specifier") << keys;
    EXPECT_EQ(e.Context(), "%%AutoReplace - actionkeys");
  }
  EXPECT_EQ(test::Compile(R"(%%autoreplace actionkeys = ';\{Space}\{f5}')").actKeys, R"(;\{Space}\{f5})");
}

TEST(SchemeCompilerErrors, MacrosAndPreprocessorErrorsCarryTheirPosition) {
  EXPECT_EQ(Where(CompileError("#define A B\n#define B A\n%%map\n 1 A")),
            "4:4 Recursive expansion of macro 'A'");
  EXPECT_EQ(Where(CompileError("%%map\n#include nofile\n")),
            "2:10 #include filename not enclosed in \"...\" or <...>");
  const TSchemeTables t = test::Compile("#define TAG 5\n#define STYLE (TAG + 2)\n%%map TAG STYLE - 1");
  EXPECT_EQ(t.map[5], 6);
}

TEST(SchemeCompilerErrors, FilesAndIncludes) {
  const auto dir = std::filesystem::temp_directory_path() / "vlr_compiler_files";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "main.txt") << "%%language name = 'Main'\n#include \"words.inc\"\n";
  std::ofstream(dir / "words.inc") << "%%words 'w' '' 1\n%%map 1 400\n";
  const auto e = [&] {
    try {
      (void)CompileSchemeFile(dir / "main.txt");
    } catch (const ESchemeError& err) {
      return Where(err);
    }
    return std::string("no error");
  }();
  EXPECT_EQ(e, "2:9 Range error, value outwith 0 .. 255");  // line and column inside the include
  std::ofstream(dir / "words.inc") << "%%words 'w' '' 1\n%%map 1 4\n";
  EXPECT_EQ(CompileSchemeFile(dir / "main.txt").map[1], 4);
  EXPECT_THROW((void)CompileSchemeFile(dir / "missing.txt"), ESchemeError);
  std::filesystem::remove_all(dir);
}

TEST(SchemeCompilerErrors, LimitsOfValues) {
  EXPECT_EQ(CompileError("%%map 1 (200 + 100)").Text(), "Range error, value outwith 0 .. 255");
  EXPECT_EQ(CompileError("%%states 1 ( +256 )").Text(), "Range error, value outwith 0 .. 255");
  EXPECT_EQ(CompileError("%%tokens 1 'a' match ( 256 )").Text(), "Range error, value outwith 0 .. 255");
  EXPECT_EQ(CompileError("%%map 99999999999 1").Text(), "Numeric value out of range");
}
