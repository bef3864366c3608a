// Loading plug-ins into the real main window: menus, tags, enabling, broken
// libraries and plug-ins that throw.
#include "PlugInFixture.h"

#include "app/commands/MainCommands.h"
#include "app/shell/Splash.h"
#include "platform/System.h"
#include "platform/Window.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace vlrtest {
namespace {

TEST_F(PlugInTest, WithoutPlugInsBothMenusStayHiddenAndNothingIsSaid) {
    Open();
    EXPECT_FALSE(MenuShown("Plugins1"));
    EXPECT_FALSE(MenuShown("AboutPlugins1"));
    EXPECT_TRUE(StatusText().isEmpty());
    EXPECT_TRUE(Reports().empty());
}

TEST_F(PlugInTest, NamesHoldingTheMarkerInAnyCaseAreLoadedSubFoldersLastDotNamesNever) {
    Install("fx_alpha", "sub/inner.vlp");
    Install("fx_beta", "X.VLP");
    Install("fx_twin1", ".hidden.vlp");
    Install("fx_twin2", ".dotdir/twin.vlp");
    Open();
    // Only Beta's and Alpha's libraries, the top folder's first.
    EXPECT_EQ(Captions("AboutPlugins1"), (QStringList{"Beta", "Alpha"}));
    EXPECT_EQ(Captions("Plugins1"), (QStringList{"Beta", "Alpha"}));
    EXPECT_TRUE(MenuShown("Plugins1"));
    EXPECT_TRUE(MenuShown("AboutPlugins1"));

    // The plug-in commands follow "&Download..." and its separator.
    const QList<QAction*> items = Menu("Plugins1")->actions();
    ASSERT_GE(items.size(), 4);
    EXPECT_EQ(items[0]->objectName(), "Download1");
    EXPECT_TRUE(items[1]->isSeparator());
}

TEST_F(PlugInTest, ANameMerelyContainingTheMarkerIsLoaded) {
    Install("fx_beta", "x.vlp.bak");
    Open();
    EXPECT_EQ(Captions("AboutPlugins1"), QStringList{"Beta"});
}

TEST_F(PlugInTest, APlugInWithoutACommandGetsOnlyItsAboutEntry) {
    Install("fx_aboutonly", "about.vlp");
    Open();
    EXPECT_FALSE(MenuShown("Plugins1"));
    EXPECT_TRUE(MenuShown("AboutPlugins1"));
    EXPECT_TRUE(Captions("Plugins1").isEmpty());
    EXPECT_EQ(Captions("AboutPlugins1"), QStringList{"AboutOnly"});
}

TEST_F(PlugInTest, TwoPlugInsOfOneNameEachReachTheirOwn) {
    Install("fx_twin1", "one/twin.vlp");
    Install("fx_twin2", "two/twin.vlp");
    Open();
    ASSERT_EQ(Captions("Plugins1"), (QStringList{"Twin", "Twin"}));
    // The folders are searched in the order the file system lists them.
    Item("Plugins1", 0)->trigger();
    const QString first = StatusText();
    Item("Plugins1", 1)->trigger();
    const QString second = StatusText();
    EXPECT_EQ(QStringList({first, second}).size(), 2);
    EXPECT_NE(first, second);
    EXPECT_TRUE(first == "exec twin1" || first == "exec twin2") << first.toStdString();
    EXPECT_TRUE(second == "exec twin1" || second == "exec twin2") << second.toStdString();

    // The about entries reach the same plug-ins as the commands of their index.
    for (int i = 0; i < 2; ++i) {
        Item("Plugins1", i)->trigger();
        const QString id = StatusText().mid(5);
        ModalCloser closer;
        Item("AboutPlugins1", i)->trigger();
        EXPECT_EQ(closer.seen, 1);
        EXPECT_TRUE(closer.lines.contains("About " + id)) << closer.lines.toStdString();
        EXPECT_TRUE(closer.webSiteShown);
    }
}

TEST_F(PlugInTest, CommandsNeedingAnEditorAreEnabledOnlyWhileOneIsOpen) {
    Install("fx_alpha", "alpha.vlp");
    Install("fx_beta", "beta/beta.vlp");
    Open();
    QAction* alpha = Item("Plugins1", 0);
    QAction* beta = Item("Plugins1", 1);
    ASSERT_EQ(alpha->text(), "Alpha");
    ASSERT_EQ(beta->text(), "Beta");
    OpenPlugInsMenu();
    EXPECT_FALSE(alpha->isEnabled());
    EXPECT_TRUE(beta->isEnabled());
    EXPECT_TRUE(w->Commands().action("Download1")->isEnabled());

    // Another kind of child window is no editor window.
    AddChild(*w, "TFrmGraphic");
    OpenPlugInsMenu();
    EXPECT_FALSE(alpha->isEnabled());

    ASSERT_NE(w->Editors().OpenNewEditor(), nullptr);
    vlr::ProcessMessages();
    OpenPlugInsMenu();
    EXPECT_TRUE(alpha->isEnabled());
    EXPECT_TRUE(beta->isEnabled());
}

TEST_F(PlugInTest, BrokenLibrariesAreSkippedWithTheirReasonAndTheOthersLoad) {
    InstallFile("garbage.vlp", "this is no library");
    Install("fx_noexec", "noexec.vlp");
    Install("fx_noname", "noname.vlp");
    Install("fx_beta", "zz/beta.vlp");
    w = std::make_unique<vlr::TFrmMainVLR>();
    // The status line keeps only the last line and the folder's order is the
    // file system's, so each broken file is loaded alone below for its reason.
    EXPECT_EQ(Captions("AboutPlugins1"), QStringList{"Beta"});
    EXPECT_EQ(Captions("Plugins1"), QStringList{"Beta"});
    w.reset();

    const std::pair<const char*, const char*> cases[] = {
        {"garbage.vlp", "cannot be loaded"},
        {"noexec.vlp", "has no entry point \"Exec\""},
        {"noname.vlp", "gives no name"},
    };
    for (const auto& [file, reason] : cases) {
        std::filesystem::remove_all(appDir / "plugins");
        if (std::string(file) == "garbage.vlp")
            InstallFile(file, "this is no library");
        else
            Install(std::string("fx_") + std::string(file).substr(0, std::string(file).find('.')), file);
        w = std::make_unique<vlr::TFrmMainVLR>();
        const QString text = StatusText();
        EXPECT_TRUE(text.contains(file) && text.contains(reason)) << text.toStdString();
        EXPECT_FALSE(MenuShown("AboutPlugins1"));
        w.reset();
    }
}

TEST_F(PlugInTest, AnExceptionFromAPlugInIsReportedAndTheProgramGoesOn) {
    Install("fx_thrower", "thrower.vlp");
    Install("fx_beta", "sub/beta.vlp");
    Open();
    Item("Plugins1", 0)->trigger();
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0].method, "TFrmMainVLR.PlugInClick");
    EXPECT_EQ(Reports()[0].message, "fixture failure in Exec");
    // Still running: the next plug-in's command works.
    Item("Plugins1", 1)->trigger();
    EXPECT_EQ(StatusText(), "exec beta");
}

