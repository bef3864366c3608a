// Find, find next and show all of an editor window with plain texts and expressions: exactly
// the match is selected or marked, and expression errors are shown with their caret.
#include "EditorFixture.h"

#include "app/commands/MainCommands.h"
#include "editor/window/EditorMessages.h"
#include "editor/window/EditorSearch.h"
#include "platform/Record.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

using namespace vlr;
using velora::memo::Pos;
using velora::memo::Selection;

namespace vlrtest {
namespace {

class EditorSearchTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        e = main->editorUnit().OpenEditorFromTemplate(path("none.htf"));
        prompter->Clear();
    }
    void Set(const std::string& text, long anchor, long caret) {
        e->memo().setText(QByteArray::fromStdString(text));
        e->memo().setSelection(anchor, caret);
    }
    Selection Sel() const { return e->memo().selection(); }
    TFrmEditor* e = nullptr;
};

TEST_F(EditorSearchTest, FindNextSearchesAsTheLastSearchWasMade) {
    Set("abc a.c axc", 0, 0);
    e->LastFind = "a.c";
    // A plain search stays plain whatever the menu's mark says.
    Command(e, EM_FIND_NEXT, "true");
    EXPECT_EQ(Sel(), (Selection{4, 7}));
    e->memo().setSelection(0, 0);
    Command(e, EM_FIND_NEXT, "false");
    EXPECT_EQ(Sel(), (Selection{4, 7}));
    // An expression search ("." is any character) stays one.
    e->LastFindOptions = velora::memo::kSearchRegExp;
    e->memo().setSelection(0, 0);
    Command(e, EM_FIND_NEXT, "true");
    EXPECT_EQ(Sel(), (Selection{0, 3}));
    Command(e, EM_FIND_NEXT, "true");
    EXPECT_EQ(Sel(), (Selection{4, 7}));
    Command(e, EM_FIND_NEXT, "false");
    EXPECT_EQ(Sel(), (Selection{8, 11}));
    // The whole match is selected, however long.
    Set("<p><a href=\"x.html\">x</a>", 0, 0);
    e->LastFind = "<a href=\\\"[^\"]*\\\"";
    Command(e, EM_FIND_NEXT, "true");
    EXPECT_EQ(Sel(), (Selection{3, 19}));
    EXPECT_TRUE(prompter->messages().empty());
}

// F3 with "Regular Expressions" checked in the Search menu, as the user does
// it: a search made in the find dialog without the expression option goes on
// finding the literal text, and one made with it goes on as an expression.
TEST_F(EditorSearchTest, FindNextKeyGoesOnWithTheDialogsSearch) {
    Set("abc a.c axc a.c", 0, 0);
    QAction* regular = main->Commands().action("RegularExpressions1");
    ASSERT_NE(regular, nullptr);
    main->Commands().action("Find1")->trigger();  // the dialog, without the expression option
    auto* dialog = e->findChild<TFindDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->RegularExpression->isChecked());
    dialog->FindText->setText("a.c");
    EXPECT_TRUE(dialog->findNext());
    EXPECT_EQ(Sel(), (Selection{4, 7}));
    dialog->hide();
    regular->setChecked(true);
    main->activateWindow();
    e->memo().setFocus();
    e->memo().setSelection(0, 0);
    QApplication::processEvents();
    QTest::keyClick(&e->memo(), Qt::Key_F3);
    EXPECT_EQ(Sel(), (Selection{4, 7}));
    QTest::keyClick(&e->memo(), Qt::Key_F3);
    EXPECT_EQ(Sel(), (Selection{12, 15}));

    // A new search in the dialog, this time an expression.
    e->LastFind.clear();
    dialog->RegularExpression->setChecked(true);
    dialog->FindText->setText("a.c");
    e->memo().setSelection(0, 0);
    EXPECT_TRUE(dialog->findNext());
    EXPECT_EQ(Sel(), (Selection{0, 3}));
    dialog->hide();
    e->LastFind.clear();
    e->memo().setFocus();
    QTest::keyClick(&e->memo(), Qt::Key_F3);
    EXPECT_EQ(Sel(), (Selection{4, 7}));
    QTest::keyClick(&e->memo(), Qt::Key_F3);
    EXPECT_EQ(Sel(), (Selection{8, 11}));
    EXPECT_TRUE(prompter->messages().empty());
}

