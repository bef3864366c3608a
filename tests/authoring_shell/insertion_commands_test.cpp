// Every insertion command in the real main window: the text it leaves in a
// real editor window and where the caret stands, with and without a
// selection, in both tag cases and in the modern mode.
#include "AuthoringFixture.h"

#include "app/commands/DropDownComboBox.h"
#include "app/commands/MainCommands.h"
#include "editor/window/FrmEditor.h"
#include "memo/widget/SyntaxMemo.h"
#include "authoring/markup/Insertions.h"
#include "authoring/markup/TagCase.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QFontComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace vlrtest;

namespace {

struct Mode {
    bool lower;
    bool modern;
};

class InsertionCommands : public AuthoringTest, public ::testing::WithParamInterface<Mode> {};

TEST_P(InsertionCommands, EveryRowGivesItsTextAndCaret) {
    const Mode mode = GetParam();
    Open(mode.lower, mode.modern);
    for (const vlr::authoring::Insertion& row : vlr::authoring::Insertions()) {
        const auto m = vlr::authoring::MarkupOf(row, mode.modern, "Arial", "2");
        const std::string s = vlr::authoring::TagCase(m.start, mode.lower);
        const std::string e = vlr::authoring::TagCase(m.end, mode.lower);

        // Nothing selected: inserted at the caret; "yes" leaves the caret between the two.
        Set("ab", 1, 0);
        Trigger(row.command);
        const std::string before = Exported("a" + s);
        EXPECT_EQ(Text(), Exported("a" + s + e + "b")) << row.command;
        const std::size_t caret = m.flag == "no" ? Exported("a" + s + e).size() : before.size();
        EXPECT_EQ(Caret(), CaretAt(Text(), caret)) << row.command;

        // A selection is wrapped, and the caret ends after the inserted text.
        Set("aXYb", 1, 2);
        Trigger(row.command);
        const std::string wrapped = Exported("a" + s + "XY" + e);
        EXPECT_EQ(Text(), Exported("a" + s + "XY" + e + "b")) << row.command;
        EXPECT_EQ(Caret(), CaretAt(Text(), wrapped.size())) << row.command;
    }
}

INSTANTIATE_TEST_SUITE_P(TagCaseAndModernMode, InsertionCommands,
                         ::testing::Values(Mode{true, false}, Mode{false, false}, Mode{true, true},
                                           Mode{false, true}),
                         [](const auto& info) {
                             return std::string(info.param.lower ? "Lower" : "Upper") +
                                    (info.param.modern ? "Modern" : "Legacy");
                         });

TEST_F(AuthoringTest, UpperCaseBoldAndLineBreak) {
    Open(false);
    Set("", 0, 0);
    Trigger("ToolbarButton9723");
    EXPECT_EQ(Text(), "<B></B>");
    EXPECT_EQ(Caret(), (std::pair<int, int>{4, 1}));
    Set("", 0, 0);
    Trigger("LineBreak2");
    EXPECT_EQ(Text(), "<BR>");
    EXPECT_EQ(Caret(), (std::pair<int, int>{5, 1}));
}

TEST_F(AuthoringTest, AlignLeftIsUpperCaseThroughoutAttributeValueIncluded) {
    Open(false);
    Set("", 0, 0);
    Trigger("ToolbarButton9720");
    EXPECT_EQ(Text(), "<P ALIGN=\"LEFT\"></P>");
}

TEST_F(AuthoringTest, BlockQuoteLeavesTheCaretAfterItsEndTag) {
    Open();
    Set("", 0, 0);
    Trigger("BlockQuote1");
    EXPECT_EQ(Text(), "<blockquote></blockquote>");
    EXPECT_EQ(Caret().first, 26);
}

TEST_F(AuthoringTest, StartAndEndTagPutTheirCharacterBeforeTheSelection) {
    Open();
    Set("x", 0, 1);
    Trigger("StartTag1");
    EXPECT_EQ(Text(), "<x");
    Set("x", 0, 1);
    Trigger("EndTag1");
    EXPECT_EQ(Text(), ">x");
}

TEST_F(AuthoringTest, StyleQuickCodeBreaksLinesWithLineFeedCarriageReturn) {
    Open();
    Set("", 0, 0);
    Trigger("STYLE1");
    EXPECT_EQ(Text(), "<style type=\"text/css\"><!--\r\n\r\n\r\n--></style>");
    EXPECT_EQ(Caret(), (std::pair<int, int>{1, 3}));
}

TEST_F(AuthoringTest, FontCommandsTakeTheToolbarBoxesAsTyped) {
    Open();
    w->Commands().fontNameBox()->setCurrentText(QStringLiteral("Georgia"));
    w->Commands().fontSizeBox()->setCurrentText(QStringLiteral("+1"));
    Set("", 0, 0);
    Trigger("ToolbarButton9735");
    EXPECT_EQ(Text(), "<font face=\"georgia\" size=+1></font>");
}

TEST_F(AuthoringTest, CharacterMenuEntitiesCheckMarksAndTheRepeatButton) {
    Open();
    QActionGroup* chars = w->Commands().radioGroup(QStringLiteral("chars"));
    ASSERT_NE(chars, nullptr);
    EXPECT_TRUE(w->Commands().action(QStringLiteral("CharSet60"))->isChecked());
    Set("", 0, 0);
    Trigger("ToolbarButton9734");
    EXPECT_EQ(Text(), "&#60;");
    Set("", 0, 0);
    Trigger("CharSet169");
    EXPECT_EQ(Text(), "&#169;");
    EXPECT_TRUE(w->Commands().action(QStringLiteral("CharSet169"))->isChecked());
    EXPECT_FALSE(w->Commands().action(QStringLiteral("CharSet60"))->isChecked());
    Set("", 0, 0);
    Trigger("CharSet8482");
    EXPECT_EQ(Text(), "&#8482;");
    Set("z", 0, 1);
    Trigger("ToolbarButton9734");
    EXPECT_EQ(Text(), "&#8482;z");
    EXPECT_EQ(Caret().first, 9);  // after the selected text, which follows the entity
}

TEST_F(AuthoringTest, ListStylesAndTheBulletsButton) {
    Open();
    Set("", 0, 0);
    Trigger("CapitalLetters1");
    EXPECT_EQ(Text(), "<ol type=\"A\">\r\n    <li>bullet 1\r\n    <li>bullet 2\r\n</ol>");
    EXPECT_EQ(Caret(), (std::pair<int, int>{6, 4}));
    EXPECT_TRUE(w->Commands().action(QStringLiteral("CapitalLetters1"))->isChecked());
    // Selected text stays and follows the list.
    Set("keep", 0, 4);
    Trigger("ToolbarButton9718");
    EXPECT_EQ(Text(), "<ol type=\"A\">\r\n    <li>bullet 1\r\n    <li>bullet 2\r\n</ol>keep");
}

TEST_F(AuthoringTest, TheListStyleMenuOfTheBulletsButtonInsertsOrderedListsForNumbering) {
    Open();
    QMenu* styles = w->Commands().menu(QStringLiteral("ListStyleMenu1"));
    ASSERT_NE(styles, nullptr);
    // The user opens the button's drop-down and clicks an item.
    auto pick = [&](const char* command) {
        QAction* item = w->Commands().action(QString::fromLatin1(command));
        styles->popup(QPoint(0, 0));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(styles));
        QTest::mouseClick(styles, Qt::LeftButton, {}, styles->actionGeometry(item).center());
        vlr::ProcessMessages();
    };
    const std::pair<const char*, std::string> kinds[] = {
        {"Numbers1", "<ol type=\"1\">"},        {"SmallLetters1", "<ol type=\"a\">"},
        {"RomanNumeralsCapital1", "<ol type=\"I\">"}, {"Square1", "<ul type=\"square\">"},
        {"Regular1", "<ul>"},
    };
    for (const auto& [command, open] : kinds) {
        ASSERT_NE(w->Commands().action(QString::fromLatin1(command)), nullptr) << command;
        Set("", 0, 0);
        pick(command);
        const std::string close = open.substr(0, 3) == "<ol" ? "</ol>" : "</ul>";
        EXPECT_EQ(Text(), open + "\r\n    <li>bullet 1\r\n    <li>bullet 2\r\n" + close) << command;
    }
}

