// The project commands: closing, the save question of New, Recent, Close and
// opening a project, adding and removing files, the variables and options
// dialogs through their exchange files, and the File and Project menu rules.
#include "ProjectFixture.h"

#include "project/unit/ProjectFileList.h"
#include "app/shell/RecentList.h"
#include "app/shell/SidePanel.h"
#include "appearance/UserSettings.h"
#include "platform/PrivateTempDir.h"
#include "platform/IniFile.h"
#include "platform/System.h"

#include <QAction>
#include <QToolButton>

#include <filesystem>
#include <fstream>

namespace vlrtest {
namespace {

using vlr::ModalResult;

class ProjectCommandsTest : public ProjectShellTest {
protected:
    // Opens a project of two files and returns its path.
    std::string OpenSite(vlr::TFrmMainVLR& w, const std::string& name = "site.vlr") {
        const std::string vlr = projectDir + "/" + name;
        vlr::IniFile ini(vlr);
        ini.WriteString("files", "0", MakeFile("src/b.hts"));
        ini.WriteString("files", "1", MakeFile("src/a.hts"));
        ini.WriteString("directories", "src", projectDir + "/src");
        ini.WriteString("directories", "out", projectDir + "/out");
        ini.WriteString("variables", "Title", "Home");
        w.projectUnit().ParseToOpen(vlr);
        return vlr;
    }
    void Modify(vlr::TFrmMainVLR& w) { w.projectUnit().AddFiles({MakeFile("src/new" + std::to_string(++serial) + ".hts")}); }
    int serial = 0;
};

const char* const kProjectCommands[] = {"SaveProject1", "SaveProject2", "SaveProjectAs1", "CloseProject1",
                                        "BuildAll1", "BuildAll2", "OrganizeVariables1", "ProjectVariables1",
                                        "Options1", "ProjectOptions1", "AddFile1", "RemoveFile1", "Preview1"};

TEST_F(ProjectCommandsTest, ClosingLeavesNoProjectAndEveryProjectCommandDisabled) {
    auto w = NewProjectWindow();
    OpenSite(*w);
    w->projectUnit().projectFileList().Select(0);
    EXPECT_TRUE(w->projectUnit().projectFileList().removeButton()->isEnabled());
    w->action("CloseProject1")->trigger();

    EXPECT_EQ(w->projectUnit().ProjectFile(), "none");
    EXPECT_EQ(w->windowTitle(), "Velora");
    EXPECT_TRUE(w->projectUnit().AllFiles().empty());
    EXPECT_EQ(w->projectUnit().ProjectVariables().Count(), 0);
    EXPECT_EQ(w->projectUnit().projectFileList().RowCount(), 0);
    w->projectUnit().File1Click();
    w->projectUnit().Project1Click();
    for (const char* name : kProjectCommands)
        EXPECT_FALSE(w->action(name)->isEnabled()) << name;
    vlr::ProjectFileList& list = w->projectUnit().projectFileList();
    for (QAction* a : {list.addButton(), list.removeButton(), list.buildButton(), list.previewButton()})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(prompter->messages().empty());
}

TEST_F(ProjectCommandsTest, EveryWayOfLeavingAModifiedProjectAsksFirst) {
    struct Way {
        const char* name;
        std::function<void(vlr::TFrmMainVLR&, const std::string& other)> run;
    };
    const std::vector<Way> ways = {
        {"new project", [](vlr::TFrmMainVLR& w, const std::string&) { w.action("NewProject1")->trigger(); }},
        {"recent project", [](vlr::TFrmMainVLR& w, const std::string& o) { w.projectUnit().OpenProjectPath(o); }},
        {"close project", [](vlr::TFrmMainVLR& w, const std::string&) { w.action("CloseProject1")->trigger(); }},
        {"open a .vlr", [](vlr::TFrmMainVLR& w, const std::string& o) { w.projectUnit().ParseToOpen(o); }},
    };
    for (const Way& way : ways) {
        for (ModalResult answer : {ModalResult::Cancel, ModalResult::No, ModalResult::Yes}) {
            SCOPED_TRACE(std::string(way.name) + " answered " + std::to_string(static_cast<int>(answer)));
            std::filesystem::remove(projectDir + "/site.vlr");
            std::filesystem::remove(projectDir + "/other.vlr");
            auto w = NewProjectWindow();
            const std::string vlr = OpenSite(*w);
            const std::string other = OpenSite(*w, "other.vlr");
            w->projectUnit().OpenProjectPath(vlr);
            Modify(*w);
            Outside().newProj = 0;
            prompter->Clear();
            prompter->QueueAnswer(answer);
            way.run(*w, other);

            ASSERT_EQ(prompter->messages().size(), 1u);
            EXPECT_EQ(prompter->messages()[0].text, "Save changes to current project?");
            EXPECT_EQ(prompter->messages()[0].buttons, vlr::BtnYesNoCancel);
            EXPECT_EQ(prompter->messages()[0].kind, vlr::MessageKind::Confirmation);
            const bool saved = vlr::IniFile(vlr).ReadString("files", "2", "") != "";
            EXPECT_EQ(saved, answer == ModalResult::Yes);
            if (answer == ModalResult::Cancel) {
                EXPECT_EQ(w->projectUnit().ProjectFile(), vlr);
                EXPECT_TRUE(w->projectUnit().ProjectModified());
                EXPECT_EQ(Outside().newProj, 0);
                continue;
            }
            const std::string wayName = way.name;
            const bool opensOther = wayName == "recent project" || wayName == "open a .vlr";
            // Saving before a new project keeps the saved project open until
            // the new-project dialog opens its own.
            const bool keepsSaved = wayName == "new project" && answer == ModalResult::Yes;
            EXPECT_EQ(w->projectUnit().ProjectFile(), opensOther ? other : keepsSaved ? vlr : "none");
            EXPECT_FALSE(w->projectUnit().ProjectModified());
            EXPECT_EQ(Outside().newProj, std::string(way.name) == "new project" ? 1 : 0);
        }
    }
}

TEST_F(ProjectCommandsTest, AnUnmodifiedProjectIsLeftWithoutAQuestion) {
    auto w = NewProjectWindow();
    OpenSite(*w);
    w->action("NewProject2")->trigger();
    EXPECT_EQ(w->projectUnit().ProjectFile(), "none");
    EXPECT_EQ(Outside().newProj, 1);
    EXPECT_TRUE(prompter->messages().empty());
}

TEST_F(ProjectCommandsTest, AddingTakesSourceFilesOnlyAndRefusesDuplicates) {
    auto w = NewProjectWindow();
    OpenSite(*w);
    const std::string page = MakeFile("src/PAGE.HTS");
    const std::string dup = projectDir + "/src/a.hts";
    const std::string fresh = MakeFile("src/fresh.hts");
    prompter->QueueFiles(std::vector<std::string>{page, dup, fresh});
    w->action("AddFile1")->trigger();

    const auto& dialog = prompter->prompts().front();
    EXPECT_EQ(dialog.type, vlr::RecordedPrompt::OpenDialog);
    EXPECT_TRUE(dialog.dialog.multiSelect);
    std::vector<vlr::RecordedPrompt> boxes = prompter->messages();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "VLR Projects contain HTML source files only");
    EXPECT_EQ(boxes[0].caption, "Information");
    EXPECT_EQ(boxes[0].kind, vlr::MessageKind::Information);
    EXPECT_EQ(boxes[1].text, "The file " + dup + ", is already in the project");
    EXPECT_EQ(boxes[1].kind, vlr::MessageKind::Error);
    ASSERT_EQ(w->projectUnit().AllFiles().size(), 3u);
    EXPECT_EQ(w->projectUnit().AllFiles()[2], fresh);
    EXPECT_EQ(w->projectUnit().projectFileList().RowCount(), 3);
    EXPECT_TRUE(w->projectUnit().ProjectModified());

