// The pictures of the user's manual: the real main window with a copy of the
// example site open and built, and the windows and dialogs the manual shows,
// each saved as a PNG file under the names the help pages use.
//   manual_screenshots EXAMPLE.vlr OUTDIR   (offscreen unless a display is set)
// Every picture is drawn by the widget itself (grab()), so no screen and no
// window manager are needed; the copy of the example keeps the sources clean.
#include "app/shell/MainWindow.h"
#include "app/shell/SidePanel.h"
#include "app/shell/StatusLine.h"
#include "app/shell/VeloraApplication.h"
#include "editor/findfiles/FindInFilesDialog.h"
#include "editor/window/FrmEditor.h"
#include "project/linkcheck/FrmLinkCheck.h"
#include "project/unit/ProjectUnit.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

QString outDir;
int failures = 0;

void wait(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        vlr::ProcessMessages();
}

void save(QWidget* widget, const char* name) {
    const QString path = outDir + "/" + name;
    if (widget == nullptr || !widget->grab().save(path)) {
        std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
        ++failures;
        return;
    }
    std::printf("saved %s (%dx%d)\n", qPrintable(path), widget->width(), widget->height());
}

// Triggers a command that opens a modal dialog, saves the dialog once it is
// shown and closes it again with Cancel (reject), so nothing is changed.
void saveModal(vlr::TFrmMainVLR& w, const char* command, const char* name) {
    bool seen = false;
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || seen)
            return;
        seen = true;
        // A dialog with a list of documents shows its first one chosen.
        if (auto* tree = modal->findChild<QTreeWidget*>()) {
            tree->expandAll();
            if (QTreeWidgetItem* top = tree->topLevelItem(0))
                tree->setCurrentItem(top->childCount() > 0 ? top->child(0) : top);
        }
        wait(200);
        save(modal, name);
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    });
    poll.start();
    QAction* action = w.action(QString::fromLatin1(command));
    if (action == nullptr) {
        std::fprintf(stderr, "no command %s\n", command);
        ++failures;
        return;
    }
    action->trigger();
    wait(100);
    if (!seen) {
        std::fprintf(stderr, "%s showed no dialog\n", command);
        ++failures;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s EXAMPLE.vlr OUTDIR\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // A folder of a fixed name, so the paths the pictures show stay the same
    // from one run to the next; it is made afresh and removed at the end.
    const fs::path work = fs::temp_directory_path() / "velora-manual";
    fs::remove_all(work);
    fs::create_directories(work);
    struct Cleanup {
        fs::path folder;
        ~Cleanup() {
            std::error_code ec;
            fs::remove_all(folder, ec);
        }
    } cleanup{work};
    const fs::path example = fs::absolute(argv[1]).parent_path();
    const fs::path site = work / "site";
    fs::copy(example, site, fs::copy_options::recursive);
    // One broken link, so the link check has something to show.
    std::ofstream(site / "src/about.hts", std::ios::app) << "<p><a href=\"contact.html\">Write to us</a></p>\n";
    const std::string project = (site / fs::path(argv[1]).filename()).string();
    // A program folder of its own: the run folder's files without its
    // preferences, and no editor window at start.
    const std::string appDir = (work / "app").string() + "/";
    fs::create_directories(appDir);
    for (const auto& entry : fs::directory_iterator(VELORA_RUN_FOLDER))
        if (entry.path().filename() != "preferences.dat")
            fs::create_symlink(entry.path(), appDir + entry.path().filename().string());
    std::ofstream(appDir + "preferences.dat") << "[Environment]\nNewEditor=0\nLastProject=0\n";
    qputenv("VELORA_APPDIR", appDir.c_str());
    qputenv("VELORA_HAS_PRINTER", "1");
    // The dialogs are to be shown, not logged and answered.
    qunsetenv("VELORA_PROMPTS");
    vlr::VeloraApplication app(argc, argv);
    // Opening the project changes the current folder: the output folder is
    // made absolute first.
    fs::create_directories(argv[2]);
    outDir = QString::fromStdString(fs::absolute(argv[2]).string());

    vlr::TFrmMainVLR w;
    if (w.fatal())
        return 1;
    w.resize(1100, 720);
    w.show();
    wait(300);

    // The main window: the project in the side panel, the home page in an
    // editor window, after Build All (the status line tells the result).
    w.projectUnit().ParseToOpen(project);
    w.action(QStringLiteral("BuildAll1"))->trigger();
    wait(200);
    w.projectUnit().ParseToOpen((site / "src/index.hts").string());
    if (QMdiSubWindow* sub = w.MdiArea()->activeSubWindow())
        sub->setGeometry(0, 0, 640, 420);
    wait(300);
    save(&w, "mainwindow.png");
    save(&w.sidePanel(), "projectpanel.png");
    save(&w.statusLine(), "buildstatus.png");

    // The editor window and its context menu.
    if (QMdiSubWindow* sub = w.MdiArea()->activeSubWindow()) {
        save(sub, "editor.png");
        if (auto* editor = qobject_cast<vlr::TFrmEditor*>(sub->widget())) {
            QMenu* menu = editor->PopupMenu1;
            Q_EMIT menu->aboutToShow();
            menu->adjustSize();
            save(menu, "editormenu.png");
        }
    }

    // Find in Files with the matches of a word in the project's pages.
    w.action(QStringLiteral("FindInFiles1"))->trigger();
    if (auto* find = w.findChild<vlr::TFindInFilesDialog*>("FindInFilesDialog")) {
        vlr::FindInFilesRequest r = find->request();
        r.text = "walk";
        r.projectFiles = true;
        find->setRequest(r);
        find->findButton()->click();
        wait(300);
        find->resize(720, 420);
        wait(100);
        save(find, "findinfiles.png");
        find->close();
    } else {
        std::fprintf(stderr, "no Find in Files window\n");
        ++failures;
    }

    // The link check of the built site, with the broken link added above.
    w.action(QStringLiteral("CheckLinks1"))->trigger();
    if (auto* check = w.findChild<vlr::TFrmLinkCheck*>()) {
        QElapsedTimer t;
        t.start();
        while (check->Running() && t.elapsed() < 20000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        check->resize(720, 320);
        wait(200);
        save(check, "linkcheck.png");
        check->close();
    } else {
        std::fprintf(stderr, "no link check window\n");
        ++failures;
    }

    // The dialogs, each closed again with Cancel.
    saveModal(w, "New1", "newdocument.png");
    saveModal(w, "Options1", "projectoptions.png");
    saveModal(w, "OrganizeVariables1", "variables.png");
    saveModal(w, "Preferences1", "preferences.png");
    saveModal(w, "Customize1", "tools.png");
    saveModal(w, "Upload1", "upload.png");

    w.close();
    wait(100);
    return failures == 0 ? 0 : 1;
}
