// The editor-window messages, sent with records as the main window and the
// plug-in functions send them.
#include "EditorFixture.h"

#include "editor/window/EditorMessages.h"
#include "editor/window/EditorSearch.h"
#include "platform/Record.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>

using namespace vlr;
using velora::memo::Selection;

namespace vlrtest {
namespace {

class EditorMessageTest : public EditorTest {
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

TEST_F(EditorMessageTest, MarkupInsertionFollowsTheCaretFlag) {
    Set("ab", 1, 1);
    Command(e, EM_INSERT_MARKUP, "<b>", "</b>", "");  // empty flag counts as yes
    EXPECT_EQ(Text(e), "a<b></b>b");
    EXPECT_EQ(Sel(), (Selection{4, 4}));

    Set("ab", 1, 1);
    Command(e, EM_INSERT_MARKUP, "", "<br>", "no");
    EXPECT_EQ(Text(e), "a<br>b");
    EXPECT_EQ(Sel(), (Selection{5, 5}));

    Set("ab", 1, 1);
    Command(e, EM_INSERT_MARKUP, "<p>", "</p>", "No");  // only exactly "no" is no
    EXPECT_EQ(Sel(), (Selection{4, 4}));

    Set("xwordy", 1, 5);
    Command(e, EM_INSERT_MARKUP, "", "<br>", "no");
    EXPECT_EQ(Text(e), "xword<br>y");
    EXPECT_EQ(Sel(), (Selection{9, 9}));

    Set("xwordy", 5, 1);
    Command(e, EM_INSERT_MARKUP, "<i>", "</i>", "yes");
    EXPECT_EQ(Text(e), "x<i>word</i>y");
    EXPECT_EQ(Sel(), (Selection{12, 12}));

    Set("", 0, 0);
    Command(e, EM_INSERT_MARKUP, "<hr>", "", "");
    EXPECT_EQ(Text(e), "<hr>");
    EXPECT_EQ(Sel(), (Selection{4, 4}));

    // Markup with a line break moves back by the break as stored.
    Set("", 0, 0);
    Command(e, EM_INSERT_MARKUP, "<ul>\n\r<li>", "\n\r</ul>", "yes");
    EXPECT_EQ(Text(e), "<ul>\r<li>\r</ul>");
    EXPECT_EQ(Sel(), (Selection{9, 9}));

    // One undo step takes the whole insertion back.
    e->memo().undo();
    EXPECT_EQ(Text(e), "");
}

TEST_F(EditorMessageTest, QueriesAnswerWithNewRecordsCountingBreaksAsExported) {
    Set("ab\rcd\ref", 1, 4);
    EXPECT_EQ(Query(e, EM_GET_TEXT).first, "ab\r\ncd\r\nef");
    EXPECT_EQ(Query(e, EM_GET_SEL_TEXT).first, "b\r\nc");
    EXPECT_EQ(Query(e, EM_GET_TEXT_SIZE).first, "10");
    EXPECT_EQ(Query(e, EM_GET_SEL_TEXT_SIZE).first, "4");
    auto caret = Query(e, EM_GET_CARET);
    EXPECT_EQ(caret.first, "2");   // column
    EXPECT_EQ(caret.second, "2");  // line
    Set("", 0, 0);
    EXPECT_EQ(Query(e, EM_GET_TEXT_SIZE).first, "0");
    EXPECT_EQ(Query(e, EM_GET_SEL_TEXT_SIZE).first, "0");
}

TEST_F(EditorMessageTest, TextAndSelectionCommands) {
    Set("hello", 0, 0);
    Command(e, EM_SET_TEXT, "one\ntwo");
    EXPECT_EQ(Text(e), "one\rtwo");
    EXPECT_TRUE(e->memo().modified());  // replaced through the selection, so undoable
    Command(e, EM_SET_SEL_START, "4");
    EXPECT_EQ(Sel(), (Selection{4, 4}));
    Command(e, EM_SET_SEL_LENGTH, "3");
    EXPECT_EQ(Query(e, EM_GET_SEL_TEXT).first, "two");
    Command(e, EM_SET_SEL_TEXT, "2");
    EXPECT_EQ(Text(e), "one\r2");
    Command(e, EM_SET_SEL_TEXT, "+");  // nothing selected: inserted at the caret
    EXPECT_EQ(Text(e), "one\r2+");
    Command(e, EM_SELECT_ALL);
    EXPECT_EQ(Sel().start(), 0);
    EXPECT_EQ(Sel().end(), 6);
    Command(e, EM_DELETE);
    EXPECT_EQ(Text(e), "");
    Command(e, EM_UNDO);
    EXPECT_EQ(Text(e), "one\r2+");
    Command(e, EM_REDO);
    EXPECT_EQ(Text(e), "");

    Set("abc", 1, 1);
    Command(e, EM_DELETE);  // no selection: nothing changes
    EXPECT_EQ(Text(e), "abc");
}

TEST_F(EditorMessageTest, ClipboardAndIndentCommands) {
    Set("alpha\rbeta", 0, 5);
    Command(e, EM_COPY);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "alpha");
    Command(e, EM_CUT);
    EXPECT_EQ(Text(e), "\rbeta");
    e->memo().setSelection(5, 5);
    Command(e, EM_PASTE);
    EXPECT_EQ(Text(e), "\rbetaalpha");

