// The build commands through the real main window: Build All (menu,
// toolbar, Ctrl+F9, side panel) with the busy cursor, Preview of the selected
// file, their enabling, and a real build by the core module that drives the
// progress bar and the status line.
#include "ProjectFixture.h"
#include "../shell/UserInput.h"

#include "app/commands/CommandGroup.h"
#include "app/units/CommandGate.h"
#include "app/shell/StatusLine.h"
#include "platform/IniFile.h"
#include "platform/Library.h"
#include "platform/System.h"
#include "project/build_unit/BuildUnit.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QToolButton>
#include <QTreeWidget>
#include <QProgressBar>
#include <QTest>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace vlrtest {
namespace {

// The cursor shape while the stand-in build ran, or -1 for none.
int g_cursorDuringBuild = -1;
std::int32_t cursorRecordingBuild(const char* project, const char* path, vlr::Handle w, std::int32_t r,
                                  std::int32_t f) {
    const QCursor* c = QApplication::overrideCursor();
    g_cursorDuringBuild = c ? int(c->shape()) : -1;
    Outside().builds.push_back({project, path, w, r, f});
    return 1;
}

class BuildCommandsTest : public ProjectShellTest {
protected:
    void SetUp() override {
        ProjectShellTest::SetUp();
        w = NewProjectWindow();
        opened.clear();
        vlr::SetShellOpenHook([this](const std::string& target) {
            opened.push_back(target);
            return true;
        });
    }
    void TearDown() override {
        w.reset();
        ProjectShellTest::TearDown();
    }
    // A project with one page in the source folder and one in a sub-folder.
    std::string OpenSite() {
        const std::string vlr = projectDir + "/site.vlr";
        vlr::IniFile ini(vlr);
        ini.WriteString("files", "0", MakeFile("src/index.hts", "<%Title%> <&part.inc&>"));
        ini.WriteString("files", "1", MakeFile("src/docs/guide.hts", "guide"));
        MakeFile("src/part.inc", "part");
        ini.WriteString("directories", "src", projectDir + "/src");
        ini.WriteString("directories", "out", projectDir + "/out");
        ini.WriteString("variables", "Title", "Home");
        w->projectUnit().ParseToOpen(vlr);
        return vlr;
    }
    // Where the list shows the file with this name, in its viewport.
    QPoint RowOf(const std::string& name) {
        QTreeWidget* view = w->projectUnit().projectFileList().view();
        for (int i = 0; i < view->topLevelItemCount(); ++i)
            if (view->topLevelItem(i)->text(0).toStdString() == name)
                return view->visualItemRect(view->topLevelItem(i)).center();
        ADD_FAILURE() << name << " is not in the file list";
        return {};
    }
    // Clicks the file's row in the list.
    void SelectFile(const std::string& name) {
        QTest::mouseClick(w->projectUnit().projectFileList().view()->viewport(), Qt::LeftButton, {}, RowOf(name));
        vlr::ProcessMessages();
    }
    // Right-clicks the file's row and chooses the context menu's item by its key.
    void ChooseForFile(const std::string& name, Qt::Key key) {
        SelectFile(name);
        // Through the window, as the system delivers a click: the right button's
        // release there is what asks for the context menu.
        QWidget* viewport = w->projectUnit().projectFileList().view()->viewport();
        QTest::mouseClick(w->windowHandle(), Qt::RightButton, {}, viewport->mapTo(w.get(), RowOf(name)));
        vlr::ProcessMessages();
        QMenu* menu = w->projectUnit().projectFileList().contextMenu();
        ASSERT_TRUE(menu->isVisible());
        QTest::keyClick(menu, key);
        vlr::ProcessMessages();
    }
    void ClickButtonOf(QAction* action) {
        ClickToolButtonOf(action);
        vlr::ProcessMessages();
    }
    void ChooseFromMenu(Qt::Key menuKey, Qt::Key itemKey) {
        ChooseFromMenuBar(w.get(), menuKey, {itemKey});
        vlr::ProcessMessages();
    }
    // Binds the real core module's build.
    void UseRealBuild() {
        vlr::LibraryHandle core = vlr::LoadLibrary("vlrcore.dll");
        ASSERT_NE(core, nullptr);
        w->Libraries().entry.ProcessProject =
            reinterpret_cast<ProcessProjectFn>(vlr::GetProcAddress(core, "ProcessProject"));
    }

