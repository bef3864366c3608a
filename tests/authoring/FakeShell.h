// A small frame for testing the authoring unit on its own: real command
// tables and enabling rules in a plain main window, an active child chosen
// by the test, outside-module entry points the test sets, and a stand-in
// editor window recording the markup it is sent.
#pragma once

#include "app/commands/MainCommands.h"
#include "app/units/CommandGate.h"
#include "app/units/CoreLibraries.h"
#include "app/shell/RecentList.h"
#include "app/shell/SidePanel.h"
#include "app/shell/StatusLine.h"
#include "app/units/EditorWindows.h"
#include "app/units/ProjectAccess.h"
#include "app/units/ShellServices.h"
#include "platform/Record.h"
#include "platform/Window.h"

#include <QMainWindow>
#include <QTemporaryDir>

#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace vlrtest {

// A registered window of any class that records the messages it is sent.
class RecordingWindow : public vlr::MessageHandler {
public:
    struct Received {
        unsigned msg;
        std::string first, second, third;
    };
    explicit RecordingWindow(const char* className) { handle_ = vlr::RegisterWindow(this, className); }
    ~RecordingWindow() override { vlr::UnregisterWindow(handle_); }
    vlr::Handle handle() const { return handle_; }
    vlr::LResult handleMessage(unsigned msg, vlr::WParam, vlr::LParam lParam) override {
        vlr::RecordPtr r = vlr::AdoptRecord(lParam);
        received.push_back({msg, vlr::FirstText(r), vlr::SecondText(r), vlr::ThirdText(r)});
        return 0;
    }
    std::vector<Received> received;

private:
    vlr::Handle handle_ = 0;
};

class FakeProject : public vlr::ProjectAccess {
public:
    const std::string& ProjectFile() const override { return state_.ProjectFile; }
    bool ProjectModified() const override { return false; }
    const vlr::ProjectState& Project() const override { return state_; }
    vlr::TUserSettingList& ProjectVariables() override { return vars_; }
    vlr::TUserSettingList& InternalVariables() override { return vars_; }
    std::string VariableValueOf(const std::string&) override { return {}; }
    void ParseToOpen(const std::string&) override {}
    bool AddToProject(const std::string&) override { return false; }
    bool SaveProjectFile() override { return false; }
    void CloseProject() override {}

private:
    vlr::ProjectState state_;
    vlr::TUserSettingList vars_;
};

class FakeEditors : public vlr::EditorWindows {
public:
    vlr::TFrmEditor* OpenEditorForFile(const std::string&) override { return nullptr; }
    bool OpenEditorAtLine(const std::string&, int) override { return false; }
    vlr::TFrmEditor* OpenEditorFromTemplate(const std::string&) override { return nullptr; }
    vlr::TFrmEditor* OpenNewEditor() override { return nullptr; }
    void SendStrings(const std::string&, const std::string&, const std::string&) override {}
    void CheckActiveSpelling() override {}
    void ChoosePrinter() override {}
};

class FakeShell : public vlr::ShellServices {
public:
    FakeShell();
    ~FakeShell() override;

    QMainWindow* MainWidget() override { return &window_; }
    vlr::Handle MainHandle() const override { return main_.handle(); }
    vlr::Handle ApplicationHandle() const override { return 77; }
    const std::string& AppDir() const override { return appDir_; }
    std::string PreferencesPath() const override { return appDir_ + "preferences.dat"; }
    bool LowerTags() const override { return lowerTags; }
    vlr::MainCommands& Commands() override { return *commands_; }
    vlr::CommandGate& Gate() override { return *gate_; }
    vlr::StatusPanels& Status() override { return *status_; }
    void SetStatusText(const QString&) override {}
    vlr::FileListArea& Side() override { return *side_; }
    vlr::RecentItems& RecentProjects() override { return *recent_; }
    vlr::RecentItems& RecentFiles() override { return *recent_; }
    QMdiArea* MdiArea() override { return nullptr; }
    vlr::Handle ActiveChildHandle() const override { return activeChild; }
    std::string ActiveChildClass() const override { return vlr::GetClassName(activeChild); }
    int ChildCount(const std::string&) const override { return 1; }
    void UpdateEditorCommands(bool) override {}
    void Enter(const char* method) override { methods.push_back(method); }
    void ReportException(QObject*, std::exception_ptr error) override;
    void ReportExceptionAs(QObject* sender, std::exception_ptr error, const std::string&) override {
        ReportException(sender, error);
    }
    vlr::CoreLibraries& Libraries() override { return libraries_; }
    vlr::ProjectAccess& Project() override { return project_; }
    vlr::EditorWindows& Editors() override { return editors_; }

    // Triggers a command of the tables by name.
    void Trigger(const char* command);
    // Writes a key of section Environment of the preferences.
    void SetPreference(const char* key, bool value);

    bool lowerTags = true;
    vlr::Handle activeChild = 0;
    RecordingWindow editor{"TFrmEditor"};
    std::vector<std::string> methods;
    std::vector<std::string> reports;  // messages of reported exceptions

private:
    QTemporaryDir dir_;
    std::string appDir_;
    RecordingWindow main_{"TFrmMainVLR"};
    QMainWindow window_;
    vlr::MainCommands* commands_;
    std::unique_ptr<vlr::CommandGate> gate_;
    vlr::StatusLine* status_;
    vlr::SidePanel* side_;
    vlr::RecentList* recent_;
    vlr::CoreLibraries libraries_;
    FakeProject project_;
    FakeEditors editors_;
};

}  // namespace vlrtest
