// The first start's question of the key scheme, answered through the scripted prompter: the
// answer is recorded in the preferences, the menus take its keys, and it is asked only once.
#include "ShellFixture.h"

#include "app/commands/KeySchemeCommands.h"

#include <QAction>

namespace vlrtest {
namespace {

QList<QKeySequence> Keys(vlr::TFrmMainVLR& w, const char* action) { return w.action(action)->shortcuts(); }

TEST_F(ShellTest, TheFirstStartAsksForTheKeySchemeOnce) {
    struct Case {
        vlr::ModalResult answer;
        const char* recorded;
        QList<QKeySequence> redo;
    };
    const Case cases[] = {
        {vlr::ModalResult::Yes, "Desktop", {QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}},
        {vlr::ModalResult::No, "Classic", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.recorded);
        WritePreferences("[Environment]\nNewEditor=0\n");
        prompter->Clear();
        prompter->QueueAnswer(c.answer);
        auto w = NewMainWindow(false);
        vlr::AskKeySchemeOnce(w->Commands(), w->PreferencesPath());
        ASSERT_EQ(prompter->messages().size(), 1u);
        const vlr::RecordedPrompt q = prompter->messages()[0];  // a copy: messages() is a new list
        EXPECT_EQ(q.caption, vlr::kKeySchemeCaption);
        EXPECT_EQ(q.text, vlr::kKeySchemeQuestion);
        EXPECT_EQ(q.buttons, unsigned(vlr::BtnYesNo));
        EXPECT_NE(ReadPreferences().find(std::string("[Keys]\nScheme=") + c.recorded), std::string::npos);
        EXPECT_EQ(Keys(*w, "Redo1"), c.redo);
        // Asked once: the next start takes the recorded scheme without a word.
        w.reset();
        prompter->Clear();
        auto again = NewMainWindow(false);
        vlr::AskKeySchemeOnce(again->Commands(), again->PreferencesPath());
        EXPECT_TRUE(prompter->messages().empty());
        EXPECT_EQ(Keys(*again, "Redo1"), c.redo);
    }
}

TEST_F(ShellTest, AnUnansweredKeySchemeQuestionKeepsTheClassicKeys) {
    auto w = NewMainWindow(false);
    vlr::AskKeySchemeOnce(w->Commands(), w->PreferencesPath());  // no scripted answer: the box's default, No
    EXPECT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(vlr::ReadKeySchemeChoice((appDir / "preferences.dat").string()), vlr::KeySchemeChoice::Classic);
    EXPECT_EQ(Keys(*w, "Hyperlink1"), QList<QKeySequence>{QKeySequence("Ctrl+A")});
}

}  // namespace
}  // namespace vlrtest
