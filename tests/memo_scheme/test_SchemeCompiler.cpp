// Tests of the scheme compiler: what each section form puts into the tables.
#include <gtest/gtest.h>

#include "SchemeTestUtil.h"

using namespace vlr;
using vlr::test::Compile;
using vlr::test::States;

TEST(SchemeCompilerLanguage, KeysFillTheSettings) {
  const TSchemeTables t = Compile(R"(
%%language
name = 'A language whose name is far longer than thirty-five'
case = __sensitive
options = __OPT_AUTOINDENT + __OPT_WORDWRAP
exampletext = 'one\ntwo\rthree'
wordwrapcolumn = 72
gutter = _default_gutter + 6
indentstep = 4
wrapoverride = ' -'
rightmargin = 100
fontname = 'Mono' fontsize = 12
tabcolumns = '5, 9 13'
tabdefault = 3
seltextcolor = [*] clRed
seltextback = clYellow
guttercolor = clSilver
margincolor = clGray marginwidth = 2
)");
  const TSchemeSettings& s = t.settings;
  EXPECT_EQ(s.name, "A language whose name is far longer");  // cut to 35
  EXPECT_EQ(s.name.size(), 35u);
  EXPECT_TRUE(s.caseSensitive);
  EXPECT_EQ(s.options, 2048u + 1024u);
  EXPECT_EQ(s.exampleText, "one\x0dtwo\x0athree");  // "\n" is CR, "\r" is LF
  EXPECT_EQ(s.wordWrapColumn, 72);
  EXPECT_EQ(s.gutterWidth, 40);
  EXPECT_EQ(s.indentStep, 4);
  EXPECT_EQ(s.wrapOverride, " -");
  EXPECT_EQ(s.rightMargin, 100);
  EXPECT_EQ(s.fontName, "Mono");
  EXPECT_EQ(s.fontSize, 12);
  EXPECT_EQ(s.tabColumns, "5, 9 13");
  EXPECT_EQ(s.tabStops[0], 4);
  EXPECT_EQ(s.tabStops[1], 8);
  EXPECT_EQ(s.tabStops[2], 12);
  EXPECT_EQ(s.tabStops[3], -1);
  EXPECT_EQ(s.tabDefault, 3);
  EXPECT_EQ(s.selTextColor, (TSchemeColor{true, 255}));
  EXPECT_EQ(s.selTextBack, (TSchemeColor{false, 65535}));
  EXPECT_EQ(s.gutterColor, (TSchemeColor{false, 12632256}));
  EXPECT_EQ(s.marginColor, 8421504u);
  EXPECT_EQ(s.marginWidth, 2);
}

TEST(SchemeCompilerLanguage, EditableStylesAreCutAndLimited) {
  const TSchemeTables t = Compile(
      "%%language editablestyles = ('Tag', 1), ('A style name longer than twenty-five', 255)");
  ASSERT_EQ(t.settings.editableStyles.size(), 2u);
  EXPECT_EQ(t.settings.editableStyles[0], (TEditableStyle{"Tag", 1}));
  EXPECT_EQ(t.settings.editableStyles[1].name, "A style name longer than ");  // 25 characters
  EXPECT_EQ(t.settings.editableStyles[1].name.size(), 25u);

  std::string list;
  for (int i = 0; i < 25; ++i) list += (i ? ", " : "") + std::string("('s', ") + std::to_string(i) + ")";
  EXPECT_EQ(Compile("%%language editablestyles = " + list).settings.editableStyles.size(), 25u);
  const auto e = test::CompileError("%%language editablestyles = " + list + ", ('x', 30)");
  EXPECT_EQ(e.Text(), "Too many editable styles");
  EXPECT_EQ(test::CompileError("%%language editablestyles = ('x', 256)").Text(), "Value must be 0..255");
}

