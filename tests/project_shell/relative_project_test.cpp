// The example site's own project file, which keeps its folders and pages
// relative to itself, used through the main window as a user does: opened
// with the toolbar's Open button, pages added with the side panel's button
// and the file dialog's answer, previewed, built with Ctrl+F9, and built on
// the command line from another working folder.
#include "ProjectFixture.h"
#include "app/window/WindowUnit.h"

#include "app/shell/SidePanel.h"
#include "platform/IniFile.h"
#include "platform/Library.h"
#include "platform/System.h"

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QTest>
#include <QToolBar>

#include <filesystem>

namespace fs = std::filesystem;

namespace vlrtest {
namespace {

using vlr::ModalResult;
using vlr::RecordedPrompt;

class RelativeProjectTest : public ProjectShellTest {
protected:
    void SetUp() override {
        ProjectShellTest::SetUp();
        site = projectDir + "/site";
        fs::copy(VELORA_EXAMPLE_SITE, site, fs::copy_options::recursive);
        // Only what the repository holds: no pages of an earlier build.
        for (const auto& entry : fs::recursive_directory_iterator(site + "/public"))
            if (entry.path().extension() == ".html")
                fs::remove(entry.path());
        vlr::SetShellOpenHook([this](const std::string& target) {
            shellOpened.push_back(target);
            return true;
        });
        w = NewProjectWindow();
        vlr::LibraryHandle core = vlr::LoadLibrary("vlrcore.dll");
        ASSERT_NE(core, nullptr);
        w->Libraries().entry.ProcessProject =
            reinterpret_cast<ProcessProjectFn>(vlr::GetProcAddress(core, "ProcessProject"));
    }
    void TearDown() override {
        w.reset();
        vlr::SetShellOpenHook(nullptr);
        ProjectShellTest::TearDown();
    }

