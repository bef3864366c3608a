// Saving, saving as and closing editor windows, through the main window's commands.
#include "EditorFixture.h"
#include "app/window/WindowUnit.h"

#include "app/shell/StatusLine.h"
#include "editor/window/EditorMessages.h"

#include <QMdiArea>
#include <QTest>
#include <QMdiSubWindow>

#include <csignal>
#include <sys/resource.h>

using namespace vlr;

namespace vlrtest {
namespace {

TEST_F(EditorTest, SavingAnUntitledDocumentGoesThroughSaveAs) {
    TFrmEditor* e = main->editorUnit().OpenEditorFromTemplate(path("none.htf"));
    prompter->Clear();
    Type(e, "a\rb");
    EXPECT_EQ(main->Status().panelText(6).toStdString(), "Modified");
    EXPECT_TRUE(Enabled("Save2"));

    prompter->QueueFiles(std::nullopt);  // cancelled: nothing happens
    main->windowUnit().SaveClick();
    EXPECT_EQ(e->FileName, kUntitled);
    EXPECT_TRUE(e->memo().modified());

    prompter->QueueFile(path("new.hts"));
    main->windowUnit().SaveClick();
    ASSERT_EQ(prompter->prompts().size(), 2u);  // the cancelled dialog, then this one
    const RecordedPrompt& dialog = prompter->prompts().back();
    EXPECT_EQ(dialog.type, RecordedPrompt::SaveDialog);
    EXPECT_EQ(dialog.dialog.fileName, kUntitled);
    EXPECT_EQ(dialog.dialog.defaultExt, "hts");
    EXPECT_EQ(dialog.dialog.filter, TFrmEditor::SaveFilter());
    EXPECT_EQ(dialog.dialog.filter.substr(0, 25), "HTML Source (.hts)|*.hts|");
    EXPECT_NE(dialog.dialog.filter.find("|HTML File (.html,.htm)|*.html;*.htm|"), std::string::npos);
    EXPECT_EQ(dialog.dialog.filter.substr(dialog.dialog.filter.size() - 18), "All Files (.*)|*.*");
    EXPECT_EQ(ReadFile(path("new.hts")), "a\nb");  // a new document is written with LF breaks
    EXPECT_EQ(e->FileName, path("new.hts"));
    EXPECT_EQ(e->windowTitle().toStdString(), "new.hts");
    EXPECT_FALSE(e->memo().modified());
    EXPECT_EQ(main->Status().panelText(6).toStdString(), "");
    EXPECT_FALSE(Enabled("Save2"));

    // The save emptied the undo log. A change typed afterwards and undone
    // leaves its redo step, so the document still counts as modified.
    QTest::sendKeyEvent(QTest::Click, &e->memo(), Qt::Key_Eacute, QString::fromUtf8("\u00E9"), Qt::NoModifier);
    QTest::keyClick(&e->memo(), Qt::Key_T);
    QTest::keyClick(&e->memo(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(e), "a\rb\xC3\xA9");  // the typed "t" undone
    EXPECT_TRUE(e->memo().modified());
    EXPECT_EQ(main->Status().panelText(6).toStdString(), "Modified");
    EXPECT_TRUE(Enabled("Save2"));
}

TEST_F(EditorTest, RefusedOverwriteWritesNothing) {
    WriteFile(path("x.hts"), "old");
    TFrmEditor* e = NewEditor();
    Type(e, "new text");
    prompter->QueueFile(path("x.hts"));
    prompter->QueueAnswer(ModalResult::No);
    main->windowUnit().SaveAsClick();
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(prompter->messages()[0].text, "File already exists, are you sure you wish to overwrite it?");
    EXPECT_EQ(prompter->messages()[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(prompter->messages()[0].buttons, unsigned(BtnYesNo));
    EXPECT_EQ(ReadFile(path("x.hts")), "old");
    EXPECT_EQ(e->FileName, kUntitled);
    EXPECT_TRUE(e->memo().modified());

    prompter->QueueFile(path("x.hts"));
    prompter->QueueAnswer(ModalResult::Yes);
    main->windowUnit().SaveAsClick();
    EXPECT_EQ(e->FileName, path("x.hts"));
    EXPECT_NE(ReadFile(path("x.hts")).find("new text"), std::string::npos);
}

TEST_F(EditorTest, SaveKeepsTheFilesBreakStyleAndSaveAllSavesEveryEditor) {
    WriteFile(path("crlf.hts"), "a\r\nb\r\n");
    WriteFile(path("cr.hts"), "c\rd");
    TFrmEditor* a = EditorFor(path("crlf.hts"));
    TFrmEditor* b = EditorFor(path("cr.hts"));
    Type(a, "x");
    Type(b, "y");
    main->windowUnit().SaveAllClick();
    EXPECT_EQ(ReadFile(path("crlf.hts")), "xa\r\nb\r\n");
    EXPECT_EQ(ReadFile(path("cr.hts")), "yc\rd");
    EXPECT_FALSE(a->memo().modified());
    EXPECT_FALSE(b->memo().modified());
    EXPECT_TRUE(prompter->messages().empty());
}

TEST_F(EditorTest, FailedSaveKeepsTheOldFileAndTheChanges) {
    const std::string old = "old\r\ncontents\r\n";
    WriteFile(path("doc.hts"), old);
    TFrmEditor* e = EditorFor(path("doc.hts"));
    e->memo().setSelText(QByteArray(100000, 'x'));
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    main->windowUnit().SaveClick();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(ReadFile(path("doc.hts")), old);
    EXPECT_TRUE(e->memo().modified());
    EXPECT_EQ(main->Status().panelText(6).toStdString(), "Modified");
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_EQ(Errors()[0].method, "TFrmEditor.SaveIt");
    EXPECT_NE(Errors()[0].message.find("Unable to save file " + path("doc.hts")), std::string::npos);
}

TEST_F(EditorTest, FailedSaveAsKeepsTheOldName) {
    WriteFile(path("plain"), "a file, not a folder");
    WriteFile(path("doc.hts"), "old");
    TFrmEditor* e = EditorFor(path("doc.hts"));
    Type(e, "new ");
    prompter->QueueFile(path("plain") + "/doc.hts");
    main->windowUnit().SaveAsClick();
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_EQ(e->FileName, path("doc.hts"));
    EXPECT_EQ(e->windowTitle().toStdString(), "doc.hts");
    EXPECT_TRUE(e->memo().modified());
    EXPECT_EQ(ReadFile(path("doc.hts")), "old");
}

TEST_F(EditorTest, NoAtTheCloseQuestionClosesWithoutWritingOrAskingAgain) {
    WriteFile(path("keep.hts"), "keep");
    TFrmEditor* e = EditorFor(path("keep.hts"));
    Type(e, "changed ");
    prompter->QueueAnswer(ModalResult::No);
    main->windowUnit().CloseClick();
    ProcessMessages();
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(prompter->messages()[0].text, "Save changes to " + path("keep.hts") + "?");
    EXPECT_EQ(prompter->messages()[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(prompter->messages()[0].buttons, unsigned(BtnYesNoCancel));
    EXPECT_EQ(ReadFile(path("keep.hts")), "keep");
    EXPECT_EQ(main->ChildCount("TFrmEditor"), 0);
    EXPECT_TRUE(main->MdiArea()->subWindowList().isEmpty());
}

TEST_F(EditorTest, CancelOrADismissedQuestionKeepsTheWindow) {
    TFrmEditor* e = NewEditor();
    Type(e, "draft");
    for (ModalResult answer : {ModalResult::Cancel, ModalResult::None}) {
        prompter->Clear();
        prompter->QueueAnswer(answer);
        main->windowUnit().CloseClick();
        ProcessMessages();
        ASSERT_EQ(prompter->messages().size(), 1u);
        EXPECT_EQ(prompter->messages()[0].text, "Save changes to Untitled Web Page?");
        EXPECT_EQ(main->ChildCount("TFrmEditor"), 1);
        EXPECT_TRUE(e->memo().modified());
        EXPECT_TRUE(Enabled("SaveAll1"));
    }
    // Yes with the Save As dialog cancelled saves nothing, so the window stays too.
    prompter->QueueAnswer(ModalResult::Yes);
    prompter->QueueFiles(std::nullopt);
    main->windowUnit().CloseClick();
    ProcessMessages();
    EXPECT_EQ(main->ChildCount("TFrmEditor"), 1);
    // Yes with a name saves and closes.
    prompter->QueueAnswer(ModalResult::Yes);
    prompter->QueueFile(path("draft.hts"));
    main->windowUnit().CloseClick();
    ProcessMessages();
    EXPECT_EQ(main->ChildCount("TFrmEditor"), 0);
    EXPECT_NE(ReadFile(path("draft.hts")).find("draft"), std::string::npos);
}

TEST_F(EditorTest, CloseAllAndProgramCloseStopAtAWindowThatStaysOpen) {
    TFrmEditor* a = NewEditor();
    TFrmEditor* b = NewEditor();
    Type(a, "one");
    Type(b, "two");
    prompter->QueueAnswer(ModalResult::Cancel);
    main->windowUnit().CloseAllClick();
    ProcessMessages();
    EXPECT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(main->ChildCount("TFrmEditor"), 2);
    EXPECT_TRUE(Enabled("SaveAll1"));

    prompter->Clear();
    prompter->QueueAnswer(ModalResult::No);      // the last window is asked first
    prompter->QueueAnswer(ModalResult::Cancel);
    EXPECT_FALSE(main->close());
    EXPECT_EQ(main->ChildCount("TFrmEditor"), 1);
    EXPECT_EQ(prompter->messages().size(), 2u);

    prompter->QueueAnswer(ModalResult::No);
    main->windowUnit().CloseAllClick();
    ProcessMessages();
    EXPECT_EQ(main->ChildCount("TFrmEditor"), 0);
    EXPECT_FALSE(Enabled("SaveAll1"));
}

}  // namespace
}  // namespace vlrtest