TEST(SchemeCompilerLanguage, StateSetsAnchorsAndContextStates) {
  TSchemeTables t = Compile("%%words 'x' '' 1");
  EXPECT_EQ(t.startStates, States({0}));
  EXPECT_EQ(t.anchors, States({0}));
  EXPECT_TRUE(t.boundStates.none());

  t = Compile(R"(%%language
contextstates = (1 2 [3, 4]), (5)
startstate = [1, 2]
boundstates = 7
anchor = []
)");
  EXPECT_EQ(t.startStates, States({1, 2}));
  EXPECT_EQ(t.boundStates, States({7}));
  EXPECT_EQ(t.anchors, States({0}));  // an empty anchor list means token value 0
  EXPECT_EQ(t.contextStates[1], States({3, 4}));
  EXPECT_EQ(t.contextStates[2], States({3, 4}));
  EXPECT_TRUE(t.contextStates[5].none());
  // Values without an entry start with the start states, even when those come later.
  EXPECT_EQ(t.contextStates[9], States({1, 2}));

  const auto e = test::CompileError("%%language contextstates = (1 [2]), (3 1)");
  EXPECT_EQ(test::Where(e), "1:40 Token value 1 re-specified in ContextState");
}

TEST(SchemeCompilerWords, WordsConditionsStatesAndRecords) {
  const TSchemeTables t = Compile(R"(%%words
'Begin' '' 1
'end' '[^a-z]' 2 [3, 4]
'x' '\[' 2
)");
  ASSERT_EQ(t.words.size(), 3u);
  EXPECT_EQ(t.words[0].text, "begin");  // case-insensitive language: stored lower-cased
  EXPECT_EQ(t.words[0].follow, -1);
  EXPECT_EQ(t.words[0].valid, States({0}));
  EXPECT_EQ(t.words[1].valid, States({0, 3, 4}));
  ASSERT_GE(t.words[1].follow, 0);
  const TSM_CharGroup& notLower = t.groups[static_cast<std::size_t>(t.words[1].follow)];
  EXPECT_FALSE(notLower.Contains('q'));
  EXPECT_TRUE(notLower.Contains('Q'));
  // An escaped "[" is a plain character, not the start of a set.
  EXPECT_EQ(t.groups[static_cast<std::size_t>(t.words[2].follow)], TSM_CharGroup::Single('['));

  // The word's states also go to its token value's record, created without state changes.
  EXPECT_TRUE(t.records[2].present);
  EXPECT_EQ(t.records[2].valid, States({3, 4}));
  EXPECT_TRUE(t.records[2].noStateChange);
  EXPECT_TRUE(t.records[1].present);
  EXPECT_FALSE(t.records[5].present);
}

TEST(SchemeCompilerWords, CaseRuleMayFollowTheWords) {
  const TSchemeTables t = Compile("%%words 'If' '' 1 'if' '' 2\n%%language case = 1");
  ASSERT_EQ(t.words.size(), 2u);
  EXPECT_EQ(t.words[0].text, "If");
  EXPECT_EQ(test::Where(test::CompileError("%%words 'If' '' 1\n'if' '' 2")),
            "2:1 Duplicate entry in %%word table");
  EXPECT_EQ(test::Where(test::CompileError("%%language case = 1 %%words 'if' '' 1\n 'if' '' 2")),
            "2:2 Duplicate entry in %%word table");
}

TEST(SchemeCompilerWords, OneTextInStatesThatDoNotMeet) {
  // "-->" ends an HTML comment in state 4 and an old script wrapper in state 20.
  const TSchemeTables t = Compile("%%words '-->' '' 13 [4] '-->' '' 65 [20, 21]");
  ASSERT_EQ(t.words.size(), 2u);
  EXPECT_EQ(t.words[1].value, 65);
  EXPECT_EQ(test::Where(test::CompileError("%%words 'a' '' 1 [4, 5]\n 'a' '' 2 [5]")),
            "2:2 Duplicate entry in %%word table");
  EXPECT_EQ(test::Where(test::CompileError("%%words 'a' '' 1 [4]\n 'a' '' 2")),
            "2:2 Duplicate entry in %%word table");
  // Letter case is folded before the texts are compared.
  EXPECT_EQ(test::Where(test::CompileError("%%words 'If' '' 1 [3]\n'if' '' 2 [3]")),
            "2:1 Duplicate entry in %%word table");
  EXPECT_NO_THROW((void)Compile("%%words 'If' '' 1 [3]\n'if' '' 2 [4]"));
}

