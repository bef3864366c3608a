// The Tools menu of the real main window: rebuilt from "tools.dat" at every
// opening, programs started for real, documents and addresses through the
// shell-open seam, "&Customize...", and the upload commands loading the
// upload module.
#include "ShellFixture.h"

#include "app/commands/MainCommands.h"
#include "appearance/UserSettings.h"
#include "platform/IniFile.h"
#include "platform/System.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace vlrtest {
namespace {

namespace fs = std::filesystem;

class ToolsMenu : public ShellTest {
protected:
    // A main window whose start-up prompts (no default template here) are forgotten.
    std::unique_ptr<vlr::TFrmMainVLR> Window() {
        auto w = NewMainWindow();
        prompter->Clear();
        return w;
    }
    void WriteTools(const std::vector<std::pair<std::string, std::string>>& tools) {
        vlr::TUserSettingList list;
        for (const auto& [name, value] : tools)
            list.Add(name, value);
        list.SaveToFile((appDir / "tools.dat").string());
    }
    // Opens the menu as the user does and answers its captions ("-" for a separator).
    QStringList Open(vlr::TFrmMainVLR& w) {
        QMenu* menu = w.Commands().menu(QStringLiteral("Tools1"));
        Q_EMIT menu->aboutToShow();
        QStringList captions;
        for (QAction* a : menu->actions())
            captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return captions;
    }
    QList<QAction*> Items(vlr::TFrmMainVLR& w, const QString& caption) {
        QList<QAction*> out;
        for (QAction* a : w.Commands().menu(QStringLiteral("Tools1"))->actions())
            if (a->text() == caption)
                out << a;
        return out;
    }
    std::vector<std::string> opened;
    void RecordShellOpen(bool result = true) {
        vlr::SetShellOpenHook([this, result](const std::string& target) {
            opened.push_back(target);
            return result;
        });
    }
};

const QStringList kBareMenu{QStringLiteral("&Upload Wizard..."), QStringLiteral("-"), QStringLiteral("&Customize...")};

TEST_F(ToolsMenu, WithoutToolsOrWithAnEmptyFileTheMenuHoldsTheWizardAndCustomize) {
    auto w = Window();
    EXPECT_EQ(Open(*w), kBareMenu);
    EXPECT_TRUE(w->action("UploadWizard1")->isEnabled());
    EXPECT_TRUE(w->action("Customize1")->isEnabled());
    EXPECT_TRUE(w->action("Upload2")->isEnabled());
    WriteTools({});
    EXPECT_EQ(Open(*w), kBareMenu);
    EXPECT_TRUE(Reports().empty());
}

TEST_F(ToolsMenu, ToolsAppearInFileOrderAndDuplicateCaptionsBothStartTheFirst) {
    const fs::path doc = appDir / "notes.txt";
    std::ofstream(doc) << "n";
    WriteTools({{"&Notes", doc.string()}, {"Site", "https://example.org/"}, {"Site", "https://other.example/"}});
    auto w = Window();
    const QStringList expected{QStringLiteral("&Upload Wizard..."), QStringLiteral("-"), QStringLiteral("&Notes"),
                               QStringLiteral("Site"), QStringLiteral("Site"), QStringLiteral("-"),
                               QStringLiteral("&Customize...")};
    EXPECT_EQ(Open(*w), expected);
    // Opening again rebuilds rather than adds.
    EXPECT_EQ(Open(*w), expected);

    RecordShellOpen();
    for (QAction* site : Items(*w, QStringLiteral("Site")))
        site->trigger();
    Items(*w, QStringLiteral("&Notes")).front()->trigger();
    EXPECT_EQ(opened, (std::vector<std::string>{"https://example.org/", "https://example.org/", doc.string()}));
    EXPECT_TRUE(prompter->messages().empty());
}

TEST_F(ToolsMenu, AToolThatCannotStartSaysSoAndChangesNothing) {
    WriteTools({{"Broken", "https://example.org/"}, {"Gone", (appDir / "no-such-program").string()}});
    auto w = Window();
    Open(*w);
    RecordShellOpen(false);
    Items(*w, QStringLiteral("Broken")).front()->trigger();
    Items(*w, QStringLiteral("Gone")).front()->trigger();
    // The missing program is not handed to the desktop at all.
    EXPECT_EQ(opened, std::vector<std::string>{"https://example.org/"});
    ASSERT_EQ(prompter->messages().size(), 2u);
    for (const auto& m : prompter->messages()) {
        EXPECT_EQ(m.text, "Could not load tool");
        EXPECT_EQ(m.kind, vlr::MessageKind::Error);
        EXPECT_EQ(m.buttons, static_cast<unsigned>(vlr::BtnOk));
    }
    EXPECT_TRUE(Reports().empty());
}

// Opens the Tools menu from the menu bar and clicks the item with the mouse.
void ClickTool(vlr::TFrmMainVLR& w, const QString& caption) {
    QMenuBar* bar = w.menuBar();
    QMenu* menu = w.Commands().menu(QStringLiteral("Tools1"));
    w.activateWindow();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    QElapsedTimer waited;
    waited.start();
    while (!menu->isVisible() && waited.elapsed() < 3000)
        QTest::qWait(10);
    ASSERT_TRUE(menu->isVisible());
    QAction* item = nullptr;
    for (QAction* a : menu->actions())
        if (!item && a->text() == caption)
            item = a;
    ASSERT_NE(item, nullptr) << caption.toStdString();
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    vlr::ProcessMessages();
}

// Waits for a file a started program writes; its text, "" when none came.
std::string AwaitFile(const fs::path& file) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 5000) {
        std::ifstream in(file);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!text.empty() && text.back() == '\n')
            return text;
        QTest::qWait(20);
    }
    return {};
}

