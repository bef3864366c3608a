// The build commands of the main window.
#include "project/build_unit/BuildUnit.h"

#include "app/commands/CommandGroup.h"
#include "app/units/CommandGate.h"
#include "app/units/CoreLibraries.h"
#include "app/units/FileListArea.h"
#include "app/units/ProjectAccess.h"
#include "app/units/ShellServices.h"
#include "app/units/UnitCommands.h"
#include "platform/System.h"
#include "platform/Window.h"
#include "project/build/ProjectPaths.h"
#include "project/unit/ProjectFileList.h"

#include <QAction>
#include <QApplication>
#include <QToolBar>
#include <QTreeWidget>

namespace vlr {
namespace {

// The busy-arrow cursor for the life of the object.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::BusyCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// The full path of the file selected in the project's file list; false when
// nothing is selected.
bool selectedFile(ShellServices& shell, std::string& fullPath) {
    QTreeWidget* list = shell.Side().fileList();
    const QList<QTreeWidgetItem*> items = list ? list->selectedItems() : QList<QTreeWidgetItem*>();
    if (items.isEmpty())
        return false;
    fullPath = items.front()->text(ProjectFileList::FullPath).toStdString();
    return true;
}

// The build reads the project file: a project changed in the window is saved
// first, so what is built is what the window shows. False when that save
// failed (its reason was shown) and the build must not run.
bool projectSavedForBuild(ShellServices& shell) {
    ProjectAccess& project = shell.Project();
    return !project.ProjectModified() || project.SaveProjectFile();
}

}  // namespace

TBuildUnit::TBuildUnit(ShellServices& shell) : shell_(shell) {}

void TBuildUnit::ConnectCommands() {
    shell_.Gate().makeAvailable(CommandGroup::Build);
    // Available is not enabled: Build All needs an open project, Preview a
    // selected file (the project unit keeps both up to date from here on).
    const bool open = shell_.Project().ProjectFile() != "none";
    for (const char* name : {"BuildAll1", "BuildAll2"})
        shell_.Gate().setEnabled(name, open);
    std::string path;
    shell_.Gate().setEnabled("Preview1", open && selectedFile(shell_, path));

    // The side panel's Preview button and the list's "&Preview" run the menu's
    // command, which therefore follows the button at all times, not only when
    // the Project menu opens: otherwise they would do nothing until it had.
    if (QToolBar* buttons = shell_.Side().fileButtons())
        for (QAction* button : buttons->actions())
            if (button->objectName() == QLatin1String("PreviewButton"))
                connect(button, &QAction::changed, this,
                        [this, button] { shell_.Gate().setEnabled("Preview1", button->isEnabled()); });

    ConnectCommand(shell_, this, "BuildAll1", "BuildAll1Click", [this] { BuildAllClick(); });
    ConnectCommand(shell_, this, "BuildAll2", "BuildAll1Click", [this] { BuildAllClick(); });
    ConnectCommand(shell_, this, "Preview1", "Preview1Click", [this] { PreviewClick(); });
}

void TBuildUnit::BuildAllClick() {
    const std::string& project = shell_.Project().ProjectFile();
    auto processProject = shell_.Libraries().entry.ProcessProject;
    if (project == "none" || !processProject || !projectSavedForBuild(shell_))
        return;
    BusyCursor busy;
    ProcessMessages();
    processProject(project.c_str(), "", shell_.MainHandle(), 0, 0);
}

void TBuildUnit::PreviewClick() {
    std::string fullPath;
    if (!selectedFile(shell_, fullPath) || !projectSavedForBuild(shell_))
        return;
    const std::string& project = shell_.Project().ProjectFile();
    if (auto processProject = shell_.Libraries().entry.ProcessProject)
        processProject(project.c_str(), fullPath.c_str(), shell_.MainHandle(), 0, 0);
    // The page the build wrote, by the same path model; a page that was not
    // built is still handed over, and the handler reports it.
    const ProjectState& state = shell_.Project().Project();
    ShellOpen(build::BuiltPagePath(state.SourceDir, state.OutputDir, fullPath));
}

}  // namespace vlr
