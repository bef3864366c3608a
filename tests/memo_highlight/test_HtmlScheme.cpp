// The program's HTML scheme on a representative page: golden token values and styles of the
// pieces a reader notices (tags, attributes, values, entities, comments, script, style, links),
// the build's stored form equal to a fresh compile, and typing that changes the state of the
// rest of the page.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "memo/engine/MemoEngine.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/HtmlScanners.h"
#include "memo/engine/scheme/SchemeCompiler.h"
#include "memo/engine/scheme/StoredForm.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

namespace {

using velora::memo::MemoEngine;
using velora::memo::Pos;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class HtmlScheme : public ::testing::Test {
 protected:
  void SetUp() override {
    parser.Script = VELORA_HTML_SCHEME_SCRIPT;
    parser.CompileScript();
    vlr::UseHtmlScanners(parser);
    ASSERT_EQ(parser.Compile(), "Compiled");
    Load(ReadAll(VELORA_HTML_SAMPLE));
  }
  void Load(const std::string& text) {
    engine.setText(text);
    vlr::AttachHighlighter(engine, parser);
    while (engine.HighlightSlice(100000)) {
    }
  }
  // The token values of the `nth` occurrence of `piece` on line `line` (1-based).
  std::vector<std::uint8_t> ValuesOf(int line, const std::string& piece, int nth = 1) const {
    const Pos start = engine.store().lineStart(line - 1);
    const std::string text = engine.store().lineText(line - 1);
    std::size_t at = std::string::npos;
    for (int i = 0; i < nth; ++i) at = text.find(piece, at == std::string::npos ? 0 : at + 1);
    EXPECT_NE(at, std::string::npos) << piece << " not on line " << line;
    if (at == std::string::npos) return {};
    return engine.tokens(start + Pos(at), start + Pos(at + piece.size()));
  }
  // True when every character of the piece has token value `value`.
  ::testing::AssertionResult Is(int line, const std::string& piece, int value, int nth = 1) const {
    const auto v = ValuesOf(line, piece, nth);
    for (std::size_t i = 0; i < v.size(); ++i)
      if (v[i] != value)
        return ::testing::AssertionFailure() << "'" << piece << "' on line " << line << " char " << i
                                             << " has value " << int(v[i]) << ", expected " << value;
    return ::testing::AssertionSuccess();
  }
  int StyleOf(int line, const std::string& piece) const {
    const auto v = ValuesOf(line, piece);
    return v.empty() ? -1 : parser.Tables().map[v[0]];
  }

  vlr::TSyntaxMemoParser parser;
  MemoEngine engine;
};

TEST_F(HtmlScheme, MarkupOfThePage) {
  EXPECT_TRUE(Is(2, "html", 21));
  EXPECT_TRUE(Is(2, "lang", 5));
  EXPECT_TRUE(Is(2, "=", 12));
  EXPECT_TRUE(Is(2, "en", 28));
  EXPECT_TRUE(Is(4, "&amp;", 16));
  EXPECT_TRUE(Is(4, "</title", 194));  // the title's text is text, up to its end tag
  EXPECT_TRUE(Is(19, "bgcolor", 5));
  EXPECT_TRUE(Is(19, "onload", 5));
  EXPECT_TRUE(Is(22, "intro", 27));
  EXPECT_TRUE(Is(22, "&nbsp;&copy;", 16));
  EXPECT_TRUE(Is(22, "&#163;", 17));
  EXPECT_TRUE(Is(24, "data-id", 26));
  EXPECT_EQ(StyleOf(2, "html"), 21);  // "Tag name"
  EXPECT_EQ(StyleOf(2, "lang"), 5);   // "Field name"
  EXPECT_EQ(StyleOf(4, "&amp;"), 16); // "Special char"
  EXPECT_EQ(StyleOf(22, "Plain HTML"), 0);
}

TEST_F(HtmlScheme, CommentsSpanLines) {
  EXPECT_TRUE(Is(20, "<!--", 11));
  EXPECT_TRUE(Is(20, " A comment", 140));
  EXPECT_TRUE(Is(21, "over two lines", 140));
  EXPECT_TRUE(Is(21, "-->", 13));
  EXPECT_EQ(StyleOf(21, "over"), 11);  // "Comment"
}

TEST_F(HtmlScheme, ScriptAndStyleBlocks) {
  EXPECT_TRUE(Is(11, "//", 173));
  EXPECT_TRUE(Is(11, " greet the visitor", 174));
  EXPECT_TRUE(Is(12, "function", 30));
  EXPECT_TRUE(Is(13, "let", 30));
  EXPECT_TRUE(Is(13, "42", 37));
  EXPECT_TRUE(Is(14, "comment ", 31));
  EXPECT_TRUE(Is(15, "alert", 39));
  EXPECT_TRUE(Is(15, "\"", 176));
  EXPECT_TRUE(Is(15, "Hi ", 34));
  EXPECT_EQ(StyleOf(15, "\"Hi"), 34);  // "JS String"
  EXPECT_EQ(StyleOf(12, "function"), 30);  // "JS Keyword"
  EXPECT_TRUE(Is(7, "body", 115));
  EXPECT_TRUE(Is(7, "color", 119));
  EXPECT_TRUE(Is(7, "#333", 129));
  EXPECT_TRUE(Is(26, "Dim", 52));
  EXPECT_TRUE(Is(26, "' a VB comment", 53));
  EXPECT_TRUE(Is(27, "MsgBox", 50));
  EXPECT_TRUE(Is(29, "<+", 103));
  EXPECT_TRUE(Is(29, "begin", 87));
  EXPECT_TRUE(Is(29, ":=", 90));
  EXPECT_TRUE(Is(29, "+>", 104));
}

TEST_F(HtmlScheme, LinksAreHotSpots) {
  EXPECT_TRUE(Is(23, "http://www.example.com/index.html", 18));
  EXPECT_TRUE(Is(23, "mailto:info@example.com", 19));
  const auto& t = parser.Tables();
  EXPECT_TRUE(t.effects[t.map[18]].hotspot);
  EXPECT_TRUE(parser.styleOf(18).hotspot);
  EXPECT_TRUE(parser.styleOf(18).underline);
  EXPECT_FALSE(parser.styleOf(21).hotspot);
}

TEST_F(HtmlScheme, VariableAndFileReferencesAreWholeHotSpots) {
  const std::string longName(300, 'n');
  Load("<p><%title%> <&menu.hsn&></p>\r"                  // 1
       "<% If x Then %> <%" + longName + "%>\r"           // 2
       "<a href=\"<%root%>/a.html\">x</a>\r"              // 3
       "<%name\r");                                        // 4
  EXPECT_TRUE(Is(1, "<%title%>", 105));
  EXPECT_TRUE(Is(1, "<&menu.hsn&>", 106));
  EXPECT_TRUE(Is(2, "<%", 107));                        // server code stays script
  EXPECT_TRUE(Is(2, "If", 52));
  EXPECT_TRUE(Is(2, "<%", 107, 2));                     // a name too long for a variable
  EXPECT_TRUE(Is(3, "<%root%>", 212));
  EXPECT_TRUE(Is(3, "/a.html", 28));
  for (int v : {105, 106, 212}) EXPECT_TRUE(parser.styleOf(std::uint8_t(v)).hotspot) << v;
  EXPECT_FALSE(parser.styleOf(107).hotspot);
  // Closing an unfinished reference by typing makes it whole; breaking it undoes that.
  engine.setSelection(engine.store().lineEnd(3), engine.store().lineEnd(3));
  engine.replaceSelection("%>");
  while (engine.HighlightSlice(100000)) {
  }
  EXPECT_TRUE(Is(4, "<%name%>", 105));
  const Pos name = engine.store().lineStart(3) + 3;
  engine.setSelection(name, name);
  engine.replaceSelection(" ");
  while (engine.HighlightSlice(100000)) {
  }
  EXPECT_TRUE(Is(4, "<%", 107));
  EXPECT_TRUE(Is(4, "me", 160));
}

TEST(HtmlSchemeScanners, WithoutThemServerCodeIsNotRecognised) {
  // The scheme's "<%" needs its custom scanner: a parser that lacks it loses the server block,
  // which is why every parser of the scheme installs them.
  vlr::TSyntaxMemoParser bare;
  bare.Script = VELORA_HTML_SCHEME_SCRIPT;
  bare.CompileScript();
  MemoEngine e;
  e.setText("<% x %>");
  vlr::AttachHighlighter(e, bare);
  while (e.HighlightSlice(100000)) {
  }
  EXPECT_NE(e.tokens(0, 1)[0], 107);
  vlr::UseHtmlScanners(bare);
  e.setText("<% x %>");
  while (e.HighlightSlice(100000)) {
  }
  EXPECT_EQ(e.tokens(0, 2), (std::vector<std::uint8_t>{107, 107}));
}

TEST_F(HtmlScheme, StoredFormOfTheBuildEqualsTheScript) {
  const std::string stored = ReadAll(VELORA_HTML_SCHEME_STORED);
  ASSERT_FALSE(stored.empty());
  vlr::TSyntaxMemoParser loaded;
  const vlr::TStoredFormResult r = loaded.LoadParserData(stored, "SyntaxMemoParser1");
  ASSERT_TRUE(r.Ok()) << r.message;
  EXPECT_TRUE(loaded.Tables() == parser.Tables());
  EXPECT_EQ(loaded.ParserData(), parser.ParserData());
}

TEST_F(HtmlScheme, OpeningACommentAtTheTopRecoloursUntilItCloses) {
  const Pos p = engine.store().lineStart(19);  // before the comment of line 20
  engine.setSelection(p, p);
  engine.typeText("<!-- ");
  EXPECT_TRUE(Is(20, "<!--", 11));
  EXPECT_TRUE(Is(20, "<!--", 140, 2));  // the old start is now inside the new comment
  EXPECT_TRUE(Is(21, "-->", 13));
  EXPECT_TRUE(Is(22, "intro", 27));  // markup after the comment is unchanged
  engine.undo();
  EXPECT_TRUE(Is(20, "<!--", 11));
}

TEST(HtmlSchemeComponent, AFailingCompileKeepsTheTablesAndAnotherVersionClearsThem) {
  vlr::TSyntaxMemoParser p;
  p.Script = VELORA_HTML_SCHEME_SCRIPT;
  p.CompileScript();
  const std::string data = p.ParserData();
  const std::string path = ::testing::TempDir() + "broken_scheme.txt";
  std::ofstream(path) << "%%language\nname = 'x'\n%%words\n'a' '' 300\n";
  p.Script = path;
  try {
    p.CompileScript();
    ADD_FAILURE() << "a range error was expected";
  } catch (const vlr::ESchemeError& e) {
    EXPECT_EQ(e.Line(), 4);
    EXPECT_NE(e.Message().find("Range error, value outwith 0 .. 255"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(p.Compile(), "Compiled");
  EXPECT_EQ(p.ParserData(), data);

  std::string other = data;
  other[0] = 48;  // version word 48
  const vlr::TStoredFormResult r = p.LoadParserData(other, "SyntaxMemoParser1");
  EXPECT_TRUE(r.versionMismatch);
  EXPECT_EQ(r.message.rfind("SyntaxMemoParser1: DFM file saved by different version", 0), 0u) << r.message;
  EXPECT_FALSE(p.HasTables());
  EXPECT_EQ(p.Compile(), "");
}

}  // namespace

namespace {

// Pieces of real pages that a simpler scheme gets wrong.
class HtmlSchemeRealPages : public HtmlScheme {};

TEST_F(HtmlSchemeRealPages, ScriptEndsCommentsAndStringsAndKnowsRegexAndTemplates) {
  Load("<script>\r"                                   // 1
       "var a = 1; // the end </script><p>x</p>\r"    // 2
       "<script>\r"                                   // 3
       "s = \"no </script><b>bold</b>\r"              // 4
       "<script>\r"                                   // 5
       "r = /ab+c/g.test(q); d = a / b / c;\r"         // 6
       "t = `sum ${a + b} done`;\r"                    // 7
       "m = new Map(); n = Alert(); x = charAt;\r"     // 8
       "</script>\r");
  EXPECT_TRUE(Is(2, " the end ", 174));
  EXPECT_TRUE(Is(2, "</script", 10));
  EXPECT_TRUE(Is(2, "x", 200));
  EXPECT_TRUE(Is(4, "no ", 34));
  EXPECT_TRUE(Is(4, "</script", 10));
  EXPECT_TRUE(Is(4, "bold", 200));
  EXPECT_TRUE(Is(6, "/ab+c/", 183));
  EXPECT_TRUE(Is(6, "/", 38, 3));  // the divisions stay operators
  EXPECT_TRUE(Is(6, "/", 38, 4));
  EXPECT_TRUE(Is(7, "sum ", 67));
  EXPECT_TRUE(Is(7, "${", 185));
  EXPECT_TRUE(Is(7, "a", 41));
  EXPECT_TRUE(Is(7, "}", 186));
  EXPECT_TRUE(Is(7, " done", 67));
  EXPECT_TRUE(Is(8, "Map", 39));
  EXPECT_TRUE(Is(8, "Alert", 41));
  EXPECT_TRUE(Is(8, "charAt", 39));
}

TEST_F(HtmlSchemeRealPages, AttributesServerCodeAndStyleRules) {
  Load("<a title=\"Fish &amp; chips &#169;\">x</a>\r"  // 1
       "<? echo $x; ?><% y %>\r"                       // 2
       "<style>\r"                                     // 3
       "@media screen {\r"                             // 4
       "  h1 { color: red; }\r"                        // 5
       "  p { margin: 0; }\r"                          // 6
       "}\r"                                           // 7
       "</style>\r"
       "<script\rtype=\"text/javascript\"\r>x</script>\r"                 // 9..11
       "<style>p::after { content: 'a </style><i>b</i>'; }</style>\r");  // 12
  EXPECT_TRUE(Is(1, "&amp;", 16));
  EXPECT_TRUE(Is(1, "&#169;", 17));
  EXPECT_TRUE(Is(1, " chips ", 28));
  EXPECT_TRUE(Is(2, "<?", 144));
  EXPECT_TRUE(Is(2, " echo $x; ", 146));
  EXPECT_TRUE(Is(2, "?>", 145));
  EXPECT_TRUE(Is(2, "<%", 107));
  EXPECT_TRUE(Is(4, "@media", 187));
  EXPECT_TRUE(Is(5, "h1", 115));  // a selector, not a property name
  EXPECT_TRUE(Is(5, "color", 119));
  EXPECT_TRUE(Is(6, "p", 115));
  EXPECT_TRUE(Is(6, "margin", 119));
  // The line break inside a script tag has a value of its own.
  const auto& st = engine.store();
  EXPECT_EQ(engine.tokens(st.lineEnd(8), st.lineEnd(8) + 1), (std::vector<std::uint8_t>{170}));
  // "</style" ends a CSS string too; what follows is the page again.
  EXPECT_TRUE(Is(12, "a ", 202));
  EXPECT_TRUE(Is(12, "</style", 46));
  EXPECT_TRUE(Is(12, "i", 21));
}

}  // namespace