TEST_F(ToolsMenu, AToolThatNamesAProgramRunsIt) {
    // A real program: a script that writes its arguments into a file.
    const fs::path out = appDir / "ran.txt";
    const fs::path script = appDir / "stamp tool.sh";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s|' \"$@\" > '" << out.string() << ".part'\necho >> '"
                          << out.string() << ".part'\nmv '" << out.string() << ".part' '" << out.string() << "'\n";
    fs::permissions(script, fs::perms::owner_all);
    WriteTools({{"&Stamp", script.string()},
                {"Stamp &with arguments", "\"" + script.string() + "\" one \"two words\" $HOME;touch"}});
    auto w = Window();
    ClickTool(*w, QStringLiteral("&Stamp"));
    EXPECT_EQ(AwaitFile(out), "|\n");
    fs::remove(out);
    // Arguments go to the program as they are written: no shell expands or splits them.
    ClickTool(*w, QStringLiteral("Stamp &with arguments"));
    EXPECT_EQ(AwaitFile(out), "one|two words|$HOME;touch|\n");
    EXPECT_TRUE(prompter->messages().empty());
    EXPECT_TRUE(Reports().empty());
}

TEST_F(ToolsMenu, AProgramThatCannotStartSaysCouldNotLoadTool) {
    // Marked executable, but no program the system can start.
    const fs::path broken = appDir / "broken-tool";
    std::ofstream(broken, std::ios::binary) << std::string("\x7f" "ELF garbage", 12);
    fs::permissions(broken, fs::perms::owner_all);
    WriteTools({{"Broken", broken.string()}, {"Unknown", "no-such-program-of-velora --help"}});
    auto w = Window();
    ClickTool(*w, QStringLiteral("Broken"));
    ClickTool(*w, QStringLiteral("Unknown"));
    ASSERT_EQ(prompter->messages().size(), 2u);
    for (const auto& m : prompter->messages()) {
        EXPECT_EQ(m.text, "Could not load tool");
        EXPECT_EQ(m.kind, vlr::MessageKind::Error);
        EXPECT_EQ(m.buttons, static_cast<unsigned>(vlr::BtnOk));
    }
}