    Set("a\rb", 0, 3);
    Command(e, EM_INDENT);
    EXPECT_EQ(Text(e), " a\r b");
    Command(e, EM_UNINDENT);
    EXPECT_EQ(Text(e), "a\rb");
}

TEST_F(EditorMessageTest, GoToLineKeepsTheColumn) {
    Set("abcdef\rxy\rlong line", 3, 3);
    Command(e, EM_GO_TO_LINE, "3");
    EXPECT_EQ(Query(e, EM_GET_CARET), (std::pair<std::string, std::string>{"4", "3"}));
    Command(e, EM_GO_TO_LINE, "2");  // column past the end of a short line: its end
    EXPECT_EQ(Query(e, EM_GET_CARET).second, "2");
}

TEST_F(EditorMessageTest, NonNumericPayloadsReachTheReportAndChangeNothing) {
    Set("abcdef\rxy", 2, 4);
    for (unsigned msg : {EM_SET_SEL_START, EM_SET_SEL_LENGTH, EM_GO_TO_LINE}) {
        for (const char* bad : {"", "12x", "x", " 3", "1.5"}) {
            Errors().clear();
            EXPECT_EQ(Command(e, msg, bad), 0);
            ASSERT_EQ(Errors().size(), 1u) << msg << " '" << bad << "'";
            EXPECT_EQ(Errors()[0].message, std::string("'") + bad + "' is not a valid integer value");
            EXPECT_EQ(Sel(), (Selection{2, 4}));
        }
    }
    EXPECT_EQ(Errors()[0].method, "TFrmEditor.GoToLine");
}

TEST_F(EditorMessageTest, FindNextUsesTheLastSearchAndReportsFindNextState) {
    SpyWindow spy;
    e->MainWnd = spy.handle();
    Set("Abc abc ABC", 0, 0);
    Command(e, EM_FIND_NEXT, "false");
    ASSERT_EQ(spy.of(MW_FIND_NEXT_STATE).size(), 1u);
    EXPECT_EQ(spy.of(MW_FIND_NEXT_STATE)[0].first, "false");
    EXPECT_TRUE(prompter->messages().empty());

    e->ControlSearchText = "abc";
    Command(e, EM_FIND_NEXT, "false");
    EXPECT_EQ(spy.of(MW_FIND_NEXT_STATE).back().first, "true");
    EXPECT_EQ(Sel(), (Selection{0, 3}));
    Command(e, EM_FIND_NEXT, "false");
    EXPECT_EQ(Sel(), (Selection{4, 7}));
    Command(e, EM_FIND_NEXT, "false");
    EXPECT_EQ(Sel(), (Selection{8, 11}));
    Command(e, EM_FIND_NEXT, "false");
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(prompter->messages()[0].text, "\"abc\" not found.");
    EXPECT_EQ(Sel(), (Selection{8, 11}));
    e->MainWnd = main->handle();
}

TEST_F(EditorMessageTest, FindNextSaysWhereAnExpressionRanOutOfSteps) {
    Set("<p>Größe</p>\n<p>мир</p>\n" + std::string(60, 'a'), 0, 0);
    e->ControlSearchText = "(a|aa)*c";
    e->ControlSearchOptions = velora::memo::kSearchRegExp;
    Command(e, EM_FIND_NEXT, "false");
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(prompter->messages()[0].text, "The expression needs too many steps; the search stopped at line 3.");
}

TEST_F(EditorMessageTest, ShowAllMarksEveryOccurrence) {
    Set("<p>x</p><P>y</P>", 3, 3);
    Command(e, EM_SHOW_ALL);  // nothing selected, nothing searched yet
    EXPECT_TRUE(e->searchMarks().ranges().empty());

    e->memo().setSelection(0, 3);  // "<p>"
    Command(e, EM_SHOW_ALL);
    ASSERT_EQ(e->searchMarks().ranges().size(), 2u);
    EXPECT_EQ(e->searchMarks().ranges()[0], (std::pair<long, long>{0, 3}));
    EXPECT_EQ(e->searchMarks().ranges()[1], (std::pair<long, long>{8, 11}));
    EXPECT_EQ(Sel(), (Selection{0, 0}));
    EXPECT_EQ(e->LastFind, "<p>");

    // Nothing found: the selection is restored and nothing is marked anew.
    e->memo().setSelection(4, 4);
    e->LastFind = "zzz";
    Command(e, EM_SHOW_ALL);
    EXPECT_EQ(Sel(), (Selection{4, 4}));

    // A change drops the marks.
    Type(e, "q");
    EXPECT_TRUE(e->searchMarks().ranges().empty());
}

TEST_F(EditorMessageTest, FindAndReplaceDialogsSearchTheDocument) {
    Set("one two one", 0, 3);
    Command(e, EM_FIND, "false");
    auto* dialog = e->findChild<TFindDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->FindText->text().toStdString(), "one");  // from the selection
    EXPECT_TRUE(dialog->findNext());
    EXPECT_EQ(Sel(), (Selection{8, 11}));
    EXPECT_EQ(e->ControlSearchText, "one");
    EXPECT_FALSE(dialog->findNext());
    EXPECT_EQ(prompter->messages().back().text, "Search string \"one\" not found.");

