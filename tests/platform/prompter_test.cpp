#include "platform/Prompter.h"
#include "platform/ScriptedPrompter.h"
#include "platform/System.h"

#include <gtest/gtest.h>

namespace {

TEST(Prompter, KindWordsBeepThenShowTheirBox) {
    vlr::ScriptedPrompter p;
    p.QueueAnswer(vlr::ModalResult::No);
    EXPECT_EQ(vlr::ShowKindMessage("Question", "Go on?", vlr::BtnYesNo), vlr::ModalResult::No);
    EXPECT_EQ(vlr::ShowKindMessage("Error", "Bad", vlr::BtnOk), vlr::ModalResult::Ok);
    ASSERT_EQ(p.prompts().size(), 4u);
    EXPECT_EQ(p.prompts()[0].type, vlr::RecordedPrompt::Beep);
    EXPECT_EQ(p.prompts()[0].beep, vlr::BeepKind::Question);
    EXPECT_EQ(p.prompts()[1].kind, vlr::MessageKind::Confirmation);
    EXPECT_EQ(p.prompts()[1].text, "Go on?");
    EXPECT_EQ(p.prompts()[2].beep, vlr::BeepKind::Hand);
    EXPECT_EQ(p.prompts()[3].kind, vlr::MessageKind::Error);
    // Any other kind word shows nothing.
    EXPECT_EQ(vlr::ShowKindMessage("question", "x", vlr::BtnOk), vlr::ModalResult::None);
    EXPECT_EQ(p.prompts().size(), 4u);
}

TEST(Prompter, DefaultAnswersAndCancelledDialogs) {
    vlr::ScriptedPrompter p;
    EXPECT_EQ(vlr::ShowMessage(vlr::MessageKind::Confirmation, "Confirm", "Save?", vlr::BtnYesNoCancel),
              vlr::ModalResult::Yes);
    EXPECT_EQ(vlr::DefaultAnswer(vlr::BtnOkCancel), vlr::ModalResult::Ok);
    // A box may name its own default among its buttons; one it lacks is ignored.
    vlr::MessageBoxRequest risky;
    risky.buttons = vlr::BtnYesNo;
    risky.defaultAnswer = vlr::ModalResult::No;
    EXPECT_EQ(p.MessageBox(risky), vlr::ModalResult::No);
    risky.defaultAnswer = vlr::ModalResult::Cancel;
    EXPECT_EQ(vlr::DefaultAnswer(risky), vlr::ModalResult::Yes);
    vlr::FileDialogRequest r;
    r.title = "Open";
    EXPECT_FALSE(vlr::OpenFile(r).has_value());
    p.QueueFile("/tmp/a.hts");
    EXPECT_EQ(vlr::OpenFile(r).value(), "/tmp/a.hts");
    EXPECT_EQ(p.prompts().back().caption, "Open");
}

TEST(Prompter, FiltersBecomeQtFilters) {
    EXPECT_EQ(vlr::QtFilterFrom("All Palettes (*.act, *.pal)|*.act;*.pal|Palette File (.pal)|*.pal"),
              "All Palettes (*.act, *.pal) (*.act *.pal);;Palette File (.pal) (*.pal)");
    EXPECT_EQ(vlr::QtFilterFrom(""), "");
}

}  // namespace
