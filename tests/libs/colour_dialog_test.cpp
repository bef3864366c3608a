// ColDlgInitEx: the colour dialog answers "#RRGGBB" into the caller's buffer,
// never beyond its size, and leaves the buffer alone when cancelled.
#include "ModuleTestSupport.h"

#include "libs/EntryPoints.h"

#include <QColorDialog>

#include <gtest/gtest.h>

#include <cstring>

using namespace vlrtest;

namespace {

std::int32_t Pick(char* buffer, std::int32_t size) {
    return Entry<ColDlgInitExFn>("coldlg", "ColDlgInitEx")(buffer, size);
}

TEST(ColourDialog, OkWritesUpperCaseHexWithItsZeroAndNothingMore) {
    App();
    char buffer[101];
    std::memset(buffer, 'x', sizeof buffer);
    ModalDriver driver([](QWidget* w) {
        auto* dialog = qobject_cast<QColorDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->setCurrentColor(QColor(0x12, 0xab, 0xef));
        dialog->accept();
    });
    EXPECT_EQ(Pick(buffer, 101), 1);
    EXPECT_TRUE(driver.acted());
    EXPECT_STREQ(buffer, "#12ABEF");
    EXPECT_EQ(buffer[8], 'x');
}

TEST(ColourDialog, CancelAnswersZeroAndStartsFromTheColourInTheBuffer) {
    App();
    char buffer[101] = "#FF8000";
    QColor shown;
    ModalDriver driver([&](QWidget* w) {
        auto* dialog = qobject_cast<QColorDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        shown = dialog->currentColor();
        dialog->setCurrentColor(Qt::blue);
        dialog->reject();
    });
    EXPECT_EQ(Pick(buffer, 101), 0);
    EXPECT_TRUE(driver.acted());
    EXPECT_EQ(shown, QColor(0xFF, 0x80, 0x00));
    EXPECT_STREQ(buffer, "#FF8000");
}

TEST(ColourDialog, ABufferTooSmallForTheAnswerIsRefusedBeforeAnythingShows) {
    App();
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    {
        ModalDriver refused([](QWidget* w) { w->close(); });
        EXPECT_EQ(Pick(buffer, 7), 0);
        EXPECT_EQ(Pick(nullptr, 101), 0);
        EXPECT_EQ(Pick(buffer, -1), 0);
        Settle();
        EXPECT_FALSE(refused.acted());
    }
    EXPECT_EQ(std::string(buffer, 8), std::string(8, 'x'));

    // Exactly room for "#RRGGBB" and the zero.
    ModalDriver exact([](QWidget* w) {
        auto* dialog = qobject_cast<QColorDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->setCurrentColor(QColor(0, 0, 0));
        dialog->accept();
    });
    EXPECT_EQ(Pick(buffer, 8), 1);
    EXPECT_EQ(std::string(buffer, 8), std::string("#000000\0", 8));
}

TEST(ColourDialog, UnderLoggedPromptsAnswersZeroWithoutShowing) {
    App();
    ScopedEnv logged("VELORA_PROMPTS", "log");
    char buffer[101] = "#123456";
    ModalDriver driver([](QWidget* w) { w->close(); });
    EXPECT_EQ(Pick(buffer, 101), 0);
    Settle();
    EXPECT_FALSE(driver.acted());
    EXPECT_STREQ(buffer, "#123456");
}

}  // namespace
