// ShowHLink, InsTable, InsActiveX and InsJavaApp: the insertion dialogs
// driven through their entry points; each sends its markup to the editor window.
#include "FakeEditor.h"
#include "ModuleTestSupport.h"

#include "libs/EntryPoints.h"
#include "platform/IniFile.h"
#include "platform/ScriptedPrompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

using namespace vlrtest;

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
void SetSpin(QWidget* dialog, const char* name, int value) { Control<QSpinBox>(dialog, name)->setValue(value); }

// A main window that answers the project-file query with `projectFile`.
class ProjectMainWindow : public FakeMainWindow {
public:
    std::string projectFile = "none";
    vlr::LResult handleMessage(unsigned msg, vlr::WParam w, vlr::LParam l) override {
        if (msg == 3085)
            return reinterpret_cast<vlr::LResult>(vlr::MakeRecord(projectFile).release());
        return FakeMainWindow::handleMessage(msg, w, l);
    }
};

class InsertDialogs : public ::testing::Test {
protected:
    TempAppDir appDir;
    vlr::ScriptedPrompter prompter;
    ProjectMainWindow main;
    FakeEditor* editor = new FakeEditor;  // owned by its sub-window
    void SetUp() override {
        main.area()->addSubWindow(editor);
        editor->show();
        main.area()->setActiveSubWindow(main.area()->subWindowList().front());
    }
    void TearDown() override { Settle(); }
    const FakeEditor::Received& only() {
        EXPECT_EQ(editor->received.size(), 1u);
        static const FakeEditor::Received none{};
        return editor->received.empty() ? none : editor->received.front();
    }
};

TEST_F(InsertDialogs, TableGoesIntoTheGivenEditorWithTheCaretInTheFirstCell) {
    ModalDriver driver([](QWidget* d) {
        SetSpin(d, "rows", 2);
        SetSpin(d, "columns", 1);
        SetSpin(d, "border", 2);
        SetSpin(d, "width", 90);
        Control<QComboBox>(d, "widthUnit")->setCurrentIndex(1);
        SetSpin(d, "cellPadding", 4);
        Control<QCheckBox>(d, "headerRow")->setChecked(true);
        SetText(d, "caption", "Prices");
        Click(d, "okButton");
    });
    Entry<InsertDialogFn>("extdlgs", "InsTable")(main.handle(), editor->handle(), "false");
    ASSERT_TRUE(driver.acted());
    const auto& r = only();
    EXPECT_EQ(r.msg, 2029u);
    EXPECT_EQ(r.first, "<TABLE BORDER=\"2\" WIDTH=\"90%\" CELLPADDING=\"4\">\n\r  <CAPTION>Prices</CAPTION>\n\r"
                       "  <TR>\n\r    <TH>");
    EXPECT_EQ(r.second, "</TH>\n\r  </TR>\n\r  <TR>\n\r    <TD></TD>\n\r  </TR>\n\r</TABLE>");
    EXPECT_EQ(r.third, "yes");
}

TEST_F(InsertDialogs, CancelledOrMisdirectedDialogsInsertNothing) {
    ModalDriver driver([](QWidget* d) { Click(d, "cancelButton"); });
    Entry<InsertDialogFn>("extdlgs", "InsTable")(main.handle(), editor->handle(), "true");
    EXPECT_TRUE(driver.acted());
    // Not an editor window: no dialog at all.
    Entry<InsertDialogFn>("extdlgs", "InsJavaApp")(main.handle(), main.handle(), "true");
    Entry<InsertDialogFn>("extdlgs", "InsActiveX")(main.handle(), 0, "true");
    EXPECT_TRUE(editor->received.empty());
    EXPECT_EQ(vlr::FindWindowOfClass("nothing"), 0u);
}

TEST_F(InsertDialogs, ActiveXNeedsAClassIdAndTakesItsParameters) {
    std::size_t refusals = 0;
    ModalDriver driver([&](QWidget* d) {
        Click(d, "okButton");  // "clsid:" alone is no class id
        refusals = prompter.messages().size();
        SetText(d, "classId", "clsid:D27CDB6E");
        SetText(d, "id", "Movie");
        SetSpin(d, "width", 400);
        SetSpin(d, "height", 0);
        Click(d, "addParameter");
        Click(d, "addParameter");
        auto* table = Control<QTableWidget>(d, "parameters");
        table->item(0, 0)->setText(QStringLiteral("movie"));
        table->item(0, 1)->setText(QStringLiteral("intro.swf"));
        table->item(1, 0)->setText(QStringLiteral("gone"));
        table->setCurrentCell(1, 0);
        Click(d, "removeParameter");
        Click(d, "okButton");
    });
    Entry<InsertDialogFn>("extdlgs", "InsActiveX")(main.handle(), editor->handle(), "true");
    ASSERT_TRUE(driver.acted());
    EXPECT_EQ(refusals, 1u);
    const auto& r = only();
    EXPECT_EQ(r.first, "<object classid=\"clsid:D27CDB6E\" id=\"Movie\" width=\"400\">\n\r"
                       "  <param name=\"movie\" value=\"intro.swf\">\n\r</object>");
    EXPECT_EQ(r.second, "");
    EXPECT_EQ(r.third, "no");
}

