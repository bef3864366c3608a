#include "ShellFixture.h"

#include "app/commands/MainCommands.h"
#include "app/shell/MenuAnimator.h"
#include "app/shell/RecentList.h"
#include "app/shell/SidePanel.h"
#include "app/shell/Splash.h"
#include "app/shell/StatusLine.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>

#include <filesystem>

namespace vlrtest {
namespace {

using vlr::MenuAnimation;

TEST_F(ShellTest, StartsWithDefaultsWhenThereIsNoPreferencesFile) {
    auto w = NewMainWindow();
    ASSERT_FALSE(w->fatal());
    EXPECT_TRUE(w->FirstShow());
    EXPECT_TRUE(w->LowerTags());
    EXPECT_EQ(w->menuAnimation(), MenuAnimation::Unfold);
    EXPECT_TRUE(w->menuDoubleSpeed());
    EXPECT_EQ(w->projectUnit().ProjectFile(), "none");
    EXPECT_EQ(w->windowTitle(), "Velora");
    EXPECT_EQ(w->AppDir(), appDir.string() + "/");
    EXPECT_EQ(w->lastSpecialChar(), 60);
    EXPECT_EQ(w->bulletStyle(), "regular");
    EXPECT_TRUE(prompter->messages().empty());
    // Reading never creates the file.
    EXPECT_FALSE(std::filesystem::exists(appDir / "preferences.dat"));
}

TEST_F(ShellTest, OnlyTheExactTextTrueTurnsDoubleSpeedOn) {
    WritePreferences("[Main]\nMnu_Anim_Sp=true\nMnu_Anim_Type=smart\n");
    auto w = NewMainWindow();
    EXPECT_FALSE(w->menuDoubleSpeed());
    EXPECT_EQ(w->menuAnimation(), MenuAnimation::Smart);
}

TEST_F(ShellTest, AnUnknownAnimationNameKeepsTheBuiltInSetting) {
    WritePreferences("[Main]\nMnu_Anim_Type=Unfold\n");
    auto w = NewMainWindow();
    EXPECT_EQ(w->menuAnimation(), MenuAnimation::None);
    w->View1Click();
    EXPECT_TRUE(w->action("None1")->isChecked());
}

TEST_F(ShellTest, ChoosingAnAnimationIsWrittenAtOnceAndShownAfterARestart) {
    {
        auto w = NewMainWindow();
        w->action("Smart1")->trigger();
        EXPECT_NE(ReadPreferences().find("Mnu_Anim_Type=smart"), std::string::npos);
        w->action("DoubleSpeed1")->trigger();
        EXPECT_NE(ReadPreferences().find("Mnu_Anim_Sp=False"), std::string::npos);
        w->close();
    }
    auto w = NewMainWindow();
    w->View1Click();
    EXPECT_TRUE(w->action("Smart1")->isChecked());
    EXPECT_FALSE(w->action("DoubleSpeed1")->isChecked());
}

TEST_F(ShellTest, TheMenuAnimationIsForTheMenuBarsMenusNotForContextMenus) {
    auto w = NewMainWindow();
    auto* animator = w->findChild<vlr::MenuAnimator*>();
    ASSERT_NE(animator, nullptr);
    // The default "unfold": the bar's menus and their submenus open animated.
    EXPECT_TRUE(animator->animates(w->Commands().menu("File1")));
    EXPECT_TRUE(animator->animates(w->Commands().menu("MenuAnimation1")));
    EXPECT_TRUE(animator->animates(w->Commands().menu("AboutPlugins1")));
    // The dock menu, a toolbar button's drop-down and the file list's context
    // menu open plainly.
    EXPECT_FALSE(animator->animates(w->Commands().menu("PopupMenu981")));
    EXPECT_FALSE(animator->animates(w->Commands().menu("ListStyleMenu1")));
    for (QMenu* popup : w->sidePanel().findChildren<QMenu*>())
        EXPECT_FALSE(animator->animates(popup)) << popup->objectName().toStdString();
    w->action("None1")->trigger();
    EXPECT_FALSE(animator->animates(w->Commands().menu("File1")));
}

TEST_F(ShellTest, SplashShowsTheLoadingStepsAndCloses) {
    vlr::TFrmSplash splash;
    EXPECT_EQ(splash.status(), "Loading, please wait...");
    splash.show();
    auto w = std::make_unique<vlr::TFrmMainVLR>(&splash);
    EXPECT_EQ(splash.status(), "Loading Preferences...");
    w->show();
    vlr::ProcessMessages();
    EXPECT_EQ(splash.status(), "Initializing Development Environment...");
    EXPECT_FALSE(splash.isVisible());
}

// The splash stays on top: a question asked while the program starts (a document to recover)
// would be hidden under it, so it steps aside while a dialog is open, and stays closed once
// closed.
TEST_F(ShellTest, TheSplashStepsAsideForADialog) {
    vlr::TFrmSplash splash;
    splash.show();
    QMessageBox question(QMessageBox::Question, "Recover Documents", "Restore?", QMessageBox::Yes | QMessageBox::No);
    question.open();  // modal, as the prompter's boxes are
    vlr::ProcessMessages();
    EXPECT_FALSE(splash.isVisible());
    question.done(QMessageBox::No);
    vlr::ProcessMessages();
    EXPECT_TRUE(splash.isVisible());
    // A window that is not modal leaves it alone.
    QWidget other;
    other.show();
    vlr::ProcessMessages();
    EXPECT_TRUE(splash.isVisible());
    splash.close();
    question.open();
    question.done(QMessageBox::No);
    vlr::ProcessMessages();
    EXPECT_FALSE(splash.isVisible());
}

TEST_F(ShellTest, AMissingModuleIsFatalInProcess) {
    MakeAppDir({"vlrcore.so"});
    auto w = NewMainWindow(false);
    EXPECT_TRUE(w->fatal());
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(prompter->messages()[0].caption, "Fatal Error");
    EXPECT_EQ(prompter->messages()[0].kind, vlr::MessageKind::Error);
    EXPECT_EQ(prompter->messages()[0].text, "A required library was not found.  Please reinstall VLR");
}

TEST_F(ShellTest, TheProgramEndsBeforeAnyWindowWhenAModuleIsMissing) {
    MakeAppDir({"iview.so"});
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VELORA_APPDIR", QString::fromStdString(appDir.string()));
    env.insert("VELORA_PROMPTS", "log");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(VELORA_PROGRAM, {});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 1);
    QString err = QString::fromLocal8Bit(p.readAllStandardError());
    EXPECT_TRUE(err.contains("[prompt] Error | Fatal Error | A required library was not found.  Please reinstall VLR"))
        << err.toStdString();
}

TEST_F(ShellTest, AnExceptionInAHandlerReachesTheReportAndTheProgramGoesOn) {
    auto w = NewMainWindow();
    vlr::TFrmMainVLR::SetMethodProbe([](const std::string& method) {
        if (method == "FormResize")
            throw std::runtime_error("resize failed");
    });
    w->resize(w->width() + 40, w->height());
    vlr::ProcessMessages();
    vlr::TFrmMainVLR::SetMethodProbe(nullptr);
    ASSERT_FALSE(Reports().empty());
    const ReportedException& r = Reports().front();
    EXPECT_EQ(r.method, "TFrmMainVLR.FormResize");
    EXPECT_EQ(r.message, "resize failed");
    EXPECT_EQ(r.className, "runtime_error");
    EXPECT_EQ(r.preferences, appDir.string() + "/preferences.dat");
    EXPECT_EQ(r.version.rfind("1.0.0.", 0), 0u);
    EXPECT_EQ(r.fileName, "velora");
    // Still working afterwards.
    w->SetStatusText("ready");
    EXPECT_EQ(w->Status().panelText(1), "ready");
}

TEST_F(ShellTest, AnExceptionInAPostedMessageReachesTheReport) {
    auto w = NewMainWindow();
    vlr::TFrmMainVLR::SetMethodProbe([](const std::string& method) {
        if (method == "ClosedAll")
            throw std::runtime_error("late failure");
    });
    vlr::PostMessage(w->handle(), 3083, 0, 0);
    vlr::ProcessMessages();
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0].method, "TFrmMainVLR.ClosedAll");
}

