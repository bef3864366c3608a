// The context menu of the editor window, the main window's answers to the
// editor reports, and the main-window commands that forward to the editor.
#include "EditorFixture.h"
#include "../shell/UserInput.h"

#include "app/commands/MainCommands.h"
#include "app/shell/StatusLine.h"
#include "editor/window/EditorMessages.h"
#include "platform/Record.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

using namespace vlr;
using velora::memo::Selection;

namespace vlrtest {
namespace {

std::vector<std::string> repositoryCalls;
void RecordingAddObjRep(Handle, Handle, const char* path) { repositoryCalls.push_back(path); }

LResult SendRecord(Handle h, unsigned msg, const std::string& a, const std::string& b = {}) {
    RecordPtr r = MakeRecord(a, b);
    return SendMessage(h, msg, 0, reinterpret_cast<LParam>(r.release()));
}

TEST_F(EditorTest, ContextMenuEnablingRules) {
    TFrmEditor* e = main->editorUnit().OpenEditorFromTemplate(path("none.htf"));
    QApplication::clipboard()->clear();
    e->PopupMenu1Popup();
    for (QAction* a : {e->Undo1, e->Redo1, e->Paste1, e->Cut1, e->Copy1, e->Delete1, e->IndentSelection1,
                       e->UnindentSelection1, e->ChangeCase1, e->AddToRepository1, e->VisitLink1})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(e->SelectAll1->isEnabled());
    EXPECT_TRUE(e->EditorOptions1->isEnabled());

    Type(e, "some text");
    e->memo().setSelection(0, 4);
    e->memo().copy();
    e->PopupMenu1Popup();
    for (QAction* a : {e->Undo1, e->Paste1, e->Cut1, e->Copy1, e->Delete1, e->IndentSelection1,
                       e->UnindentSelection1, e->ChangeCase1})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_FALSE(e->Redo1->isEnabled());
    EXPECT_FALSE(e->AddToRepository1->isEnabled());  // untitled
    ChooseInContextMenu(e, e->Undo1);
    EXPECT_EQ(Text(e), "");
    e->PopupMenu1Popup();
    EXPECT_TRUE(e->Redo1->isEnabled());

    // A right click on the text opens the menu, with the rules applied.
    e->memo().setSelection(0, 0);
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(20, 10), e->memo().viewport()->mapToGlobal(QPoint(20, 10)));
    QApplication::sendEvent(e->memo().viewport(), &click);
    EXPECT_TRUE(e->PopupMenu1->isVisible());
    EXPECT_FALSE(e->Cut1->isEnabled());
    e->PopupMenu1->hide();