    // Clicks the toolbar button of an action as the mouse does.
    void ClickButton(QToolBar* bar, QAction* action) {
        QWidget* button = bar->widgetForAction(action);
        ASSERT_NE(button, nullptr) << action->objectName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QToolBar* SideButtons() { return w->Side().fileButtons(); }
    vlr::ProjectFileList& List() { return w->projectUnit().projectFileList(); }

    // Opens the project with the toolbar's Open File button, the dialog
    // answering with the project file.
    void OpenSite() {
        prompter->QueueFile(site + "/site.vlr");
        QToolBar* bar = nullptr;
        for (QToolBar* b : w->findChildren<QToolBar*>())
            if (b->widgetForAction(w->action("OpenFile1")))
                bar = b;
        ASSERT_NE(bar, nullptr);
        ClickButton(bar, w->action("OpenFile1"));
        ASSERT_EQ(w->projectUnit().ProjectFile(), site + "/site.vlr");
    }
    // Adds files with the side panel's Add File button.
    void AddWithButton(const std::vector<std::string>& files) {
        prompter->QueueFiles(files);
        ClickButton(SideButtons(), List().addButton());
    }
    int RowOf(const std::string& fullPath) {
        for (int i = 0; i < List().RowCount(); ++i)
            if (List().RowAt(i).fullPath == fullPath)
                return i;
        return -1;
    }
    std::vector<std::string> Errors() const {
        std::vector<std::string> out;
        for (const auto& m : prompter->messages())
            if (m.kind == vlr::MessageKind::Error)
                out.push_back(m.text);
        return out;
    }

    std::string site;
    std::vector<std::string> shellOpened;
    std::unique_ptr<vlr::TFrmMainVLR> w;
};

TEST_F(RelativeProjectTest, FoldersAndPagesAreTakenFromTheProjectFolderAndListedWithTheirOutputFolders) {
    // The program runs from another folder than the project's.
    QDir::setCurrent(QString::fromStdString(projectDir));
    OpenSite();
    EXPECT_EQ(w->projectUnit().SourceDir(), site + "/src");
    EXPECT_EQ(w->projectUnit().OutputDir(), site + "/public");
    EXPECT_EQ(w->projectUnit().ImageDir(), site + "/public/images");
    ASSERT_EQ(List().RowCount(), 4);
    EXPECT_EQ(List().RowAt(0).fullPath, site + "/src/index.hts");
    EXPECT_EQ(List().RowAt(0).outputFolder, "");
    EXPECT_EQ(List().RowAt(3).fullPath, site + "/src/blog/first-walk.hts");
    EXPECT_EQ(List().RowAt(3).outputFolder, "blog");
}

TEST_F(RelativeProjectTest, AddFileRefusesAPageAlreadyListedAndAddsANewOneInItsFolder) {
    OpenSite();
    const std::string fresh = MakeFile("site/src/blog/new.hts", "<h1><%SiteName%></h1>\n");
    prompter->Clear();
    // The dialog answers with full paths; the project lists "src/index.hts".
    AddWithButton({site + "/src/index.hts", fresh});

    ASSERT_GE(prompter->prompts().size(), 1u);
    const RecordedPrompt& dialog = prompter->prompts().front();
    EXPECT_EQ(dialog.type, RecordedPrompt::OpenDialog);
    EXPECT_EQ(dialog.dialog.initialDir, site + "/src");  // the dialog starts in the source folder
    EXPECT_EQ(Errors(), std::vector<std::string>{"The file " + site + "/src/index.hts, is already in the project"});
    ASSERT_EQ(List().RowCount(), 5);
    const int row = RowOf(fresh);
    ASSERT_GE(row, 0);
    EXPECT_EQ(List().RowAt(row).outputFolder, "blog");
    EXPECT_TRUE(w->projectUnit().ProjectModified());

    // Saved, every path keeps the form it had and the new page is relative too.
    ASSERT_TRUE(w->projectUnit().SaveProjectFile());
    vlr::IniFile ini(site + "/site.vlr");
    EXPECT_EQ(ini.ReadString("files", "0", ""), "src/index.hts");
    EXPECT_EQ(ini.ReadString("files", "4", ""), "src/blog/new.hts");
    EXPECT_EQ(ini.ReadString("directories", "src", ""), "src");
    EXPECT_EQ(ini.ReadString("directories", "out", ""), "public");
    EXPECT_EQ(ini.ReadString("directories", "img", ""), "public/images");
    EXPECT_EQ(ini.ReadString("variables", "SiteName", ""), "Hillside Walkers");
}

TEST_F(RelativeProjectTest, PreviewOpensThePageTheBuildWrote) {
    OpenSite();
    const std::string fresh = MakeFile("site/src/blog/new.hts", "<p><%Author%></p>\n");
    AddWithButton({fresh});
    List().Select(RowOf(fresh));
    List().UpdateButtons();
    ClickButton(SideButtons(), List().previewButton());

    ASSERT_EQ(shellOpened.size(), 1u);
    EXPECT_EQ(shellOpened[0], site + "/public/blog/new.html");
    EXPECT_EQ(Read(site + "/public/blog/new.html"), "<p>Mara Lindqvist</p>\n");
    EXPECT_FALSE(fs::exists(site + "/public/new.html"));
}

TEST_F(RelativeProjectTest, CtrlF9BuildsAPageAddedAndNotYetSaved) {
    OpenSite();
    const std::string fresh = MakeFile("site/src/blog/new.hts", "new page\n");
    AddWithButton({fresh});
    ASSERT_TRUE(w->projectUnit().ProjectModified());

    QApplication::setActiveWindow(w.get());
    w->activateWindow();
    QTest::keyClick(w.get(), Qt::Key_F9, Qt::ControlModifier);

    EXPECT_EQ(Read(site + "/public/blog/new.html"), "new page\n");
    const std::string status = w->Status().panelText(1).toStdString();
    EXPECT_EQ(status.rfind("Built 5 pages in ", 0), 0u) << status;
    // The build read the project file, which now lists what the window shows.
    EXPECT_FALSE(w->projectUnit().ProjectModified());
    EXPECT_EQ(vlr::IniFile(site + "/site.vlr").ReadString("files", "4", ""), "src/blog/new.hts");
}

TEST_F(RelativeProjectTest, TheWindowAndTheCommandLineBuildReadTheSameFilesWhateverTheKeys) {
    // Keys 0, 1 and 3: the key "2" is missing.
    vlr::IniFile ini(site + "/site.vlr");
    ASSERT_TRUE(ini.DeleteKey("files", "2"));
    OpenSite();
    ASSERT_EQ(List().RowCount(), 3);
    EXPECT_EQ(List().RowAt(2).fullPath, site + "/src/blog/first-walk.hts");

    MakeFile("elsewhere/readme.txt");
    QProcess velora;
    velora.setWorkingDirectory(QString::fromStdString(projectDir + "/elsewhere"));
    velora.start(QString::fromUtf8(VELORA_RUN_FOLDER "/velora"), {QStringLiteral("--build"), QStringLiteral("../site/site.vlr")});
    ASSERT_TRUE(velora.waitForFinished(60000));
    const std::string err = velora.readAllStandardError().toStdString();
    EXPECT_EQ(velora.exitCode(), 0) << err;
    EXPECT_NE(err.find("Built 3 pages in "), std::string::npos) << err;
    for (int i = 0; i < List().RowCount(); ++i) {
        const std::string folder = List().RowAt(i).outputFolder;
        std::string page = List().RowAt(i).fileName;
        page = page.substr(0, page.rfind('.')) + ".html";
        EXPECT_TRUE(fs::exists(site + "/public/" + (folder.empty() ? "" : folder + "/") + page)) << page;
    }
    EXPECT_FALSE(fs::exists(site + "/public/blog/index.html"));
}

TEST_F(RelativeProjectTest, ProjectOptionsShowTheFoldersAsStoredAndKeepThemRelative) {
    OpenSite();
    std::string shownSource;
    Outside().onShowProjPref = [&] {
        const std::string exchange = vlr::UserDataDir() + "~tmppref.ini";
        vlr::IniFile pref(exchange);
        shownSource = pref.ReadString("dirs", "src", "");
        pref.WriteString("dirs", "out", "dist");
        return std::uint8_t{1};
    };
    w->projectUnit().ProjectOptionsClick();
    EXPECT_EQ(shownSource, "src");
    EXPECT_EQ(w->projectUnit().OutputDir(), site + "/dist");
    vlr::IniFile ini(site + "/site.vlr");
    EXPECT_EQ(ini.ReadString("directories", "src", ""), "src");
    EXPECT_EQ(ini.ReadString("directories", "out", ""), "dist");
    EXPECT_EQ(ini.ReadString("directories", "img", ""), "public/images");
}

TEST_F(RelativeProjectTest, SaveAsIntoTheSourceFolderOffersToAddThePage) {
    // Real editor windows for this one.
    w->SetEditorWindowsForTest(nullptr);
    OpenSite();
    vlr::TFrmEditor* editor = w->editorUnit().OpenNewEditor();
    ASSERT_NE(editor, nullptr);
    prompter->Clear();
    prompter->QueueFile(site + "/src/blog/second-walk.hts");
    prompter->QueueAnswer(ModalResult::Yes);
    w->windowUnit().SaveAsClick();

    ASSERT_FALSE(prompter->prompts().empty());
    EXPECT_EQ(prompter->prompts().front().type, RecordedPrompt::SaveDialog);
    EXPECT_EQ(prompter->prompts().front().dialog.initialDir, site + "/src");
    ASSERT_EQ(MessageTexts(), std::vector<std::string>{"Add second-walk.hts to the project?"});
    ASSERT_EQ(List().RowCount(), 5);
    EXPECT_EQ(List().RowAt(4).outputFolder, "blog");
    EXPECT_TRUE(w->projectUnit().ProjectModified());

    // Saved elsewhere, or already listed: no question.
    prompter->Clear();
    prompter->QueueFile(projectDir + "/notes.hts");
    w->windowUnit().SaveAsClick();
    prompter->QueueFile(site + "/src/blog/second-walk.hts");
    prompter->QueueAnswer(ModalResult::Yes);  // the overwrite question
    w->windowUnit().SaveAsClick();
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"File already exists, are you sure you wish to overwrite it?"});
    EXPECT_EQ(List().RowCount(), 5);
}

TEST_F(RelativeProjectTest, CtrlIOpensThePictureDialogInTheProjectsImagesFolder) {
    w->SetEditorWindowsForTest(nullptr);
    OpenSite();
    vlr::TFrmEditor* editor = w->editorUnit().OpenNewEditor();
    ASSERT_NE(editor, nullptr);
    prompter->Clear();
    prompter->QueueFiles(std::nullopt);
    QApplication::setActiveWindow(w.get());
    w->activateWindow();
    QTest::keyClick(w.get(), Qt::Key_I, Qt::ControlModifier);
    ASSERT_EQ(prompter->prompts().size(), 1u);
    EXPECT_EQ(prompter->prompts()[0].type, RecordedPrompt::OpenDialog);
    EXPECT_EQ(prompter->prompts()[0].dialog.initialDir, site + "/public/images");
}

}  // namespace
}  // namespace vlrtest
