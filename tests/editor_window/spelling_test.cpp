// "&Check Spelling" of the editor window's context menu and the main window's
// Spelling button: the whole document checked against a fixture dictionary,
// each change an undo step, a missing dictionary reported without harm.
#include "EditorFixture.h"

#include "spelling/ui/SpellCheckDialog.h"
#include "spelling/ui/SpellConfigDialog.h"
#include "spelling/ui/SpellMarks.h"
#include "spelling/ui/Speller.h"
#include "platform/System.h"
#include "tests/spelling/FixtureDictionary.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QLineEdit>
#include <QMenu>
#include <unistd.h>
#include <cstdlib>
#include <fstream>
#include <filesystem>

namespace vlrtest {
namespace {

using namespace vlr::spelling;

class SpellingTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        WriteFixtureDictionary(work / "dicts", kFixtureWords);
        speller = std::make_unique<Speller>(appDir.string() + "/", (work / "dicts").string());
        SpellOptions o = speller->Options();
        o.language = "en_TEST";
        speller->SetOptions(o);
        Speller::Use(speller.get());
        speller->askOverride = [this](const SpellQuestion& q) {
            asked.push_back(q.word);
            if (q.word == "wrld")
                return SpellDecision{SpellAction::Change, "world"};
            return SpellDecision{SpellAction::Ignore, {}};
        };
    }
    void TearDown() override {
        Speller::Use(nullptr);
        EditorTest::TearDown();
    }
    std::unique_ptr<Speller> speller;
    std::vector<std::string> asked;
};

TEST_F(SpellingTest, TheContextMenuChecksTheWholeDocumentAsUndoSteps) {
    vlr::TFrmEditor* e = NewEditor();
    ASSERT_NE(e, nullptr);
    e->memo().engine().setText("<p class=\"wrld\">hello wrld</p>\n<p>the hous</p>");
    ASSERT_TRUE(e->CheckSpelling1->isEnabled());
    e->CheckSpelling1->trigger();
    EXPECT_EQ(asked, (std::vector<std::string>{"wrld", "hous"}));
    EXPECT_EQ(Text(e), "<p class=\"wrld\">hello world</p>\r<p>the hous</p>");
    EXPECT_TRUE(e->memo().engine().canUndo());
    e->memo().engine().undo();
    EXPECT_EQ(Text(e), "<p class=\"wrld\">hello wrld</p>\r<p>the hous</p>");
    EXPECT_TRUE(Errors().empty());
}

TEST_F(SpellingTest, TheSpellingButtonChecksTheActiveEditorWindow) {
    vlr::TFrmEditor* e = NewEditor();
    ASSERT_NE(e, nullptr);
    e->memo().engine().setText("<p>wrld</p>");
    ASSERT_TRUE(Enabled("CheckSpelling1"));
    main->action("CheckSpelling1")->trigger();
    EXPECT_EQ(Text(e), "<p>world</p>");
}

TEST_F(SpellingTest, AMissingDictionaryIsReportedAndTheTextStays) {
    SpellOptions o = speller->Options();
    o.language = "xx_NONE";
    speller->SetOptions(o);
    vlr::TFrmEditor* e = NewEditor();
    e->memo().engine().setText("<p>wrld</p>");
    e->CheckSpelling1->trigger();
    EXPECT_EQ(Text(e), "<p>wrld</p>");
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_EQ(Errors()[0].method, "TFrmEditor.CheckSpelling1Click");
    EXPECT_NE(Errors()[0].message.find("xx_NONE"), std::string::npos);
}

TEST_F(SpellingTest, TheSuggestionsDialogShowsTheWordInItsSentence) {
    TSpellCheckDialog d;
    SpellQuestion q;
    q.word = "hous";
    q.sentence = "The hous is <here>.";
    q.wordOffset = 4;
    q.suggestions = {"house", "hours"};
    d.Fill(q);
    EXPECT_EQ(d.SentenceLabel->text(),
              "The <b><font color=\"#c00000\">hous</font></b> is &lt;here&gt;.");
    EXPECT_EQ(d.SuggestionList->count(), 2);
    EXPECT_EQ(d.ChangeToEdit->text(), "house");
    if (const char* shots = std::getenv("VELORA_SCREENSHOTS"))
        d.grab().save(QString::fromUtf8(shots) + "/spelling-suggestions.png");
}

TEST_F(SpellingTest, TheConfigurationDialogEditsUserWordsAndSwitchesForTheNextStart) {
    speller->AddWord("alpha");
    speller->AddWord("bravo");
    TSpellConfigDialog d(*speller);
    EXPECT_EQ(d.LanguageBox->currentText(), "en_TEST");
    ASSERT_EQ(d.UserWordList->count(), 2);
    d.UserWordList->setCurrentRow(0);
    d.RemoveButton->click();
    d.UserWordList->item(0)->setText("charlie");
    d.BackgroundCheck->setChecked(false);
    d.DigitsCheck->setChecked(false);
    ASSERT_TRUE(d.Apply());

    Speller next(appDir.string() + "/", (work / "dicts").string());
    EXPECT_EQ(next.Options().language, "en_TEST");
    EXPECT_FALSE(next.Options().background);
    EXPECT_TRUE(next.Options().skipCapitals);
    EXPECT_FALSE(next.Options().skipDigits);
    EXPECT_EQ(next.Dictionary().UserWords(), std::vector<std::string>{"charlie"});
    EXPECT_FALSE(next.Dictionary().Check("alpha"));
    if (const char* shots = std::getenv("VELORA_SCREENSHOTS"))
        d.grab().save(QString::fromUtf8(shots) + "/spelling-options.png");
}

