// AddTool: the tools dialog, driven through its entry point and directly, and
// the "tools.dat" it writes read back.
#include "ModuleTestSupport.h"

#include "libs/EntryPoints.h"
#include "libs/vlrsys/NameValueFile.h"
#include "libs/vlrsys/ToolsDialog.h"
#include "platform/IniFile.h"
#include "platform/ScriptedPrompter.h"
#include "platform/System.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace vlrtest;
using vlr::sys::NameValues;
using vlr::sys::TFrmTools;

namespace {

template <typename W>
W* Control(QWidget* dialog, const char* name) {
    W* w = dialog->findChild<W*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}
void Click(QWidget* dialog, const char* name) { Control<QPushButton>(dialog, name)->click(); }
// Types into an editor as the user would, so its edit signal fires.
void Type(QWidget* dialog, const char* name, const QString& text) {
    QLineEdit* edit = Control<QLineEdit>(dialog, name);
    edit->selectAll();
    edit->insert(text);
}
QStringList Rows(QWidget* dialog) {
    QStringList rows;
    auto* list = Control<QListWidget>(dialog, "ToolList");
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

class ToolsDialog : public ::testing::Test {
protected:
    void SetUp() override { App(); }
    std::string toolsFile() const { return appDir.file("tools.dat"); }
    TempAppDir appDir;
    // The dialog is shown only when prompts are not logged.
    ScopedEnv shown{"VELORA_PROMPTS", "show"};
    vlr::ScriptedPrompter prompter;
};

TEST_F(ToolsDialog, AddsEditsReordersAndRemovesToolsAndWritesTheFileOnOk) {
    ASSERT_TRUE(vlr::sys::WriteNameValues(toolsFile(), {{"&Notes", "/usr/bin/true"}, {"Site &map", "/srv/map.html"}}));
    FakeMainWindow main;
    ModalDriver driver([](QWidget* w) {
        EXPECT_EQ(w->objectName(), QStringLiteral("TFrmTools"));
        EXPECT_EQ(Rows(w), (QStringList{QStringLiteral("Notes   [Alt+N]"), QStringLiteral("Site map   [Alt+M]")}));
        EXPECT_EQ(Control<QLabel>(w, "AccessKey")->text(), QStringLiteral("Access key: N"));
        EXPECT_EQ(Control<QComboBox>(w, "Kind")->currentText(), QStringLiteral("Program"));
        Click(w, "Add");
        Type(w, "Caption", QStringLiteral("&Home page"));
        Type(w, "Target", QStringLiteral("https://example.org/"));
        EXPECT_EQ(Control<QComboBox>(w, "Kind")->currentText(), QStringLiteral("Web address"));
        EXPECT_FALSE(Control<QPushButton>(w, "Browse")->isEnabled());
        Click(w, "MoveUp");
        Click(w, "MoveUp");
        Control<QListWidget>(w, "ToolList")->setCurrentRow(2);
        Click(w, "Remove");
        Control<QListWidget>(w, "ToolList")->setCurrentRow(1);
        Type(w, "Caption", QStringLiteral("N&otes"));
        // A picture of the dialog when VELORA_SCREENSHOT_DIR names a folder.
        if (const char* dir = std::getenv("VELORA_SCREENSHOT_DIR"))
            w->grab().save(QString::fromUtf8(dir) + QStringLiteral("/tools-dialog.png"));
        Click(w, "OK");
    });
    Entry<AddToolFn>("vlrsys", "AddTool")(0, main.handle());
    ASSERT_TRUE(driver.acted());
    EXPECT_FALSE(driver.stuck());
    auto tools = vlr::sys::ReadNameValues(toolsFile());
    ASSERT_TRUE(tools);
    EXPECT_EQ(*tools, (NameValues{{"&Home page", "https://example.org/"}, {"N&otes", "/usr/bin/true"}}));
}

TEST_F(ToolsDialog, CancelAndRefusedInputLeaveTheFileAsItWas) {
    const NameValues before{{"A", "/a"}};
    ASSERT_TRUE(vlr::sys::WriteNameValues(toolsFile(), before));
    std::string bytes;
    vlr::ReadFileBytes(toolsFile(), bytes);
    {
        TFrmTools dialog(toolsFile(), before);
        dialog.addTool();
        dialog.reject();
    }
    TFrmTools dialog(toolsFile(), before);
    dialog.addTool();
    Type(&dialog, "Caption", QStringLiteral("A"));
    Type(&dialog, "Target", QStringLiteral("/b"));
    dialog.accept();
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_NE(prompter.messages()[0].text.find("Two tools are called \"A\""), std::string::npos);
    Type(&dialog, "Caption", QStringLiteral("&&"));
    Type(&dialog, "Target", QString());
    dialog.accept();
    EXPECT_NE(prompter.messages().back().text.find("does not say which"), std::string::npos);
    Type(&dialog, "Caption", QStringLiteral("&"));
    Type(&dialog, "Target", QStringLiteral("/b"));
    dialog.accept();
    EXPECT_EQ(prompter.messages().back().text, "Tool 2 needs a caption.");
    EXPECT_FALSE(dialog.result() == QDialog::Accepted);
    std::string after;
    vlr::ReadFileBytes(toolsFile(), after);
    EXPECT_EQ(after, bytes);
}

TEST_F(ToolsDialog, ADamagedToolsFileIsReportedAndKept) {
    const std::string damaged("\x05\0\0\0\x03\0\0\0ab", 10);
    ASSERT_TRUE(vlr::WriteFileAtomically(toolsFile(), damaged));
    ModalDriver driver([](QWidget* w) { w->close(); });
    Entry<AddToolFn>("vlrsys", "AddTool")(0, 0);
    EXPECT_FALSE(driver.acted());
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_NE(prompter.messages()[0].text.find("cannot be read or is damaged"), std::string::npos);
    std::string after;
    vlr::ReadFileBytes(toolsFile(), after);
    EXPECT_EQ(after, damaged);
}

TEST_F(ToolsDialog, TestStartsTheSelectedToolAsTheMenuWouldAndReportsOneThatCannotStart) {
    std::vector<std::string> opened;
    bool canStart = true;
    vlr::SetShellOpenHook([&](const std::string& target) {
        opened.push_back(target);
        return canStart;
    });
    const std::string readme = appDir.file("readme.txt");
    std::ofstream(readme) << "read me\n";
    // A program is run by itself: this one writes a file.
    const std::string ran = appDir.file("ran.txt");
    const std::string program = appDir.file("mark.sh");
    std::ofstream(program) << "#!/bin/sh\necho ran > '" << ran << "'\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    TFrmTools dialog(toolsFile(), {{"Docs", readme},
                                   {"Web", "http://127.0.0.1/"},
                                   {"Gone", appDir.file("missing.txt")},
                                   {"Mark", program}});
    auto* list = Control<QListWidget>(&dialog, "ToolList");
    list->setCurrentRow(1);
    Click(&dialog, "Test");
    list->setCurrentRow(3);
    Click(&dialog, "Test");
    canStart = false;
    list->setCurrentRow(0);
    Click(&dialog, "Test");
    list->setCurrentRow(2);  // never reaches the desktop
    Click(&dialog, "Test");
    vlr::SetShellOpenHook({});
    EXPECT_EQ(opened, (std::vector<std::string>{"http://127.0.0.1/", readme}));
    ASSERT_EQ(prompter.messages().size(), 2u);
    for (const auto& m : prompter.messages()) {
        EXPECT_EQ(m.text, "Could not load tool");
        EXPECT_EQ(m.kind, vlr::MessageKind::Error);
        EXPECT_EQ(m.buttons, static_cast<unsigned>(vlr::BtnOk));
    }
    for (int i = 0; i < 250 && !std::filesystem::exists(ran); ++i)
        QTest::qWait(20);
    EXPECT_TRUE(std::filesystem::exists(ran));
}

