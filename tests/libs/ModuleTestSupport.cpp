// Shared fixtures of the module tests.
#include "ModuleTestSupport.h"

#include "platform/Record.h"

#include <QApplication>
#include <QDialog>
#include <QMdiArea>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

// Read by the leak checker of sanitizer builds: fontconfig keeps the
// configuration Qt's font database loads until the process ends.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace vlrtest {

// These tests drive the dialogs themselves, so they start with prompts shown;
// the ones about logged prompts switch logging on where they need it.
[[maybe_unused]] const bool promptsShown = [] {
    unsetenv("VELORA_PROMPTS");
    return true;
}();

QApplication& App() {
    static QApplication* app = [] {
        if (!std::getenv("QT_QPA_PLATFORM"))
            setenv("QT_QPA_PLATFORM", "offscreen", 1);

        static int argc = 1;
        static char name[] = "libs_tests";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    return *app;
}

vlr::LibraryHandle Module(const std::string& name) {
    static std::map<std::string, vlr::LibraryHandle> loaded;
    auto it = loaded.find(name);
    if (it != loaded.end())
        return it->second;
    // Never unloaded: windows made by a module may outlive the test.
    vlr::LibraryHandle h = vlr::LoadLibrary(std::string(VELORA_MODULE_DIR) + "/" + name + ".so");
    EXPECT_NE(h, nullptr) << vlr::LastLibraryError();
    loaded[name] = h;
    return h;
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name))
        old_ = old;
    setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (old_)
        setenv(name_.c_str(), old_->c_str(), 1);
    else
        unsetenv(name_.c_str());
}

TempAppDir::TempAppDir() { env_ = std::make_unique<ScopedEnv>("VELORA_APPDIR", path()); }

std::string TempAppDir::path() const { return dir_.path().toStdString() + "/"; }

// The application must exist before the window's base is built.
FakeMainWindow::FakeMainWindow(bool withDocumentArea) : QMainWindow((App(), nullptr)) {
    if (withDocumentArea) {
        area_ = new QMdiArea;
        setCentralWidget(area_);
    }
    resize(900, 700);
    handle_ = vlr::RegisterWindow(this, "TFrmMainVLR", this);
}

FakeMainWindow::~FakeMainWindow() { vlr::UnregisterWindow(handle_); }

std::vector<std::string> FakeMainWindow::kinds() const {
    std::vector<std::string> out;
    for (const Received& r : received_)
        if (r.msg == 2322)
            out.push_back(r.first);
    return out;
}

int FakeMainWindow::count(unsigned msg) const {
    int n = 0;
    for (const Received& r : received_)
        n += r.msg == msg;
    return n;
}

vlr::LResult FakeMainWindow::handleMessage(unsigned msg, vlr::WParam, vlr::LParam lParam) {
    Received r{msg, {}};
    if (msg == 2322 || msg == 3061) {
        vlr::RecordPtr record = vlr::AdoptRecord(lParam);
        if (record)
            r.first = vlr::RecordText(record->first);
    }
    received_.push_back(r);
    if (msg == 3085 && !projectFile.empty())
        return reinterpret_cast<vlr::LResult>(vlr::MakeRecord(projectFile).release());
    return 0;
}

ModalDriver::ModalDriver(std::function<void(QWidget*)> act) : act_(std::move(act)) {
    App();
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start(10);
}

void ModalDriver::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    if (!acted_) {
        acted_ = true;
        sinceAct_.start();
        act_(modal);
        return;
    }
    if (sinceAct_.elapsed() > 3000) {
        stuck_ = true;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }
}

void Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

}  // namespace vlrtest
