// InsCSS: the style organizer edits "styles.dat" of the program folder; the
// file it writes is read back by the style list.
#include "ModuleTestSupport.h"

#include "authoring/styles/StyleSheets.h"
#include "libs/EntryPoints.h"
#include "libs/extdlgs/StyleOrganizer.h"
#include "platform/ScriptedPrompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace vlrtest;
using vlr::authoring::TCSSList;

namespace {

template <typename W>
W* Control(QWidget* dialog, const char* name) {
    W* w = dialog->findChild<W*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}
void Click(QWidget* dialog, const char* button) { Control<QPushButton>(dialog, button)->click(); }
void SetText(QWidget* dialog, const char* edit, const char* text) {
    Control<QLineEdit>(dialog, edit)->setText(QString::fromUtf8(text));
}
void SetCombo(QWidget* dialog, const char* name, const char* text) {
    Control<QComboBox>(dialog, name)->setCurrentText(QString::fromUtf8(text));
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class StyleOrganizer : public ::testing::Test {
protected:
    TempAppDir appDir;
    vlr::ScriptedPrompter prompter;
    FakeMainWindow main;
    std::string path = appDir.file("styles.dat");
    void TearDown() override { Settle(); }
    void Run(std::function<void(QWidget*)> act, bool expectShown = true) {
        ModalDriver driver(std::move(act));
        Entry<InsCSSFn>("extdlgs", "InsCSS")(main.handle(), 0);
        EXPECT_EQ(driver.acted(), expectShown);
        EXPECT_FALSE(driver.stuck());
    }
    void WriteStyles(std::initializer_list<std::pair<const char*, const char*>> nameAndS17) {
        TCSSList list;
        for (const auto& [name, s17] : nameAndS17) {
            auto* s = list.Add();
            s->S[0] = name;
            s->S[17] = s17;
            s->S[19] = "kept";
        }
        ASSERT_TRUE(list.SaveToFile(path).ok());
    }
};

TEST_F(StyleOrganizer, CreatesStylesOnAFreshInstallAndWritesThemInOrder) {
    QString sample;
    int shownAtStart = -1;
    Run([&](QWidget* d) {
        shownAtStart = Control<QListWidget>(d, "styles")->count();
        Click(d, "newStyle");
        SetText(d, "name", "Heading");
        SetCombo(d, "fontFamily", "Arial");
        SetText(d, "fontSize", "14");
        SetCombo(d, "fontSizeUnit", "pt");
        SetCombo(d, "textDecoration", "underline");
        SetCombo(d, "fontWeight", "bold");
        SetText(d, "color", "#FF0000");
        SetText(d, "marginLeft", "2");
        SetCombo(d, "marginLeftUnit", "em");
        sample = Control<QLabel>(d, "sample")->text();
        Click(d, "newStyle");
        SetText(d, "name", "Note");
        SetText(d, "note", "small print");
        Click(d, "moveUp");
        Click(d, "okButton");
    });
    EXPECT_EQ(shownAtStart, 0);
    EXPECT_TRUE(sample.contains(QStringLiteral("font-family: Arial; font-size: 14pt"))) << sample.toStdString();
    EXPECT_TRUE(sample.contains(QStringLiteral("color: #FF0000"))) << sample.toStdString();
    TCSSList back;
    ASSERT_TRUE(back.LoadFromFile(path).ok());
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back.Items(0)->Name(), "Note");
    EXPECT_EQ(back.Items(0)->S[1], "small print");
    const auto& h = back.Items(1)->S;
    EXPECT_EQ(h[0], "Heading");
    EXPECT_EQ(h[2], "Arial");
    EXPECT_EQ(h[3], "14");
    EXPECT_EQ(h[4], "pt");
    EXPECT_EQ(h[8], "underline");
    EXPECT_EQ(h[9], "underline");  // one decoration for every form
    EXPECT_EQ(h[10], "bold");
    EXPECT_EQ(h[13], "2");
    EXPECT_EQ(h[14], "em");
    EXPECT_EQ(h[18], "#FF0000");
}

TEST_F(StyleOrganizer, EditsAndDeletesKeepingWhatItDoesNotEdit) {
    WriteStyles({{"One", "left"}, {"Two", "right"}, {"Three", ""}});
    QString shownName;
    Run([&](QWidget* d) {
        auto* styles = Control<QListWidget>(d, "styles");
        styles->setCurrentRow(1);
        shownName = Control<QLineEdit>(d, "name")->text();
        SetText(d, "name", "Second");
        styles->setCurrentRow(0);
        Click(d, "deleteStyle");
        Click(d, "okButton");
    });
    EXPECT_EQ(shownName, QStringLiteral("Two"));
    TCSSList back;
    ASSERT_TRUE(back.LoadFromFile(path).ok());
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back.Items(0)->Name(), "Second");
    EXPECT_EQ(back.Items(0)->S[17], "right");
    EXPECT_EQ(back.Items(0)->S[19], "kept");
    EXPECT_EQ(back.Items(1)->Name(), "Three");
}