TEST_F(ShellTest, RecentListsAreReadFromTheirSectionsAndShownInTheirMenus) {
    WritePreferences("[MRUList]\nItem_0=/sites/a.vlr\nItem_1=/sites/b.vlr\n[MRUList2]\nItem_0=/pages/x.hts\n");
    auto w = NewMainWindow();
    EXPECT_EQ(w->RecentProjects().items(), (QStringList{"/sites/a.vlr", "/sites/b.vlr"}));
    QMenu* projects = w->Commands().menu("RecentProjects1");
    ASSERT_NE(projects, nullptr);
    ASSERT_EQ(projects->actions().size(), 2);
    EXPECT_EQ(projects->actions()[0]->text(), "&1 /sites/a.vlr");
    QMenu* files = w->Commands().menu("ReopenFile1");
    ASSERT_NE(files, nullptr);
    EXPECT_EQ(files->actions().size(), 1);
    w->RecentFiles().Add("/pages/y.hts");
    EXPECT_NE(ReadPreferences().find("[MRUList2]\nItem_0=/pages/y.hts\nItem_1=/pages/x.hts"), std::string::npos);
}

TEST_F(ShellTest, LastProjectNeedsAProjectKeyAndARecentEntry) {
    WritePreferences("[Environment]\nProject=/sites/a.vlr\nNewEditor=0\n");
    RecordingProject project;
    auto w = std::make_unique<vlr::TFrmMainVLR>();
    w->SetProjectAccessForTest(&project);
    w->show();
    vlr::ProcessMessages();
    EXPECT_TRUE(project.opened.empty());
    // With "NewEditor" false the editor commands start disabled.
    EXPECT_FALSE(w->action("CloseAll1")->isEnabled());
}

TEST_F(ShellTest, CommandLineArgumentsAreOpenedAndSkipTheStartupSteps) {
    WritePreferences("[Environment]\nProject=/sites/a.vlr\n[MRUList]\nItem_0=/sites/a.vlr\n");
    RecordingProject project;
    CountingEditors editors;
    auto w = std::make_unique<vlr::TFrmMainVLR>(nullptr, QStringList{"/p/one.hts", "/p/two.gif"});
    w->SetProjectAccessForTest(&project);
    w->SetEditorWindowsForTest(&editors);
    w->show();
    vlr::ProcessMessages();
    EXPECT_EQ(project.opened, (std::vector<QString>{"/p/one.hts", "/p/two.gif"}));
    EXPECT_EQ(editors.newEditors, 0);
}

TEST_F(ShellTest, WithoutArgumentsTheLastProjectAndANewEditorAreOpened) {
    WritePreferences("[Environment]\nProject=/sites/a.vlr\n[MRUList]\nItem_0=/sites/a.vlr\nItem_1=/sites/b.vlr\n");
    RecordingProject project;
    CountingEditors editors;
    auto w = std::make_unique<vlr::TFrmMainVLR>();
    w->SetProjectAccessForTest(&project);
    w->SetEditorWindowsForTest(&editors);
    w->show();
    vlr::ProcessMessages();
    EXPECT_EQ(project.opened, (std::vector<QString>{"/sites/a.vlr"}));
    EXPECT_EQ(editors.newEditors, 1);
}

}  // namespace
}  // namespace vlrtest
