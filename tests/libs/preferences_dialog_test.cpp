// DoPref: the preferences dialog reads "preferences.dat", writes the edited
// keys on OK and asks the main window to read them again; Cancel changes
// nothing.
#include "ModuleTestSupport.h"

#include "libs/EntryPoints.h"
#include "platform/IniFile.h"
#include "platform/ScriptedPrompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QSpinBox>

#include <gtest/gtest.h>

using namespace vlrtest;

namespace {

template <typename W>
W* Control(QWidget* dialog, const char* name) {
    W* w = dialog->findChild<W*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

bool Checked(QWidget* dialog, const char* key) { return Control<QCheckBox>(dialog, key)->isChecked(); }
void SetChecked(QWidget* dialog, const char* key, bool on) { Control<QCheckBox>(dialog, key)->setChecked(on); }
void Click(QWidget* dialog, const char* button) { Control<QPushButton>(dialog, button)->click(); }

std::string Contents(const std::string& path) {
    std::string bytes;
    vlr::ReadFileBytes(path, bytes);
    return bytes;
}

void RunDoPref(const FakeMainWindow& main) { Entry<DoPrefFn>("vlrsys", "DoPref")(0, main.handle()); }

TEST(PreferencesDialog, OkWritesTheEditedKeysKeepsTheOthersAndSends3038) {
    TempAppDir appDir;
    FakeMainWindow main;
    const std::string path = appDir.file("preferences.dat");
    {
        vlr::IniFile ini(path);
        ini.WriteString("Main", "Mnu_Anim_Sp", "True");
        ini.WriteString("Environment", "Project", "/home/ann/site.vlr");
        ini.WriteBool("Environment", "LowerTags", false);
        ini.WriteBool("Environment", "InsImg", false);
        ini.WriteString("EdEnv", "FontNm", "Arial");
        ini.WriteInteger("EdEnv", "FontSz", 12);
    }
    bool shownAsStored = false;
    QWidget* parent = nullptr;
    ModalDriver driver([&](QWidget* dialog) {
        parent = dialog->parentWidget();
        shownAsStored = !Checked(dialog, "LowerTags") && Checked(dialog, "LastProject") &&
                        Checked(dialog, "NewEditor") && !Checked(dialog, "InsImg") && !Checked(dialog, "Maximize") &&
                        Control<QComboBox>(dialog, "FontNm")->currentText() == QLatin1String("Arial") &&
                        Control<QSpinBox>(dialog, "FontSz")->value() == 12;
        SetChecked(dialog, "LowerTags", true);
        SetChecked(dialog, "NewEditor", false);
        SetChecked(dialog, "Maximize", true);
        SetChecked(dialog, "ModernHTML", true);
        Control<QComboBox>(dialog, "FontNm")->setCurrentText(QStringLiteral("DejaVu Sans Mono"));
        Control<QSpinBox>(dialog, "FontSz")->setValue(14);
        Click(dialog, "okButton");
    });
    RunDoPref(main);

    ASSERT_TRUE(driver.acted());
    EXPECT_FALSE(driver.stuck());
    EXPECT_TRUE(shownAsStored);
    EXPECT_EQ(parent, &main);
    vlr::IniFile ini(path);
    EXPECT_EQ(ini.ReadString("Environment", "LowerTags", ""), "1");
    EXPECT_EQ(ini.ReadString("Environment", "LastProject", ""), "1");
    EXPECT_EQ(ini.ReadString("Environment", "NewEditor", ""), "0");
    EXPECT_EQ(ini.ReadString("Environment", "InsImg", ""), "0");
    EXPECT_EQ(ini.ReadString("Environment", "ModernHTML", ""), "1");
    EXPECT_EQ(ini.ReadString("EdEnv", "FontNm", ""), "DejaVu Sans Mono");
    EXPECT_EQ(ini.ReadString("EdEnv", "FontSz", ""), "14");
    EXPECT_EQ(ini.ReadString("EdEnv", "Maximize", ""), "1");
    EXPECT_EQ(ini.ReadString("Environment", "Project", ""), "/home/ann/site.vlr");
    EXPECT_EQ(ini.ReadString("Main", "Mnu_Anim_Sp", ""), "True");
    EXPECT_EQ(main.count(3038), 1);
    EXPECT_EQ(main.received().size(), 1u);
}

TEST(PreferencesDialog, WithoutAFileShowsTheDefaultsAndOkLeavesAnUntouchedFontNameAsWritten) {
    TempAppDir appDir;
    FakeMainWindow main;
    bool defaults = false;
    ModalDriver driver([&](QWidget* dialog) {
        defaults = Checked(dialog, "LowerTags") && Checked(dialog, "LastProject") && Checked(dialog, "NewEditor") &&
                   Checked(dialog, "InsImg") && !Checked(dialog, "Maximize") && !Checked(dialog, "ModernHTML") &&
                   Control<QComboBox>(dialog, "FontNm")->currentText() == QLatin1String("Courier New") &&
                   Control<QSpinBox>(dialog, "FontSz")->value() == 10;
        Click(dialog, "okButton");
    });
    RunDoPref(main);

    ASSERT_TRUE(driver.acted());
    EXPECT_TRUE(defaults);
    vlr::IniFile ini(appDir.file("preferences.dat"));
    // "Courier New" stays "Courier New" even where the font system shows it
    // under a substitute's name.
    EXPECT_EQ(ini.ReadString("EdEnv", "FontNm", ""), "Courier New");
    EXPECT_EQ(ini.ReadString("EdEnv", "FontSz", ""), "10");
    EXPECT_EQ(ini.ReadString("EdEnv", "Maximize", ""), "0");
    EXPECT_EQ(ini.ReadString("Environment", "LowerTags", ""), "1");
    EXPECT_FALSE(ini.ValueExists("Environment", "Project"));
    EXPECT_EQ(main.count(3038), 1);
}

TEST(PreferencesDialog, CancelWritesNothingAndSendsNothing) {
    TempAppDir appDir;
    FakeMainWindow main;
    const std::string path = appDir.file("preferences.dat");

    // No file: Cancel creates none.
    ModalDriver first([](QWidget* dialog) {
        SetChecked(dialog, "LowerTags", false);
        Click(dialog, "cancelButton");
    });
    RunDoPref(main);
    ASSERT_TRUE(first.acted());
    EXPECT_TRUE(Contents(path).empty());
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(path)));

