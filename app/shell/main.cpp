// Program start: splash window, application title, main window, message loop.
#include "app/cli/UploadCommand.h"
#include "app/shell/MainWindow.h"
#include "app/shell/Splash.h"
#include "app/shell/VeloraApplication.h"

#include <QCoreApplication>

#include <memory>
#include <unistd.h>

int main(int argc, char** argv) {
    // Commands that run without a window.
    if (vlr::cli::WantsUpload(argc, argv))
        return vlr::cli::RunUploadCommand(argc, argv);
    // The preview module shares OpenGL contexts with the program's windows.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    vlr::VeloraApplication app(argc, argv);

    vlr::TFrmSplash splash;
    splash.show();
    splash.repaint();
    QCoreApplication::processEvents();

    QCoreApplication::setApplicationName("Velora");
    QCoreApplication::setOrganizationName("Velora");

    auto mainWindow = std::make_unique<vlr::TFrmMainVLR>(&splash, QCoreApplication::arguments().mid(1));
    if (mainWindow->fatal())
        return 1;
    mainWindow->show();
    return QCoreApplication::exec();
}
