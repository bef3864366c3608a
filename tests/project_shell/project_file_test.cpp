// Opening, saving, saving as and closing a project through the main window,
// checked against the project file's bytes.
#include "ProjectFixture.h"

#include "project/unit/ProjectFileList.h"
#include "app/shell/RecentList.h"
#include "platform/IniFile.h"

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>

#include <filesystem>

namespace vlrtest {
namespace {

using vlr::ModalResult;

class ProjectFileTest : public ProjectShellTest {
protected:
    // A project whose "files" keys have a gap, a section of the outside build
    // before and one after the program's sections, and switches off.
    std::string WriteSite(const std::string& name = "site.vlr") {
        src = projectDir + "/src";
        a = MakeFile("src/a.hts");
        b = MakeFile("src/pages/b.hts");
        c = MakeFile("src/c.hts");
        return MakeFile(name,
                        "[Upload]\nhost=ftp.example.org\n"
                        "[files]\n0=" + a + "\n1=" + b + "\n3=" + c + "\n"
                        "[directories]\nsrc=" + src + "\nout=" + projectDir + "/out\nimg=" + projectDir +
                            "/img\nsearch=/usr/share\n"
                        "[other]\nimgprep=images/\n"
                        "[Compiler]\nvars=0\ndb=1\nscripts=0\n"
                        "[variables]\nTitle=My Site\nDateNow=never\n"
                        "[Publish]\nwhen=daily\n");
    }
    std::string src, a, b, c;
};

TEST_F(ProjectFileTest, OpeningReadsEveryFileKeyAndShowsTheProject) {
    auto w = NewProjectWindow();
    const std::string vlr = WriteSite();
    w->projectUnit().ParseToOpen(vlr);

    EXPECT_EQ(w->projectUnit().ProjectFile(), vlr);
    EXPECT_FALSE(w->projectUnit().ProjectModified());
    EXPECT_EQ(w->windowTitle(), "site - Velora");
    EXPECT_EQ(QApplication::applicationDisplayName(), "site - Velora");
    // Key "3" is read although "2" is missing, and nothing empty is added.
    EXPECT_EQ(w->projectUnit().AllFiles(), (std::vector<std::string>{a, b, c}));
    EXPECT_EQ(w->projectUnit().SourceDir(), src);
    EXPECT_EQ(w->projectUnit().SearchDir(), "/usr/share");
    EXPECT_EQ(w->projectUnit().ImgPrefix(), "images/");
    EXPECT_FALSE(w->projectUnit().Project().Switches.vars);
    EXPECT_TRUE(w->projectUnit().Project().Switches.extapps);  // missing reads as true
    ASSERT_EQ(w->projectUnit().ProjectVariables().Count(), 2);
    EXPECT_EQ(w->projectUnit().ProjectVariables().Items(0)->Value, "My Site");
    EXPECT_EQ(w->RecentProjects().items().front().toStdString(), vlr);

    vlr::ProjectFileList& list = w->projectUnit().projectFileList();
    ASSERT_EQ(list.RowCount(), 3);
    EXPECT_EQ(list.RowAt(1).fileName, "b.hts");
    EXPECT_EQ(list.RowAt(1).outputFolder, "pages");
    EXPECT_EQ(list.RowAt(1).fullPath, b);
    EXPECT_EQ(list.RowAt(0).outputFolder, "");
    EXPECT_TRUE(w->action("AddFile1")->isEnabled());
    EXPECT_TRUE(w->action("ProjectOptions1")->isEnabled());
    EXPECT_FALSE(w->action("SaveProject2")->isEnabled());
}

TEST_F(ProjectFileTest, SavingRewritesTheProgramsSectionsInOrderAndKeepsTheOthers) {
    auto w = NewProjectWindow();
    const std::string vlr = WriteSite();
    w->projectUnit().ParseToOpen(vlr);
    const std::string d = MakeFile("src/d.hts");
    w->projectUnit().AddFiles({d});
    EXPECT_TRUE(w->projectUnit().ProjectModified());
    EXPECT_TRUE(w->action("SaveProject2")->isEnabled());

    w->action("SaveProject1")->trigger();
    EXPECT_FALSE(w->projectUnit().ProjectModified());
    EXPECT_FALSE(w->action("SaveProject2")->isEnabled());
    EXPECT_EQ(Read(vlr),
              "[Upload]\nhost=ftp.example.org\n"
              "[other]\nimgprep=images/\n"
              "[Compiler]\nvars=0\ndb=1\nscripts=0\nextapps=1\nincludes=1\n"
              "[Publish]\nwhen=daily\n"
              "\n[files]\n0=" + a + "\n1=" + b + "\n2=" + c + "\n3=" + d + "\n"
              "\n[directories]\nsrc=" + src + "\nout=" + projectDir + "/out\nimg=" + projectDir +
                  "/img\nsearch=/usr/share\n"
              "\n[variables]\nTitle=My Site\nDateNow=never\n");
}

TEST_F(ProjectFileTest, SaveAsWritesTheNewFileWithTheSwitchesAndRenamesTheProject) {
    auto w = NewProjectWindow();
    const std::string vlr = WriteSite();
    w->projectUnit().ParseToOpen(vlr);
    const std::string copy = projectDir + "/site.beta.vlr";

    prompter->QueueFiles(std::nullopt);  // cancelled: nothing changes
    w->action("SaveProjectAs1")->trigger();
    EXPECT_EQ(w->projectUnit().ProjectFile(), vlr);
    EXPECT_FALSE(std::filesystem::exists(copy));

    prompter->QueueFile(copy);
    w->projectUnit().AddFiles({MakeFile("src/e.hts")});
    w->action("SaveProjectAs1")->trigger();
    EXPECT_EQ(w->projectUnit().ProjectFile(), copy);
    EXPECT_FALSE(w->projectUnit().ProjectModified());
    EXPECT_EQ(w->windowTitle(), "site.beta - Velora");
    vlr::IniFile saved(copy);
    EXPECT_EQ(saved.ReadString("Compiler", "vars", ""), "0");
    EXPECT_EQ(saved.ReadString("Compiler", "scripts", ""), "0");
    EXPECT_EQ(saved.ReadString("Compiler", "db", ""), "1");
    EXPECT_EQ(saved.ReadString("files", "3", ""), projectDir + "/src/e.hts");
    // The dialog is the one file-open dialog.
    ASSERT_FALSE(prompter->prompts().empty());
    EXPECT_EQ(prompter->prompts().back().dialog.title, "Open File");
    // A name that does not exist yet can be chosen.
    EXPECT_FALSE(prompter->prompts().back().dialog.multiSelect);
    EXPECT_FALSE(prompter->prompts().back().dialog.mustExist);
}

TEST_F(ProjectFileTest, AProjectInAMissingFolderIsNotOpened) {
    auto w = NewProjectWindow();
    w->projectUnit().OpenProjectPath(projectDir + "/gone/site.vlr");
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Your Projects Source Directory does not exist"}));
    EXPECT_EQ(w->projectUnit().ProjectFile(), "none");
    EXPECT_FALSE(w->action("AddFile1")->isEnabled());
}

TEST_F(ProjectFileTest, AFailedSaveKeepsTheProjectOpenAndModified) {
    auto w = NewProjectWindow();
    const std::string sub = projectDir + "/sub";
    std::filesystem::create_directories(sub);
    const std::string vlr = sub + "/site.vlr";
    vlr::IniFile(vlr).WriteString("directories", "src", projectDir);
    w->projectUnit().ParseToOpen(vlr);
    w->projectUnit().AddFiles({MakeFile("a.hts")});
    std::filesystem::remove_all(sub);

    prompter->QueueAnswer(ModalResult::Yes);
    w->projectUnit().CloseProjectClick();
    EXPECT_EQ(w->projectUnit().ProjectFile(), vlr);
    EXPECT_TRUE(w->projectUnit().ProjectModified());
    std::vector<std::string> texts = MessageTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Save changes to current project?");
    EXPECT_NE(texts[1].find("The project was not saved."), std::string::npos);
}

}  // namespace
}  // namespace vlrtest

namespace vlrtest {

// With a document window maximised the title names the document first and
// ends with the caption, which is also the application's display name: the
// window system adds that name only to titles that do not end with it, so
// the caption is shown once.
TEST_F(ProjectFileTest, AMaximisedDocumentIsNamedBeforeTheCaption) {
    auto w = NewProjectWindow();
    w->projectUnit().ParseToOpen(WriteSite());
    QWidget* child = AddRecordingChild(*w, "TFrmEditor");
    child->setWindowTitle(QStringLiteral("index.hts"));
    auto* sub = qobject_cast<QMdiSubWindow*>(child->parentWidget());
    ASSERT_NE(sub, nullptr);
    sub->showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(w->windowTitle().toStdString(), "index.hts - site - Velora");
    EXPECT_TRUE(w->windowTitle().endsWith(QApplication::applicationDisplayName()));
    sub->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(w->windowTitle().toStdString(), "site - Velora");
}

}  // namespace vlrtest
