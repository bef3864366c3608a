// Not a test: draws the Insert menu with its style submenu, the quick-codes
// popup, the table dialog and the style organizer into OUTDIR under a
// display (xvfb-run -a authoring_screenshots OUTDIR).
#include "app/commands/MainCommands.h"
#include "app/shell/MainWindow.h"
#include "app/shell/VeloraApplication.h"
#include "app/units/EditorWindows.h"
#include "authoring/styles/StyleSheets.h"
#include "editor/window/FrmEditor.h"
#include "libs/extdlgs/InsertDialogs.h"
#include "libs/extdlgs/StyleOrganizer.h"
#include "platform/Window.h"

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
    QScreen* screen = QGuiApplication::primaryScreen();
    screen->grabWindow(0).save(file);
    std::cout << "saved " << file.toStdString() << std::endl;
}

}  // namespace

int main(int argc, char** argv) {
    vlr::VeloraApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    QTemporaryDir dir;
    for (const auto& entry : fs::directory_iterator(VELORA_RUN_FOLDER))
        if (entry.path().filename() != "preferences.dat" && entry.path().filename() != "styles.dat")
            fs::create_symlink(entry.path(), fs::path(dir.path().toStdString()) / entry.path().filename());
    ::setenv("VELORA_APPDIR", dir.path().toStdString().c_str(), 1);
    {
        std::ofstream prefs(dir.path().toStdString() + "/preferences.dat");
        prefs << "[Environment]\r\nNewEditor=0\r\nLastProject=0\r\n";
    }
    vlr::authoring::TCSSList styles;
    for (const char* name : {"Heading", "Body text", "Warning", "Small print"}) {
        auto* s = styles.Add();
        s->S[0] = name;
    }
    styles.Items(0)->S[2] = "Georgia";
    styles.Items(0)->S[3] = "18";
    styles.Items(0)->S[4] = "pt";
    styles.Items(0)->S[10] = "bold";
    styles.Items(0)->S[18] = "#2F5D9B";
    styles.SaveToFile(dir.path().toStdString() + "/styles.dat");

    vlr::TFrmMainVLR w;
    w.resize(1200, 760);
    w.show();
    vlr::ProcessMessages();
    vlr::TFrmEditor* editor = w.Editors().OpenNewEditor();
    (void)editor;
    Wait(800);

    QMenu* insert = w.Commands().menu(QStringLiteral("Insert1"));
    insert->popup(w.mapToGlobal(QPoint(260, 25)));
    Wait(300);
    QMenu* sheets = w.Commands().menu(QStringLiteral("CascadingStyleSheets1"));
    insert->setActiveAction(sheets->menuAction());
    sheets->popup(insert->mapToGlobal(QPoint(insert->width() - 4, insert->actionGeometry(sheets->menuAction()).top())));
    Wait(400);
    Grab(out + QStringLiteral("/insert-menu.png"));
    sheets->hide();
    insert->hide();

    QMenu* quick = w.Commands().menu(QStringLiteral("QuickCodesMenu1"));
    quick->popup(w.mapToGlobal(QPoint(40, 150)));
    Wait(400);
    Grab(out + QStringLiteral("/quick-codes.png"));
    quick->hide();

    {
        vlr::extdlgs::TFrmTable table(&w);
        table.show();
        Wait(400);
        Grab(out + QStringLiteral("/table-dialog.png"));
    }
    {
        vlr::authoring::TCSSList list;
        list.LoadFromFile(dir.path().toStdString() + "/styles.dat");
        vlr::extdlgs::TFrmStyleOrganizer organizer(list, dir.path().toStdString() + "/styles.dat", &w);
        organizer.resize(760, 520);
        organizer.show();
        Wait(600);
        Grab(out + QStringLiteral("/style-organizer.png"));
    }
    w.close();
    vlr::ProcessMessages();
    return 0;
}