TEST_F(AuthoringTest, AfterInsertVariableTheFocusIsBackInTheDocument) {
    Open();
    Set("", 0, 0);
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    vlr::DropDownComboBox* box = w->Commands().variablesBox();
    ASSERT_NE(box, nullptr);
    box->lineEdit()->setFocus();
    QTest::keyClicks(box->lineEdit(), "Author");
    QAction* insert = w->Commands().action(QStringLiteral("ToolbarButton9736"));
    QWidget* button = nullptr;
    for (QToolBar* bar : w->Commands().toolbars())
        if (QWidget* b = bar->widgetForAction(insert))
            button = b;
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    vlr::ProcessMessages();
    EXPECT_EQ(Text(), "<%Author%>");
    // The next keys go on in the document.
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), &editor->memo());
    QTest::keyClicks(QApplication::focusWidget(), "!");
    vlr::ProcessMessages();
    EXPECT_EQ(Text(), "<%Author%>!");
}

TEST_F(AuthoringTest, TheFontSizeBoxShowsAnHtmlFontSize) {
    Open();
    QComboBox* size = w->Commands().fontSizeBox();
    ASSERT_NE(size, nullptr);
    // The sizes of HTML, 1 to 7; the box starts one below the normal size 3.
    EXPECT_EQ(size->currentText(), QStringLiteral("2"));
    QStringList sizes;
    for (int i = 0; i < size->count(); ++i)
        sizes << size->itemText(i);
    EXPECT_EQ(sizes, (QStringList{"1", "2", "3", "4", "5", "6", "7"}));
}

TEST_F(AuthoringTest, AdvertAndImage) {
    Open(false);
    Set("", 0, 0);
    Trigger("Advert2");
    const std::string t = Text();
    EXPECT_EQ(t.substr(0, 9), "<A HREF=\"");
    EXPECT_NE(t.find("/banners/button4.gif\" BORDER=0 WIDTH=88 HEIGHT=31 ALT=\"Created With VLR\"></A>"),
              std::string::npos);
    EXPECT_NE(t.find("https://www.ardenne-websites.example"), std::string::npos);
}

TEST_F(AuthoringTest, InsertionCommandsFollowTheEditorWindows) {
    WritePreferences("[Environment]\r\nNewEditor=0\r\nLastProject=0\r\n");
    w = NewMainWindow();
    // No editor window: the Insert menu and the tag toolbars are disabled.
    for (const char* c : {"ToolbarButton9723", "Paragraph2", "Table1", "QuickHTMLCodes1", "ToolbarButton9740"})
        EXPECT_FALSE(w->Commands().action(QString::fromLatin1(c))->isEnabled()) << c;
    editor = w->Editors().OpenNewEditor();
    vlr::ProcessMessages();
    for (const char* c : {"ToolbarButton9723", "Paragraph2", "Table1", "QuickHTMLCodes1", "ToolbarButton9740",
                          "Define1", "Advert2"})
        EXPECT_TRUE(w->Commands().action(QString::fromLatin1(c))->isEnabled()) << c;
}

}  // namespace
