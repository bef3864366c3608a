// Tests of the scheme compiler's key table, auto-replace, templates and tab-stop columns.
#include <gtest/gtest.h>

#include <algorithm>

#include "SchemeTestUtil.h"

using namespace vlr;
using vlr::test::Compile;
using vlr::test::CompileError;

namespace {

// The command bound to the sequence, or -1.
int CommandOf(const TKeyTable& keys, std::uint16_t key1, std::uint16_t key2 = 0) {
  for (const auto& b : keys.bindings)
    if (b.key1 == key1 && b.key2 == key2) return b.command;
  return -1;
}

}  // namespace

TEST(SchemeCompilerKeys, DefaultTableHasEveryCommandAndItsKeys) {
  const TKeyTable keys = DefaultKeyTable();
  EXPECT_EQ(keys.descriptions[0], "Cursor left");
  EXPECT_EQ(keys.descriptions[16], "Delete character before caret");
  EXPECT_EQ(keys.descriptions[29], "Set Bookmark 9");
  EXPECT_EQ(keys.descriptions[30], "Goto Bookmark 0");
  EXPECT_EQ(keys.descriptions[43], "Delete previous word");
  EXPECT_EQ(keys.descriptions[44], "");
  EXPECT_EQ(CommandOf(keys, 37), 0);
  EXPECT_EQ(CommandOf(keys, kKeyCtrl | 39), 9);
  EXPECT_EQ(CommandOf(keys, kKeyCtrl | 'K', 'U'), 18);
  EXPECT_EQ(CommandOf(keys, kKeyCtrl | 'Q', '7'), 37);
  EXPECT_EQ(CommandOf(keys, kKeyCtrl | kKeyShift | 'Z'), 42);
  EXPECT_EQ(CommandOf(keys, kKeyCtrl | 8), 43);
  EXPECT_EQ(CommandOf(keys, 45), 19);
  EXPECT_EQ(keys.bindings.size(), 44u);  // every command but caPRINTSEL has one sequence
  // A script without "%%keys" keeps the default table.
  EXPECT_EQ(Compile("%%map 1 1").keys, keys);
}

TEST(SchemeCompilerKeys, KeysSectionReplacesTheSequences) {
  const TSchemeTables t = Compile(R"(%%keys
caUNDO ( [ctrl] 'z' | [alt, shift] BACKSPACE ) 'Undo it'
caBLOCKIND ( [ctrl] 'k', 'i' )
caPRINTSEL 'Print selection'
)");
  EXPECT_EQ(t.keys.bindings.size(), 3u);
  EXPECT_EQ(CommandOf(t.keys, kKeyCtrl | 'Z'), 41);
  EXPECT_EQ(CommandOf(t.keys, kKeyAlt | kKeyShift | 8), 41);
  EXPECT_EQ(CommandOf(t.keys, kKeyCtrl | 'K', 'I'), 17);
  EXPECT_EQ(CommandOf(t.keys, 37), -1);
  EXPECT_EQ(t.keys.descriptions[41], "Undo it");
  EXPECT_EQ(t.keys.descriptions[44], "Print selection");
  EXPECT_EQ(t.keys.descriptions[0], "Cursor left");  // descriptions not given stay
}

TEST(SchemeCompilerKeys, DuplicateSequenceNamesBothCommands) {
  const auto e = CompileError("%%keys caUNDO ( [ctrl] 'y' )\ncaDELETELINE ( [ctrl] 'Y' )");
  EXPECT_EQ(e.Text(), "Duplicate key sequence definition for\r\n\"Undo\" and \"Delete current line\"");
  EXPECT_EQ(e.Line(), 2);
  EXPECT_EQ(e.Column(), 16);
  // A one-key sequence cannot also start a two-key one.
  EXPECT_EQ(CompileError("%%keys 17 ( [ctrl] 'K', 'I' ) 20 ( [ctrl] 'K' )").Text(),
            "Duplicate key sequence definition for\r\n\"Indent selected block\" and \"Set Bookmark 0\"");
  EXPECT_NO_THROW((void)Compile("%%keys 17 ( [ctrl] 'K', 'I' ) 18 ( [ctrl] 'K', 'U' )"));
}

TEST(SchemeCompilerKeys, KeyEntryErrors) {
  EXPECT_EQ(CompileError("%%keys 1 ( 'ab' )").Text(), "Single character specifier expected");
  EXPECT_EQ(CompileError("%%keys 1 ( [ctrl] )").Text(), "Key specification required");
  EXPECT_EQ(CompileError("%%keys 1 ( 37 ) ''").Text(), "Key function name cannot be blank");
  EXPECT_EQ(CompileError("%%keys 45 ( 37 )").Text(), "Range error, value outwith 0 .. 44");
  EXPECT_EQ(CompileError("%%keys 1 ( 256 )").Text(), "Range error, value outwith 0 .. 255");
}

TEST(SchemeCompilerKeys, AutoReplaceAndTemplates) {
  const TSchemeTables t = Compile(R"(%%autoreplace
'old' = 'gone'
%%autoreplace
actionkeys = ';.\{Return}\s'
'teh' = 'the'
'(c)' = '&copy;'
%%templates
hotkey = ( [ctrl, shift] 't' )
'for' ( 'For loop' ) = 'for (|) {\n}'
'if' = 'if'
)");
  // Each section empties its list first.
  ASSERT_EQ(t.autoReplace.size(), 2u);
  EXPECT_EQ(t.autoReplace[0], (TReplaceEntry{"teh", "the"}));
  EXPECT_EQ(t.autoReplace[1], (TReplaceEntry{"(c)", "&copy;"}));
  EXPECT_EQ(t.actKeys, ";.\\{Return}\\s");  // kept as written, for its own escapes
  EXPECT_EQ(t.templateHotKey, kKeyCtrl | kKeyShift | 'T');
  ASSERT_EQ(t.templates.size(), 2u);
  EXPECT_EQ(t.templates[0], (TTemplateEntry{"for", "For loop", "for (|) {\x0d}"}));
  EXPECT_EQ(t.templates[1], (TTemplateEntry{"if", "", "if"}));

  const TSchemeTables plain = Compile("%%map 1 1");
  EXPECT_EQ(plain.actKeys, kDefaultActKeys);
  EXPECT_EQ(plain.templateHotKey, kDefaultTemplateHotKey);
  EXPECT_EQ(CompileError("%%autoreplace 'a' 'b'").Text(), "'=' expected");
}

TEST(SchemeCompilerKeys, TabColumnRules) {
  const auto tabs = [](const std::string& text) {
    return CompileError("%%language tabcolumns = '" + text + "'").Text();
  };
  EXPECT_EQ(tabs("5 x"), "Tab stop column value expected");
  EXPECT_EQ(tabs("5 9a"), "Tab stop column value expected");
  EXPECT_EQ(tabs("1 5"), "Tab column must be > 1");
  EXPECT_EQ(tabs("5 9 9"), "Tab columns must be in order and unique");
  EXPECT_EQ(tabs("9 5"), "Tab columns must be in order and unique");
  std::string many;
  for (int i = 2; i <= 34; ++i) many += std::to_string(i) + " ";
  EXPECT_EQ(tabs(many), "Too many tab stops - maximum of 32");
  many.resize(many.rfind("34"));
  const TSchemeTables t = Compile("%%language tabcolumns = '" + many + "'");
  EXPECT_EQ(t.settings.tabStops[31], 32);
  EXPECT_EQ(CompileError("%%language tabdefault = 0").Text(), "=Illegal default tab stop value, must be > 0");
}
