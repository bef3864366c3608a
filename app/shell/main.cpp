// Program start: splash window, application title, main window, message loop;
// or, with "--build" or "--upload", a command run without any window.
#include "app/cli/CommandLineBuild.h"
#include "app/cli/UploadCommand.h"
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
    // Commands that run without a window.
    if (vlr::IsCommandLineBuild(argc, argv))
        return vlr::RunCommandLineBuild(argc, argv);
    if (vlr::cli::WantsUpload(argc, argv))
        return vlr::cli::RunUploadCommand(argc, argv);
    // The preview module shares OpenGL contexts with the program's windows.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    vlr::VeloraApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    // --quit-after-start: start fully, then close as the user would (checks of an installation).
    const bool quitAfterStart = arguments.removeAll(QStringLiteral("--quit-after-start")) > 0;
    // Files opened while Velora already runs go to the running program.
    if (!quitAfterStart && vlr::instance::SendToRunning(vlr::instance::ForwardablePaths(arguments)))
        return 0;

    vlr::TFrmSplash splash;
    splash.show();
    splash.repaint();
    QCoreApplication::processEvents();

    QCoreApplication::setApplicationName("Velora");
    QCoreApplication::setOrganizationName("Velora");

    auto mainWindow = std::make_unique<vlr::TFrmMainVLR>(&splash, arguments);
    if (mainWindow->fatal())
        return 1;
    mainWindow->show();
    vlr::TFrmMainVLR& frame = *mainWindow;
    vlr::instance::InstanceServer instance(
        [&frame](const QString& path) { vlr::RunGuarded(frame, &frame, "ParseToOpen", [&] { frame.Project().ParseToOpen(path.toStdString()); }); },
        [&frame] { frame.setWindowState(frame.windowState() & ~Qt::WindowMinimized); frame.raise(); frame.activateWindow(); });
    if (quitAfterStart)
        QTimer::singleShot(0, &frame, &QWidget::close);
    return QCoreApplication::exec();
}
