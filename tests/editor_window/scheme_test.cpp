// Editor windows highlight with the HTML scheme that comes with the program,
// or with the settings saved in "sedprop.dat"; a saved file that cannot be
// used is reported and the shipped scheme is used instead.
#include "EditorFixture.h"

#include "memo/engine/scheme/SchemeCompiler.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

namespace {

using vlrtest::EditorTest;

constexpr const char* kPage = "<p align=\"center\">Caf&eacute; <!-- note --></p>\n";

const vlr::TSyntaxMemoParser* SchemeOf(vlr::TFrmEditor* e) {
    return dynamic_cast<const vlr::TSyntaxMemoParser*>(e->memo().engine().currentParser());
}

// The token value of the first character of `piece` in the window's text.
int ValueAt(vlr::TFrmEditor* e, const std::string& piece) {
    const std::string text = e->memo().engine().store().text();
    const auto at = text.find(piece);
    if (at == std::string::npos)
        return -1;
    const auto v = e->memo().engine().tokens(velora::memo::Pos(at), velora::memo::Pos(at + 1));
    return v.empty() ? -1 : v[0];
}

std::string ShippedSchemeData() {
    vlr::TSyntaxMemoParser p;
    p.SetTables(vlr::CompileSchemeFile(VELORA_HTML_SCHEME_SCRIPT));
    return p.ParserData();
}

TEST_F(EditorTest, AnOpenedPageIsHighlightedWithTheHtmlScheme) {
    WriteFile(path("page.htm"), kPage);
    vlr::TFrmEditor* e = EditorFor(path("page.htm"));
    ASSERT_NE(e, nullptr);
    const vlr::TSyntaxMemoParser* scheme = SchemeOf(e);
    ASSERT_NE(scheme, nullptr);
    EXPECT_EQ(scheme->Compile(), "Compiled");
    EXPECT_EQ(scheme->Tables().settings.name, "HTML");
    EXPECT_EQ(ValueAt(e, "p align"), 21);   // tag name
    EXPECT_EQ(ValueAt(e, "align"), 5);      // attribute
    EXPECT_EQ(ValueAt(e, "&eacute;"), 16);  // entity
    EXPECT_EQ(ValueAt(e, "<!--"), 11);      // comment
    EXPECT_TRUE(prompter->messages().empty());

    // Typing keeps the values current.
    e->memo().engine().setSelection(0, 0);
    Type(e, "<b>");
    EXPECT_EQ(ValueAt(e, "b>"), 21);
}

TEST_F(EditorTest, SavedSchemeSettingsAreUsedByNewWindows) {
    vlr::TSchemeTables tables = vlr::CompileSchemeFile(VELORA_HTML_SCHEME_SCRIPT);
    tables.effects[21].foreground = 0x00FF00;  // tag names in another colour
    vlr::TSyntaxMemoParser saved;
    saved.SetTables(tables);
    WriteFile((appDir / "sedprop.dat").string(), saved.ParserData());
    vlr::TFrmEditor* e = NewEditor();
    ASSERT_NE(SchemeOf(e), nullptr);
    EXPECT_EQ(SchemeOf(e)->Tables().effects[21].foreground, 0x00FF00u);
    EXPECT_TRUE(prompter->messages().empty());
}

TEST_F(EditorTest, AnUnusableSedpropIsReportedAndTheShippedSchemeStays) {
    std::string other = ShippedSchemeData();
    other[0] = 48;  // saved by another version
    WriteFile((appDir / "sedprop.dat").string(), other);
    WriteFile(path("page.htm"), kPage);
    vlr::TFrmEditor* e = EditorFor(path("page.htm"));
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(prompter->messages()[0].kind, vlr::MessageKind::Warning);
    EXPECT_EQ(prompter->messages()[0].text,
              "SyntaxMemoParser1: DFM file saved by different version of TSyntaxMemoParser.\n\r"
              "Recompile script to update DFM file.\n\rExpected version was 49 read version was 48");
    EXPECT_EQ(ValueAt(e, "p align"), 21);

    std::string damaged = ShippedSchemeData();
    damaged.resize(damaged.size() / 2);
    WriteFile((appDir / "sedprop.dat").string(), damaged);
    // Another page: the open one would only be brought to the front.
    WriteFile(path("other.htm"), kPage);
    vlr::TFrmEditor* second = EditorFor(path("other.htm"));
    ASSERT_EQ(prompter->messages().size(), 2u);
    EXPECT_EQ(prompter->messages()[1].kind, vlr::MessageKind::Error);
    EXPECT_NE(prompter->messages()[1].text.find("sedprop.dat"), std::string::npos);
    EXPECT_EQ(ValueAt(second, "p align"), 21);
}

}  // namespace
