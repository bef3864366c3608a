// Not a test: draws the Plug-ins menu, the About Plugins submenu and a sample
// plug-in's about box into OUTDIR under a display
// (xvfb-run -a plugin_screenshots OUTDIR). The sample plug-ins of the run
// folder are loaded as in the program.
#include "app/commands/MainCommands.h"
#include "app/shell/MainWindow.h"
#include "app/shell/VeloraApplication.h"
#include "app/units/EditorWindows.h"
#include "platform/Window.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <iostream>

namespace fs = std::filesystem;

namespace {

void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void Grab(const QString& file) {
    QGuiApplication::primaryScreen()->grabWindow(0).save(file);
    std::cout << "saved " << file.toStdString() << std::endl;
}

QAction* PlugInItem(QMenu* menu, const QString& caption) {
    for (QAction* a : menu->actions())
        if (a->text() == caption)
            return a;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    vlr::VeloraApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    QTemporaryDir dir;
    for (const auto& entry : fs::directory_iterator(VELORA_RUN_FOLDER))
        if (entry.path().filename() != "preferences.dat")
            fs::create_symlink(entry.path(), fs::path(dir.path().toStdString()) / entry.path().filename());
    ::setenv("VELORA_APPDIR", dir.path().toStdString().c_str(), 1);
    std::ofstream(dir.path().toStdString() + "/preferences.dat") << "[Environment]\r\nNewEditor=0\r\nLastProject=0\r\n";

    vlr::TFrmMainVLR w;
    w.resize(1100, 700);
    w.show();
    vlr::ProcessMessages();
    w.Editors().OpenNewEditor();
    Wait(800);

    QMenu* plugins = w.Commands().menu(QStringLiteral("Plugins1"));
    plugins->popup(w.mapToGlobal(QPoint(420, 25)));
    Wait(400);
    Grab(out + QStringLiteral("/plugins-menu.png"));
    plugins->hide();

    QMenu* help = w.Commands().menu(QStringLiteral("Help1"));
    QMenu* about = w.Commands().menu(QStringLiteral("AboutPlugins1"));
    if (help && about) {
        help->popup(w.mapToGlobal(QPoint(560, 25)));
        Wait(300);
        help->setActiveAction(about->menuAction());
        about->popup(help->mapToGlobal(
            QPoint(help->width() - 4, help->actionGeometry(about->menuAction()).top())));
        Wait(400);
        Grab(out + QStringLiteral("/about-plugins-menu.png"));
        about->hide();
        help->hide();
    }

    if (QAction* entry = about ? PlugInItem(about, QStringLiteral("Tidy up HTML")) : nullptr) {
        QTimer::singleShot(700, [&] {
            Grab(out + QStringLiteral("/plugin-about-box.png"));
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        entry->trigger();
    }
    w.close();
    vlr::ProcessMessages();
    return 0;
}
