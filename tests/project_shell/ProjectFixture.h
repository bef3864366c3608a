// Fixture of the project tests: a main window on a fresh program folder, a
// temporary project folder, stand-ins for the outside entry points the
// project code calls, and child windows that record the records they get.
#pragma once

#include "ShellFixture.h"

#include "app/shell/MainWindow.h"
#include "app/units/EditorWindows.h"
#include "editor/unit/EditorUnit.h"
#include "project/unit/ProjectFileList.h"
#include "project/unit/ProjectUnit.h"

#include <QStringList>

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace vlrtest {

// What the stand-ins for the outside modules were called with.
struct OutsideCalls {
    std::vector<std::string> viewed;  // IViewDisp paths
    int newProj = 0;
    int doVars = 0;
    int showProjPref = 0;
    struct Build {
        std::string project, path;
        vlr::Handle window;
        std::int32_t reserved, flag;
    };
    std::vector<Build> builds;
    // Behaviour of the stand-ins.
    std::function<std::uint8_t()> onDoVars = [] { return 0; };
    std::function<std::uint8_t()> onShowProjPref = [] { return 0; };
    std::int32_t buildResult = 1;
};
OutsideCalls& Outside();

// A message a recording child window received, with its record's texts.
struct ChildRecord {
    unsigned msg;
    std::string first, second, third;
};

// Editor windows that are not made: the paths they would have opened.
class RecordingEditors : public vlr::EditorWindows {
public:
    explicit RecordingEditors(std::vector<std::string>& log) : opened(log) {}
    vlr::TFrmEditor* OpenEditorForFile(const std::string& path) override;
    bool OpenEditorAtLine(const std::string& path, int) override { return OpenEditorForFile(path) != nullptr; }
    vlr::TFrmEditor* OpenEditorFromTemplate(const std::string&) override { return nullptr; }
    vlr::TFrmEditor* OpenNewEditor() override { return nullptr; }
    void SendStrings(const std::string&, const std::string&, const std::string&) override {}
    void CheckActiveSpelling() override {}
    void ChoosePrinter() override {}
    std::vector<std::string>& opened;
};

class ProjectShellTest : public ShellTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A main window with the stand-ins bound and an editor-opening hook that
    // records the paths it is given.
    std::unique_ptr<vlr::TFrmMainVLR> NewProjectWindow();
    // A child window of the class that records every message and releases
    // the records of 2029 and 3030.
    QWidget* AddRecordingChild(vlr::TFrmMainVLR& w, const std::string& className);

    // A file below the project folder with the given content; folders are made.
    std::string MakeFile(const std::string& relative, const std::string& content = "x");
    std::string Read(const std::string& path) const;
    // The texts of the message boxes shown so far.
    std::vector<std::string> MessageTexts() const;

    std::string projectDir;  // no trailing "/"
    std::vector<std::string> editorOpened;
    RecordingEditors editors_{editorOpened};
    std::vector<ChildRecord> childRecords;
};

}  // namespace vlrtest