TEST_F(StyleOrganizer, RefusesEmptyAndRepeatedNamesAndCancelWritesNothing) {
    WriteStyles({{"One", ""}});
    const std::string before = Contents(path);
    std::vector<std::string> refusals;
    Run([&](QWidget* d) {
        Click(d, "newStyle");
        SetText(d, "name", "One");
        Click(d, "okButton");
        SetText(d, "name", "  ");
        Click(d, "okButton");
        for (const auto& m : prompter.messages())
            refusals.push_back(m.text);
        Click(d, "cancelButton");
    });
    ASSERT_EQ(refusals.size(), 2u);
    EXPECT_EQ(refusals[0], "There are two styles called \"One\". Please give each style its own name.");
    EXPECT_EQ(refusals[1], "Every style needs a name.");
    EXPECT_EQ(Contents(path), before);
}

TEST_F(StyleOrganizer, ADamagedFileIsSetAsideOnlyWhenTheUserAgrees) {
    const std::string damaged("\x05\x00\x00\x00\x03", 5);
    std::ofstream(path, std::ios::binary) << damaged;
    prompter.QueueAnswer(vlr::ModalResult::No);
    Run([](QWidget* d) { Click(d, "cancelButton"); }, false);
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0].kind, vlr::MessageKind::Confirmation);
    EXPECT_NE(prompter.messages()[0].text.find("is damaged"), std::string::npos);
    EXPECT_EQ(Contents(path), damaged);

    prompter.QueueAnswer(vlr::ModalResult::Yes);
    int shown = -1;
    Run([&](QWidget* d) {
        shown = Control<QListWidget>(d, "styles")->count();
        Click(d, "cancelButton");
    });
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(Contents(path + ".damaged"), damaged);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(StyleOrganizer, AFailedWriteIsReportedAndTheDialogStays) {
    // A program folder that does not exist: nothing to read, and no file can be written there.
    ScopedEnv gone("VELORA_APPDIR", appDir.file("missing/"));
    bool stayed = false;
    Run([&](QWidget* d) {
        Click(d, "newStyle");
        Click(d, "okButton");
        stayed = d->isVisible();
        Click(d, "cancelButton");
    });
    EXPECT_TRUE(stayed);
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_NE(prompter.messages()[0].text.find("Your styles were not saved."), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(appDir.file("missing")));
}

TEST_F(StyleOrganizer, ColoursComeFromTheColourDialogAndStylesMoveDown) {
    WriteStyles({{"One", ""}, {"Two", ""}});
    Run([&](QWidget* d) {
        // The colour dialog opens on top of the organizer; answer it once it shows.
        QTimer::singleShot(50, [] {
            auto* colours = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(colours, nullptr);
            colours->setCurrentColor(QColor(0x12, 0xAB, 0xEF));
            colours->accept();
        });
        Click(d, "backgroundButton");
        Click(d, "moveDown");
        Click(d, "moveDown");  // already last: stays
        Click(d, "okButton");
    });
    TCSSList back;
    ASSERT_TRUE(back.LoadFromFile(path).ok());
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back.Items(0)->Name(), "Two");
    EXPECT_EQ(back.Items(1)->Name(), "One");
    EXPECT_EQ(back.Items(1)->S[20], "#12ABEF");
}

TEST(StyleSample, OnlyValuesThatAreSetBecomeDeclarations) {
    vlr::extdlgs::StyleTexts s{};
    EXPECT_EQ(vlr::extdlgs::SampleCss(s), "");
    s[3] = "12";
    s[4] = "px";
    s[20] = "yellow";
    EXPECT_EQ(vlr::extdlgs::SampleCss(s), "font-size: 12px; background-color: yellow");
}

}  // namespace
