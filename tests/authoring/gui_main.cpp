// Test runner: a widget application on the offscreen platform for the dialog tests.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // These tests answer the dialogs themselves; the one about logged prompts switches logging on.
    qunsetenv("VELORA_PROMPTS");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