    // Captions and short cuts of the items.
    const std::vector<std::pair<QAction*, std::string>> shortcuts = {
        {e->Undo1, "Ctrl+Z"}, {e->Cut1, "Ctrl+X"}, {e->Copy1, "Ctrl+C"}, {e->Paste1, "Ctrl+V"}, {e->Delete1, "Ctrl+Del"},
        {e->Redo1, ""}, {e->SelectAll1, ""}, {e->LivePreview1, "F12"}};
    for (const auto& [a, keys] : shortcuts)
        EXPECT_EQ(a->shortcut().toString().toStdString(), keys) << a->text().toStdString();
    EXPECT_EQ(e->ChangeCase1->text().toStdString(), "Ch&ange Case...");
    EXPECT_EQ(e->AddToRepository1->text().toStdString(), "&Add To Repository...");
    // 16 items (with Toggle Comment and Live Preview) and 4 separators, then after a separator
    // the four folding and matching commands.
    EXPECT_EQ(e->PopupMenu1->actions().size(), 25);
}

TEST_F(EditorTest, AddToRepositorySendsTheFileName) {
    repositoryCalls.clear();
    main->Libraries().entry.AddObjRep = RecordingAddObjRep;
    WriteFile(path("page.hts"), "x");
    TFrmEditor* e = EditorFor(path("page.hts"));
    ChooseInContextMenu(e, e->AddToRepository1);
    ASSERT_EQ(repositoryCalls.size(), 1u);
    EXPECT_EQ(repositoryCalls[0], path("page.hts"));
}

TEST_F(EditorTest, ModifiedStateAndEditButtonsOnTheMainWindow) {
    const Handle h = main->handle();
    SendRecord(h, MW_EDITOR_MOD_STATE, "true");
    SendRecord(h, MW_EDITOR_MOD_STATE, "true");
    EXPECT_EQ(main->Status().panelText(6).toStdString(), "Modified");
    EXPECT_TRUE(Enabled("Save2"));
    SendRecord(h, MW_EDITOR_MOD_STATE, "yes");  // only "true" is true
    EXPECT_EQ(main->Status().panelText(6).toStdString(), "");
    EXPECT_FALSE(Enabled("Save2"));

    SendRecord(h, MW_DO_EDIT_BUTTONS, "true", "false");
    EXPECT_TRUE(Enabled("Cut2"));
    EXPECT_TRUE(Enabled("Copy2"));
    EXPECT_TRUE(Enabled("Delete2"));
    EXPECT_FALSE(Enabled("Paste2"));
    SendRecord(h, MW_DO_EDIT_BUTTONS, "false", "true");
    EXPECT_FALSE(Enabled("Cut2"));
    EXPECT_TRUE(Enabled("Paste2"));

    SendRecord(h, MW_FIND_NEXT_STATE, "true");
    EXPECT_TRUE(Enabled("FindNext1"));
    SendRecord(h, MW_FIND_NEXT_STATE, "false");
    EXPECT_FALSE(Enabled("FindNext1"));
}

TEST_F(EditorTest, StatusLineFollowsTheCaretAndTheActiveEditor) {
    TFrmEditor* e = main->editorUnit().OpenEditorFromTemplate(path("none.htf"));
    Type(e, "ab\rcde");
    EXPECT_EQ(main->Status().panelText(2).toStdString(), "2");
    EXPECT_EQ(main->Status().panelText(3).toStdString(), "4");
    EXPECT_EQ(main->Status().panelText(6).toStdString(), "Modified");
    e->memo().setSelection(1, 1);
    EXPECT_EQ(main->Status().panelText(2).toStdString(), "1");
    EXPECT_EQ(main->Status().panelText(3).toStdString(), "2");
    // Selecting keeps the clipboard buttons current; the Edit menu mirrors them when it opens.
    e->memo().setSelection(0, 2);
    EXPECT_TRUE(Enabled("Cut2"));
    EXPECT_TRUE(Enabled("Copy2"));
    Q_EMIT main->Commands().menu("Edit1")->aboutToShow();
    EXPECT_TRUE(Enabled("Cut1"));
    EXPECT_TRUE(Enabled("ChangeCase1"));
    e->memo().setSelection(1, 1);
    EXPECT_FALSE(Enabled("Cut2"));
    Q_EMIT main->Commands().menu("Edit1")->aboutToShow();
    EXPECT_FALSE(Enabled("Cut1"));
    EXPECT_FALSE(Enabled("IndentSelectedText1"));

    WriteFile(path("b.hts"), "b");
    TFrmEditor* b = EditorFor(path("b.hts"));
    ASSERT_NE(b, nullptr);
    ProcessMessages();
    EXPECT_EQ(main->Status().panelText(6).toStdString(), "");  // the new active editor is unmodified
    main->MdiArea()->setActiveSubWindow(e->subWindow());
    ProcessMessages();
    EXPECT_EQ(main->Status().panelText(6).toStdString(), "Modified");
}

TEST_F(EditorTest, NewFromTemplateMessageAndSendTheString) {
    WriteFile(path("t.htf"), "<h1></h1>");
    SendRecord(main->handle(), 3063, path(""), "t.htf");
    ASSERT_EQ(main->ChildCount("TFrmEditor"), 1);
    TFrmEditor* e = FrmEditor;
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(Text(e), "<h1></h1>");
    EXPECT_EQ(e->FileName, kUntitled);

    // 2924: the texts stay the sender's; the markup takes the tag case.
    e->memo().setSelection(4, 4);
    TMyRecord triple{const_cast<char*>("<B>"), const_cast<char*>("</B>"), const_cast<char*>("yes")};
    SendMessage(main->handle(), 2924, 0, reinterpret_cast<LParam>(&triple));
    EXPECT_EQ(Text(e), "<h1><b></b></h1>");
    EXPECT_EQ(e->memo().selection(), (Selection{7, 7}));
}

TEST_F(EditorTest, EditAndSearchCommandsForwardToTheActiveEditor) {
    TFrmEditor* e = main->editorUnit().OpenEditorFromTemplate(path("none.htf"));
    e->memo().setFocus();
    for (const char* line : {"line one", "line two"}) {
        QTest::keyClicks(&e->memo(), QString::fromLatin1(line));
        QTest::keyClick(&e->memo(), Qt::Key_Return);
    }
    QTest::keyClicks(&e->memo(), QStringLiteral("line three"));
    ASSERT_EQ(Text(e), "line one\rline two\rline three");
    auto menu = [this](Qt::Key menuKey, std::initializer_list<Qt::Key> keys) {
        ChooseFromMenuBar(main.get(), menuKey, keys);
        vlr::ProcessMessages();
    };
    auto key = [this](Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        main->activateWindow();
        QApplication::setActiveWindow(main.get());
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : main.get(), k, mods);
        vlr::ProcessMessages();
    };
    menu(Qt::Key_E, {Qt::Key_S});  // Edit, Select All
    EXPECT_EQ(e->memo().selection().start(), 0);
    EXPECT_EQ(std::size_t(e->memo().selection().end()), std::size_t(e->memo().text().size()));
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "line one\r\nline two\r\nline three");
    e->memo().setSelection(0, 4);
    menu(Qt::Key_E, {Qt::Key_G});  // Change Case: the dialog is not shown under logged prompts
    EXPECT_EQ(Text(e).substr(0, 4), "line");

    prompter->QueueInput("2");
    menu(Qt::Key_S, {Qt::Key_G});  // Search, Go To Line
    ASSERT_FALSE(prompter->prompts().empty());
    EXPECT_EQ(prompter->prompts().back().caption, "Go To Line...");
    EXPECT_EQ(prompter->prompts().back().text, "Enter Line Number");
    EXPECT_EQ(e->memo().caretLine(), 2);

    // Find opens the dialog and enables Find Next.
    main->action("FindNext1")->setEnabled(false);
    key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(Enabled("FindNext1"));
    e->ControlSearchText = "three";
    e->memo().setSelection(0, 0);
    key(Qt::Key_F3);
    EXPECT_EQ(e->memo().selection(), (Selection{23, 28}));

    e->memo().setSelection(0, 0);
    menu(Qt::Key_E, {Qt::Key_D});  // Delete, with nothing selected
    menu(Qt::Key_E, {Qt::Key_U});  // Undo takes back the last key typed
    EXPECT_EQ(Text(e), "line one\rline two\rline thre");
    menu(Qt::Key_E, {Qt::Key_R});  // Redo
    EXPECT_EQ(Text(e), "line one\rline two\rline three");
}