    // The exported form takes any extension, still no duplicate, and needs a project.
    EXPECT_TRUE(w->projectUnit().AddToProject(page));
    EXPECT_FALSE(w->projectUnit().AddToProject(page));
    EXPECT_EQ(w->projectUnit().AllFiles().size(), 4u);
    w->projectUnit().CloseProj();
    EXPECT_FALSE(w->projectUnit().AddToProject(fresh));
}

TEST_F(ProjectCommandsTest, RemovingRebuildsTheFilesInDisplayOrderKeepingFullPaths) {
    auto w = NewProjectWindow();
    OpenSite(*w);
    const std::string outside = MakeFile("elsewhere/x.hts");
    w->projectUnit().AddFiles({outside});
    vlr::ProjectFileList& list = w->projectUnit().projectFileList();
    list.SortByColumn(vlr::ProjectFileList::Filename);
    EXPECT_EQ(list.RowAt(0).fileName, "a.hts");
    list.SortByColumn(vlr::ProjectFileList::Filename);  // again: descending
    EXPECT_EQ(list.RowAt(0).fileName, "x.hts");
    list.Select(1);  // b.hts
    prompter->Clear();
    list.removeButton()->trigger();

    EXPECT_EQ(w->projectUnit().AllFiles(), (std::vector<std::string>{outside, projectDir + "/src/a.hts"}));
    EXPECT_TRUE(w->projectUnit().ProjectModified());
    EXPECT_FALSE(list.removeButton()->isEnabled());
    EXPECT_EQ(list.RowCount(), 2);
}

TEST_F(ProjectCommandsTest, OrganizingVariablesGoesThroughTheExchangeFile) {
    auto w = NewProjectWindow();
    OpenSite(*w);
    // The exchange file lives in the user's private folder; a link planted
    // under its old name in the shared temporary folder is never written through.
    const std::string exchange = vlr::PrivateTempFile("~fsetting.tmp");
    ASSERT_FALSE(exchange.empty());
    EXPECT_NE(exchange.rfind(vlr::TempDir(), 0), 0u);
    const std::string planted = vlr::TempDir() + "~fsetting.tmp";
    const std::string victim = projectDir + "/victim.txt";
    { std::ofstream(victim) << "mine"; }
    std::error_code plantError;
    std::filesystem::create_symlink(victim, planted, plantError);
    std::string seen;
    Outside().onDoVars = [&] {
        vlr::TUserSettingList list;
        list.LoadFromFile(exchange);
        seen = list.Items(0)->Name + "=" + list.Items(0)->Value;
        list.Add("Author", "Ann");
        list.SaveToFile(exchange);
        return std::uint8_t{1};
    };
    w->action("ProjectVariables1")->trigger();
    EXPECT_EQ(seen, "Title=Home");
    ASSERT_EQ(w->projectUnit().ProjectVariables().Count(), 2);
    EXPECT_EQ(w->projectUnit().ProjectVariables().Items(1)->Value, "Ann");
    EXPECT_TRUE(w->projectUnit().ProjectModified());
    EXPECT_FALSE(std::filesystem::exists(exchange));
    if (!plantError) {
        std::ifstream in(victim);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "mine");
        std::filesystem::remove(planted);
    }