TEST_F(SpellingTest, WithBackgroundCheckingOffNothingIsMarked) {
    SpellOptions o = speller->Options();
    o.background = false;
    speller->SetOptions(o);
    vlr::TFrmEditor* e = NewEditor();
    e->memo().engine().setText("<p>hello wrld</p>");
    e->spellMarks()->Settle();
    EXPECT_TRUE(e->spellMarks()->Marks().empty());
}

using Marks = std::vector<std::pair<velora::memo::Pos, velora::memo::Pos>>;

TEST_F(SpellingTest, BackgroundMarksFollowTheTextAndTypingOnlyFlagsLines) {
    vlr::TFrmEditor* e = NewEditor();
    ASSERT_NE(e->spellMarks(), nullptr);
    TSpellMarks& marks = *e->spellMarks();
    velora::memo::MemoEngine& m = e->memo().engine();
    m.setText("<p class=\"wrld\">hello wrld</p>\n<p>the hous</p>");
    marks.Settle();
    EXPECT_EQ(marks.Marks(), (Marks{{22, 26}, {38, 42}}));
    if (const char* shots = std::getenv("VELORA_SCREENSHOTS"))
        e->grab().save(QString::fromUtf8(shots) + "/spelling-underlines.png");

    // A keystroke flags its line and checks nothing.
    m.setSelection(42, 42);
    m.typeText("e");
    EXPECT_EQ(marks.Marks(), (Marks{{22, 26}}));
    EXPECT_TRUE(m.store().record(m.store().locate(40).ref).flags & velora::memo::kRecSpellPending);
    marks.Settle();
    EXPECT_EQ(marks.Marks(), (Marks{{22, 26}}));
    EXPECT_FALSE(m.store().record(m.store().locate(40).ref).flags & velora::memo::kRecSpellPending);

    // Undo brings the mark back.
    m.undo();
    marks.Settle();
    EXPECT_EQ(marks.Marks(), (Marks{{22, 26}, {38, 42}}));
}

TEST_F(SpellingTest, TheContextMenuOfAMarkedWordOffersSuggestionsAndAddToDictionary) {
    vlr::TFrmEditor* e = NewEditor();
    TSpellMarks& marks = *e->spellMarks();
    velora::memo::MemoEngine& m = e->memo().engine();
    m.setText("<p>hello wrld and zzqx</p>");
    marks.Settle();
    ASSERT_EQ(marks.Marks(), (Marks{{9, 13}, {18, 22}}));

    e->OfferSpelling(e->memo().pointAt(10));
    const QList<QAction*> items = e->PopupMenu1->actions();
    ASSERT_GE(items.size(), 3);
    EXPECT_EQ(items[0]->text(), "world");
    e->OfferSpelling(e->memo().pointAt(10));  // offering again does not pile up items
    EXPECT_EQ(e->PopupMenu1->actions().size(), items.size());
    e->PopupMenu1->actions()[0]->trigger();
    EXPECT_EQ(Text(e), "<p>hello world and zzqx</p>");
    m.undo();
    EXPECT_EQ(Text(e), "<p>hello wrld and zzqx</p>");

    e->OfferSpelling(e->memo().pointAt(19));
    QAction* add = nullptr;
    for (QAction* a : e->PopupMenu1->actions())
        if (a->objectName() == "AddToDictionary")
            add = a;
    ASSERT_NE(add, nullptr);
    add->trigger();
    marks.Settle();
    EXPECT_EQ(marks.Marks(), (Marks{{9, 13}}));
    // The word is in the user dictionary for the next run of the program.
    Speller again(appDir.string() + "/", (work / "dicts").string());
    EXPECT_TRUE(again.Dictionary().Check("zzqx"));

    // Off the marked words the menu is as it was.
    e->OfferSpelling(e->memo().pointAt(4));
    EXPECT_EQ(e->PopupMenu1->actions()[0], e->Undo1);
    EXPECT_TRUE(Errors().empty());
}

// The program's speller writes its settings and the user's words where the
// program may write: beside a build's program, in the user's folder once installed.
TEST(SpellerFolder, TheRunFolderOrTheUsersFolderOfAnInstalledProgram) {
    const std::filesystem::path app = std::filesystem::temp_directory_path() / ("vlr_speller_app_" + std::to_string(::getpid()));
    const std::filesystem::path config = app.string() + "_config";
    std::filesystem::remove_all(app);
    std::filesystem::create_directories(app);
    const char* oldApp = std::getenv("VELORA_APPDIR");
    const std::string keep = oldApp ? oldApp : "";
    ::setenv("VELORA_APPDIR", app.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    EXPECT_EQ(Speller::DefaultFolder(), app.string() + "/");
    std::ofstream(app / vlr::kInstalledMarker) << "installed\n";
    EXPECT_EQ(Speller::DefaultFolder(), config.string() + "/velora/");
    ::unsetenv("XDG_CONFIG_HOME");
    if (oldApp)
        ::setenv("VELORA_APPDIR", keep.c_str(), 1);
    else
        ::unsetenv("VELORA_APPDIR");
    std::filesystem::remove_all(app);
    std::filesystem::remove_all(config);
}

}  // namespace
}  // namespace vlrtest