TEST_F(ToolsDialog, BrowseTakesTheChosenFileAsTheTarget) {
    TFrmTools dialog(toolsFile(), {{"Editor", ""}});
    prompter.QueueFile("/usr/bin/env");
    Click(&dialog, "Browse");
    EXPECT_EQ(dialog.tools()[0].second, "/usr/bin/env");
    EXPECT_EQ(Control<QLineEdit>(&dialog, "Target")->text(), QStringLiteral("/usr/bin/env"));
    prompter.QueueFiles(std::nullopt);
    Click(&dialog, "Browse");
    EXPECT_EQ(dialog.tools()[0].second, "/usr/bin/env");
}

TEST(ToolCaptions, AccessKeysAndShownCaptions) {
    EXPECT_EQ(vlr::sys::AccessKeyOf("&Notes"), 'N');
    EXPECT_EQ(vlr::sys::AccessKeyOf("Fish && &Chips"), 'C');
    EXPECT_EQ(vlr::sys::AccessKeyOf("Plain"), 0);
    EXPECT_EQ(vlr::sys::AccessKeyOf("End&"), 0);
    EXPECT_EQ(vlr::sys::CaptionWithoutMarks("Fish && &Chips"), "Fish & Chips");
    EXPECT_EQ(vlr::sys::GuessToolKind("mailto:me@example.org"), vlr::sys::ToolKind::Address);
    EXPECT_EQ(vlr::sys::GuessToolKind("/bin/sh"), vlr::sys::ToolKind::Program);
    TempAppDir dir;
    ASSERT_TRUE(vlr::WriteFileAtomically(dir.file("notes.txt"), "n"));
    std::filesystem::permissions(dir.file("notes.txt"), std::filesystem::perms(0644));
    EXPECT_EQ(vlr::sys::GuessToolKind(dir.file("notes.txt")), vlr::sys::ToolKind::Document);
}

}  // namespace