    // Cancelled: nothing changes.
    w->projectUnit().SaveProjectFile();
    Outside().onDoVars = [&] {
        std::ofstream(exchange, std::ios::binary) << "garbage";
        return std::uint8_t{0};
    };
    w->action("OrganizeVariables1")->trigger();
    EXPECT_EQ(w->projectUnit().ProjectVariables().Count(), 2);
    EXPECT_FALSE(w->projectUnit().ProjectModified());

    // Confirmed with a damaged file: the variables stay and the user is told.
    prompter->Clear();
    Outside().onDoVars = [&] {
        std::ofstream(exchange, std::ios::binary | std::ios::trunc) << std::string("\x05\0\0\0", 4);
        return std::uint8_t{1};
    };
    w->action("OrganizeVariables1")->trigger();
    EXPECT_EQ(w->projectUnit().ProjectVariables().Count(), 2);
    EXPECT_FALSE(w->projectUnit().ProjectModified());
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(prompter->messages()[0].kind, vlr::MessageKind::Error);
}

TEST_F(ProjectCommandsTest, ProjectOptionsComeBackThroughTheExchangeFileIntoTheProjectFile) {
    auto w = NewProjectWindow();
    const std::string vlr = OpenSite(*w);
    Modify(*w);
    const std::string exchange = appDir.string() + "/~tmppref.ini";
    std::string before;
    Outside().onShowProjPref = [&] {
        before = Read(exchange);
        vlr::IniFile ini(exchange);
        ini.WriteString("dirs", "out", "/srv/www");
        ini.WriteString("dirs", "src", projectDir);
        ini.WriteString("dirs", "img_prep", "pics/");
        ini.WriteBool("compiler", "db", false);
        ini.WriteBool("compiler", "inc", false);
        return std::uint8_t{1};
    };
    w->action("ProjectOptions1")->trigger();

    EXPECT_EQ(before, "[dirs]\nimg=\nsrc=" + projectDir + "/src\nout=" + projectDir +
                          "/out\nimg_prep=\n\n[compiler]\nvars=1\ndb=1\nscripts=1\next=1\ninc=1\n");
    EXPECT_FALSE(std::filesystem::exists(exchange));
    EXPECT_EQ(w->projectUnit().OutputDir(), "/srv/www");
    EXPECT_EQ(w->projectUnit().SourceDir(), projectDir);
    EXPECT_EQ(w->projectUnit().projectFileList().RowAt(0).outputFolder, "src");
    EXPECT_EQ(w->projectUnit().AllFiles().size(), 3u);
    EXPECT_EQ(w->projectUnit().ImgPrefix(), "pics/");
    EXPECT_FALSE(w->projectUnit().Project().Switches.db);
    EXPECT_FALSE(w->projectUnit().Project().Switches.includes);
    EXPECT_TRUE(w->projectUnit().ProjectModified());  // the options path leaves the flag alone
    vlr::IniFile saved(vlr);
    EXPECT_EQ(saved.ReadString("directories", "out", ""), "/srv/www");
    EXPECT_EQ(saved.ReadString("other", "imgprep", ""), "pics/");
    EXPECT_EQ(saved.ReadString("Compiler", "includes", ""), "0");
    // Files and variables are not written on this path.
    EXPECT_EQ(saved.ReadString("files", "2", ""), "");
    EXPECT_EQ(saved.ReadString("variables", "Title", ""), "Home");

    Outside().onShowProjPref = [] { return std::uint8_t{0}; };
    w->action("Options1")->trigger();
    EXPECT_EQ(w->projectUnit().OutputDir(), "/srv/www");
}

