// IViewDisp: pictures open in viewer windows of the main window's document
// area, which report the "graphic" document kind when they become active;
// files that are not pictures are reported and open nothing.
#include "ModuleTestSupport.h"

#include "libs/EntryPoints.h"
#include "platform/ScriptedPrompter.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

#include <fstream>

using namespace vlrtest;

namespace {

std::string Picture(const TempAppDir& dir, const std::string& name, int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor(30, 120, 200, 200));
    std::string path = dir.file(name);
    EXPECT_TRUE(image.save(QString::fromStdString(path), "PNG"));
    return path;
}

void Show(const FakeMainWindow& main, const std::string& path) {
    Entry<IViewDispFn>("iview", "IViewDisp")(0, path.c_str(), main.handle());
    Settle();
}

QAbstractScrollArea* Canvas(QMdiSubWindow* sub) {
    return sub->widget()->findChild<QAbstractScrollArea*>(QStringLiteral("ImageCanvas"));
}

double Zoom(QMdiSubWindow* sub) { return Canvas(sub)->property("zoom").toDouble(); }

void Trigger(QMdiSubWindow* sub, const char* action) {
    auto* a = sub->widget()->findChild<QAction*>(QLatin1String(action));
    ASSERT_NE(a, nullptr) << action;
    a->trigger();
}

TEST(ImageViewer, APictureOpensInARegisteredChildWindowThatReportsGraphic) {
    TempAppDir dir;
    FakeMainWindow main;
    main.show();
    std::string path = Picture(dir, "logo.png", 40, 30);
    Show(main, path);

    ASSERT_EQ(main.area()->subWindowList().size(), 1);
    QMdiSubWindow* sub = main.area()->subWindowList().front();
    EXPECT_EQ(sub->windowTitle(), QStringLiteral("logo.png"));
    vlr::Handle viewer = sub->widget()->property("vlrHandle").value<vlr::Handle>();
    EXPECT_EQ(vlr::GetClassName(viewer), "TFrmImageView");
    EXPECT_EQ(main.kinds(), std::vector<std::string>{"graphic"});

    // Becoming active again reports again; closing the last document reports none.
    QMdiSubWindow* other = main.area()->addSubWindow(new QWidget);
    other->show();
    main.area()->setActiveSubWindow(other);
    main.area()->setActiveSubWindow(sub);
    EXPECT_EQ(main.kinds(), (std::vector<std::string>{"graphic", "graphic"}));
    other->close();
    Settle();
    sub->close();
    Settle();
    EXPECT_EQ(main.kinds(), (std::vector<std::string>{"graphic", "graphic", "none"}));
    EXPECT_TRUE(main.area()->subWindowList().isEmpty());
    EXPECT_FALSE(vlr::IsWindow(viewer));
}

TEST(ImageViewer, TheSameFileShownTwiceKeepsOneViewer) {
    TempAppDir dir;
    FakeMainWindow main;
    main.show();
    std::string path = Picture(dir, "a.png", 20, 20);
    Show(main, path);
    Show(main, path);
    EXPECT_EQ(main.area()->subWindowList().size(), 1);
    Show(main, Picture(dir, "b.png", 20, 20));
    EXPECT_EQ(main.area()->subWindowList().size(), 2);
}

TEST(ImageViewer, LargePicturesOpenReducedToFitSmallOnesAtFullSize) {
    TempAppDir dir;
    FakeMainWindow main;
    main.show();
    Show(main, Picture(dir, "small.png", 40, 30));
    Show(main, Picture(dir, "large.png", 3000, 2000));
    ASSERT_EQ(main.area()->subWindowList().size(), 2);
    QMdiSubWindow* small = main.area()->subWindowList()[0];
    QMdiSubWindow* large = main.area()->subWindowList()[1];

    EXPECT_DOUBLE_EQ(Zoom(small), 1.0);
    double z = Zoom(large);
    EXPECT_LT(z, 1.0);
    QSize room = Canvas(large)->maximumViewportSize();
    EXPECT_LE(3000 * z, room.width() + 0.5);
    EXPECT_LE(2000 * z, room.height() + 0.5);

    Trigger(small, "ZoomIn");
    EXPECT_DOUBLE_EQ(Zoom(small), 1.5);
    Trigger(small, "ZoomOut");
    Trigger(small, "ZoomOut");
    EXPECT_LT(Zoom(small), 1.0);
    Trigger(small, "ActualSize");
    EXPECT_DOUBLE_EQ(Zoom(small), 1.0);
    // Fit enlarges a small picture to fill the window.
    Trigger(small, "FitToWindow");
    EXPECT_GT(Zoom(small), 1.0);
    EXPECT_TRUE(Canvas(small)->property("fitting").toBool());
}

TEST(ImageViewer, WithoutADocumentAreaThePictureGetsAWindowOfItsOwn) {
    TempAppDir dir;
    FakeMainWindow main(false);
    main.show();
    Show(main, Picture(dir, "own.png", 16, 16));
    int viewers = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("TFrmImageView") && w->isVisible()) {
            ++viewers;
            EXPECT_EQ(w->windowTitle(), QStringLiteral("own.png"));
            w->close();
        }
    EXPECT_EQ(viewers, 1);
}

TEST(ImageViewer, AFileThatIsNoPictureIsReportedAndOpensNothing) {
    TempAppDir dir;
    FakeMainWindow main;
    main.show();
    vlr::ScriptedPrompter prompter;
    std::string bad = dir.file("broken.gif");
    std::ofstream(bad) << "GIF? no, plain text";
    std::string missing = dir.file("missing.jpg");
    Show(main, bad);
    Show(main, missing);

    auto messages = prompter.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].kind, vlr::MessageKind::Error);
    EXPECT_EQ(messages[0].text.rfind("Unable to display " + bad, 0), 0u) << messages[0].text;
    EXPECT_EQ(messages[1].text.rfind("Unable to display " + missing, 0), 0u) << messages[1].text;
    EXPECT_TRUE(main.area()->subWindowList().isEmpty());
    EXPECT_TRUE(main.kinds().empty());
}

}  // namespace

namespace {

// The picture size the viewer of a sub-window shows.
QSize ShownSize(QMdiSubWindow* sub) { return Canvas(sub)->property("imageSize").toSize(); }

}  // namespace

TEST(ImageViewer, WebpAndSvgPicturesAreShownToo) {
    TempAppDir dir;
    FakeMainWindow main;
    main.show();
    QImage webp(50, 20, QImage::Format_RGB32);
    webp.fill(Qt::red);
    const std::string webpPath = dir.file("banner.webp");
    ASSERT_TRUE(webp.save(QString::fromStdString(webpPath), "WEBP"));
    const std::string svgPath = dir.file("icon.svg");
    std::ofstream(svgPath) << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"24\" height=\"16\">"
                              "<rect width=\"24\" height=\"16\" fill=\"blue\"/></svg>";
    Show(main, webpPath);
    Show(main, svgPath);
    ASSERT_EQ(main.area()->subWindowList().size(), 2);
    EXPECT_EQ(ShownSize(main.area()->subWindowList()[0]), QSize(50, 20));
    EXPECT_EQ(ShownSize(main.area()->subWindowList()[1]), QSize(24, 16));
}
