// NewProj, DoVars and ShowProjPref: the project dialogs of the system module,
// driven through their entry points as the main window calls them.
#include "ModuleTestSupport.h"

#include "libs/EntryPoints.h"
#include "platform/PrivateTempDir.h"
#include "platform/IniFile.h"
#include "platform/Record.h"
#include "platform/System.h"
#include "platform/ScriptedPrompter.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace vlrtest;

namespace {

template <typename W>
W* Control(QWidget* dialog, const char* name) {
    W* w = dialog->findChild<W*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}
void Click(QWidget* dialog, const char* button) { Control<QPushButton>(dialog, button)->click(); }
QString Text(QWidget* dialog, const char* edit) { return Control<QLineEdit>(dialog, edit)->text(); }
void SetText(QWidget* dialog, const char* edit, const QString& text) {
    Control<QLineEdit>(dialog, edit)->setText(text);
}

// Records the 3057 messages and the path each carries, releasing the records.
class OpeningWindow : public vlr::MessageHandler {
public:
    OpeningWindow() { handle_ = vlr::RegisterWindow(this, "TFrmMainVLR"); }
    ~OpeningWindow() override { vlr::UnregisterWindow(handle_); }
    vlr::LResult handleMessage(unsigned msg, vlr::WParam, vlr::LParam lParam) override {
        vlr::RecordPtr r = vlr::AdoptRecord(lParam);
        if (msg == 3057)
            opened.push_back(r ? vlr::RecordText(r->first) : std::string());
        return 0;
    }
    vlr::Handle handle() const { return handle_; }
    std::vector<std::string> opened;

private:
    vlr::Handle handle_;
};

// NameValue exchange files as the program writes them.
std::string NameValueBytes(const std::vector<std::pair<std::string, std::string>>& entries) {
    auto put = [](std::string& out, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    std::string out;
    put(out, static_cast<std::uint32_t>(entries.size()));
    for (const auto& [n, v] : entries) {
        put(out, static_cast<std::uint32_t>(n.size()));
        out += n;
        put(out, static_cast<std::uint32_t>(v.size()));
        out += v;
    }
    return out;
}

std::string Contents(const std::string& path) {
    std::string bytes;
    vlr::ReadFileBytes(path, bytes);
    return bytes;
}

class ProjectDialogs : public ::testing::Test {
protected:
    TempAppDir appDir;
    std::string tmp = appDir.file("tmp");
    ScopedEnv tmpEnv{"TMPDIR", tmp};
    // The exchange file's private folder.
    std::string run = appDir.file("run");
    ScopedEnv runEnv{"XDG_RUNTIME_DIR", run};
    vlr::ScriptedPrompter prompter;
    OpeningWindow main;
    void SetUp() override {
        std::filesystem::create_directories(tmp);
        std::filesystem::create_directories(run);
        std::filesystem::permissions(run, std::filesystem::perms::owner_all);
    }
};

TEST_F(ProjectDialogs, NewProjectWritesTheProjectFileCreatesItsFoldersAndAsksToOpenIt) {
    const QString where = QString::fromStdString(appDir.file("sites"));
    QString derivedSource;
    std::vector<std::string> refusals;
    ModalDriver driver([&](QWidget* dialog) {
        SetText(dialog, "location", where);
        Click(dialog, "okButton");  // no name yet: refused, the dialog stays
        for (const auto& m : prompter.messages())
            refusals.push_back(m.text);
        SetText(dialog, "name", QStringLiteral("shop"));
        derivedSource = Text(dialog, "src");
        SetText(dialog, "img_prep", QStringLiteral("pics/"));
        Click(dialog, "okButton");
    });
    const std::int32_t result = Entry<NewProjFn>("vlrsys", "NewProj")(0, main.handle());

    ASSERT_TRUE(driver.acted());
    EXPECT_FALSE(driver.stuck());
    EXPECT_EQ(result, 1);
    ASSERT_EQ(refusals.size(), 1u);
    const std::string folder = where.toStdString() + "/shop";
    // The folders are proposed relative to the project's folder, the pictures
    // inside the output folder that is uploaded; the file keeps them relative.
    EXPECT_EQ(derivedSource.toStdString(), "source");
    const std::string file = folder + "/shop.vlr";
    EXPECT_EQ(main.opened, std::vector<std::string>{file});
    for (const char* d : {"/source", "/output", "/output/images"})
        EXPECT_TRUE(std::filesystem::is_directory(folder + d)) << d;
    vlr::IniFile ini(file);
    EXPECT_EQ(ini.ReadString("directories", "src", ""), "source");
    EXPECT_EQ(ini.ReadString("directories", "out", ""), "output");
    EXPECT_EQ(ini.ReadString("directories", "img", ""), "output/images");
    EXPECT_EQ(ini.ReadString("other", "imgprep", ""), "pics/");
    EXPECT_EQ(ini.ReadString("Compiler", "includes", ""), "1");
    EXPECT_TRUE(ini.ReadSection("files").empty());
}

TEST_F(ProjectDialogs, NewProjectAsksBeforeReplacingAProjectFileAndCancelSendsNothing) {
    const std::string folder = appDir.file("sites/shop");
    std::filesystem::create_directories(folder);
    const std::string file = folder + "/shop.vlr";
    std::ofstream(file) << "[files]\n0=/keep/me.hts\n";
    prompter.QueueAnswer(vlr::ModalResult::No);
    ModalDriver driver([&](QWidget* dialog) {
        SetText(dialog, "location", QString::fromStdString(appDir.file("sites")));
        SetText(dialog, "name", QStringLiteral("shop"));
        Click(dialog, "okButton");  // answered No: the dialog stays
        Click(dialog, "cancelButton");
    });
    EXPECT_EQ(Entry<NewProjFn>("vlrsys", "NewProj")(0, main.handle()), 0);
    ASSERT_TRUE(driver.acted());
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0].text, "The project file " + file + " already exists. Replace it?");
    EXPECT_EQ(Contents(file), "[files]\n0=/keep/me.hts\n");
    EXPECT_TRUE(main.opened.empty());
}