    std::unique_ptr<vlr::TFrmMainVLR> w;
    std::vector<std::string> opened;
};

TEST_F(BuildCommandsTest, BuildCommandsExistAndFollowTheProject) {
    EXPECT_TRUE(w->Gate().available(vlr::CommandGroup::Build));
    EXPECT_EQ(w->action("BuildAll1")->shortcut(), QKeySequence("Ctrl+F9"));
    for (const char* name : {"BuildAll1", "BuildAll2", "Preview1"})
        EXPECT_FALSE(w->action(name)->isEnabled()) << name;

    OpenSite();
    EXPECT_TRUE(w->action("BuildAll1")->isEnabled());
    EXPECT_TRUE(w->action("BuildAll2")->isEnabled());
    EXPECT_TRUE(w->projectUnit().projectFileList().buildButton()->isEnabled());
    w->projectUnit().Project1Click();
    EXPECT_FALSE(w->action("Preview1")->isEnabled());
    SelectFile("guide.hts");
    w->projectUnit().Project1Click();
    EXPECT_TRUE(w->action("Preview1")->isEnabled());
    EXPECT_TRUE(w->projectUnit().projectFileList().previewButton()->isEnabled());

    ChooseFromMenu(Qt::Key_F, Qt::Key_T);  // File, Close Project
    EXPECT_EQ(w->projectUnit().ProjectFile(), "none");
    for (const char* name : {"BuildAll1", "BuildAll2", "Preview1"})
        EXPECT_FALSE(w->action(name)->isEnabled()) << name;
}

TEST_F(BuildCommandsTest, BuildAllBuildsTheWholeProjectUnderTheBusyCursor) {
    const std::string vlr = OpenSite();
    w->Libraries().entry.ProcessProject = cursorRecordingBuild;
    g_cursorDuringBuild = -1;
    ChooseFromMenu(Qt::Key_P, Qt::Key_B);  // Project, Build All
    ASSERT_EQ(Outside().builds.size(), 1u);
    EXPECT_EQ(Outside().builds[0].project, vlr);
    EXPECT_EQ(Outside().builds[0].path, "");
    EXPECT_EQ(Outside().builds[0].window, w->handle());
    EXPECT_EQ(Outside().builds[0].reserved, 0);
    EXPECT_EQ(Outside().builds[0].flag, 0);
    EXPECT_EQ(g_cursorDuringBuild, int(Qt::BusyCursor));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // The toolbar button and the side panel's button run the same command.
    ClickButtonOf(w->action("BuildAll2"));
    ClickButtonOf(w->projectUnit().projectFileList().buildButton());
    EXPECT_EQ(Outside().builds.size(), 3u);
    EXPECT_EQ(Outside().builds[2].path, "");
}

TEST_F(BuildCommandsTest, PreviewBuildsTheSelectedFileAndOpensItsPage) {
    OpenSite();
    SelectFile("guide.hts");
    // The side panel's button works without the Project menu ever opened.
    ClickButtonOf(w->projectUnit().projectFileList().previewButton());
    ASSERT_EQ(Outside().builds.size(), 1u);
    EXPECT_EQ(Outside().builds[0].path, projectDir + "/src/docs/guide.hts");
    EXPECT_EQ(Outside().builds[0].flag, 0);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], projectDir + "/out/docs/guide.html");

    // A file directly in the source folder: no sub-folder in the page's path.
    // The page is handed over even when the build failed.
    Outside().buildResult = 0;
    ChooseForFile("index.hts", Qt::Key_P);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1], projectDir + "/out/index.html");

    // The Project menu's item does the same.
    ChooseFromMenu(Qt::Key_P, Qt::Key_P);
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[2], projectDir + "/out/index.html");
}

TEST_F(BuildCommandsTest, ARealBuildDrivesTheProgressBarAndTheStatusLine) {
    OpenSite();
    UseRealBuild();
    QProgressBar* bar = w->statusLine().progressBar();
    ChooseFromMenu(Qt::Key_P, Qt::Key_B);
    EXPECT_EQ(Read(projectDir + "/out/index.html"), "Home part");
    EXPECT_EQ(Read(projectDir + "/out/docs/guide.html"), "guide");
    EXPECT_EQ(bar->maximum(), 2);
    EXPECT_EQ(bar->value(), 0);
    const std::string status = w->Status().panelText(1).toStdString();
    EXPECT_EQ(status.rfind("Built 2 pages in ", 0), 0u) << status;

    ClickButtonOf(w->action("BuildAll2"));
    EXPECT_EQ(w->Status().panelText(1).toStdString(), "0 pages built, 2 up to date");

    // Compile from the file list's context menu builds the one file.
    ChooseForFile("guide.hts", Qt::Key_C);
    EXPECT_EQ(w->Status().panelText(1).toStdString().rfind("Built 1 page in ", 0), 0u);
}

