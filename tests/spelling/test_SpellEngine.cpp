// The spell-check engine: the dictionaries (main, user, ignored), which words
// of an HTML page are looked at, and the modal check's answers carried out on
// a control.
#include "FixtureDictionary.h"

#include "memo/engine/MemoEngine.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/HtmlScanners.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"
#include "spelling/engine/SpellCheck.h"
#include "spelling/engine/SpellDictionary.h"
#include "spelling/engine/SpellSettings.h"
#include "spelling/engine/SpellWords.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using namespace vlr::spelling;
using velora::memo::MemoEngine;

class SpellEngine : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("spell-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        vlrtest::WriteFixtureDictionary(folder, vlrtest::kFixtureWords);
        parser.Script = VELORA_HTML_SCHEME_SCRIPT;
        parser.CompileScript();
        vlr::UseHtmlScanners(parser);
        ASSERT_EQ(parser.Compile(), "Compiled");
    }
    void TearDown() override { fs::remove_all(folder); }

    std::unique_ptr<SpellDictionary> Open() {
        return std::make_unique<SpellDictionary>(folder.string(), "en_TEST", (folder / "user.dic").string());
    }
    void Load(const std::string& text) {
        engine.setText(text);
        vlr::AttachHighlighter(engine, parser);
    }
    // The misspelt words of the page, in order.
    std::vector<std::string> Misspelt(SpellDictionary& d) {
        std::vector<std::string> out;
        RunSpellCheck(engine, d, options, [&](const SpellQuestion& q) {
            out.push_back(q.word);
            return SpellDecision{SpellAction::Ignore, {}};
        });
        return out;
    }

    fs::path folder;
    vlr::TSyntaxMemoParser parser;
    MemoEngine engine;
    SpellOptions options;
};

TEST_F(SpellEngine, MainDictionaryAffixesAndUtf8Words) {
    auto d = Open();
    EXPECT_TRUE(d->Check("house"));
    EXPECT_TRUE(d->Check("houses"));
    EXPECT_TRUE(d->Check("café"));
    EXPECT_FALSE(d->Check("cafe"));
    EXPECT_FALSE(d->Check("hous"));
    const auto s = d->Suggest("hous");
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(s.front(), "house");
    EXPECT_LE(d->Suggest("cafe", 1).size(), 1u);
    EXPECT_EQ(d->Suggest("caffe").empty() ? "" : d->Suggest("caffe").front(), "café");
}

TEST_F(SpellEngine, AMissingDictionaryIsAClearError) {
    EXPECT_THROW(SpellDictionary(folder.string(), "xx_NONE", ""), ESpellError);
    EXPECT_THROW(SpellDictionary(folder.string(), "", ""), ESpellError);
}

TEST_F(SpellEngine, UserWordsPersistAndIgnoredWordsDoNot) {
    {
        auto d = Open();
        EXPECT_FALSE(d->Check("Velora"));
        d->AddToUser("Velora");
        d->AddToUser("naïve");
        d->IgnoreAll("zzq");
        EXPECT_TRUE(d->Check("Velora"));
        EXPECT_TRUE(d->Check("zzq"));
    }
    auto again = Open();
    EXPECT_TRUE(again->Check("Velora"));
    EXPECT_TRUE(again->Check("naïve"));
    EXPECT_FALSE(again->Check("zzq"));
    again->RemoveFromUser("Velora");
    EXPECT_FALSE(Open()->Check("Velora"));
    EXPECT_EQ(Open()->UserWords(), std::vector<std::string>{"naïve"});
}

TEST_F(SpellEngine, AnUnwritableUserFileKeepsTheWordsAsTheyWere) {
    std::ofstream(folder / "blocker") << "a file where a folder should be";
    SpellDictionary d(folder.string(), "en_TEST", (folder / "blocker" / "user.dic").string());
    EXPECT_THROW(d.AddToUser("Velora"), ESpellError);
    EXPECT_FALSE(d.Check("Velora"));
    EXPECT_TRUE(d.UserWords().empty());
}

TEST_F(SpellEngine, OnlyProseIsChecked) {
    // The text of a title or textarea is prose like the body's, in a state of its own.
    Load("<html><head><title>This sentnce <%Varname%></title><style>p { colr: red; }</style>\n"
         "<script>var wrongg = 1;</script></head>\n"
         "<body class=\"clas\"><!-- a commnt --><p>Teh Hello wrld or &nbsp; &eacute; <%Varname%>\n"
         "see http://exmple.com/pagge and www.exmple.org or nme@hst.net and imgs/pictur.gif\n"
         "a <a hreff=\"x.html\">link</a> and <b>bld</b>text NASA r2d2.</p>\n"
         "<textarea name=\"nme\">some txt &amp; <&incld.hsn&></textarea></body></html>");
    auto d = Open();
    EXPECT_EQ(Misspelt(*d), (std::vector<std::string>{"sentnce", "Teh", "wrld", "bld", "txt"}));
}