TEST(SchemeCompilerWords, KeywordTableWithItsOwnCaseRule) {
  const TSchemeTables t = Compile(
      "%%kwTables forstate [20] endswith '' case __sensitive ( 30 is 'Map', 'map' )"
      " forstate [21] endswith '' ( 31 is 'Dim' )");
  ASSERT_EQ(t.keywordTables.size(), 2u);
  EXPECT_TRUE(t.keywordTables[0].caseSensitive);
  EXPECT_EQ(t.keywordTables[0].words[0].text, "Map");
  EXPECT_FALSE(t.keywordTables[1].caseSensitive);
  EXPECT_EQ(t.keywordTables[1].words[0].text, "dim");
}

TEST(SchemeCompilerGroups, IdenticalGroupsAreSharedAcrossTables) {
  const TSchemeTables t = Compile(R"(%%words 'a' '[0-9]' 1
%%tokens 2 '[0-9]' '[0-9]' '' 0
%%handlers 1 '[0-9]' ? '[0-9]' 0
)");
  EXPECT_EQ(t.groups.size(), 1u);  // "[0-9]" once; the empty terminator holds no group
  EXPECT_EQ(t.words[0].follow, 0);
  EXPECT_EQ(t.defaultTable.entries[0].startGroup, 0);
  EXPECT_EQ(t.handlers[1].body.group, 0);
}

TEST(SchemeCompilerTokens, BodyTerminatorAndFlagForms) {
  const TSchemeTables t = Compile(R"(%%tokens
1 '<' '[^>]' ? '>' 1
2 '/' match ( 7 )
3 __STD_IDENTIFIER
4 '"' 0 '"' 1 [5]
5 '-' '-' '-->' 0
6 '#' 10 match (3) 0
)");
  const TTokenTable& d = t.defaultTable;
  ASSERT_EQ(d.entries.size(), 6u);
  const TTokenEntry& tag = d.entries[static_cast<std::size_t>(d.first['<'])];
  EXPECT_EQ(tag.value, 1);
  EXPECT_TRUE(tag.spec.optionalBody);
  EXPECT_TRUE(tag.spec.flag);
  EXPECT_EQ(tag.spec.termCount, 1);
  EXPECT_EQ(t.groups[tag.spec.term[0].group], TSM_CharGroup::Single('>'));
  EXPECT_EQ(tag.valid, States({0}));

  const TTokenEntry& custom = d.entries[static_cast<std::size_t>(d.first['/'])];
  EXPECT_EQ(custom.spec.body.kind, TScanPart::Kind::Custom);
  EXPECT_EQ(custom.spec.body.custom, 7);
  EXPECT_EQ(custom.spec.termCount, 0);

  const TTokenEntry& ident = d.entries[static_cast<std::size_t>(d.first['_'])];
  EXPECT_TRUE(ident.startIsScanner);
  EXPECT_EQ(ident.startScanner, kScanIdentifier);
  EXPECT_EQ(d.first['Q'], d.first['_']);

  const TTokenEntry& str = d.entries[static_cast<std::size_t>(d.first['"'])];
  EXPECT_EQ(str.spec.body.kind, TScanPart::Kind::Scanner);
  EXPECT_EQ(str.spec.body.scanner, kScanStringChar);
  EXPECT_EQ(str.valid, States({0, 5}));

  const TTokenEntry& comment = d.entries[static_cast<std::size_t>(d.first['-'])];
  EXPECT_EQ(comment.spec.termCount, 3);
  EXPECT_FALSE(comment.spec.optionalBody);
  EXPECT_FALSE(comment.spec.flag);

  const TTokenEntry& hash = d.entries[static_cast<std::size_t>(d.first['#'])];
  EXPECT_EQ(hash.spec.body.scanner, kScanIdentifier);
  EXPECT_EQ(hash.spec.term[0].kind, TScanPart::Kind::Custom);
  EXPECT_EQ(hash.spec.term[0].custom, 3);
  EXPECT_EQ(d.first['>'], -1);
}