    Command(e, EM_REPLACE, "false");
    dialog->FindText->setText("ONE");
    dialog->ReplaceText->setText("1");
    EXPECT_EQ(dialog->replaceAll(), 2);
    EXPECT_EQ(Text(e), "1 two 1");
    dialog->MatchCase->setChecked(true);
    dialog->FindText->setText("TWO");
    e->memo().setSelection(0, 0);
    EXPECT_FALSE(dialog->findNext());

    // Find Next afterwards uses the dialog's text.
    e->LastFind.clear();
    e->memo().setSelection(0, 0);
    dialog->MatchCase->setChecked(false);
    dialog->FindText->setText("two");
    EXPECT_TRUE(dialog->findNext());
    e->memo().setSelection(0, 0);
    Command(e, EM_FIND_NEXT, "false");
    EXPECT_EQ(Sel(), (Selection{2, 5}));
}

TEST_F(EditorMessageTest, HintsAndAcceptedCommands) {
    // The text before "|" is what the tooltip shows.
    Command(e, EM_HINT, "Last Accessed: today|");
    EXPECT_EQ(e->memo().viewport()->toolTip().toStdString(), "Last Accessed: today");
    Command(e, EM_HINT, "");
    EXPECT_TRUE(e->memo().viewport()->toolTip().isEmpty());
    Set("abc", 1, 1);
    Command(e, EM_PATH_PROCESSED);
    Command(e, EM_VALIDATE, "");
    Command(e, EM_VALIDATE, "http://127.0.0.1:1/");  // nothing listens there: reported, no change
    EXPECT_EQ(Text(e), "abc");
    EXPECT_EQ(Sel(), (Selection{1, 1}));
    EXPECT_TRUE(Errors().empty());
    // A message the window does not know leaves its parameter alone.
    int notARecord = 7;
    EXPECT_EQ(SendMessage(e->handle(), 3999, 0, reinterpret_cast<LParam>(&notARecord)), 0);
    EXPECT_EQ(notARecord, 7);
    // A command sent without any record is accepted as an empty one.
    EXPECT_EQ(SendMessage(e->handle(), EM_SET_SEL_TEXT, 0, 0), 0);
    EXPECT_EQ(Text(e), "abc");
}

TEST_F(EditorMessageTest, SaveMessagesAndCaseConversion) {
    Set("hello WORLD\rdon't stop", 0, 23);
    e->askCase = [](QWidget*) { return std::optional<CaseChoice>(CaseChoice::Title); };
    Command(e, EM_CHANGE_CASE);
    EXPECT_EQ(Text(e), "Hello World\rDon't Stop");
    EXPECT_EQ(Sel(), (Selection{22, 22}));
    e->askCase = [](QWidget*) { return std::optional<CaseChoice>(); };  // cancelled
    e->memo().setSelection(0, 5);
    Command(e, EM_CHANGE_CASE);
    EXPECT_EQ(Text(e), "Hello World\rDon't Stop");

    prompter->QueueFile(path("saved.hts"));
    Command(e, EM_SAVE);  // untitled: through Save As
    EXPECT_EQ(e->FileName, path("saved.hts"));
    e->memo().setSelection(0, 0);
    Type(e, "!");
    Command(e, EM_SAVE);
    EXPECT_EQ(ReadFile(path("saved.hts")).substr(0, 6), "!Hello");
    prompter->QueueFile(path("other.hts"));
    Command(e, EM_SAVE_AS);
    EXPECT_EQ(e->FileName, path("other.hts"));
}

}  // namespace
}  // namespace vlrtest
