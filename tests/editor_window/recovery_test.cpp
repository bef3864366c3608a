// Unsaved text survives a killed program: a child process edits a document
// and is killed with SIGKILL; the next start offers the text back.
#include "EditorFixture.h"

#include "editor/unit/EditorUnit.h"
#include "project/unit/ProjectUnit.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>

#include <filesystem>
#include <iostream>

namespace vlrtest {

// The child's side: open the document, type, let the copy be written, say
// "ready" and wait to be killed.
int RunRecoveryChild(const std::string& document, const std::string& typed) {
    vlr::ScriptedPrompter prompter;
    vlr::TFrmMainVLR main;
    main.show();
    vlr::ProcessMessages();
    vlr::TFrmEditor* e = document.empty() ? main.editorUnit().OpenNewEditor()
                                          : main.editorUnit().OpenEditorForFile(document);
    if (!e)
        return 3;
    e->memo().engine().typeText(typed);
    vlr::ProcessMessages();
    if (!main.editorUnit().recoveryScheduler())
        return 4;
    main.editorUnit().recoveryScheduler()->SaveAllNow();
    std::cout << "ready" << std::endl;
    QTimer::singleShot(60000, [] { QCoreApplication::exit(5); });
    return QCoreApplication::exec();
}

namespace {

namespace fs = std::filesystem;

class RecoveryTest : public EditorTest {
protected:
    // Runs the child on this test's program folder and kills it once its
    // copy is written.
    void EditAndKill(const std::string& document, const std::string& typed) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VELORA_APPDIR", QString::fromStdString(appDir.string() + "/"));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {"--recovery-child", QString::fromStdString(document), QString::fromStdString(typed)});
        ASSERT_TRUE(child.waitForStarted(10000));
        QByteArray out;
        while (!out.contains("ready") && child.waitForReadyRead(20000))
            out += child.readAllStandardOutput();
        ASSERT_TRUE(out.contains("ready")) << out.toStdString() << child.readAllStandardError().toStdString();
        child.kill();  // SIGKILL: no clean exit of any kind
        ASSERT_TRUE(child.waitForFinished(10000));
    }
};

TEST_F(RecoveryTest, TheTextOfAKilledProgramIsRestoredAsModified) {
    WriteFile(path("page.hts"), "<p>saved</p>");
    EditAndKill(path("page.hts"), "typed ");
    EXPECT_EQ(ReadFile(path("page.hts")), "<p>saved</p>");

    main.reset();
    prompter->QueueAnswer(vlr::ModalResult::Yes);
    main = std::make_unique<vlr::TFrmMainVLR>();
    main->show();
    vlr::ProcessMessages();
    ASSERT_FALSE(prompter->messages().empty());
    EXPECT_NE(prompter->messages()[0].text.find("Restore the unsaved text of " + path("page.hts")), std::string::npos);
    vlr::TFrmEditor* e = vlr::FrmEditor;
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->FileName, path("page.hts"));
    EXPECT_EQ(Text(e), "typed <p>saved</p>");
    EXPECT_TRUE(e->memo().modified());
    // The file itself is untouched until the user saves.
    EXPECT_EQ(ReadFile(path("page.hts")), "<p>saved</p>");
}

TEST_F(RecoveryTest, AnUntitledDocumentComesBackUntitledAndARefusedOneIsGone) {
    EditAndKill("", "draft text ");
    main.reset();
    prompter->QueueAnswer(vlr::ModalResult::No);
    main = std::make_unique<vlr::TFrmMainVLR>();
    main->show();
    vlr::ProcessMessages();
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_NE(prompter->messages()[0].text.find("Untitled Web Page"), std::string::npos);
    EXPECT_EQ(main->ChildCount("TFrmEditor"), 0);
    // Refused: not offered again.
    main.reset();
    main = std::make_unique<vlr::TFrmMainVLR>();
    main->show();
    vlr::ProcessMessages();
    EXPECT_EQ(prompter->messages().size(), 1u);
}

TEST_F(RecoveryTest, ACleanExitLeavesNothingToRecover) {
    vlr::TFrmEditor* e = NewEditor();
    Type(e, "unsaved");
    main->editorUnit().recoveryScheduler()->SaveAllNow();
    prompter->QueueAnswer(vlr::ModalResult::No);  // do not save at close
    EXPECT_TRUE(main->close());
    main.reset();
    main = std::make_unique<vlr::TFrmMainVLR>();
    main->show();
    vlr::ProcessMessages();
    for (const auto& m : prompter->messages())
        EXPECT_EQ(m.text.find("Restore the unsaved text"), std::string::npos);
}

}  // namespace
}  // namespace vlrtest
