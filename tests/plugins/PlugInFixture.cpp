#include "PlugInFixture.h"

#include "app/commands/MainCommands.h"
#include "platform/Window.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace vlrtest {

void PlugInTest::SetUp() {
    ShellTest::SetUp();
    fs::create_directories(appDir / "plugins");
    WritePreferences("[Environment]\r\nNewEditor=0\r\nLastProject=0\r\n");
}

void PlugInTest::TearDown() {
    if (w) {
        w->close();
        vlr::ProcessMessages();
        w.reset();
    }
    ShellTest::TearDown();
}

void PlugInTest::Install(const std::string& fixture, const std::string& relative) {
    const fs::path target = appDir / "plugins" / relative;
    fs::create_directories(target.parent_path());
    fs::copy_file(fs::path(PLUGIN_FIXTURES) / (fixture + ".vlp"), target, fs::copy_options::overwrite_existing);
}

void PlugInTest::InstallFile(const std::string& relative, const std::string& content) {
    const fs::path target = appDir / "plugins" / relative;
    fs::create_directories(target.parent_path());
    std::ofstream(target, std::ios::binary) << content;
}

void PlugInTest::Open() {
    w = NewMainWindow();
    ASSERT_FALSE(w->fatal());
}

QMenu* PlugInTest::Menu(const char* name) const { return w->Commands().menu(name); }

QStringList PlugInTest::Captions(const char* menu) const {
    QStringList out;
    for (QAction* a : Menu(menu)->actions())
        if (a->property("plugInTag").isValid())
            out << a->text();
    return out;
}

QAction* PlugInTest::Item(const char* menu, int index) const {
    int i = 0;
    for (QAction* a : Menu(menu)->actions())
        if (a->property("plugInTag").isValid() && i++ == index)
            return a;
    return nullptr;
}

bool PlugInTest::MenuShown(const char* name) const { return Menu(name)->menuAction()->isVisible(); }

QString PlugInTest::StatusText() const { return w->Status().panelText(1); }

void PlugInTest::OpenPlugInsMenu() { Q_EMIT Menu("Plugins1")->aboutToShow(); }

ModalCloser::ModalCloser() {
    // Polls until a modal dialog shows, reads it and presses its OK button.
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [this, timer] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        ++seen;
        title = dialog->windowTitle();
        for (QLabel* l : dialog->findChildren<QLabel*>())
            if (!l->text().isEmpty() && !l->isHidden())
                lines += l->text() + "\n";
        if (auto* web = dialog->findChild<QPushButton*>("BtnWebSite"))
            webSiteShown = !web->isHidden();
        if (auto* ok = dialog->findChild<QPushButton*>("BtnOK"))
            ok->click();
        else
            dialog->reject();
        timer->deleteLater();
    });
    timer->start();
}

}  // namespace vlrtest
