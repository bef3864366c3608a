// Screenshot of the main window with the example site open, Build All done,
// and an editor window on the site's home page showing its preview page
// built by the project's build. Prints how long the preview took from the
// tab click to the first painted page.
//   preview_screenshot EXAMPLE.vlr OUT.png   (offscreen unless a display is set)
#include "app/shell/MainWindow.h"
#include "app/shell/VeloraApplication.h"
#include "editor/window/FrmEditor.h"
#include "project/unit/ProjectUnit.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTabBar>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

void wait(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        vlr::ProcessMessages();
}

// The page is painted once the browser shows the banner's green in its
// upper part.
bool painted(QWidget* browser) {
    const QImage image = browser->grab().toImage();
    if (image.isNull())
        return false;
    for (int y = 0; y < std::min(image.height(), 120); y += 4)
        if (image.pixelColor(image.width() / 2, y) == QColor(0x3f, 0x6b, 0x3a))
            return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s EXAMPLE.vlr OUT.png\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // A copy of the example, so the screenshot never writes into the sources.
    QTemporaryDir dir;
    const fs::path example = fs::absolute(argv[1]).parent_path();
    const fs::path site = fs::path(dir.path().toStdString()) / "site";
    fs::copy(example, site, fs::copy_options::recursive);
    const std::string project = (site / fs::path(argv[1]).filename()).string();
    const std::string appDir = dir.path().toStdString() + "/app/";
    fs::create_directories(appDir);
    for (const auto& entry : fs::directory_iterator(VELORA_RUN_FOLDER))
        if (entry.path().filename() != "preferences.dat")
            fs::create_symlink(entry.path(), appDir + entry.path().filename().string());
    qputenv("VELORA_APPDIR", appDir.c_str());
    vlr::VeloraApplication app(argc, argv);

    vlr::TFrmMainVLR w;
    if (w.fatal())
        return 1;
    w.resize(1200, 760);
    w.show();
    wait(200);
    w.projectUnit().ParseToOpen(project);
    w.action(QStringLiteral("BuildAll1"))->trigger();
    w.projectUnit().ParseToOpen((site / "src/index.hts").string());
    auto* editor = w.MdiArea()->activeSubWindow()
                       ? qobject_cast<vlr::TFrmEditor*>(w.MdiArea()->activeSubWindow()->widget())
                       : nullptr;
    if (!editor || !editor->Browser) {
        std::fprintf(stderr, "no editor window with a preview browser\n");
        return 1;
    }
    // The first preview of the process starts the web engine; the one after
    // it, in another window, shows the cost of a preview on its own.
    auto preview = [&](vlr::TFrmEditor* e, const char* what) {
        e->subWindow()->resize(760, 560);
        wait(200);
        QElapsedTimer timer;
        timer.start();
        e->TabSet1->setCurrentIndex(1);
        while (!painted(e->Browser) && timer.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::printf("%s preview (build + first paint): %lld ms\n", what, static_cast<long long>(timer.elapsed()));
    };
    w.projectUnit().ParseToOpen((site / "src/about.hts").string());
    auto* first = qobject_cast<vlr::TFrmEditor*>(w.MdiArea()->activeSubWindow()->widget());
    preview(first, "first");
    first->subWindow()->showMinimized();
    w.MdiArea()->setActiveSubWindow(editor->subWindow());
    preview(editor, "next");
    wait(300);
    return w.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
