// Screenshot of the main window with a project open, its files in the side
// panel and the Variables list dropped down, over a stand-in editor window (the
// Tags toolbar works only while an editor window is open). Run it under a
// display: xvfb-run -a project_screenshot OUT.png
#include "app/commands/DropDownComboBox.h"
#include "app/commands/MainCommands.h"
#include "app/shell/CommandGate.h"
#include "app/shell/MainWindow.h"
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

class StandInEditor : public QLabel, public vlr::MessageHandler {
public:
    StandInEditor() : QLabel(QStringLiteral("<html><body>\n  <h1><%Title%></h1>\n</body></html>")) {
        setTextFormat(Qt::PlainText);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setMargin(6);
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Base);
        handle_ = vlr::RegisterWindow(this, "TFrmEditor", this);
        setProperty("vlrHandle", QVariant::fromValue(handle_));
    }
    ~StandInEditor() override { vlr::UnregisterWindow(handle_); }
    vlr::LResult handleMessage(unsigned msg, vlr::WParam, vlr::LParam lParam) override {
        if (msg == 2029 || msg == 3030)
            vlr::AdoptRecord(lParam);
        return 0;
    }

private:
    vlr::Handle handle_;
};

void wait(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        vlr::ProcessMessages();
}

void write(const std::string& path) { std::ofstream(path) << "<html></html>\n"; }

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
    w.ParseToOpen(vlrFile);
    auto* editor = new StandInEditor;
    QMdiSubWindow* sub = w.mdiArea()->addSubWindow(editor);
    sub->setWindowTitle(QString::fromStdString(files[0]));
    sub->resize(620, 380);
    sub->show();
    // The Variables list is one of the markup commands, made available here
    // as the authoring unit does.
    w.gate().makeAvailable(vlr::CommandGroup::Authoring);
    w.UpdateEditorCommands(false);
    wait(300);
    vlr::DropDownComboBox* box = w.commands().variablesBox();
    box->showPopup();
    wait(700);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    if (!shot.save(out)) {
        std::fprintf(stderr, "cannot save %s\n", qPrintable(out));
        return 1;
    }
    std::printf("saved %s (%d rows in the file list, %d variables listed)\n", qPrintable(out),
                static_cast<int>(w.AllFiles().size()), box->count());
    return 0;
}