TEST(SchemeCompilerTokens, InStateBlocksHaveTheirOwnTables) {
  const TSchemeTables t = Compile(R"(%%tokens
1 '<' '[a-z]' '>' 1
InState 3 ( 2 '<' '[a-z]' '>' 1  4 '&' ';' ';' 1 [6] )
InState 5 ( 2 '<' '!' '>' 1 )
InState 3 ( 7 '%' '%' '%' 1 )
)");
  EXPECT_EQ(t.defaultTable.entries.size(), 1u);
  ASSERT_EQ(t.stateTables.size(), 2u);
  ASSERT_GE(t.stateTableOf[3], 0);
  const TTokenTable& s3 = t.stateTables[static_cast<std::size_t>(t.stateTableOf[3])];
  EXPECT_EQ(s3.entries.size(), 3u);  // the second block of state 3 adds to its table
  EXPECT_EQ(s3.entries[0].valid, States({0, 3}));
  EXPECT_EQ(s3.entries[1].valid, States({0, 3, 6}));
  EXPECT_EQ(&t.TableFor(States({3})), &s3);
  EXPECT_EQ(&t.TableFor(States({4})), &t.defaultTable);
  EXPECT_EQ(t.stateTableOf[4], -1);
}

TEST(SchemeCompilerTokens, StartSetsMustNotOverlapWithinOneTable) {
  EXPECT_EQ(test::Where(test::CompileError("%%tokens 1 '[a-f]' 'x' '' 0\n  2 '[e-z]' 'x' '' 0")),
            "2:5 Ambigious start set in %%token table");
  EXPECT_EQ(test::CompileError("%%tokens 1 'a' 'x' '' 0  2 __STD_IDENTIFIER").Text(),
            "Ambigious start set in %%token table");
  // The same start in different InState tables, and in a state table and the default table.
  EXPECT_NO_THROW((void)Compile(
      "%%tokens 1 'a' 'x' '' 0 InState 1 ( 2 'a' 'x' '' 0 ) InState 2 ( 3 'a' 'x' '' 0 )"));
}

TEST(SchemeCompilerHandlers, OneHandlerPerTokenValue) {
  // A handler of `match ( n )` alone is followed by its flag value.
  const TSchemeTables t = Compile("%%handlers 1 '[a-z]' '' 0 2 match(4) 1 3 1 ? 2 1 4 match(5) 0");
  EXPECT_EQ(t.hasHandler, States({1, 2, 3, 4}));
  EXPECT_EQ(t.handlers[2].body.kind, TScanPart::Kind::Custom);
  EXPECT_TRUE(t.handlers[2].flag);
  EXPECT_FALSE(t.handlers[4].flag);
  EXPECT_EQ(t.handlers[3].body.scanner, kScanUrlRun);
  EXPECT_TRUE(t.handlers[3].optionalBody);
  EXPECT_EQ(t.handlers[3].term[0].scanner, kScanRestOfLine);
  EXPECT_TRUE(t.handlers[3].flag);
  EXPECT_EQ(test::Where(test::CompileError("%%handlers 1 'a' '' 0\n1 'b' '' 0")),
            "2:1 Duplicate entry in %%handler table");
}

