// The "Insert Style" dialog: captions, initial form, the answer of Ask.
#include "authoring/FrmStylePick.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

namespace vlr {
namespace {

using authoring::StyleForm;

// Runs Ask while `act` answers the dialog once it is shown.
std::optional<StyleForm> AskAnswering(std::function<void(TFrmStylePick&)> act, bool* sawGlobal = nullptr) {
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto* d = qobject_cast<TFrmStylePick*>(QApplication::activeModalWidget())) {
            timer.stop();
            if (sawGlobal)
                *sawGlobal = FrmStylePick == d && d->parent() == nullptr;
            act(*d);
        }
    });
    timer.start(5);
    return TFrmStylePick::Ask();
}

TEST(FrmStylePick, CaptionsAndInitialForm) {
    TFrmStylePick dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Insert Style"));
    EXPECT_EQ(dialog.RadioButton1->text(), QStringLiteral("Full Style Tag"));
    EXPECT_EQ(dialog.RadioButton2->text(), QStringLiteral("Style Definition"));
    EXPECT_EQ(dialog.RadioButton3->text(), QStringLiteral("Style Attribute"));
    EXPECT_EQ(dialog.Button1->text(), QStringLiteral("&OK"));
    EXPECT_EQ(dialog.Button2->text(), QStringLiteral("&Cancel"));
    EXPECT_TRUE(dialog.RadioButton1->isChecked());
    EXPECT_EQ(dialog.Form(), StyleForm::FullStyleTag);
    dialog.show();
    ASSERT_NE(dialog.screen(), nullptr);
    EXPECT_EQ(dialog.frameGeometry().center(), dialog.screen()->availableGeometry().center());
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    dialog.hide();
}

TEST(FrmStylePick, AskAnswersTheCheckedFormOnOkAndNothingOnCancel) {
    bool global = false;
    EXPECT_EQ(AskAnswering([](TFrmStylePick& d) {
                  d.RadioButton3->click();
                  d.Button1->click();
              }, &global),
              StyleForm::StyleAttribute);
    EXPECT_TRUE(global);
    EXPECT_EQ(FrmStylePick, nullptr);
    EXPECT_EQ(AskAnswering([](TFrmStylePick& d) {
                  d.RadioButton2->click();
                  d.Button1->click();
              }),
              StyleForm::StyleDefinition);
    EXPECT_EQ(AskAnswering([](TFrmStylePick& d) { d.Button1->click(); }), StyleForm::FullStyleTag);
    EXPECT_EQ(AskAnswering([](TFrmStylePick& d) {
                  d.RadioButton2->click();
                  d.Button2->click();
              }),
              std::nullopt);
    EXPECT_EQ(AskAnswering([](TFrmStylePick& d) { d.reject(); }), std::nullopt);
}

TEST(FrmStylePick, LoggedPromptsAnswerCancelWithoutShowing) {
    ::setenv("VELORA_PROMPTS", "log", 1);
    testing::internal::CaptureStderr();
    std::optional<StyleForm> answer = TFrmStylePick::Ask();
    std::string log = testing::internal::GetCapturedStderr();
    ::unsetenv("VELORA_PROMPTS");
    EXPECT_EQ(answer, std::nullopt);
    EXPECT_EQ(log, "[dialog] Insert Style\n");
}

}  // namespace
}  // namespace vlr