TEST_F(SpellEngine, SwitchesForCapitalsAndDigits) {
    Load("<p>NASA r2d2 Hello</p>");
    auto d = Open();
    options.skipCapitals = false;
    options.skipDigits = false;
    EXPECT_EQ(Misspelt(*d), (std::vector<std::string>{"NASA", "r2d2"}));
}

TEST_F(SpellEngine, WithoutASchemeEverythingIsText) {
    engine.setText("<b>wrd</b> the");
    auto d = Open();
    // "</b>" reads as a path, so only the opening tag's name is asked about.
    EXPECT_EQ(Misspelt(*d), (std::vector<std::string>{"b", "wrd"}));
}

TEST_F(SpellEngine, ChangeAllIgnoreAllAndUndo) {
    Load("<p>the wrd and wrd, the hous and hous.</p>");
    auto d = Open();
    std::vector<std::string> asked;
    const SpellRunResult r = RunSpellCheck(engine, *d, options, [&](const SpellQuestion& q) {
        asked.push_back(q.word);
        if (q.word == "wrd")
            return SpellDecision{SpellAction::ChangeAll, "word"};
        return SpellDecision{SpellAction::IgnoreAll, {}};
    });
    EXPECT_EQ(asked, (std::vector<std::string>{"wrd", "hous"}));
    EXPECT_EQ(r.changes, 2);
    EXPECT_FALSE(r.cancelled);
    EXPECT_EQ(engine.text(), "<p>the word and word, the hous and hous.</p>");
    engine.undo();
    EXPECT_EQ(engine.text(), "<p>the word and wrd, the hous and hous.</p>");
    engine.undo();
    EXPECT_EQ(engine.text(), "<p>the wrd and wrd, the hous and hous.</p>");
}

TEST_F(SpellEngine, CancelKeepsWhatWasChangedAndAddPersists) {
    Load("<p>Wrld one hous two zork</p>");
    auto d = Open();
    int n = 0;
    const SpellRunResult r = RunSpellCheck(engine, *d, options, [&](const SpellQuestion& q) {
        ++n;
        if (q.word == "Wrld")
            return SpellDecision{SpellAction::Change, "World"};
        if (q.word == "one")
            return SpellDecision{SpellAction::Add, {}};
        return SpellDecision{SpellAction::Cancel, {}};
    });
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(n, 3);  // Wrld, one, hous (cancelled); "two" and "zork" are never reached
    EXPECT_EQ(engine.text(), "<p>World one hous two zork</p>");
    EXPECT_TRUE(Open()->Check("one"));
}

TEST_F(SpellEngine, TheQuestionShowsTheSentenceWithoutMarkup) {
    Load("<p>First one. The <b>hous</b> is here! Next.</p>");
    auto d = Open();
    SpellQuestion asked;
    RunSpellCheck(engine, *d, options, [&](const SpellQuestion& q) {
        if (q.word == "hous") {
            asked = q;
            asked.Suggest();
        }
        return SpellDecision{SpellAction::Ignore, {}};
    });
    EXPECT_EQ(asked.sentence, "The hous is here!");
    EXPECT_EQ(asked.sentence.substr(asked.wordOffset, 4), "hous");
    EXPECT_FALSE(asked.suggestions.empty());
    EXPECT_LE(asked.suggestions.size(), kMaxSuggestions);
}

TEST_F(SpellEngine, SettingsRoundTripAndDefaults) {
    const std::string path = (folder / kSettingsFile).string();
    EXPECT_EQ(ReadSpellOptions(path).language, "en_US");
    SpellOptions o;
    o.language = "en_TEST";
    o.background = false;
    o.skipDigits = false;
    ASSERT_TRUE(WriteSpellOptions(path, o));
    const SpellOptions back = ReadSpellOptions(path);
    EXPECT_EQ(back.language, "en_TEST");
    EXPECT_FALSE(back.background);
    EXPECT_TRUE(back.skipCapitals);
    EXPECT_FALSE(back.skipDigits);
    EXPECT_EQ(InstalledLanguages(folder.string()), std::vector<std::string>{"en_TEST"});
}

}  // namespace