TEST_F(EditorTest, CaseTableThroughTheWindow) {
    TFrmEditor* e = main->editorUnit().OpenEditorFromTemplate(path("none.htf"));
    struct Row {
        std::string in;
        CaseChoice choice;
        std::string out;
    };
    const Row rows[] = {
        {"hello WORLD", CaseChoice::Lower, "hello world"},
        {"hello WORLD", CaseChoice::Upper, "HELLO WORLD"},
        {"hello WORLD", CaseChoice::Toggle, "hELLO wORLD"},
        {"hello WORLD", CaseChoice::Title, "Hello World"},
        {"don't stop", CaseChoice::Title, "Don't Stop"},
        {"x-ray 2nd", CaseChoice::Title, "X-Ray 2Nd"},
        {"x-ray 2nd", CaseChoice::Toggle, "x-rAY 2nD"},
        {"\xC3\xA9lan vital", CaseChoice::Title, "\xC3\xA9Lan Vital"},
        {"first line\rsecond LINE", CaseChoice::Title, "First Line\rSecond Line"},
        {"ab\rcd", CaseChoice::Toggle, "aB\rcD"},
    };
    for (const Row& row : rows) {
        e->memo().setText(QByteArray::fromStdString("[" + row.in + "]"));
        e->memo().setSelection(1, 1 + long(row.in.size()));
        e->askCase = [c = row.choice](QWidget*) { return std::optional<CaseChoice>(c); };
        Command(e, EM_CHANGE_CASE);
        EXPECT_EQ(Text(e), "[" + row.out + "]") << row.in;
    }
}

}  // namespace
}  // namespace vlrtest
