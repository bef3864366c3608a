// "&Editor Options": the options dialog of the window's HTML scheme. OK refreshes the control and
// saves the scheme's stored form to "sedprop.dat", which editor windows made later (also after a
// restart) load; Cancel, a logged run and a failed write leave the saved file as it was.
#include "EditorFixture.h"

#include "editor/window/EditorMessages.h"
#include "editor/window/EditorScheme.h"
#include "memo/engine/keys/KeyTable.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"
#include "memo/widget/options/ColorBox.h"
#include "memo/widget/options/HighlightPage.h"
#include "memo/widget/options/KeyCapture.h"
#include "memo/widget/options/KeysPage.h"
#include "memo/widget/options/OptionsDialog.h"
#include "memo/widget/options/OptionsPage.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <cstdlib>

namespace {

namespace fs = std::filesystem;
using vlrtest::EditorTest;
using velora::memo::TOptionsDialog;

constexpr std::uint32_t kRed = 0x0000FF;

const vlr::TSyntaxMemoParser& SchemeOf(vlr::TFrmEditor* e) {
    return dynamic_cast<const vlr::TSyntaxMemoParser&>(*e->SyntaxMemoParser1);
}

int CommandOf(const vlr::TKeyTable& keys, std::uint16_t key1) {
    for (const vlr::TKeyBinding& b : keys.bindings)
        if (b.key1 == key1 && b.key2 == 0)
            return b.command;
    return -1;
}

// Tag names in red, Ctrl+D deletes the line, tab stops at columns 5 and 9; then OK or Cancel.
void EditAndClose(TOptionsDialog& d, bool ok) {
    d.HighlightPage->selectStyle(21);
    ASSERT_TRUE(d.HighlightPage->Foreground->selectNamed("Red"));
    d.KeysPage->CommandList->setCurrentRow(40);
    d.KeysPage->Key1->setKey(vlr::kKeyCtrl | 'D');
    ASSERT_TRUE(d.KeysPage->addSequence());
    d.OptionsPage->TabColumns->setText("5 9");
    (ok ? d.OkButton : d.CancelButton)->click();
}

class EditorOptionsTest : public EditorTest {
protected:
    void TearDown() override {
        velora::memo::SetOptionsDialogDriver(nullptr);
        EditorTest::TearDown();
    }
    void Drive(bool ok) {
        velora::memo::SetOptionsDialogDriver([this, ok](TOptionsDialog& d) {
            ++shown;
            EXPECT_EQ(d.Pages->count(), 5);
            EditAndClose(d, ok);
        });
    }
    void ExpectEditedScheme(vlr::TFrmEditor* e) {
        const vlr::TSchemeTables& t = SchemeOf(e).Tables();
        EXPECT_EQ(t.effects[21].foreground, kRed);
        EXPECT_FALSE(t.effects[21].defaultForeground);
        EXPECT_EQ(CommandOf(t.keys, vlr::kKeyCtrl | 'D'), 40);
        EXPECT_EQ(CommandOf(t.keys, vlr::kKeyCtrl | 'Y'), 40);
        EXPECT_EQ(t.settings.tabColumns, "5 9");
        EXPECT_EQ(t.settings.tabStops[0], 4);
        EXPECT_EQ(t.settings.tabStops[1], 8);
        EXPECT_EQ(t.settings.tabStops[2], -1);
        EXPECT_EQ(t.settings.name, "HTML");
    }
    fs::path saved() const { return appDir / "sedprop.dat"; }
    int shown = 0;
};

TEST_F(EditorOptionsTest, OkSavesTheSettingsAndLaterWindowsAndRestartsUseThem) {
    vlr::TFrmEditor* e = NewEditor();
    e->memo().setText("<p>text</p>");
    Drive(true);
    e->EditorOptions1->trigger();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(prompter->messages().empty());
    ASSERT_TRUE(fs::exists(saved()));
    EXPECT_EQ(ReadFile(saved().string()), SchemeOf(e).ParserData());
    ExpectEditedScheme(e);
    // The window's own text is drawn with the new colour at once.
    EXPECT_EQ(e->memo().engine().styleAt(1).foreground, kRed);

    vlr::TFrmEditor* second = NewEditor();
    ASSERT_NE(second, e);
    ExpectEditedScheme(second);

    // A restart of the program: a new main window, a new editor window.
    velora::memo::SetOptionsDialogDriver(nullptr);
    for (auto* w : {e, second})
        w->memo().setModified(false);
    main.reset();
    main = std::make_unique<vlr::TFrmMainVLR>();
    main->show();
    vlr::ProcessMessages();
    ExpectEditedScheme(NewEditor());
}

TEST_F(EditorOptionsTest, WindowsAlreadyOpenTakeTheConfirmedSettings) {
    vlr::TFrmEditor* first = NewEditor();
    vlr::TFrmEditor* open = NewEditor();
    open->memo().setText("<p>text</p>");
    Drive(true);
    first->ModifyOptions();
    ExpectEditedScheme(open);
    EXPECT_EQ(open->memo().engine().styleAt(1).foreground, kRed);  // drawn with them at once
    EXPECT_EQ(open->memo().engine().tabColumns, (std::vector<int>{4, 8}));  // and the control's tab stops
}

TEST_F(EditorOptionsTest, CancelChangesAndWritesNothing) {
    vlr::TFrmEditor* e = NewEditor();
    const vlr::TSchemeTables before = SchemeOf(e).Tables();
    Drive(false);
    e->ModifyOptions();
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(fs::exists(saved()));
    EXPECT_TRUE(SchemeOf(e).Tables() == before);
}

TEST_F(EditorOptionsTest, MessageEmOptionsRunsTheDialogAndLoggedRunsSkipIt) {
    vlr::TFrmEditor* e = NewEditor();
    // Without a driver, logged prompts skip the dialog and say so.
    const char* mode = std::getenv("VELORA_PROMPTS");
    const std::string was = mode ? mode : "";
    ::setenv("VELORA_PROMPTS", "log", 1);
    testing::internal::CaptureStderr();
    e->ModifyOptions();
    const std::string log = testing::internal::GetCapturedStderr();
    if (mode)
        ::setenv("VELORA_PROMPTS", was.c_str(), 1);
    else
        ::unsetenv("VELORA_PROMPTS");
    EXPECT_NE(log.find("[dialog] Editor options\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(saved()));

    Drive(true);
    Command(e, vlr::EM_OPTIONS);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(fs::exists(saved()));
}

TEST_F(EditorOptionsTest, AFailedWriteIsReportedAndTheWindowKeepsTheNewSettings) {
    vlr::TFrmEditor* e = NewEditor();
    // A folder where the file should go: it cannot be replaced by a file.
    fs::create_directory(saved());
    WriteFile((saved() / "keep.txt").string(), "kept");
    Drive(true);
    e->ModifyOptions();
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(prompter->messages()[0].kind, vlr::MessageKind::Error);
    EXPECT_NE(prompter->messages()[0].text.find("could not be saved to " + saved().string()), std::string::npos);
    ExpectEditedScheme(e);
    EXPECT_EQ(ReadFile((saved() / "keep.txt").string()), "kept");
}

TEST_F(EditorOptionsTest, WithoutACompiledSchemeThereIsNothingToEditOrSave) {
    vlr::TFrmEditor* e = NewEditor();
    Drive(true);
    vlr::TSyntaxMemoParser empty;
    EXPECT_FALSE(vlr::ModifySchemeOptions(e->memo(), &empty, e));
    EXPECT_FALSE(vlr::ModifySchemeOptions(e->memo(), nullptr, e));
    EXPECT_EQ(shown, 0);
    ASSERT_EQ(prompter->messages().size(), 2u);
    EXPECT_EQ(prompter->messages()[0].text, "The editor options cannot be changed: no syntax scheme is loaded.");
    EXPECT_FALSE(fs::exists(saved()));
}

}  // namespace
