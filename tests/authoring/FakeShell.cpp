// The test frame of the authoring unit.
#include "FakeShell.h"

#include "platform/IniFile.h"

#include <QAction>

#include <gtest/gtest.h>

#include <cstdlib>

namespace vlrtest {

FakeShell::FakeShell() : appDir_(dir_.path().toStdString() + "/") {
    ::setenv("VELORA_APPDIR", appDir_.c_str(), 1);  // the program's files live in the frame's folder
    commands_ = new vlr::MainCommands(&window_);
    gate_ = std::make_unique<vlr::CommandGate>(*commands_);
    status_ = new vlr::StatusLine(&window_);
    side_ = new vlr::SidePanel(&window_);
    recent_ = new vlr::RecentList(QString::fromStdString(PreferencesPath()), QStringLiteral("Recent"), &window_);
    activeChild = editor.handle();
}

FakeShell::~FakeShell() { ::unsetenv("VELORA_APPDIR"); }

void FakeShell::ReportException(QObject*, std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        reports.push_back(e.what());
    } catch (...) {
        reports.push_back("unknown");
    }
}

void FakeShell::Trigger(const char* command) {
    QAction* a = commands_->action(QString::fromLatin1(command));
    ASSERT_NE(a, nullptr) << command;
    ASSERT_TRUE(a->isEnabled()) << command;
    a->trigger();
}

void FakeShell::SetPreference(const char* key, bool value) {
    vlr::IniFile(PreferencesPath()).WriteBool("Environment", key, value);
}

}  // namespace vlrtest
