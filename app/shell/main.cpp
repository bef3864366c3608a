// Program start: the arguments are read first; --help, --version, --build and
// --upload run without any window (and need no display). Otherwise: splash
// window, main window, message loop.
#include "app/cli/CommandLine.h"
#include "app/cli/ExitCodes.h"
#include "app/commands/KeySchemeCommands.h"
#include "app/instance/SingleInstance.h"
#include "app/shell/MainWindow.h"
#include "app/shell/Splash.h"
#include "app/shell/VeloraApplication.h"
#include "app/units/ProjectAccess.h"
#include "app/units/UnitCommands.h"

#include <QCoreApplication>
#include <QTimer>

#include <memory>
#include <unistd.h>

int main(int argc, char** argv) {
    // The files are made absolute here, before anything can change the
    // working folder (opening a project does).
    const vlr::cli::StartRequest start = vlr::cli::ReadStartArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (const int code = vlr::cli::RunWithoutWindow(start); code >= 0)
        return code;

    QStringList files;
    for (const std::string& f : start.files)
        files << QString::fromLocal8Bit(f.c_str());
    // The preview module shares OpenGL contexts with the program's windows.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    vlr::VeloraApplication app(argc, argv);
    // One running program per user: a later start hands its files to it (or,
    // with none, brings it to the front) and ends.
    const QStringList forwardable = vlr::instance::ForwardablePaths(files);
    if (!start.quitAfterStart && forwardable.size() == files.size() && vlr::instance::SendToRunning(forwardable))
        return vlr::cli::kExitOk;

    vlr::TFrmSplash splash;
    splash.show();
    splash.repaint();
    QCoreApplication::processEvents();

    QCoreApplication::setApplicationName("Velora");
    QCoreApplication::setOrganizationName("Velora");

    auto mainWindow = std::make_unique<vlr::TFrmMainVLR>(&splash, files);
    if (mainWindow->fatal())
        return vlr::cli::kExitFailed;
    // A check run only starts and quits: it neither asks nor records anything.
    if (!start.quitAfterStart)
        vlr::AskKeySchemeOnce(mainWindow->Commands(), mainWindow->PreferencesPath());
    mainWindow->show();
    vlr::TFrmMainVLR& frame = *mainWindow;
    // Only a start that shows the main window answers later starts; a check
    // run (--quit-after-start) leaves the running program's socket alone.
    std::unique_ptr<vlr::instance::InstanceServer> instance;
    if (!start.quitAfterStart)
        instance = std::make_unique<vlr::instance::InstanceServer>(
            [&frame](const QString& path) { vlr::RunGuarded(frame, &frame, "ParseToOpen", [&] { frame.Project().ParseToOpen(path.toStdString()); }); },
            [&frame] { frame.setWindowState(frame.windowState() & ~Qt::WindowMinimized); frame.raise(); frame.activateWindow(); });
    if (start.quitAfterStart)
        QTimer::singleShot(0, &frame, &QWidget::close);
    return QCoreApplication::exec();
}