TEST_F(ToolsMenu, ChangesToTheFileShowAtTheNextOpeningAndADeletedFileKeepsTheLastTools) {
    WriteTools({{"One", "https://one.example/"}});
    auto w = Window();
    EXPECT_TRUE(Open(*w).contains(QStringLiteral("One")));
    WriteTools({{"One", "https://one.example/"}, {"Two", "https://two.example/"}});
    EXPECT_TRUE(Open(*w).contains(QStringLiteral("Two")));
    fs::remove(appDir / "tools.dat");
    const QStringList kept = Open(*w);
    EXPECT_TRUE(kept.contains(QStringLiteral("One")));
    EXPECT_TRUE(kept.contains(QStringLiteral("Two")));
    RecordShellOpen();
    Items(*w, QStringLiteral("Two")).front()->trigger();
    EXPECT_EQ(opened, std::vector<std::string>{"https://two.example/"});
}

TEST_F(ToolsMenu, AnUnreadableFileIsReportedAndTheMenuStaysAsItWas) {
    WriteTools({{"One", "https://one.example/"}});
    auto w = Window();
    const QStringList before = Open(*w);
    std::ofstream(appDir / "tools.dat", std::ios::binary) << std::string("\x02\0\0\0\x09\0\0\0ab", 10);
    EXPECT_EQ(Open(*w), before);
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0].method, "TFrmMainVLR.Tools1Click");
}

std::vector<std::pair<vlr::Handle, vlr::Handle>>& AddToolCalls() {
    static std::vector<std::pair<vlr::Handle, vlr::Handle>> calls;
    return calls;
}
void RecordingAddTool(vlr::Handle app, vlr::Handle main) { AddToolCalls().emplace_back(app, main); }

TEST_F(ToolsMenu, CustomizeCallsAddToolWithTheApplicationAndMainWindowHandles) {
    auto w = Window();
    AddToolCalls().clear();
    w->Libraries().entry.AddTool = RecordingAddTool;
    Open(*w);
    w->action("Customize1")->trigger();
    ASSERT_EQ(AddToolCalls().size(), 1u);
    EXPECT_EQ(AddToolCalls()[0].first, w->ApplicationHandle());
    EXPECT_EQ(AddToolCalls()[0].second, w->MainHandle());
    // The wizard stays the first item, and runs the upload.
    EXPECT_EQ(w->Commands().menu(QStringLiteral("Tools1"))->actions().front(), w->action("UploadWizard1"));
}

TEST_F(ToolsMenu, EachUploadCommandShowsTheUploadWizardOwnedByTheMainWindow) {
    // The wizard is shown only when prompts are not logged.
    const QByteArray prompts = qgetenv("VELORA_PROMPTS");
    qunsetenv("VELORA_PROMPTS");
    auto w = Window();
    QStringList shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            shown << modal->objectName();
            EXPECT_EQ(modal->parentWidget(), w.get());
            modal->close();
        }
    });
    closer.start(10);
    w->action("Upload2")->trigger();
    w->action("UploadWizard1")->trigger();
    w->action("Upload1")->trigger();
    closer.stop();
    if (!prompts.isNull())
        qputenv("VELORA_PROMPTS", prompts);
    EXPECT_EQ(shown, QStringList(3, QStringLiteral("TFrmUpload")));
    EXPECT_TRUE(prompter->messages().empty());
    EXPECT_TRUE(Reports().empty());
}

// Each of the next two runs in a program folder of its own: the loader would
// hand back a module already loaded from the same path.
TEST_F(ToolsMenu, AMissingUploadModuleIsReported) {
    MakeAppDir({"webpost.so"});
    auto w = Window();
    w->action("Upload1")->trigger();
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(prompter->messages()[0].caption, "Upload Error");
    EXPECT_EQ(prompter->messages()[0].text, "A required library (Webpost.dll) is missing, please reinstall Velora");
    EXPECT_EQ(prompter->messages()[0].kind, vlr::MessageKind::Error);
}

TEST_F(ToolsMenu, AnUploadModuleWithoutItsEntryPointIsReported) {
    MakeAppDir({"webpost.so"});
    fs::create_symlink(fs::path(VELORA_RUN_FOLDER) / "validate.so", appDir / "webpost.so");
    auto w = Window();
    w->action("Upload2")->trigger();
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(prompter->messages()[0].caption, "Upload Error");
    EXPECT_EQ(prompter->messages()[0].text,
              "Site Upload Failed.  You may have a corrupted library (webpost.dll)\nPlease try reinstalling Velora");
}

}  // namespace
}  // namespace vlrtest
