// A document's indentation read from its lines, its .editorconfig settings
// and the rules they give for saving.
#include "editor/document/DocumentIndent.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using velora::memo::IndentKind;
using velora::memo::IndentStyle;

TEST(DocumentIndent, DetectedFromTheIndentedLines) {
    struct Case {
        const char* text;
        std::optional<IndentStyle> want;
    };
    const Case cases[] = {
        {"<p>\r\r<p>", std::nullopt},
        {"a\r    b\r        c\r    d", IndentStyle{IndentKind::Spaces, 4}},
        // Alignment blanks in between do not hide the two-column steps.
        {"<ul>\r  <li>\r    \xCE\xB1\r     \xCE\xB2\r  <li>\r    \xCE\xB3\r</ul>", IndentStyle{IndentKind::Spaces, 2}},
        {"   x\r   y", IndentStyle{IndentKind::Spaces, 3}},  // never grows: the smallest
        {"a\r\tb\r\t\tc\r  d", IndentStyle{IndentKind::Tabs, 0}},  // most lines start with a tab
        {"a\r \tb", std::nullopt},                                  // blanks then a tab: neither
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(vlr::DetectIndentation(c.text), c.want);
    }
}

TEST(DocumentIndent, EditorConfigFirstThenTheTextThenTheOptions) {
    vlr::EditorConfig tabs;
    tabs.indentWithTabs = true;
    vlr::EditorConfig spaces;
    spaces.indentWithTabs = false;
    vlr::EditorConfig sized;
    sized.indentSize = 3;
    EXPECT_EQ(vlr::ChooseIndentation(tabs, "a\r  b", 4), (IndentStyle{IndentKind::Tabs, 0}));
    EXPECT_EQ(vlr::ChooseIndentation(spaces, "a\r\tb", 8), (IndentStyle{IndentKind::Spaces, 8}));
    EXPECT_EQ(vlr::ChooseIndentation(sized, "a\r  b", 4), (IndentStyle{IndentKind::Spaces, 3}));
    EXPECT_EQ(vlr::ChooseIndentation(sized, "a\r\tb", 4), (IndentStyle{IndentKind::Tabs, 0}));
    EXPECT_EQ(vlr::ChooseIndentation({}, "a\rb", 4), IndentStyle{});
}

TEST(EditorConfig, SettingsForTheFileAndTheSaveRules) {
    const auto dir = std::filesystem::temp_directory_path() / "vlr_editorconfig_test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "sub");
    std::ofstream(dir / ".editorconfig") << "root = true\n[*.htm]\nindent_style = tab\nindent_size = tab\n"
                                            "tab_width = 6\nend_of_line = cr\ncharset = utf-8-bom\n"
                                            "trim_trailing_whitespace = true\ninsert_final_newline = true\n";
    std::ofstream(dir / "sub" / ".editorconfig") << "[*]\ninsert_final_newline = false\nindent_size = 2\n";
    const vlr::EditorConfig c = vlr::ReadEditorConfig((dir / "page.htm").string());
    EXPECT_EQ(c.indentWithTabs, true);
    EXPECT_EQ(c.indentSize, 6);  // "tab": the tab width
    EXPECT_EQ(c.tabWidth, 6);
    EXPECT_EQ(c.endOfLine, vlr::BreakStyle::CR);
    EXPECT_EQ(c.charset, "utf-8-bom");
    EXPECT_EQ(vlr::ApplySaveRules("a \t\r\rb  ", c), "a\r\rb\r");
    EXPECT_NE(vlr::CheckCharset("caf\xC3\xA9", c, "page.htm").find("byte-order mark"), std::string::npos);
    EXPECT_EQ(vlr::CheckCharset("\xEF\xBB\xBF" "caf\xC3\xA9", c, "page.htm"), "");

    // A nearer file adds to and overrides the farther one.
    const vlr::EditorConfig sub = vlr::ReadEditorConfig((dir / "sub" / "x.htm").string());
    EXPECT_EQ(sub.insertFinalNewline, false);
    EXPECT_EQ(sub.indentSize, 2);
    EXPECT_EQ(vlr::ApplySaveRules("a  ", sub), "a");
    EXPECT_FALSE(vlr::ReadEditorConfig((dir / "page.txt").string()).any());

    std::ofstream(dir / ".editorconfig") << "root = true\n[*.htm\nindent_style = tab\n";
    EXPECT_FALSE(vlr::ReadEditorConfig((dir / "page.htm").string()).error.empty());
    std::filesystem::remove_all(dir);
}
