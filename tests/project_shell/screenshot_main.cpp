// Screenshot of the main window with a project open, its files in the side
// panel, one of them in an editor window, and the Variables list dropped down.
// Run it under a display: xvfb-run -a project_screenshot OUT.png
#include "app/commands/DropDownComboBox.h"
#include "app/commands/MainCommands.h"
#include "app/units/CommandGate.h"
#include "app/shell/MainWindow.h"
#include "project/unit/ProjectUnit.h"
#include "project/unit/ProjectFileList.h"
#include "app/shell/VeloraApplication.h"
#include "platform/IniFile.h"
#include "platform/Record.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>

namespace {

void wait(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        vlr::ProcessMessages();
}

void write(const std::string& path) {
    std::ofstream(path) << "<html>\n<head>\n  <title><%Title%></title>\n</head>\n<body bgcolor=\"#FFFFFF\">\n"
                           "  <h1>Fresh bread &amp; cakes</h1>\n  <!-- opening hours -->\n"
                           "  <p align=\"center\">Call us: <%Phone%></p>\n"
                           "  <a href=\"http://www.example.com/menu.html\">Menu</a>\n</body>\n</html>\n";
}

}  // namespace

int main(int argc, char** argv) {
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("project.png");
    qputenv("VELORA_APPDIR", VELORA_RUN_FOLDER "/");
    vlr::VeloraApplication app(argc, argv);

    QTemporaryDir dir;
    const std::string root = dir.path().toStdString() + "/bakery";
    QDir().mkpath(QString::fromStdString(root + "/source/menu"));
    const std::string files[] = {root + "/source/index.hts", root + "/source/about.hts",
                                 root + "/source/menu/bread.hts", root + "/source/menu/cakes.hts",
                                 root + "/source/contact.hts"};
    const std::string vlrFile = root + "/bakery.vlr";
    {
        vlr::IniFile ini(vlrFile);
        for (int i = 0; i < 5; ++i) {
            write(files[i]);
            ini.WriteString("files", std::to_string(i), files[i]);
        }
        ini.WriteString("directories", "src", root + "/source");
        ini.WriteString("directories", "out", root + "/output");
        ini.WriteString("directories", "img", root + "/images");
        ini.WriteString("variables", "Title", "The Corner Bakery");
        ini.WriteString("variables", "Phone", "555 0142");
    }

    vlr::TFrmMainVLR w;
    if (w.fatal())
        return 1;
    w.resize(1200, 760);
    w.move(20, 10);
    w.show();
    wait(300);
    w.projectUnit().ParseToOpen(vlrFile);
    w.projectUnit().ParseToOpen(files[0]);
    if (QMdiSubWindow* sub = w.MdiArea()->activeSubWindow())
        sub->resize(620, 380);
    wait(300);
    vlr::DropDownComboBox* box = w.Commands().variablesBox();
    box->showPopup();
    wait(700);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    if (!shot.save(out)) {
        std::fprintf(stderr, "cannot save %s\n", qPrintable(out));
        return 1;
    }
    std::printf("saved %s (%d rows in the file list, %d variables listed)\n", qPrintable(out),
                static_cast<int>(w.projectUnit().AllFiles().size()), box->count());
    return 0;
}