TEST_F(EditorSearchTest, ExpressionErrorsAreShownWithTheCaret) {
    Set("aaa", 0, 0);
    e->LastFind = "a**";
    e->LastFindOptions = velora::memo::kSearchRegExp;
    Command(e, EM_FIND_NEXT, "true");
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(prompter->messages()[0].text, "Nested repeat\na**\n  ^");
    EXPECT_EQ(Sel(), (Selection{0, 0}));
}

TEST_F(EditorSearchTest, ShowAllMarksEachExpressionMatchByItsLength) {
    Set("<b>x</b> <b>long text</b>", 0, 0);
    e->LastFind = "<b>[^<]*</b>";
    e->LastFindOptions = velora::memo::kSearchRegExp;
    Command(e, EM_SHOW_ALL);
    const auto& marks = e->searchMarks().ranges();
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0], (std::pair<Pos, Pos>{0, 8}));
    EXPECT_EQ(marks[1], (std::pair<Pos, Pos>{9, 25}));
    EXPECT_EQ(Sel(), (Selection{0, 0}));
}

TEST_F(EditorSearchTest, ShowAllOnManyMatches) {
    // Thousands of matches in one page: every one is marked.
    std::string page;
    for (int i = 0; i < 5000; ++i) page += "<li class=\"nav-item\">x</li>\r";
    Set(page, 0, 0);
    e->LastFind = "NAV-ITEM";
    e->LastFindOptions = 0;
    Command(e, EM_SHOW_ALL);
    EXPECT_EQ(e->searchMarks().ranges().size(), 5000u);
    EXPECT_EQ(e->searchMarks().ranges().back().second - e->searchMarks().ranges().back().first, 8);
}

TEST_F(EditorSearchTest, FindDialogOpensWithTheExpressionOption) {
    Set("one two", 0, 0);
    Command(e, EM_FIND, "true");
    auto* dialog = e->findChild<TFindDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->RegularExpression->isChecked());
    dialog->FindText->setText("t[a-z]+");
    EXPECT_TRUE(dialog->findNext());
    EXPECT_EQ(Sel(), (Selection{4, 7}));
    EXPECT_EQ(e->ControlSearchText, "t[a-z]+");
    EXPECT_EQ(e->ControlSearchOptions, unsigned(velora::memo::kSearchRegExp));
    // The control's own search message uses the same dialog.
    EXPECT_EQ(e->memo().searchDialog(), dialog);
    Command(e, EM_FIND, "false");
    EXPECT_FALSE(dialog->RegularExpression->isChecked());
}

// The editor window's HTML scheme brings its templates and typo list to the control: typing
// corrects prose but not markup, and Ctrl+J expands a template.
TEST_F(EditorSearchTest, TheHtmlSchemeCorrectsTyposInTextOnly) {
    Set("", 0, 0);
    auto typeKeys = [&](const char* keys) {
        for (const char* k = keys; *k; ++k) {
            const QChar c = QLatin1Char(*k);
            const int key = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : c.unicode();
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
            QApplication::sendEvent(&e->memo(), &press);
        }
        while (e->memo().engine().HighlightSlice(100000)) {
        }
    };
    // The end tag and the closing quote are the typing aids' own.
    typeKeys("<p>teh ");
    EXPECT_EQ(Text(e), "<p>the </p>");
    typeKeys("<a title=\"teh ");
    EXPECT_EQ(Text(e), "<p>the <a title=\"teh \"</p>");
}

}  // namespace
}  // namespace vlrtest