// A project that reaches outside its folder: Ctrl+F9 asks once, naming what
// lies outside, with No as the default; Yes is kept in the user's own folder,
// never in the project file.
TEST_F(BuildCommandsTest, AProjectReachingOutsideItsFolderIsBuiltOnlyOnceTrusted) {
    const fs::path secret = fs::path(projectDir).parent_path() / (fs::path(projectDir).filename().string() + "-secret.txt");
    std::ofstream(secret) << "SECRET";
    const std::string vlr = projectDir + "/site.vlr";
    vlr::IniFile ini(vlr);
    ini.WriteString("files", "0", MakeFile("src/index.hts", "<&" + secret.string() + "&>"));
    ini.WriteString("directories", "src", "src");
    ini.WriteString("directories", "out", "out");
    w->projectUnit().ParseToOpen(vlr);
    UseRealBuild();
    w->activateWindow();
    QApplication::setActiveWindow(w.get());
    prompter->Clear();

    auto buildAll = [this] {
        QTest::keyClick(w.get(), Qt::Key_F9, Qt::ControlModifier);
        vlr::ProcessMessages();
    };
    // Unanswered (Enter, or prompts that are only logged): No.
    buildAll();
    ASSERT_EQ(prompter->messages().size(), 1u);
    const vlr::RecordedPrompt question = prompter->messages()[0];
    EXPECT_EQ(question.kind, vlr::MessageKind::Warning);
    EXPECT_EQ(question.caption, "Untrusted Project");
    EXPECT_EQ(question.buttons, unsigned(vlr::BtnYesNo));
    EXPECT_NE(question.text.find("reaches outside its own folder: the include file \"" + secret.string() + "\""),
              std::string::npos)
        << question.text;
    EXPECT_FALSE(fs::exists(projectDir + "/out/index.html"));
    EXPECT_NE(w->Status().panelText(1).toStdString().find("lies outside the project's folder"), std::string::npos)
        << w->Status().panelText(1).toStdString();
    // Asked once per project: the next build stops without a question.
    buildAll();
    EXPECT_EQ(prompter->messages().size(), 1u);
    EXPECT_FALSE(fs::exists(projectDir + "/out/index.html"));
    fs::remove(secret);
}

TEST_F(BuildCommandsTest, TrustGivenOnceIsRememberedForTheProjectInTheUsersFolder) {
    const fs::path secret = fs::path(projectDir).parent_path() / (fs::path(projectDir).filename().string() + "-secret.txt");
    std::ofstream(secret) << "SECRET";
    const std::string vlr = projectDir + "/site.vlr";
    vlr::IniFile ini(vlr);
    ini.WriteString("files", "0", MakeFile("src/index.hts", "<&../../" + secret.filename().string() + "&>"));
    ini.WriteString("directories", "src", "src");
    ini.WriteString("directories", "out", "out");
    w->projectUnit().ParseToOpen(vlr);
    const std::string projectText = Read(vlr);
    UseRealBuild();
    prompter->Clear();
    prompter->QueueAnswer(vlr::ModalResult::Yes);
    ClickButtonOf(w->projectUnit().projectFileList().buildButton());
    EXPECT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(Read(projectDir + "/out/index.html"), "SECRET");
    const std::string kept = Read(vlr::WritablePath("trusted.dat"));
    EXPECT_NE(kept.find(fs::canonical(vlr).string() + "\n"), std::string::npos) << kept;
    EXPECT_EQ(Read(vlr), projectText);

    // Trusted from now on, also for a single file built from the file list.
    std::ofstream(secret) << "CHANGED";
    ChooseForFile("index.hts", Qt::Key_C);
    EXPECT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(Read(projectDir + "/out/index.html"), "CHANGED");
    fs::remove(secret);
}

}  // namespace
}  // namespace vlrtest
