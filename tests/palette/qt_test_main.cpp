// Runs the widget tests inside a QApplication, on Qt's offscreen platform
// unless QT_QPA_PLATFORM says otherwise (test discovery runs the program
// without the tests' environment).
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