// The user's plugins folder (in the configuration folder) counts only for an
// installed program; there it is searched first and its plug-in replaces a
// shipped one of the same name.
TEST_F(PlugInTest, AnInstalledProgramLoadsTheUsersPlugInsFirstARunFolderOnlyItsOwn) {
    const fs::path config = appDir.string() + "_config";
    fs::remove_all(config);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const fs::path userPlugins = config / "velora" / "plugins";
    fs::create_directories(userPlugins);
    fs::copy_file(fs::path(PLUGIN_FIXTURES) / "fx_alpha.vlp", userPlugins / "alpha.vlp");
    fs::copy_file(fs::path(PLUGIN_FIXTURES) / "fx_twin1.vlp", userPlugins / "twin.vlp");
    Install("fx_beta", "beta.vlp");
    Install("fx_twin2", "twin.vlp");

    Open();  // a run folder: the user's folder is not looked at
    QStringList runFolder = Captions("AboutPlugins1");
    runFolder.sort();
    EXPECT_EQ(runFolder, (QStringList{"Beta", "Twin"}));
    Item("Plugins1", int(Captions("Plugins1").indexOf("Twin")))->trigger();
    EXPECT_EQ(StatusText(), "exec twin2");
    w->close();
    vlr::ProcessMessages();
    w.reset();

    std::ofstream(appDir / vlr::kInstalledMarker) << "installed\n";
    Open();
    const QStringList captions = Captions("AboutPlugins1");
    ASSERT_EQ(captions.size(), 3) << captions.join(",").toStdString();
    QStringList users = captions.mid(0, 2);
    users.sort();
    EXPECT_EQ(users, (QStringList{"Alpha", "Twin"}));
    EXPECT_EQ(captions[2], "Beta");
    // The twin that runs is the user's.
    Item("Plugins1", int(captions.indexOf("Twin")))->trigger();
    EXPECT_EQ(StatusText(), "exec twin1");
    ::unsetenv("XDG_CONFIG_HOME");
    fs::remove_all(config);
}

