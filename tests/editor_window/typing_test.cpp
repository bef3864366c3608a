// Typing in an editor window as a user does, with the window's own options:
// non-ASCII characters replaced by their entities, indentation that follows
// the document (its .editorconfig, else its own lines), and what saving does
// with the .editorconfig's rules.
#include "EditorFixture.h"

#include <QTest>

namespace {

using vlrtest::EditorTest;
using velora::memo::IndentKind;
using velora::memo::IndentStyle;

// Each character as the key a keyboard would send, its text included.
void Keys(vlr::TFrmEditor* e, const QString& text) {
    for (const QChar c : text) {
        Qt::Key key = Qt::Key(c.toUpper().unicode());
        if (c == QLatin1Char('\r'))
            key = Qt::Key_Return;
        else if (c == QLatin1Char('\t'))
            key = Qt::Key_Tab;
        QTest::sendKeyEvent(QTest::Click, &e->memo(), key, key == Qt::Key_Return ? QString() : QString(c),
                            Qt::NoModifier);
    }
}

void Key(vlr::TFrmEditor* e, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(&e->memo(), key, mods);
}

class TypingTest : public EditorTest {
protected:
    // An opened document with the caret at `caret` (the end when negative).
    vlr::TFrmEditor* Page(const std::string& name, const std::string& bytes, long caret = -1) {
        WriteFile(path(name), bytes);
        vlr::TFrmEditor* e = EditorFor(path(name));
        const auto at = caret < 0 ? e->memo().engine().store().length() : velora::memo::Pos(caret);
        e->memo().setSelection(at, at);
        return e;
    }
};

TEST_F(TypingTest, SignsTypedAsUtf8BecomeTheirEntities) {
    vlr::TFrmEditor* e = Page("prix.htm", "");
    Keys(e, QString::fromUtf8("Prix 5\u00A3 \u00A9 Caf\u00E9 \u00AE, \u2122."));
    EXPECT_EQ(Text(e), "Prix 5&#163; &#169; Caf\xC3\xA9 &#174;, &#153;.");
}

TEST_F(TypingTest, ReturnAndTemplatesCopyTheIndentationAsItIs) {
    // The window's options have smoUseTAB and smoSmartFill on; a line indented
    // with spaces is still followed by spaces.
    vlr::TFrmEditor* e = Page("liste.htm", "<div>\n    <p>Gr\xC3\xBC\xC3\x9F" "e</p>\n</div>\n", 24);
    ASSERT_EQ(Text(e).substr(0, 24), "<div>\r    <p>Gr\xC3\xBC\xC3\x9F" "e</p>");
    Key(e, Qt::Key_Return);
    Keys(e, "ul");
    Key(e, Qt::Key_J, Qt::ControlModifier);
    EXPECT_EQ(Text(e), "<div>\r    <p>Gr\xC3\xBC\xC3\x9F" "e</p>\r    <ul>\r      <li></li>\r      <li></li>\r    </ul>\r"
                       "    \r</div>\r");
    // A tab-indented line is followed by a tab.
    e = Page("tabs.htm", "<ul>\n\t<li>\xD0\x9C\xD0\xB8\xD1\x80</li>\n</ul>\n", 21);
    Key(e, Qt::Key_Return);
    Keys(e, "<li>");  // its end tag comes with it
    EXPECT_EQ(Text(e), "<ul>\r\t<li>\xD0\x9C\xD0\xB8\xD1\x80</li>\r\t<li></li>\r</ul>\r");
}

TEST_F(TypingTest, NewIndentationFollowsTheDocumentThenTheOptions) {
    struct Case {
        const char* page;
        IndentStyle style;
        const char* tabbed;  // the first line after Tab at its start
    };
    const Case cases[] = {
        {"<ul>\n  <li>a</li>\n  <li>\n    <b>b</b>\n  </li>\n</ul>\n", {IndentKind::Spaces, 2}, "  <ul>"},
        {"<ul>\n\t<li>a</li>\n\t<li>\n\t\t<b>b</b>\n</ul>\n", {IndentKind::Tabs, 0}, "\t<ul>"},
        {"<p>plain</p>\n<p>text</p>\n", {}, "\t<p>plain</p>"},  // the options: smoUseTAB
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        vlr::TFrmEditor* e = Page("indented" + std::to_string(++n) + ".htm", c.page, 0);
        EXPECT_EQ(e->memo().engine().indentStyle, c.style);
        Key(e, Qt::Key_Tab);
        EXPECT_EQ(Text(e).substr(0, Text(e).find('\r')), c.tabbed);
    }
}

TEST_F(TypingTest, EditorConfigDecidesIndentationBreaksAndSaving) {
    WriteFile(path(".editorconfig"),
              "root = true\n[*]\nindent_style = tab\n[*.htm]\nindent_style = space\nindent_size = 3\n"
              "tab_width = 8\nend_of_line = crlf\ntrim_trailing_whitespace = true\ninsert_final_newline = true\n");
    // The page's own tabs are outvoted by its .editorconfig.
    vlr::TFrmEditor* e = Page("config.htm", "<ol>\n\t<li>\xCE\xB1</li>  \n</ol>", 0);
    EXPECT_EQ(e->memo().engine().indentStyle, (IndentStyle{IndentKind::Spaces, 3}));
    EXPECT_EQ(e->memo().engine().tabDefault, 8);
    Key(e, Qt::Key_Tab);
    e->memo().selectAll();
    e->memo().blockIndent();  // one level of 3 blanks
    EXPECT_EQ(Text(e), "      <ol>\r   \t<li>\xCE\xB1</li>  \r   </ol>");
    Key(e, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(e->memo().modified());
    EXPECT_EQ(ReadFile(path("config.htm")), "      <ol>\r\n   \t<li>\xCE\xB1</li>\r\n   </ol>\r\n");
    EXPECT_TRUE(prompter->messages().empty());

    // Other files of the folder take the "[*]" section.
    e = Page("other.txt", "a\n    b\n", 0);
    EXPECT_EQ(e->memo().engine().indentStyle, (IndentStyle{IndentKind::Tabs, 0}));
}

TEST_F(TypingTest, ACharsetTheFileDoesNotHaveIsReportedAtLoad) {
    WriteFile(path(".editorconfig"), "root = true\n[*.htm]\ncharset = utf-8\n");
    Page("latin.htm", "Caf\xE9\n");
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(prompter->messages()[0].kind, vlr::MessageKind::Warning);
    EXPECT_NE(prompter->messages()[0].text.find("latin.htm is not valid UTF-8"), std::string::npos);
    Page("utf8.htm", "Caf\xC3\xA9\n");
    EXPECT_EQ(prompter->messages().size(), 1u);
}

}  // namespace