TEST_F(InsertDialogs, JavaAppletNeedsItsClassFile) {
    std::size_t refusals = 0;
    ModalDriver driver([&](QWidget* d) {
        Click(d, "okButton");
        refusals = prompter.messages().size();
        SetText(d, "code", "Ticker.class");
        SetText(d, "alt", "News");
        Click(d, "okButton");
    });
    Entry<InsertDialogFn>("extdlgs", "InsJavaApp")(main.handle(), editor->handle(), "false");
    ASSERT_TRUE(driver.acted());
    EXPECT_EQ(refusals, 1u);
    EXPECT_EQ(only().first, "<APPLET CODE=\"Ticker.class\" WIDTH=\"200\" HEIGHT=\"100\" ALT=\"News\">\n\r</APPLET>");
}

TEST_F(InsertDialogs, HyperlinkOffersTheBuiltPagesAndReplacesTheSelection) {
    // Kept as the example site keeps its project: relative folders and files.
    main.projectFile = appDir.file("site/site.vlr");
    std::filesystem::create_directories(appDir.file("site/src/news"));
    {
        vlr::IniFile ini(main.projectFile);
        ini.WriteString("directories", "src", "src");
        ini.WriteString("directories", "out", "public");
        ini.WriteString("files", "0", "src/index.hts");
        ini.WriteString("files", "1", "src/news/today.hts");
        ini.WriteString("files", "2", "src/about.hts");
    }
    // The page being written is news/today.hts: links start from public/news/.
    editor->setWindowFilePath(QString::fromStdString(appDir.file("site/src/news/today.hts")));
    editor->selection = "Start page";
    QStringList offered;
    QString text;
    ModalDriver driver([&](QWidget* d) {
        auto* address = Control<QComboBox>(d, "address");
        for (int i = 0; i < address->count(); ++i)
            offered << address->itemText(i);
        text = Control<QLineEdit>(d, "text")->text();
        QTest::mouseClick(Control<QPushButton>(d, "okButton"), Qt::LeftButton);  // no address yet: refused
        // The user opens the list and picks the first page with the keyboard.
        address->setFocus();
        QTest::keyClick(address, Qt::Key_Down);
        auto* title = Control<QLineEdit>(d, "title");
        QTest::keyClicks(title, "Today's \"news\"");
        Control<QComboBox>(d, "target")->setCurrentText(QStringLiteral("_blank"));
        QTest::mouseClick(Control<QPushButton>(d, "okButton"), Qt::LeftButton);
    });
    Entry<ShowHLinkFn>("extdlgs", "ShowHLink")(0, main.handle());
    ASSERT_TRUE(driver.acted());
    EXPECT_EQ(offered.join(QLatin1Char('|')).toStdString(), "../index.html|today.html|../about.html");
    EXPECT_EQ(text, QStringLiteral("Start page"));
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0].text, "Please enter the address of the link.");
    const auto& r = only();
    EXPECT_EQ(r.msg, 3075u);
    EXPECT_EQ(r.first, "<a href=\"../index.html\" target=\"_blank\" title=\"Today's &quot;news&quot;\">Start page</a>");
}

TEST_F(InsertDialogs, AnUntitledDocumentLinksFromTheOutputFolder) {
    main.projectFile = appDir.file("site/site.vlr");
    std::filesystem::create_directories(appDir.file("site/src"));
    {
        vlr::IniFile ini(main.projectFile);
        ini.WriteString("directories", "src", "src");
        ini.WriteString("directories", "out", "public");
        ini.WriteString("files", "0", "src/index.hts");
        ini.WriteString("files", "1", "src/blog/first-walk.hts");
    }
    QStringList offered;
    ModalDriver driver([&](QWidget* d) {
        auto* address = Control<QComboBox>(d, "address");
        for (int i = 0; i < address->count(); ++i)
            offered << address->itemText(i);
        Click(d, "cancelButton");
    });
    Entry<ShowHLinkFn>("extdlgs", "ShowHLink")(0, main.handle());
    ASSERT_TRUE(driver.acted());
    EXPECT_EQ(offered.join(QLatin1Char('|')).toStdString(), "index.html|blog/first-walk.html");
    EXPECT_TRUE(editor->received.empty());
}

TEST_F(InsertDialogs, HyperlinkWithoutTextWrapsTheSelectionInTheTagCaseOfThePreferences) {
    vlr::IniFile(appDir.file("preferences.dat")).WriteBool("Environment", "LowerTags", false);
    ModalDriver driver([](QWidget* d) {
        Control<QComboBox>(d, "address")->setEditText(QStringLiteral("https://Example.org/A"));
        Click(d, "okButton");
    });
    Entry<ShowHLinkFn>("extdlgs", "ShowHLink")(0, main.handle());
    ASSERT_TRUE(driver.acted());
    const auto& r = only();
    EXPECT_EQ(r.msg, 2029u);
    EXPECT_EQ(r.first, "<A HREF=\"https://Example.org/A\">");
    EXPECT_EQ(r.second, "</A>");
    EXPECT_EQ(r.third, "yes");
}

TEST_F(InsertDialogs, NoDialogWithoutAnEditorWindowOrUnderLoggedPrompts) {
    {
        ScopedEnv logged("VELORA_PROMPTS", "log");
        ModalDriver driver([](QWidget* d) { Click(d, "cancelButton"); });
        testing::internal::CaptureStderr();
        Entry<InsertDialogFn>("extdlgs", "InsTable")(main.handle(), editor->handle(), "true");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "[dialog] Insert Table\n");
        EXPECT_FALSE(driver.acted());
    }
    FakeMainWindow empty;
    ModalDriver driver([](QWidget* d) { Click(d, "cancelButton"); });
    Entry<ShowHLinkFn>("extdlgs", "ShowHLink")(0, empty.handle());
    EXPECT_FALSE(driver.acted());
    EXPECT_TRUE(editor->received.empty());
}

}  // namespace
