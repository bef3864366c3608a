// A parser's language settings reach the controls that use it: on first use, whenever its tables
// change, and from an edited copy (the options dialog). The list of controls survives either side
// being destroyed first; without highlighting nothing is scanned.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <memory>
#include <string>

#include <unistd.h>

#include "memo/engine/MemoEngine.h"
#include "memo/engine/scheme/ControlSettings.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/RegistryFile.h"
#include "memo/engine/scheme/SchemeCompiler.h"
#include "memo/engine/scheme/StoredForm.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

namespace {

using namespace velora::memo;
using vlr::TSchemeSettings;
using vlr::TSchemeTables;
using vlr::TSyntaxMemoParser;

// Words "if" (token 1, style 3) and "x" (token 2); the settings differ from a fresh control's.
TSchemeTables Tables(std::uint32_t options = kDefaultOptions) {
  TSchemeTables t = vlr::CompileSchemeText(R"(
%%language
name = 'Test'
wordwrapcolumn = 72
rightmargin = 66
gutter = 40
indentstep = 3
wrapoverride = '-/'
fontname = 'Mono Test'
fontsize = 13
tabcolumns = '5 9'
tabdefault = 6
seltextcolor = 255
seltextback = [*] 0
guttercolor = 65280
margincolor = 128
marginwidth = 3
%%words
'if' '' 1
'x' '' 2
%%map
1 3
%%effects
3 [fsBold] clRed clWhite
)");
  t.settings.options = options;
  return t;
}

void Settle(MemoEngine& e) {
  while (e.HighlightSlice(100000)) {
  }
}

TEST(ControlSettings, EverySettingReachesTheControlAndTheWidgetIsTold) {
  MemoEngine e;
  // The defaults that use-default colours stand for are the control's own.
  EXPECT_EQ(e.selTextColor, vlr::kDefaultSelTextColor);
  EXPECT_EQ(e.selTextBack, vlr::kDefaultSelTextBack);
  EXPECT_EQ(e.gutterColor, vlr::kDefaultGutterColor);
  int notified = 0;
  int repainted = 0;
  e.onSettingsChanged = [&] { ++notified; };
  e.onRepaint = [&] { ++repainted; };
  e.selTextBack = rgb(1, 2, 3);

  const TSchemeSettings s = Tables(kDefaultOptions | smoWordWrap).settings;
  vlr::ApplySchemeSettings(e, s);
  EXPECT_EQ(e.options, kDefaultOptions | smoWordWrap);
  EXPECT_EQ(e.tabDefault, 6);
  EXPECT_EQ(e.tabColumns, (std::vector<int>{4, 8}));
  EXPECT_EQ(e.nextTabStop(0), 4);
  EXPECT_EQ(e.rightMargin, 66);
  EXPECT_EQ(e.wrapAtColumn, 72);
  EXPECT_EQ(e.gutterWidth, 40);
  EXPECT_EQ(e.indentStep, 3);
  EXPECT_EQ(e.wrapOverride, "-/");
  EXPECT_EQ(e.gutterColor, 65280u);
  EXPECT_EQ(e.marginColor, 128u);
  EXPECT_EQ(e.marginWidth, 3);
  EXPECT_EQ(e.selTextColor, 255u);
  EXPECT_EQ(e.selTextBack, vlr::kDefaultSelTextBack);  // [*]: the control's default
  EXPECT_EQ(e.fontName, "Mono Test");
  EXPECT_EQ(e.fontSize, 13);
  EXPECT_EQ(notified, 1);
  EXPECT_GE(repainted, 1);

  // Values a damaged stored form might hold are not taken: the control keeps its own (an
  // indent step of 2^31 would make block indent build a 2 GB string per line).
  TSchemeSettings bad = s;
  bad.tabDefault = 0;
  bad.fontName.clear();
  bad.fontSize = 0;
  bad.gutterWidth = -5;
  bad.indentStep = 0x7FFFFFFF;
  bad.rightMargin = -1;
  bad.wordWrapColumn = 1 << 30;
  bad.marginWidth = 0;
  bad.tabStops.fill(-1);
  bad.tabStops[0] = 1 << 30;
  bad.tabStops[1] = 7;
  vlr::ApplySchemeSettings(e, bad);
  EXPECT_EQ(e.tabDefault, 6);
  EXPECT_EQ(e.fontName, "Mono Test");
  EXPECT_EQ(e.fontSize, 13);
  EXPECT_EQ(e.gutterWidth, 40);
  EXPECT_EQ(e.indentStep, 3);
  EXPECT_EQ(e.rightMargin, 66);
  EXPECT_EQ(e.wrapAtColumn, 72);
  EXPECT_EQ(e.marginWidth, 3);
  EXPECT_EQ(e.tabColumns, std::vector<int>{7});
}

TEST(ParserControls, FirstUseAppliesAndEveryChangeReachesEveryControl) {
  TSyntaxMemoParser p;
  p.SetTables(Tables());
  MemoEngine a, b, other;
  vlr::AttachHighlighter(a, p);
  vlr::AttachHighlighter(b, p);
  EXPECT_EQ(p.Controls(), (std::vector<MemoEngine*>{&a, &b}));
  EXPECT_EQ(a.tabDefault, 6);
  EXPECT_EQ(b.rightMargin, 66);

  // Only the first use applies: the control's own later changes stay on a second attach.
  a.tabDefault = 2;
  vlr::AttachHighlighter(a, p);
  EXPECT_EQ(a.tabDefault, 2);
  EXPECT_EQ(p.Controls().size(), 2u);

  // A control whose active parser is another one is not touched.
  TSyntaxMemoParser q;
  q.SetTables(Tables());
  vlr::AttachHighlighter(other, p);
  vlr::AttachHighlighter(other, q, 2);
  other.tabDefault = 1;

  // New tables (load, compile, set) reach every control using the parser.
  TSchemeTables changed = Tables();
  changed.settings.tabDefault = 7;
  changed.settings.gutterWidth = 12;
  const vlr::TStoredFormResult r = p.LoadParserData(vlr::WriteStoredForm(changed), "P");
  ASSERT_TRUE(r.Ok()) << r.message;
  EXPECT_EQ(a.tabDefault, 7);
  EXPECT_EQ(b.tabDefault, 7);
  EXPECT_EQ(b.gutterWidth, 12);
  EXPECT_EQ(other.tabDefault, 1);

  // A detached control leaves the list and no longer follows.
  vlr::DetachHighlighter(b);
  EXPECT_EQ(b.parser(1), nullptr);
  EXPECT_EQ(p.Controls(), (std::vector<MemoEngine*>{&a, &other}));
  changed.settings.tabDefault = 9;
  p.SetTables(changed);
  EXPECT_EQ(a.tabDefault, 9);
  EXPECT_EQ(b.tabDefault, 7);
  // `other` still holds p in slot 1, so it stays in the list while q is active.
  vlr::DetachHighlighter(other, 2);
  EXPECT_EQ(q.Controls().size(), 0u);
  EXPECT_EQ(other.currentParser(), nullptr);  // slot 2 stays the active one
}

TEST(ParserControls, ReplacingTheSettingsTakesTheEditedPartsAndRepaints) {
  TSyntaxMemoParser p;
  p.SetTables(Tables());
  MemoEngine e;
  e.setText("if x");
  vlr::AttachHighlighter(e, p);
  Settle(e);
  EXPECT_TRUE(p.styleOf(1).bold);
  int repainted = 0;
  e.onRepaint = [&] { ++repainted; };

  TSchemeTables edited = p.Tables();
  edited.settings.rightMargin = 100;
  edited.settings.caseSensitive = true;
  edited.effects[3].fontStyle = 2;  // italic instead of bold
  edited.effects[3].foreground = 0x00FF00;
  edited.map[2] = 3;                // "x" now drawn in style 3 too
  edited.keys.bindings.push_back({0x4000 | 'M', 0, 40});
  edited.templates.push_back({"tp", "a template", "<p>|</p>"});
  edited.autoReplace.push_back({"teh", "the"});
  edited.words.clear();              // not a setting: ignored
  p.ReplaceSettings(edited);

  EXPECT_EQ(e.rightMargin, 100);
  EXPECT_GE(repainted, 1);
  EXPECT_EQ(p.Tables().settings, edited.settings);
  EXPECT_EQ(p.Tables().effects, edited.effects);
  EXPECT_EQ(p.Tables().keys, edited.keys);
  EXPECT_EQ(p.Tables().templates, edited.templates);
  EXPECT_EQ(p.Tables().autoReplace, edited.autoReplace);
  EXPECT_EQ(p.Tables().words.size(), 2u);
  EXPECT_EQ(p.codeTemplates()->entries().size(), 1u);
  const StyleEffect s = p.styleOf(1);
  EXPECT_TRUE(s.italic);
  EXPECT_FALSE(s.bold);
  EXPECT_EQ(s.foreground, 0x00FF00u);
  EXPECT_TRUE(p.styleOf(2).italic);
  // The document is highlighted again with the new tables.
  Settle(e);
  EXPECT_EQ(e.tokens(0, 4), (std::vector<std::uint8_t>{1, 1, 0, 2}));
  EXPECT_TRUE(e.styleAt(0).italic);
}

TEST(ParserControls, TheControlMayBeDestroyedFirst) {
  TSyntaxMemoParser p;
  p.SetTables(Tables());
  auto e = std::make_unique<MemoEngine>();
  MemoEngine kept;
  vlr::AttachHighlighter(*e, p);
  vlr::AttachHighlighter(kept, p);
  e.reset();
  EXPECT_EQ(p.Controls(), (std::vector<MemoEngine*>{&kept}));
  // Applying after the control went must not reach it (the sanitizer build checks).
  TSchemeTables t = Tables();
  t.settings.indentStep = 5;
  p.SetTables(t);
  EXPECT_EQ(kept.indentStep, 5);
}

TEST(ParserControls, TheParserMayBeDestroyedFirst) {
  auto p = std::make_unique<TSyntaxMemoParser>();
  p->SetTables(Tables());
  MemoEngine e;
  e.setText("if x if");
  vlr::AttachHighlighter(e, *p);
  Settle(e);
  p.reset();
  EXPECT_EQ(e.parser(1), nullptr);
  EXPECT_EQ(e.currentParser(), nullptr);
  // The control goes on as plain text: editing, slices and painting queries are safe.
  e.setSelection(0, 0);
  e.typeText("x");
  EXPECT_FALSE(e.HighlightSlice());
  EXPECT_FALSE(e.styleAt(0).bold);
  // A new parser in the same slot is used from the start.
  TSyntaxMemoParser q;
  q.SetTables(Tables());
  vlr::AttachHighlighter(e, q);
  Settle(e);
  EXPECT_EQ(e.tokens(1, 3), (std::vector<std::uint8_t>{1, 1}));
  EXPECT_EQ(q.Controls(), (std::vector<MemoEngine*>{&e}));
}

TEST(ParserControls, LoadedCompilesTheScriptAgainOnlyWithAutoScriptUpdate) {
  const std::string script = ::testing::TempDir() + "settings_script.txt";
  std::ofstream(script) << "%%language\nname = 'Script'\ntabdefault = 3\nrightmargin = 44\n"
                           "%%words\n'if' '' 1\n";
  TSyntaxMemoParser p;
  p.Script = script;
  ASSERT_TRUE(p.LoadParserData(vlr::WriteStoredForm(Tables()), "P").Ok());
  MemoEngine e;
  vlr::AttachHighlighter(e, p);
  EXPECT_EQ(e.tabDefault, 6);

  p.Loaded();  // AutoScriptUpdate is off: the stored tables stay
  EXPECT_EQ(p.Tables().settings.name, "Test");
  EXPECT_EQ(e.tabDefault, 6);

  p.AutoScriptUpdate = true;
  p.Loaded();
  EXPECT_EQ(p.Tables().settings.name, "Script");
  EXPECT_EQ(e.tabDefault, 3);
  EXPECT_EQ(e.rightMargin, 44);
}

TEST(ParserControls, WithoutHighlightingNothingIsScannedUntilItIsSwitchedOn) {
  TSyntaxMemoParser p;
  p.SetTables(Tables(kDefaultOptions & ~std::uint32_t(smoSyntaxHighlight)));
  MemoEngine e;
  e.setText("if x\rx if\r");
  vlr::THighlightDriver& d = vlr::AttachHighlighter(e, p);
  EXPECT_FALSE(e.hasOption(smoSyntaxHighlight));
  EXPECT_FALSE(e.highlightPending());
  EXPECT_FALSE(d.pending());
  d.Rescan(0);  // asked directly, the driver still does not scan
  EXPECT_EQ(d.LastRun().records, 0);
  e.setSelection(e.length(), e.length());
  e.typeText("if");
  Settle(e);
  EXPECT_EQ(e.tokens(0, e.length()), std::vector<std::uint8_t>(std::size_t(e.length()), 0));

  // Switched on through the settings: everything, including the text typed meanwhile, is scanned.
  TSchemeTables on = p.Tables();
  on.settings.options = kDefaultOptions;
  p.ReplaceSettings(on);
  Settle(e);
  EXPECT_EQ(e.tokens(0, e.length()), (std::vector<std::uint8_t>{1, 1, 0, 2, 0, 2, 0, 1, 1, 0, 1, 1}));
}

TEST(ParserRegistry, WithoutUseRegistryAndAKeyTheRegistryIsDisabled) {
  TSyntaxMemoParser p;
  p.Name = "SyntaxMemoParser1";
  p.RegistryKey = "Software\\Velora";  // not used
  try {
    p.SaveToRegistry();
    ADD_FAILURE() << "saving through the registry must fail";
  } catch (const ESyntaxMemo& e) {
    EXPECT_STREQ(e.what(), "Registry interface disabled in: SyntaxMemoParser1");
  }
  p.UseRegistry = true;
  p.RegistryKey.clear();
  EXPECT_THROW(p.LoadFromRegistry(), ESyntaxMemo);
}

class ParserRegistryFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("vlr_registry_" + std::to_string(::getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }
  std::filesystem::path folder;
};

TEST_F(ParserRegistryFile, TheSettingsFileIsUnderTheUsersConfigFolder) {
  const char* was = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = was ? was : "";
  ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  EXPECT_EQ(vlr::TRegistryFile::DefaultPath(), (folder / "velora" / "editor-registry.dat").string());
  TSyntaxMemoParser p;
  EXPECT_EQ(p.RegistryFile, (folder / "velora" / "editor-registry.dat").string());
  if (was)
    ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else
    ::unsetenv("XDG_CONFIG_HOME");
}

TEST_F(ParserRegistryFile, SavedSettingsAndKeysComeBackUnderTheLanguagesNames) {
  const std::string file = (folder / "velora" / "editor-registry.dat").string();
  TSyntaxMemoParser saver;
  saver.Name = "SyntaxMemoParser1";
  saver.UseRegistry = true;
  saver.RegistryKey = "Software\\Velora\\Editor";
  saver.RegistryFile = file;
  TSchemeTables changed = Tables();
  changed.settings.fontSize = 17;
  changed.settings.gutterWidth = 51;
  changed.keys.bindings = {{0x4000 | 'Y', 0, 40}, {0x4000 | 'K', 'B', 17}};
  changed.keys.descriptions[40] = "Delete line";
  saver.SetTables(changed);
  saver.SaveToRegistry();
  ASSERT_TRUE(std::filesystem::exists(file));

  // The values are named after the language, under the key.
  const vlr::TRegistryFile registry(file);
  const auto style = registry.Read(saver.RegistryKey, "Highlighting - Test");
  const auto keys = registry.Read(saver.RegistryKey, "Key Assignments - Test");
  ASSERT_TRUE(style.has_value());
  ASSERT_TRUE(keys.has_value());
  EXPECT_EQ(style->rfind("Tavrin6:", 0), 0u);
  EXPECT_EQ(keys->rfind("Tavrin6:", 0), 0u);

  // Another parser of the same language, with the scheme's own settings, loads them.
  TSyntaxMemoParser loader;
  loader.UseRegistry = true;
  loader.RegistryKey = saver.RegistryKey;
  loader.RegistryFile = file;
  loader.SetTables(Tables());
  MemoEngine e;
  vlr::AttachHighlighter(e, loader);
  loader.LoadFromRegistry();
  EXPECT_EQ(loader.Tables().settings.fontSize, 17);
  EXPECT_EQ(loader.Tables().settings.gutterWidth, 51);
  EXPECT_EQ(loader.Tables().keys, changed.keys);
  EXPECT_EQ(e.gutterWidth, 51);  // and the control that uses it follows

  // Saving again keeps the other keys and languages in the file.
  registry.Write("Other", {{"Highlighting - Else", "x"}});
  saver.SaveToRegistry();
  EXPECT_EQ(registry.Read("Other", "Highlighting - Else"), std::optional<std::string>("x"));
}

TEST_F(ParserRegistryFile, NothingSavedChangesNothingAndDamagedValuesAreRefused) {
  const std::string file = (folder / "editor-registry.dat").string();
  TSyntaxMemoParser p;
  p.UseRegistry = true;
  p.RegistryKey = "K";
  p.RegistryFile = file;
  p.SetTables(Tables());
  p.LoadFromRegistry();  // no file yet
  EXPECT_EQ(p.Tables().settings.fontSize, 13);

  const vlr::TRegistryFile registry(file);
  registry.Write("K", {{"Highlighting - Test", "Tavrin6:#OPT#x"}});
  try {
    p.LoadFromRegistry();
    ADD_FAILURE() << "a damaged style string must be refused";
  } catch (const ESyntaxMemo& e) {
    EXPECT_STREQ(e.what(), "Invalid data in style string");
  }
  std::filesystem::remove(file);
  registry.Write("K", {{"Key Assignments - Test", "not a key table"}});
  try {
    p.LoadFromRegistry();
    ADD_FAILURE() << "a damaged key table must be refused";
  } catch (const ESyntaxMemo& e) {
    EXPECT_STREQ(e.what(), "Invalid data in registry entry");
  }
  EXPECT_EQ(p.Tables().settings.fontSize, 13);
  // Any byte survives the file, and a file that is not of this form is refused.
  const std::string bytes("a\0b=[c]\\d\xff\r\n", 11);
  registry.Write("Key\nwith=odd", {{"name", bytes}});
  EXPECT_EQ(registry.Read("Key\nwith=odd", "name"), std::optional<std::string>(bytes));
  std::ofstream(file, std::ios::trunc) << "no section\n";
  EXPECT_THROW((void)registry.Read("K", "x"), ESyntaxMemo);
}

}  // namespace