    // An existing file keeps every byte.
    const std::string before = "[Environment]\r\nLowerTags=0\r\n\r\n[EdEnv]\r\nFontSz=abc\r\n";
    ASSERT_TRUE(vlr::WriteFileAtomically(path, before));
    ModalDriver second([](QWidget* dialog) {
        SetChecked(dialog, "Maximize", true);
        Control<QSpinBox>(dialog, "FontSz")->setValue(20);
        Click(dialog, "cancelButton");
    });
    RunDoPref(main);
    ASSERT_TRUE(second.acted());
    EXPECT_EQ(Contents(path), before);
    EXPECT_TRUE(main.received().empty());
}

TEST(PreferencesDialog, AFailedWriteIsReportedAndTheDialogStaysOpen) {
    TempAppDir appDir;
    // A program folder that does not exist: nothing can be written there.
    ScopedEnv missing("VELORA_APPDIR", appDir.file("gone/away"));
    FakeMainWindow main;
    vlr::ScriptedPrompter prompter;
    bool stayedOpen = false;
    ModalDriver driver([&](QWidget* dialog) {
        Click(dialog, "okButton");
        stayedOpen = dialog->isVisible();
        Click(dialog, "cancelButton");
    });
    RunDoPref(main);

    ASSERT_TRUE(driver.acted());
    EXPECT_TRUE(stayedOpen);
    auto messages = prompter.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, vlr::MessageKind::Error);
    EXPECT_NE(messages[0].text.find("could not be saved"), std::string::npos) << messages[0].text;
    EXPECT_EQ(main.count(3038), 0);
}

TEST(PreferencesDialog, UnderLoggedPromptsNothingIsShownWrittenOrSent) {
    TempAppDir appDir;
    ScopedEnv logged("VELORA_PROMPTS", "log");
    FakeMainWindow main;
    ModalDriver driver([](QWidget* dialog) { dialog->close(); });
    RunDoPref(main);
    Settle();
    EXPECT_FALSE(driver.acted());
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(appDir.file("preferences.dat"))));
    EXPECT_TRUE(main.received().empty());
}

}  // namespace