TEST(SchemeCompilerStyles, MapAndEffects) {
  const TSchemeTables t = Compile(R"(%%map 1 3 2 4
%%effects
0 [] clBlack clWhite
0 [fsBold] clRed clWhite
3 [fsBold, fsUnderline] clBlue * clYellow 'HotSpot'
4 [7] clGreen clWhite *
)");
  EXPECT_EQ(t.map[1], 3);
  EXPECT_EQ(t.map[2], 4);
  EXPECT_EQ(t.map[0], 0);
  EXPECT_EQ(t.effects[0].fontStyle, 1);  // style 0 may be given again
  const TSchemeEffect& e3 = t.effects[3];
  EXPECT_TRUE(e3.present);
  EXPECT_EQ(e3.fontStyle, 1 | 4);
  EXPECT_EQ(e3.foreground, 16711680u);
  EXPECT_TRUE(e3.defaultForeground);
  EXPECT_FALSE(e3.defaultBackground);
  EXPECT_TRUE(e3.hotspot);
  EXPECT_EQ(t.effects[4].fontStyle, 128);
  EXPECT_TRUE(t.effects[4].defaultBackground);
  EXPECT_FALSE(t.effects[4].hotspot);
  EXPECT_FALSE(t.effects[5].present);

  EXPECT_EQ(test::CompileError("%%effects 3 [] 0 0 3 [] 0 0").Text(), "Duplicate %%effect entry");
  EXPECT_EQ(test::CompileError("%%effects 3 [fsBold fsItalic] 0 0").Text(), "Bad font style specifier");
  EXPECT_EQ(test::CompileError("%%effects 3 [8] 0 0").Text(), "Bad font style specifier");
  EXPECT_EQ(test::CompileError("%%effects 3 0 0 0").Text(), "Bad font style specifier");
}

TEST(SchemeCompilerStates, SetsClearsAndPushPop) {
  const TSchemeTables t = Compile(R"(%%states
1 ( +2 -3 + [4, 5] )
2 push ( +1 ) pop
3 pop ( -1 ) push
4 push ( +1 )
5 ( ) pop
6 ( - [7] )
%%containers 7 ( +8 )
)");
  EXPECT_EQ(t.records[1].toSet, States({2, 4, 5}));
  EXPECT_EQ(t.records[1].toClear, States({3}));
  EXPECT_FALSE(t.records[1].noStateChange);
  EXPECT_EQ(t.records[1].pushPop, 0);
  // Only the last push/pop written survives; a trailing pop empties both sets.
  EXPECT_EQ(t.records[2].pushPop, kPopAfter);
  EXPECT_TRUE(t.records[2].toSet.none());
  EXPECT_TRUE(t.records[2].noStateChange);
  EXPECT_EQ(t.records[3].pushPop, kPushAfter);
  EXPECT_EQ(t.records[3].toClear, States({1}));
  EXPECT_EQ(t.records[4].pushPop, kPushBefore);
  EXPECT_EQ(t.records[5].pushPop, kPopAfter);
  EXPECT_TRUE(t.records[5].noStateChange);
  EXPECT_EQ(t.records[6].toClear, States({7}));
  EXPECT_TRUE(t.records[7].container);
  EXPECT_EQ(t.records[7].toSet, States({8}));
  EXPECT_FALSE(t.records[6].container);
}

TEST(SchemeCompilerKwTables, TablesWithEndingsAndWords) {
  const TSchemeTables t = Compile(R"(%%kwTables
forstate [] endswith '>' ( 7 is 'Href', 'src' 8 is 'alt' )
forstate [2, 3] endswith '' ( 9 is 'x' )
)");
  ASSERT_EQ(t.keywordTables.size(), 2u);
  const TKeywordTable& k = t.keywordTables[0];
  EXPECT_EQ(k.valid, States({0}));
  EXPECT_EQ(k.endsWith, ">");
  EXPECT_FALSE(k.caseSensitive);
  ASSERT_EQ(k.words.size(), 3u);
  EXPECT_EQ(k.words[0], (TKeywordTable::Word{"href", 7}));
  EXPECT_EQ(k.words[2], (TKeywordTable::Word{"alt", 8}));
  EXPECT_EQ(t.keywordTables[1].valid, States({2, 3}));

  EXPECT_EQ(test::CompileError("%%kwTables forstate [] endswith '' ( 1 is 'a', 'A' )").Text(),
            "Duplicate keyword - 'a'");
  EXPECT_EQ(test::CompileError("%%kwTables forstate [1] endswith '' ( 1 is 'a' )"
                               " forstate [0, 1] endswith '' ( 1 is 'b' )")
                .Text(),
            "Ambigious key table state definition");
  std::string many = "%%kwTables";
  for (int i = 0; i < 17; ++i) many += " forstate [" + std::to_string(i) + "] endswith '' ( 1 is 'a' )";
  EXPECT_EQ(test::CompileError(many).Text(), "Too many keyword tables declared");
}