TEST_F(ProjectDialogs, VariablesAreEditedInTheExchangeFileAndBadNamesAreRefused) {
    const std::string path = run + "/velora/~fsetting.tmp";
    ASSERT_EQ(vlr::PrivateTempFile("~fsetting.tmp"), path);
    std::ofstream(path, std::ios::binary) << NameValueBytes({{"Title", "Home"}, {"Author", "Ann"}});
    int shown = 0;
    std::size_t refused = 0;
    ModalDriver driver([&](QWidget* dialog) {
        auto* table = Control<QTableWidget>(dialog, "variables");
        shown = table->rowCount();
        table->item(0, 1)->setText(QStringLiteral("Start"));
        Click(dialog, "addButton");
        table->item(2, 0)->setText(QStringLiteral("title"));  // same name as row 0 in the project file
        Click(dialog, "okButton");
        refused = prompter.messages().size();
        table->item(2, 0)->setText(QStringLiteral("Year"));
        table->item(2, 1)->setText(QStringLiteral("2026"));
        table->setCurrentCell(2, 0);
        Click(dialog, "upButton");
        Click(dialog, "okButton");
    });
    EXPECT_EQ(Entry<DoVarsFn>("vlrsys", "DoVars")(0), 1);
    ASSERT_TRUE(driver.acted());
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(refused, 1u);
    EXPECT_EQ(Contents(path), NameValueBytes({{"Title", "Start"}, {"Year", "2026"}, {"Author", "Ann"}}));
}

