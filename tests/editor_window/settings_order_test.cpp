// The order in which an editor window's control gets its settings: the HTML
// scheme's, then the window's own, then those saved in "sedprop.dat", and the
// preferences font last.
#include "EditorFixture.h"

#include "memo/engine/scheme/SchemeCompiler.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

namespace {

using namespace velora::memo;
using vlrtest::EditorTest;

// A shipped scheme whose settings differ from a fresh control's.
std::string SchemeData() {
    vlr::TSchemeTables tables = vlr::CompileSchemeText("%%language\nname = 'HTML'\n%%words\n'a' '' 21\n");
    tables.settings.gutterWidth = 41;
    tables.settings.wrapOverride = "<>";
    tables.settings.marginColor = rgb(1, 2, 3);
    tables.settings.gutterColor = {false, rgb(4, 5, 6)};
    tables.settings.tabDefault = 8;
    tables.settings.indentStep = 3;
    tables.settings.fontName = "Scheme Font";
    tables.settings.fontSize = 20;
    vlr::TSyntaxMemoParser p;
    p.SetTables(tables);
    return p.ParserData();
}

TEST_F(EditorTest, SchemeSettingsComeFirstAndThePreferencesFontWins) {
    std::filesystem::remove(appDir / "schemes");  // the link to the program's schemes
    std::filesystem::create_directories(appDir / "schemes");
    WriteFile((appDir / "schemes" / "VLR_HTML.scm").string(), SchemeData());
    WritePreferences("[Environment]\nNewEditor=0\n[EdEnv]\nFontNm=Liberation Mono\nFontSz=13\n");
    vlr::TFrmEditor* e = NewEditor();
    const MemoEngine& en = e->memo().engine();
    ASSERT_NE(e->SyntaxMemoParser1, nullptr);
    EXPECT_EQ(e->SyntaxMemoParser1->Controls(), std::vector<MemoEngine*>{&e->memo().engine()});
    // The scheme's own settings that the window leaves alone.
    EXPECT_EQ(en.gutterWidth, 41);
    EXPECT_EQ(en.wrapOverride, "<>");
    EXPECT_EQ(en.marginColor, rgb(1, 2, 3));
    EXPECT_EQ(en.gutterColor, rgb(4, 5, 6));
    // The window's settings override the scheme's.
    EXPECT_EQ(en.tabDefault, 4);
    EXPECT_EQ(en.indentStep, 1);
    // The preferences font wins over both.
    EXPECT_EQ(e->memo().fontName().toStdString(), "Liberation Mono");
    EXPECT_EQ(e->memo().fontSize(), 13);
    EXPECT_TRUE(prompter->messages().empty());
}

TEST_F(EditorTest, SettingsSavedFromTheOptionsDialogOverrideTheWindowsOwn) {
    vlr::TSchemeTables tables = vlr::CompileSchemeText("%%language\nname = 'HTML'\n%%words\n'a' '' 21\n");
    tables.settings.tabDefault = 7;
    tables.settings.tabColumns = "3";
    tables.settings.tabStops[0] = 2;
    tables.settings.rightMargin = 72;
    tables.settings.indentStep = 4;
    tables.settings.options = kDefaultOptions & ~std::uint32_t(smoShowGutter);
    tables.settings.selTextBack = {false, rgb(0, 128, 0)};
    tables.settings.fontName = "Saved Font";
    tables.settings.fontSize = 20;
    vlr::TSyntaxMemoParser saved;
    saved.SetTables(tables);
    WriteFile((appDir / "sedprop.dat").string(), saved.ParserData());

    vlr::TFrmEditor* e = NewEditor();
    const MemoEngine& en = e->memo().engine();
    EXPECT_EQ(en.tabDefault, 7);
    EXPECT_EQ(en.tabColumns, std::vector<int>{2});
    EXPECT_EQ(en.rightMargin, 72);
    EXPECT_EQ(en.indentStep, 4);
    EXPECT_EQ(en.options, kDefaultOptions & ~std::uint32_t(smoShowGutter));
    EXPECT_EQ(en.selTextBack, rgb(0, 128, 0));
    // No preferences: their default font still comes last.
    EXPECT_EQ(e->memo().fontName().toStdString(), "Courier New");
    EXPECT_EQ(e->memo().fontSize(), 10);
    EXPECT_TRUE(prompter->messages().empty());

    // Settings replaced later (the options dialog's OK) reach the open window.
    vlr::TSchemeTables edited = e->SyntaxMemoParser1->Tables();
    edited.settings.rightMargin = 90;
    e->SyntaxMemoParser1->ReplaceSettings(edited);
    EXPECT_EQ(en.rightMargin, 90);
}

TEST_F(EditorTest, ClosingTheWindowLeavesNoControlBehind) {
    vlr::TFrmEditor* e = NewEditor();
    ASSERT_EQ(e->SyntaxMemoParser1->Controls().size(), 1u);
    vlr::TSyntaxMemoParser* parser = e->SyntaxMemoParser1.get();
    vlr::TFrmEditor* other = NewEditor();
    // Each window has its own component: the other one's list holds only its control.
    EXPECT_NE(other->SyntaxMemoParser1.get(), parser);
    EXPECT_EQ(other->SyntaxMemoParser1->Controls(), std::vector<MemoEngine*>{&other->memo().engine()});
    delete e;
    EXPECT_EQ(other->memo().engine().currentParser(), other->SyntaxMemoParser1.get());
}

}  // namespace
