// The "Change Case" dialog driven without showing it.
#include "editor/case/FrmCase.h"

#include <QDialog>
#include <QScreen>
#include <QWidget>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <cstdlib>

namespace vlr {
namespace {

TEST(FrmCase, CaptionsAndInitialChoice) {
    TFrmCase dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Change Case"));
    EXPECT_EQ(dialog.RadioButton1->text(), QStringLiteral("&lower case"));
    EXPECT_EQ(dialog.RadioButton2->text(), QStringLiteral("&UPPER CASE"));
    EXPECT_EQ(dialog.RadioButton3->text(), QStringLiteral("tO&GGLE cASE"));
    EXPECT_EQ(dialog.RadioButton4->text(), QStringLiteral("&Title Case"));
    EXPECT_EQ(dialog.Button1->text(), QStringLiteral("&OK"));
    EXPECT_EQ(dialog.Button2->text(), QStringLiteral("&Cancel"));
    EXPECT_TRUE(dialog.Button1->isDefault());
    EXPECT_FALSE(dialog.Button2->isDefault());
    EXPECT_TRUE(dialog.RadioButton2->isChecked());
    EXPECT_FALSE(dialog.RadioButton1->isChecked() || dialog.RadioButton3->isChecked() ||
                 dialog.RadioButton4->isChecked());
    EXPECT_EQ(dialog.Choice(), CaseChoice::Upper);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST(FrmCase, ShownCentredOnTheScreenWithAFixedSize) {
    // An owner window away from the centre: the dialog still centres on the screen.
    QWidget owner;
    owner.setGeometry(10, 10, 200, 150);
    owner.show();
    TFrmCase dialog(&owner);
    dialog.show();
    ASSERT_NE(dialog.screen(), nullptr);
    EXPECT_EQ(dialog.frameGeometry().center(), dialog.screen()->availableGeometry().center());
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    dialog.hide();
}

TEST(FrmCase, GlobalRefersToTheDialogWhileItExists) {
    EXPECT_EQ(FrmCase, nullptr);
    {
        TFrmCase dialog;
        EXPECT_EQ(FrmCase, &dialog);
    }
    EXPECT_EQ(FrmCase, nullptr);
}

TEST(FrmCase, OkGivesTheCheckedChoice) {
    const CaseChoice choices[] = {CaseChoice::Lower, CaseChoice::Upper, CaseChoice::Toggle, CaseChoice::Title};
    for (CaseChoice choice : choices) {
        TFrmCase dialog;
        EXPECT_EQ(dialog.Result(), std::nullopt);  // not closed yet
        dialog.SetChoice(choice);
        dialog.Button1->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Result(), choice);
    }
    // Each dialog starts afresh: the last choice is not remembered.
    TFrmCase next;
    EXPECT_EQ(next.Choice(), CaseChoice::Upper);
}

TEST(FrmCase, ClickingARadioButtonSelectsItsConversion) {
    TFrmCase dialog;
    dialog.RadioButton4->click();
    EXPECT_EQ(dialog.Choice(), CaseChoice::Title);
    EXPECT_FALSE(dialog.RadioButton2->isChecked());
    dialog.RadioButton3->click();
    dialog.accept();
    EXPECT_EQ(dialog.Result(), CaseChoice::Toggle);
}

TEST(FrmCase, CancelAndRejectGiveNoChoice) {
    TFrmCase cancelled;
    cancelled.SetChoice(CaseChoice::Title);
    cancelled.Button2->click();
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_EQ(cancelled.Result(), std::nullopt);

    TFrmCase escaped;  // Escape and the window's close button both reject
    escaped.reject();
    EXPECT_EQ(escaped.Result(), std::nullopt);
}

TEST(FrmCase, LoggedPromptsAnswerCancelWithoutShowing) {
    ::setenv("VELORA_PROMPTS", "log", 1);
    testing::internal::CaptureStderr();
    std::optional<CaseChoice> answer = TFrmCase::Ask(nullptr);
    std::string log = testing::internal::GetCapturedStderr();
    ::unsetenv("VELORA_PROMPTS");
    EXPECT_EQ(answer, std::nullopt);
    EXPECT_EQ(log, "[dialog] Change Case\n");
    EXPECT_EQ(FrmCase, nullptr);
}

}  // namespace
}  // namespace vlr