TEST_F(ProjectDialogs, CancelledOrUnreadableVariablesChangeNothing) {
    const std::string path = run + "/velora/~fsetting.tmp";
    ASSERT_EQ(vlr::PrivateTempFile("~fsetting.tmp"), path);
    const std::string bytes = NameValueBytes({{"Title", "Home"}});
    std::ofstream(path, std::ios::binary) << bytes;
    ModalDriver driver([&](QWidget* dialog) {
        Control<QTableWidget>(dialog, "variables")->item(0, 1)->setText(QStringLiteral("x"));
        Click(dialog, "cancelButton");
    });
    EXPECT_EQ(Entry<DoVarsFn>("vlrsys", "DoVars")(0), 0);
    EXPECT_EQ(Contents(path), bytes);

    std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string("\x03\0\0\0\x09", 5);
    EXPECT_EQ(Entry<DoVarsFn>("vlrsys", "DoVars")(0), 0);
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0].kind, vlr::MessageKind::Error);
}

TEST_F(ProjectDialogs, ProjectOptionsEditTheExchangeFileInPlace) {
    const std::string path = appDir.file("~tmppref.ini");
    {
        vlr::IniFile ini(path);
        ini.WriteString("dirs", "img", "/site/img");
        ini.WriteString("dirs", "src", "/site/src");
        ini.WriteString("dirs", "out", "/site/out");
        ini.WriteString("dirs", "img_prep", "img/");
        ini.WriteBool("compiler", "vars", true);
        ini.WriteBool("compiler", "db", false);
        ini.WriteString("extra", "keep", "yes");
    }
    bool shownAsStored = false;
    ModalDriver driver([&](QWidget* dialog) {
        shownAsStored = Text(dialog, "src") == QLatin1String("/site/src") &&
                        Text(dialog, "img_prep") == QLatin1String("img/") &&
                        !Control<QCheckBox>(dialog, "db")->isChecked() &&
                        Control<QCheckBox>(dialog, "inc")->isChecked();  // missing reads as on
        SetText(dialog, "out", QStringLiteral("/srv/www"));
        Control<QCheckBox>(dialog, "scripts")->setChecked(false);
        Click(dialog, "okButton");
    });
    EXPECT_EQ(Entry<ShowProjPrefFn>("vlrsys", "ShowProjPref")(0, main.handle()), 1);
    ASSERT_TRUE(driver.acted());
    EXPECT_TRUE(shownAsStored);
    vlr::IniFile ini(path);
    EXPECT_EQ(ini.ReadString("dirs", "out", ""), "/srv/www");
    EXPECT_EQ(ini.ReadString("dirs", "src", ""), "/site/src");
    EXPECT_EQ(ini.ReadString("compiler", "scripts", ""), "0");
    EXPECT_EQ(ini.ReadString("compiler", "db", ""), "0");
    EXPECT_EQ(ini.ReadString("compiler", "inc", ""), "1");
    EXPECT_EQ(ini.ReadString("extra", "keep", ""), "yes");

    const std::string before = Contents(path);
    ModalDriver cancel([&](QWidget* dialog) {
        SetText(dialog, "src", QStringLiteral("/elsewhere"));
        Click(dialog, "cancelButton");
    });
    EXPECT_EQ(Entry<ShowProjPrefFn>("vlrsys", "ShowProjPref")(0, main.handle()), 0);
    EXPECT_EQ(Contents(path), before);
}

TEST_F(ProjectDialogs, UnderLoggedPromptsNoDialogShowsAndNothingIsAccepted) {
    ScopedEnv logged("VELORA_PROMPTS", "log");
    ModalDriver driver([](QWidget* w) { w->close(); });
    EXPECT_EQ(Entry<NewProjFn>("vlrsys", "NewProj")(0, main.handle()), 0);
    EXPECT_EQ(Entry<DoVarsFn>("vlrsys", "DoVars")(0), 0);
    EXPECT_EQ(Entry<ShowProjPrefFn>("vlrsys", "ShowProjPref")(0, main.handle()), 0);
    Settle();
    EXPECT_FALSE(driver.acted());
    EXPECT_TRUE(main.opened.empty());
}

}  // namespace
