// Tests of the scheme-script reader: lexical rules, macros, preprocessor, includes, expressions.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "memo/engine/scheme/Reader.h"

using vlr::ESchemeError;
using vlr::TReservedWord;
using vlr::TSchemeErrorId;
using vlr::TSchemeToken;
using vlr::TSchemeTokenKind;
using vlr::TSYM_Compiler;

namespace {

// A reader over a script text, with helpers that describe the token stream compactly.
struct ReaderPlus {
  TSYM_Compiler reader;
  explicit ReaderPlus(std::string text, std::filesystem::path folder = {}) {
    reader.OpenText(std::move(text), std::move(folder));
  }
  // Every token up to the end, one word each: numbers as digits, strings as 's:<bytes>',
  // reserved words and symbols by their spelling.
  std::vector<std::string> All() {
    std::vector<std::string> out;
    for (TSchemeToken t = reader.Next(); t.kind != TSchemeTokenKind::End; t = reader.Next()) {
      if (t.kind == TSchemeTokenKind::String) out.push_back("s:" + t.text);
      else if (t.kind == TSchemeTokenKind::Number) out.push_back(std::to_string(t.number));
      else out.push_back(t.text);
    }
    return out;
  }
};

// The error that reading the whole of `text` raises (fails the test if there is none).
ESchemeError ErrorOf(const std::string& text, std::filesystem::path folder = {},
                     std::vector<std::filesystem::path> path = {}) {
  ReaderPlus r(text, std::move(folder));
  r.reader.SetIncludePath(std::move(path));
  try {
    r.All();
  } catch (const ESchemeError& e) {
    return e;
  }
  ADD_FAILURE() << "no error for: " << text;
  return ESchemeError(TSchemeErrorId::None, "", 0, 0);
}

using Tokens = std::vector<std::string>;

// A scratch folder removed at the end of the test.
struct TempDir {
  std::filesystem::path dir;
  TempDir() {
    dir = std::filesystem::temp_directory_path() /
          ("vlr_reader_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  ~TempDir() { std::filesystem::remove_all(dir); }
  void Write(const std::string& name, const std::string& text) const {
    std::filesystem::create_directories((dir / name).parent_path());
    std::ofstream(dir / name, std::ios::binary) << text;
  }
};

}  // namespace

TEST(Reader, EscapesGiveTheirBytes) {
  ReaderPlus r(R"('\n\r\b\e\s\t' '\x41\x7e\x4' '\101\7\0' '\q\\\'\[' '\xg')");
  EXPECT_EQ(r.All(), (Tokens{"s:\x0d\x0a\x08\x1b \t", "s:A~\x04", std::string("s:A\x07") + '\0',
                             "s:q\\'[", "s:xg"}));
  EXPECT_EQ(ErrorOf(R"('\777')").Text(), "Character range error");
}

TEST(Reader, StringContinuedOverLines) {
  // The backslash ends the line; the next line's blanks and one backslash there are skipped.
  ReaderPlus r("'abc\\\n    def' 'x\\\r\n\t\t\\  y' 'p\\\n\\\\\\q' 'r\\\n\\\\q'");
  EXPECT_EQ(r.All(), (Tokens{"s:abcdef", "s:x  y", "s:p\\q", "s:rq"}));
  EXPECT_EQ(ErrorOf("'open\nx'").Text(), "Script syntax error");
  EXPECT_EQ(ErrorOf("'open").Text(), "Unexpected EOF");
}

TEST(Reader, NumbersCommentsAndSymbols) {
  ReaderPlus r("12 /* 99\n 98 */ 0034 // 7 8\n=()[],+-?|*");
  EXPECT_EQ(r.All(), (Tokens{"12", "34", "=", "(", ")", "[", "]", ",", "+", "-", "?", "|", "*"}));
  EXPECT_EQ(ErrorOf("2147483648").Text(), "Numeric value out of range");
  EXPECT_EQ(ErrorOf("/* never closed").Text(), "Unexpected EOF");
  EXPECT_EQ(ErrorOf("1 ;").Text(), "Unknown character in input stream: #$3b");
  EXPECT_EQ(ErrorOf("\xe9").Text(), "Unknown character in input stream: #$e9");
}

TEST(Reader, IdentifiersAreMacrosOrReservedWords) {
  ReaderPlus r("%%language name InSTATE %%kwTables %%handler %%handlers pop");
  std::vector<TReservedWord> words;
  for (TSchemeToken t = r.reader.Next(); t.kind != TSchemeTokenKind::End; t = r.reader.Next()) {
    EXPECT_EQ(t.kind, TSchemeTokenKind::Word);
    words.push_back(t.word);
  }
  EXPECT_EQ(words, (std::vector<TReservedWord>{TReservedWord::SecLanguage, TReservedWord::Name,
                                               TReservedWord::InState, TReservedWord::SecKwTables,
                                               TReservedWord::SecHandlers, TReservedWord::SecHandlers,
                                               TReservedWord::Pop}));
  const ESchemeError e = ErrorOf("name\n  frobnicate");
  EXPECT_EQ(e.Id(), TSchemeErrorId::UnknownWord);
  EXPECT_EQ(e.Text(), "Unknown Identifier 'frobnicate'");
  EXPECT_EQ(e.Line(), 2);
  EXPECT_EQ(e.Column(), 3);
  EXPECT_EQ(ErrorOf("%%section").Text(), "Unknown Identifier '%%section'");
}

TEST(Reader, PredefinedMacroValues) {
  ReaderPlus r("__DEFAULT_OPTIONS __opt_smart_fill clNavy CLOLIVE clWhite caSETBOOKMARK3 "
               "caGOTOBOOKMARK9 caPRINTSEL F1 F12 DELETE _default_gutter __STD_C_STRING_SQ fsUnderline");
  EXPECT_EQ(r.All(), (Tokens{"67099632", "16777216", "8388608", "32896", "16777215", "23", "39", "44",
                             "112", "123", "46", "34", "20", "2"}));
  EXPECT_TRUE(r.reader.Macros().IsDefined("VER200"));
  // ver200 names itself, so it is only good for #ifdef.
  EXPECT_EQ(ErrorOf("ver200").Text(), "Recursive expansion of macro 'ver200'");
}

TEST(Reader, MacrosDefinedAndExpanded) {
  ReaderPlus r("#define Two (1 + 1)\n"
               "#define  \t\xa0" "Greeting   'hi' \xa0 \n"
               "two GREETING\n"
               "#define name NAME\n"  // defines nothing: the text is the name
               "name\n"
               "#define two 3\n"
               "Two");
  EXPECT_EQ(r.All(), (Tokens{"(", "1", "+", "1", ")", "s:hi", "name", "3"}));
  EXPECT_FALSE(r.reader.Macros().IsDefined("name"));
  EXPECT_EQ(ErrorOf("#define\n").Text(), "Macro name expected");
  EXPECT_EQ(ErrorOf("#define 9x\n").Text(), "Macro name expected");
}

TEST(Reader, RecursiveMacrosFail) {
  const ESchemeError direct = ErrorOf("#define loop loop + 1\n\n  loop");
  EXPECT_EQ(direct.Text(), "Recursive expansion of macro 'loop'");
  EXPECT_EQ(direct.Line(), 3);
  EXPECT_EQ(direct.Column(), 3);
  EXPECT_EQ(ErrorOf("#define A b\n#define B a\nA").Text(), "Recursive expansion of macro 'a'");
  // Doubling macros stop at the expansion limit.
  std::string doubling = "#define M0 1\n";
  for (int i = 1; i <= 18; ++i)
    doubling += "#define M" + std::to_string(i) + " M" + std::to_string(i - 1) + " M" + std::to_string(i - 1) + "\n";
  const ESchemeError big = ErrorOf(doubling + "M18");
  EXPECT_EQ(big.Line(), 20);
  EXPECT_NE(big.Text().find("Too many macro expansions"), std::string::npos);
  // The same macro used twice in one text is no recursion.
  ReaderPlus r("#define One 1\n#define Sum One+One\nSum");
  EXPECT_EQ(r.All(), (Tokens{"1", "+", "1"}));
}

TEST(Reader, ConditionalsNestAndElse) {
  ReaderPlus r("#define Yes 1\n"
               "#ifdef yes 1 #else 2 #endif\n"
               "#ifndef yes 3 #else 4 #endif\n"
               "#ifdef missing\n"
               "  'skipped #endif' #ifdef Yes 5 #else 6 #endif #define Late 7 'unknown' ~ ;\n"
               "#else\n"
               "  #ifndef missing 8 #ifdef Yes 9 #endif #else 10 #endif\n"
               "#ifdef missing #include <a'b> #endif 13\n"
               "#endif\n"
               "#ifdef Late 11 #endif 12");
  EXPECT_EQ(r.All(), (Tokens{"1", "4", "8", "9", "13", "12"}));
  EXPECT_EQ(ErrorOf("#ifdef\n").Text(), "Macro name expected after #ifdef");
  EXPECT_EQ(ErrorOf("#ifndef 3\n").Text(), "Macro name expected after #ifdef");
  EXPECT_EQ(ErrorOf("#ifdef x 1").Text(), "Unexpected EOF");
  EXPECT_EQ(ErrorOf("#endif").Text(), "Script syntax error");
  EXPECT_EQ(ErrorOf("#ifdef x #else #else #endif").Text(), "Script syntax error");
  EXPECT_EQ(ErrorOf("#pragma").Text(), "Unknown character in input stream: #$23");
}

TEST(Reader, IncludeBothFormsAndSearchPath) {
  TempDir t;
  t.Write("main/part.txt", "#define FromPart 5\n'part' #include \"sub/inner.txt\"");
  t.Write("main/sub/inner.txt", "'inner'");  // relative to part.txt's own folder
  t.Write("lib/common.txt", "'common' FromPart");
  t.Write("main/common.txt", "'beside'");
  ReaderPlus r("#include \"part.txt\"\n#include <common.txt> #include \"common.txt\" 1", t.dir / "main");
  r.reader.SetIncludePath({t.dir / "lib"});
  EXPECT_EQ(r.All(), (Tokens{"s:part", "s:inner", "s:common", "5", "s:beside", "1"}));
}

TEST(Reader, IncludeErrors) {
  TempDir t;
  EXPECT_EQ(ErrorOf("#include part.txt").Text(), "#include filename not enclosed in \"...\" or <...>");
  EXPECT_EQ(ErrorOf("#include \"part.txt\n\"").Text(), "#include filename missing terminating \"");
  EXPECT_EQ(ErrorOf("#include <part.txt").Text(), "#include filename missing terminating >");
  const ESchemeError e = ErrorOf("1\n  #include <none.txt>", t.dir, {t.dir});
  EXPECT_EQ(e.Text(), "Unable to open #include file <none.txt>");
  EXPECT_EQ(e.Line(), 2);
  EXPECT_EQ(e.Column(), 3);
  EXPECT_EQ(ErrorOf("#include \"none.txt\"", t.dir).Text(), "Unable to open #include file \"none.txt\"");
  // A file that includes itself stops at the nesting limit instead of running away.
  t.Write("self.txt", "#include \"self.txt\"");
  EXPECT_EQ(ErrorOf("#include \"self.txt\"", t.dir).Id(), TSchemeErrorId::IncludeUnableToOpen);
  // Errors inside an included file carry that file's line and column; a conditional left
  // open there is reported at its end.
  t.Write("bad.txt", "1\n 2 ~");
  const ESchemeError inner = ErrorOf("\n\n#include \"bad.txt\"", t.dir);
  EXPECT_EQ(inner.Line(), 2);
  EXPECT_EQ(inner.Column(), 4);
  t.Write("open.txt", "#ifdef x");
  EXPECT_EQ(ErrorOf("#include \"open.txt\" #endif", t.dir).Text(), "Unexpected EOF");
}

TEST(Reader, ExpressionsAndStateLists) {
  ReaderPlus r("__OPT_AUTOINDENT + __OPT_WORDWRAP  10 - (4 + 3) - 1  [1, 2 5,] 7 [] (300) [256]");
  EXPECT_EQ(r.reader.ReadExpression(), 3072);
  EXPECT_EQ(r.reader.ReadExpression(), 2);
  const vlr::TStateSet list = r.reader.ReadStates();
  EXPECT_EQ(list.count(), 3U);
  EXPECT_TRUE(list[1] && list[2] && list[5]);
  const vlr::TStateSet single = r.reader.ReadStates();
  EXPECT_EQ(single.count(), 1U);
  EXPECT_TRUE(single[7]);
  EXPECT_TRUE(r.reader.ReadStateList().none());
  try {
    r.reader.ReadValueIn(0, 255);
    ADD_FAILURE() << "300 accepted as a byte";
  } catch (const ESchemeError& e) {
    EXPECT_EQ(e.Text(), "Range error, value outwith 0 .. 255");
    EXPECT_EQ(e.Column(), 69);
  }
  EXPECT_THROW(r.reader.ReadStateList(), ESchemeError);

  const auto fails = [](const std::string& text, void (*read)(TSYM_Compiler&)) {
    ReaderPlus q(text);
    try {
      read(q.reader);
    } catch (const ESchemeError& e) {
      return e.Text();
    }
    return std::string("no error");
  };
  const auto expr = [](TSYM_Compiler& c) { c.ReadExpression(); };
  const auto list2 = [](TSYM_Compiler& c) { c.ReadStateList(); };
  EXPECT_EQ(fails("1 + ]", expr), "Expression expected");
  EXPECT_EQ(fails("(1 + 2", expr), "Unexpected EOF");
  EXPECT_EQ(fails("(1 + 2 ]", expr), "')' expected");
  EXPECT_EQ(fails("2147483647 + 1", expr), "Numeric value out of range");
  EXPECT_EQ(fails("1 2]", list2), "'[' expected");
  EXPECT_EQ(fails("[1 2", list2), "Unexpected EOF");
}

TEST(Reader, PeekAcceptExpect) {
  ReaderPlus r("= 'text' ( 4");
  EXPECT_TRUE(r.reader.Peek().Is(TReservedWord::Equals));
  EXPECT_FALSE(r.reader.Accept(TReservedWord::Comma));
  EXPECT_TRUE(r.reader.Accept(TReservedWord::Equals));
  EXPECT_EQ(r.reader.ReadString(), "text");
  r.reader.Expect(TReservedWord::LParen, TSchemeErrorId::LParenExpected);
  try {
    r.reader.Expect(TReservedWord::RParen, TSchemeErrorId::RParenExpected);
    ADD_FAILURE() << "4 accepted as ')'";
  } catch (const ESchemeError& e) {
    EXPECT_EQ(e.Id(), TSchemeErrorId::RParenExpected);
    EXPECT_EQ(e.Message(), "** ERROR near line 1, Column 12: ')' expected");
  }
  EXPECT_EQ(r.reader.Next().kind, TSchemeTokenKind::End);
}

TEST(Reader, ErrorPositionAndMessage) {
  // Columns count bytes from 1; CR LF, LF and a lone CR each end one line.
  EXPECT_EQ(ErrorOf("1\r\n2\n3\r  4 ~").Message(),
            "** ERROR near line 4, Column 5: Unknown character in input stream: #$7e");
  // Errors in a macro's text are reported where the macro is used.
  EXPECT_EQ(ErrorOf("#define Bad 1 ~\n\n   1 Bad").Message(),
            "** ERROR near line 3, Column 6: Unknown character in input stream: #$7e");
  EXPECT_EQ(vlr::SchemeErrorText(TSchemeErrorId::AmbiguousStartSet), "Ambigious start set in %%token table");
  EXPECT_EQ(vlr::SchemeMessage(TSchemeErrorId::ContextStateRespecified, {12LL}),
            "Token value 12 re-specified in ContextState");
  EXPECT_EQ(vlr::FormatSchemeError(3, 9, "50% %s"), "** ERROR near line 3, Column 9: 50% %s");
}

TEST(Reader, OpenFileReadsIncludesBesideIt) {
  TempDir t;
  t.Write("scheme.txt", "#include \"inc.txt\" 2");
  t.Write("inc.txt", "1");
  TSYM_Compiler c;
  c.OpenFile(t.dir / "scheme.txt");
  EXPECT_EQ(c.Next().number, 1);
  EXPECT_EQ(c.Next().number, 2);
  EXPECT_THROW(c.OpenFile(t.dir / "missing.txt"), ESchemeError);
}

TEST(Reader, ParserTextsOutsideTheTableKeepTheTokenPosition) {
  ReaderPlus r("\n   'a-'");
  const TSchemeToken t = r.reader.Next();
  try {
    r.reader.FailText(t, "Characters not in correct order for range specifier");
    ADD_FAILURE() << "FailText returned";
  } catch (const ESchemeError& e) {
    EXPECT_EQ(e.Id(), TSchemeErrorId::None);
    EXPECT_EQ(e.Message(), "** ERROR near line 2, Column 4: Characters not in correct order for range specifier");
  }
}

TEST(Reader, ArbitraryBytesEndOrFailCleanly) {
  // Fixed-seed fragments of the language glued at random: every text either reads to its end
  // or raises ESchemeError with a position inside the text.
  const std::vector<std::string> parts = {"#define M ", "#ifdef M ", "#ifndef N ", "#else ", "#endif ",
                                          "#include ", "'s\\", "'", "\\x", "\\", "\n", "\r", "/*", "*/",
                                          "//", "12", "M ", "N ", "%%", "words", "(", ")", "[", "]",
                                          "+", "-", "#", "\xa0", "\t", "\"", "<", "~"};
  std::mt19937 rng(4);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int n = static_cast<int>(rng() % 24);
    for (int i = 0; i < n; ++i) text += parts[rng() % parts.size()];
    ReaderPlus r(text);
    try {
      r.All();
    } catch (const ESchemeError& e) {
      EXPECT_GE(e.Line(), 1) << text;
      EXPECT_GE(e.Column(), 1) << text;
      EXPECT_FALSE(e.Text().empty()) << text;
    }
  }
}

TEST(Reader, StringsKeepTheirRawSpelling) {
  ReaderPlus r("'\\[a\\]\\x41\\101\\n' 'one\\\n    \\two'");
  const TSchemeToken a = r.reader.Next();
  EXPECT_EQ(a.text, "[a]AA\x0d");
  EXPECT_EQ(a.raw, "\\[a\\]\\x41\\101\\n");
  const TSchemeToken b = r.reader.Next();
  EXPECT_EQ(b.text, "onetwo");
  EXPECT_EQ(b.raw, "onetwo");  // the continuation is joined in both
  EXPECT_TRUE(r.reader.Next().raw.empty());  // the End token
}

TEST(Reader, DeeplyNestedParenthesesFailWithAClearError) {
  // A script of a million "(" must not exhaust the stack: nesting is limited.
  ReaderPlus deep(std::string(1000000, '(') + "1" + std::string(1000000, ')'));
  try {
    deep.reader.ReadExpression();
    ADD_FAILURE() << "a million nested parentheses accepted";
  } catch (const ESchemeError& e) {
    EXPECT_EQ(e.Text(), "Expression nested too deeply: at most 64 levels of '(' are allowed");
  }
  // Up to the limit nesting works.
  ReaderPlus ok(std::string(64, '(') + "5 - 2" + std::string(64, ')') + " (7)");
  EXPECT_EQ(ok.reader.ReadExpression(), 3);
  EXPECT_EQ(ok.reader.ReadExpression(), 7);
}
