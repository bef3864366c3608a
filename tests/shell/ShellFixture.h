// A fresh program folder per test (the real modules, linked in from the run
// folder), a scripted prompter, and a main window built on them.
#pragma once

#include "app/shell/MainWindow.h"
#include "app/shell/StatusLine.h"
#include "editor/unit/EditorUnit.h"
#include "project/unit/ProjectUnit.h"
#include "platform/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace vlrtest {

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the folder's module links, leaving out the named modules.
    void MakeAppDir(const std::vector<std::string>& leaveOut = {});
    void WritePreferences(const std::string& text);
    std::string ReadPreferences() const;
    std::unique_ptr<vlr::TFrmMainVLR> NewMainWindow(bool show = true);
    // A child window registered as the given class, placed in the MDI area.
    QWidget* AddChild(vlr::TFrmMainVLR& w, const std::string& className);

    std::filesystem::path appDir;
    std::unique_ptr<vlr::ScriptedPrompter> prompter;
};

// Stand-ins for the project and the editor windows that record what the
// frame asks of them.
class RecordingProject : public vlr::ProjectAccess {
public:
    const std::string& ProjectFile() const override { return file; }
    bool ProjectModified() const override { return false; }
    const vlr::ProjectState& Project() const override { return state; }
    vlr::TUserSettingList& ProjectVariables() override { return vars; }
    vlr::TUserSettingList& InternalVariables() override { return vars; }
    std::string VariableValueOf(const std::string&) override { return {}; }
    void ParseToOpen(const std::string& path) override { opened.push_back(QString::fromStdString(path)); }
    bool AddToProject(const std::string&) override { return false; }
    bool SaveProjectFile() override { return true; }
    void CloseProject() override {}

    std::vector<QString> opened;
    std::string file = "none";
    vlr::ProjectState state;
    vlr::TUserSettingList vars;
};

class CountingEditors : public vlr::EditorWindows {
public:
    vlr::TFrmEditor* OpenEditorForFile(const std::string&) override { return nullptr; }
    bool OpenEditorAtLine(const std::string&, int) override { return false; }
    vlr::TFrmEditor* OpenEditorFromTemplate(const std::string&) override { return nullptr; }
    vlr::TFrmEditor* OpenNewEditor() override {
        ++newEditors;
        return nullptr;
    }
    void SendStrings(const std::string&, const std::string&, const std::string&) override {}
    void CheckActiveSpelling() override {}
    void ChoosePrinter() override {}
    int newEditors = 0;
};

// The exception reports the tests' stand-in for ExceptCenter received.
struct ReportedException {
    std::string method, className, message, preferences, version, fileName;
};
std::vector<ReportedException>& Reports();
void RecordingExceptCenter(vlr::Handle, vlr::Handle, void*, const VlrExceptionInfo* e, const char* prefs,
                           const char* method, const char* version, const char* file);

// Messages that child stand-ins received.
struct ChildMessage {
    std::string className;
    unsigned msg;
};
std::vector<ChildMessage>& ChildMessages();

}  // namespace vlrtest