TEST_F(ProjectCommandsTest, CloseAllClosesAModifiedProjectWithTheQuestion) {
    auto w = NewProjectWindow();
    const std::string vlr = OpenSite(*w);
    Modify(*w);
    AddRecordingChild(*w, "TFrmEditor");
    w->UpdateEditorCommands(false);
    prompter->QueueAnswer(ModalResult::Cancel);
    w->action("CloseAll1")->trigger();
    EXPECT_EQ(w->projectUnit().ProjectFile(), vlr);
    prompter->QueueAnswer(ModalResult::No);
    w->action("CloseAll1")->trigger();
    EXPECT_EQ(w->projectUnit().ProjectFile(), "none");
    EXPECT_EQ(prompter->messages().size(), 2u);
}

TEST_F(ProjectCommandsTest, FileAndProjectMenusFollowTheProjectAndTheWindows) {
    auto w = NewProjectWindow();
    w->projectUnit().File1Click();
    EXPECT_FALSE(w->action("Close1")->isEnabled());
    EXPECT_FALSE(w->action("SaveProjectAs1")->isEnabled());
    OpenSite(*w);
    AddRecordingChild(*w, "TFrmEditor");
    w->projectUnit().File1Click();
    EXPECT_FALSE(w->action("SaveProject1")->isEnabled());
    EXPECT_TRUE(w->action("SaveProjectAs1")->isEnabled());
    EXPECT_TRUE(w->action("CloseProject1")->isEnabled());
    EXPECT_TRUE(w->action("Close1")->isEnabled());
    Modify(*w);
    w->projectUnit().File1Click();
    EXPECT_TRUE(w->action("SaveProject1")->isEnabled());

    w->projectUnit().Project1Click();
    EXPECT_TRUE(w->action("AddFile1")->isEnabled());
    EXPECT_TRUE(w->action("Options1")->isEnabled());
    EXPECT_FALSE(w->action("RemoveFile1")->isEnabled());
    w->projectUnit().projectFileList().Select(0);
    w->projectUnit().Project1Click();
    EXPECT_TRUE(w->action("RemoveFile1")->isEnabled());

    vlr::ProjectFileList& list = w->projectUnit().projectFileList();
    list.UpdateContextMenu();
    EXPECT_TRUE(list.editItem()->isEnabled());
    EXPECT_TRUE(list.removeItem()->isEnabled());
    EXPECT_TRUE(list.addItem()->isEnabled());
    // The build commands are available: Compile follows the selection.
    EXPECT_TRUE(list.compileItem()->isEnabled());
}

TEST_F(ProjectCommandsTest, TheSidePanelsCloseButtonHidesIt) {
    auto w = NewProjectWindow();
    ASSERT_TRUE(w->sidePanel().isVisible());
    w->sidePanel().closeButton()->click();
    EXPECT_FALSE(w->sidePanel().isVisible());
    w->action("FileList1")->trigger();
    EXPECT_TRUE(w->sidePanel().isVisible());
}

}  // namespace
}  // namespace vlrtest