TEST_F(PlugInTest, DownloadOpensTheManualsPageOnPlugIns) {
    Install("fx_beta", "beta.vlp");
    std::vector<std::string> opened;
    vlr::SetShellOpenHook([&](const std::string& s) {
        opened.push_back(s);
        return true;
    });
    Open();
    // Through the menu, as the user picks it.
    QMenu* menu = Menu("Plugins1");
    menu->popup(QPoint(0, 0));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(w->Commands().action("Download1")).center());
    vlr::ProcessMessages();
    vlr::SetShellOpenHook({});
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], w->AppDir() + "help/plugins.html");
    // The page the program ships says how to get more plug-ins.
    std::ifstream page(fs::path(VELORA_RUN_FOLDER) / "help" / "plugins.html");
    const std::string text((std::istreambuf_iterator<char>(page)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("id=\"more\""), std::string::npos);
}

TEST_F(PlugInTest, NamesAndTextsAreUtf8AndAnAmpersandIsShown) {
    Install("fx_fancy", "fancy.vlp");
    Open();
    // "&&" in a caption shows one "&" and marks no access key.
    const QString shown = QString::fromUtf8("Caf\u00e9 && Cr\u00e8me");
    EXPECT_EQ(Captions("Plugins1"), QStringList{shown});
    EXPECT_EQ(Captions("AboutPlugins1"), QStringList{shown});
    QMenu* menu = Menu("Plugins1");
    OpenPlugInsMenu();
    menu->popup(QPoint(0, 0));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(Item("Plugins1", 0)).center());
    vlr::ProcessMessages();
    // UTF-8 where the bytes are UTF-8, Latin-1 for the byte that is not.
    EXPECT_EQ(StatusText(), QString::fromUtf8("exec Gr\u00f6\u00dfe \u00fcber"));
}

}  // namespace
}  // namespace vlrtest

namespace vlrtest {
namespace {

// Keeps every text the splash window's status line is painted with.
class SplashRecorder : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            if (auto* label = qobject_cast<QLabel*>(watched); label && (texts.isEmpty() || texts.back() != label->text()))
                texts << label->text();
        return false;
    }
    QStringList texts;
};

TEST_F(PlugInTest, TheSplashWindowNamesEveryEntryAndLibraryAndWhatWasSkipped) {
    Install("fx_beta", "sub/beta.vlp");
    InstallFile("notes.txt", "not a plug-in");
    InstallFile("broken.vlp", "no library");
    auto* splash = new vlr::TFrmSplash;
    splash->show();
    vlr::ProcessMessages();
    SplashRecorder recorder;
    splash->findChild<QLabel*>("Label1")->installEventFilter(&recorder);
    w = std::make_unique<vlr::TFrmMainVLR>(splash);
    const QString dir = QString::fromStdString((appDir / "plugins").string()) + "/";
    const QStringList& t = recorder.texts;
    for (const QString& expected :
         {QString("Scanning for pluggins: sub"), QString("Scanning for pluggins: notes.txt"),
          QString("Scanning for pluggins: beta.vlp"), "Loading Pluggins: " + dir + "broken.vlp",
          "Loading Pluggins: " + dir + "sub/beta.vlp", QString("Loading Preferences...")})
        EXPECT_TRUE(t.contains(expected)) << expected.toStdString() << "\n" << t.join("\n").toStdString();
    // Scanning ends before loading starts, and all of it before the preferences.
    EXPECT_LT(t.indexOf("Scanning for pluggins: beta.vlp"), t.indexOf("Loading Pluggins: " + dir + "sub/beta.vlp"));
    EXPECT_LT(t.indexOf("Loading Pluggins: " + dir + "sub/beta.vlp"), t.indexOf("Loading Preferences..."));
    bool skipped = false;
    for (const QString& line : t)
        skipped = skipped || (line.contains("broken.vlp") && line.contains("skipped"));
    EXPECT_TRUE(skipped) << t.join("\n").toStdString();
    w.reset();
    delete splash;
}

}  // namespace
}  // namespace vlrtest
