// "&Check Spelling" of the editor window's context menu and the main window's
// Spelling button: the whole document checked against a fixture dictionary,
// each change an undo step, a missing dictionary reported without harm.
#include "EditorFixture.h"

#include "spelling/ui/SpellCheckDialog.h"
#include "spelling/ui/Speller.h"
#include "tests/spelling/FixtureDictionary.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QLineEdit>

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

}  // namespace
}  // namespace vlrtest
