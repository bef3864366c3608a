// The main window's project: opening, reading, saving and closing the project
// file, the project commands with their questions, the menu state of the File
// and Project menus, adding and removing files, and the variables and options
// dialogs with their exchange files.
#include "app/commands/MainCommands.h"
#include "app/units/CommandGate.h"
#include "project/unit/ProjectUnit.h"

#include "app/units/CoreLibraries.h"
#include "app/units/Preferences.h"
#include "app/units/ShellServices.h"
#include "platform/PrivateTempDir.h"
#include "platform/Prompter.h"
#include "project/unit/ProjectFileList.h"
#include "app/units/RecentItems.h"
#include "platform/System.h"
#include "project/model/OptionsExchange.h"
#include "project/open/FileKinds.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMainWindow>
#include <QMdiSubWindow>

#include <algorithm>
#include <cstdio>

namespace vlr {
namespace {

constexpr const char* kSaveQuestion = "Save changes to current project?";

void copySettings(const TUserSettingList& from, TUserSettingList& to) {
    to.Clear();
    for (int i = 0; i < from.Count(); ++i)
        to.Add(from.Items(i)->Name, from.Items(i)->Value);
}

ModalResult askToSave() {
    return ShowMessage(MessageKind::Confirmation, "", kSaveQuestion, BtnYesNoCancel);
}

FileDialogRequest openDialogRequest() {
    FileDialogRequest r;
    r.title = kOpenDialogTitle;
    r.filter = kOpenDialogFilter;
    r.multiSelect = true;
    return r;
}


}  // namespace

// ---- state of the project commands

void TProjectUnit::SetSaveProjectEnabled(bool enabled) {
    shell_.Gate().setEnabled("SaveProject1", enabled);
    shell_.Gate().setEnabled("SaveProject2", enabled);
}

void TProjectUnit::SetProjectCommands(bool open) {
    SetSaveProjectEnabled(false);
    for (const char* name : {"BuildAll1", "BuildAll2", "OrganizeVariables1", "ProjectVariables1", "Options1",
                             "ProjectOptions1", "AddFile1", "SaveProjectAs1", "CloseProject1"})
        shell_.Gate().setEnabled(name, open);
    fileList_->addButton()->setEnabled(open);
    fileList_->buildButton()->setEnabled(open && shell_.Gate().available(CommandGroup::Build));
    if (!open) {
        for (const char* name : {"RemoveFile1", "Preview1"})
            shell_.Gate().setEnabled(name, false);
        fileList_->removeButton()->setEnabled(false);
        fileList_->previewButton()->setEnabled(false);
    }
}

void TProjectUnit::SetProjectCaption(const QString& caption) {
    shell_.MainWidget()->setWindowTitle(caption);
    QGuiApplication::setApplicationDisplayName(caption);
}

void TProjectUnit::File1Click() {
    shell_.Enter("File1Click");
    const bool open = projectFile_ != kNoProjectFile;
    bool child = false;
    for (QMdiSubWindow* w : shell_.MdiArea()->subWindowList())
        child = child || !(w->isHidden() && w->testAttribute(Qt::WA_WState_ExplicitShowHide));
    shell_.Gate().setEnabled("SaveProject1", projectModified_);
    shell_.Gate().setEnabled("SaveProjectAs1", open);
    shell_.Gate().setEnabled("CloseProject1", open);
    shell_.Gate().setEnabled("Close1", child);
    shell_.Gate().setEnabled("SaveAs1", child);
    if (QAction* save = shell_.Commands().action("Save2"))
        shell_.Gate().setEnabled("Save1", save->isEnabled());
}

void TProjectUnit::Project1Click() {
    shell_.Enter("Project1Click");
    const bool open = projectFile_ != kNoProjectFile;
    for (const char* name : {"AddFile1", "BuildAll1", "OrganizeVariables1", "Options1"})
        shell_.Gate().setEnabled(name, open);
    shell_.Gate().setEnabled("RemoveFile1", fileList_->removeButton()->isEnabled());
    shell_.Gate().setEnabled("Preview1", fileList_->previewButton()->isEnabled());
}

// ---- operations

int TProjectUnit::CreateProject() {
    shell_.Enter("CreateProject");
    if (!shell_.Libraries().entry.NewProj)
        return 0;
    return shell_.Libraries().entry.NewProj(shell_.ApplicationHandle(), shell_.MainHandle());
}

void TProjectUnit::DoOpen(const std::string& given) {
    shell_.Enter("DoOpen");
    const std::string path = AbsolutePath(given);
    if (!QDir::setCurrent(QString::fromStdString(DirectoryOf(path)))) {
        ShowMessage(MessageKind::Error, "", "Your Projects Source Directory does not exist", BtnOk);
        // A lighter close before this left some project commands enabled.
        if (projectFile_ == kNoProjectFile)
            SetProjectCommands(false);
        return;
    }
    projectFile_ = path;
    project_.ProjectFile = path;
    SetProjectCaption(QString::fromStdString(ProjectCaption(path)));
    shell_.RecentProjects().Add(QString::fromStdString(path));
    RememberLastProject(path);
    BuildProjectOptions();
}

void TProjectUnit::RememberLastProject(const std::string& path) {
    // The start-up reopens the last project only while this key is not empty:
    // it follows the project the user has open, and a project closed by the
    // user is not reopened.
    Preferences(shell_.PreferencesPath()).WriteLastProject(path);
}

void TProjectUnit::BuildProjectOptions() {
    shell_.Enter("BuildProjectOptions");
    projectModified_ = false;
    ReadProjectFile(projectFile_, project_);
    copySettings(project_.ProjectVars, projectVariables_);
    project_.ProjectVars.Clear();
    SetProjectCommands(true);
    UpdateList();
}

bool TProjectUnit::SaveProjectFile() {
    shell_.Enter("SaveProjectFile");
    if (projectFile_ == kNoProjectFile)
        return false;
    copySettings(projectVariables_, project_.ProjectVars);
    std::string error;
    const bool ok = WriteProjectFile(project_, projectFile_, &error);
    project_.ProjectVars.Clear();
    if (!ok) {
        ShowMessage(MessageKind::Error, "", error + ". The project was not saved.", BtnOk);
        return false;
    }
    projectModified_ = false;
    project_.ProjectModified = false;
    SetSaveProjectEnabled(false);
    return true;
}

void TProjectUnit::SaveAsProjectFile() {
    shell_.Enter("SaveAsProjectFile");
    // The open dialog with its title and filter, but for one name that need
    // not exist yet: saving as a new file must be possible.
    FileDialogRequest request = openDialogRequest();
    request.multiSelect = false;
    request.mustExist = false;
    auto files = CurrentPrompter().OpenFiles(request);
    if (!files || files->empty() || projectFile_ == kNoProjectFile)
        return;
    const std::string path = AbsolutePath(files->front());
    copySettings(projectVariables_, project_.ProjectVars);
    std::string error;
    const bool ok = WriteProjectFile(project_, path, &error);
    project_.ProjectVars.Clear();
    if (!ok) {
        ShowMessage(MessageKind::Error, "", error + ". The project was not saved.", BtnOk);
        return;
    }
    projectFile_ = path;
    project_.ProjectFile = path;
    projectModified_ = false;
    project_.ProjectModified = false;
    SetSaveProjectEnabled(false);
    SetProjectCaption(QString::fromStdString(ProjectCaption(path)));
}

void TProjectUnit::ClearProjectData() {
    projectFile_ = kNoProjectFile;
    projectModified_ = false;
    project_.Clear();
    projectVariables_.Clear();
    internalVariables_.Clear();
}

void TProjectUnit::CloseProj() {
    shell_.Enter("CloseProj");
    if (projectFile_ != kNoProjectFile)
        RememberLastProject("");
    ClearProjectData();
    SetProjectCommands(false);
    SetProjectCaption("Velora");
    UpdateList();
}

void TProjectUnit::CloseProjy(const std::string& path) {
    shell_.Enter("CloseProjy");
    ClearProjectData();
    SetSaveProjectEnabled(false);
    for (const char* name : {"BuildAll1", "BuildAll2", "OrganizeVariables1", "ProjectVariables1"})
        shell_.Gate().setEnabled(name, false);
    fileList_->buildButton()->setEnabled(false);
    SetProjectCaption("Velora");
    UpdateList();
    DoOpen(path);
}

void TProjectUnit::SaveProj() {
    shell_.Enter("SaveProj");
    if (SaveProjectFile())
        CloseProj();
}

void TProjectUnit::SaveProjz() {
    shell_.Enter("SaveProjz");
    if (SaveProjectFile())
        CreateProject();
}

void TProjectUnit::CloseProjZ() {
    shell_.Enter("CloseProjZ");
    CloseProj();
    CreateProject();
}

void TProjectUnit::SaveProjy(const std::string& path) {
    shell_.Enter("SaveProjy");
    if (!SaveProjectFile())
        return;
    CloseProj();
    DoOpen(path);
}

// ---- commands

void TProjectUnit::NewProjectClick() {
    shell_.Enter("NewProject1Click");
    if (projectFile_ == kNoProjectFile || !projectModified_) {
        CloseProj();
        CreateProject();
        return;
    }
    switch (askToSave()) {
    case ModalResult::Yes: SaveProjz(); break;
    case ModalResult::No: CloseProjZ(); break;
    default: break;
    }
}

void TProjectUnit::OpenProjectPath(const std::string& path) {
    shell_.Enter("OpenProjectPath");
    if (projectFile_ == kNoProjectFile || !projectModified_) {
        CloseProj();
        DoOpen(path);
        return;
    }
    switch (askToSave()) {
    case ModalResult::Yes: SaveProjy(path); break;
    case ModalResult::No: CloseProjy(path); break;
    default: break;
    }
}

void TProjectUnit::SaveProjectClick() {
    shell_.Enter("SaveProject1Click");
    SaveProjectFile();
}

void TProjectUnit::SaveProjectAsClick() {
    shell_.Enter("SaveProjectAs1Click");
    SaveAsProjectFile();
}

void TProjectUnit::CloseProjectClick() {
    shell_.Enter("CloseProject1Click");
    if (!projectModified_) {
        CloseProj();
        return;
    }
    switch (askToSave()) {
    case ModalResult::Yes: SaveProj(); break;
    case ModalResult::No: CloseProj(); break;
    default: break;
    }
}

void TProjectUnit::AddFileClick() {
    shell_.Enter("AddFile1Click");
    if (projectFile_ == kNoProjectFile)
        return;
    // Pages are added from the source folder, where they belong.
    FileDialogRequest request = openDialogRequest();
    request.initialDir = project_.SourceDir.empty() ? ProjectFolder(project_) : project_.SourceDir;
    auto files = CurrentPrompter().OpenFiles(request);
    if (files)
        AddFiles(*files);
}

void TProjectUnit::AddFiles(const std::vector<std::string>& paths) {
    shell_.Enter("AddFiles");
    for (const std::string& path : paths) {
        // The same file however it is spelled: the list keeps full paths.
        const std::string full = AbsolutePath(path);
        const bool present = HasProjectFile(project_, full);
        if (IsProjectSourceFile(path) && !present) {
            AppendProjectFile(project_, full);
            projectModified_ = true;
            SetSaveProjectEnabled(true);
        } else if (present) {
            ShowMessage(MessageKind::Error, "", "The file " + path + ", is already in the project", BtnOk);
        } else {
            ShowMessage(MessageKind::Information, "Information", "VLR Projects contain HTML source files only",
                        BtnOk);
        }
    }
    UpdateList();
}

bool TProjectUnit::AddToProject(const std::string& path) {
    shell_.Enter("AddToProject");
    // Without a project there is no file to keep the entry in.
    if (projectFile_ == kNoProjectFile)
        return false;
    const std::string full = AbsolutePath(path);
    if (HasProjectFile(project_, full)) {
        ShowMessage(MessageKind::Error, "", "The file " + path + ", is already in the project", BtnOk);
        return false;
    }
    AppendProjectFile(project_, full);
    projectModified_ = true;
    SetSaveProjectEnabled(true);
    UpdateList();
    return true;
}

void TProjectUnit::RemoveFileClick() {
    shell_.Enter("RemoveFile1Click");
    if (!fileList_->RemoveSelected())
        return;
    // The rows keep each file's full path, so a file outside the source
    // directory keeps its real location.
    project_.AllFiles.clear();
    for (const ProjectFileList::Row& row : fileList_->Rows())
        project_.AllFiles.push_back(row.fullPath);
    projectModified_ = true;
    SetSaveProjectEnabled(true);
    fileList_->removeButton()->setEnabled(false);
    UpdateList();
}

void TProjectUnit::OrganizeVariablesClick() {
    shell_.Enter("OrganizeVariables1Click");
    if (projectFile_ == kNoProjectFile || !shell_.Libraries().entry.DoVars)
        return;
    const std::string exchange = PrivateTempFile("~fsetting.tmp");
    try {
        projectVariables_.SaveToFile(exchange);
    } catch (const EUserSettingsError& e) {
        ShowMessage(MessageKind::Error, "", std::string("The project variables could not be edited: ") + e.what(),
                    BtnOk);
        return;
    }
    const bool accepted = shell_.Libraries().entry.DoVars(shell_.ApplicationHandle()) == 1;
    if (accepted) {
        // Read into a list of its own first: a damaged or missing file must
        // not cost the project its variables.
        TUserSettingList edited;
        try {
            edited.LoadFromFile(exchange);
        } catch (const EUserSettingsError& e) {
            std::remove(exchange.c_str());
            ShowMessage(MessageKind::Error, "",
                        std::string("The edited variables could not be read back; the project keeps its "
                                    "variables. ") + e.what(),
                        BtnOk);
            return;
        }
        copySettings(edited, projectVariables_);
        projectModified_ = true;
        SetSaveProjectEnabled(true);
    }
    std::remove(exchange.c_str());
}

void TProjectUnit::ProjectOptionsClick() {
    shell_.Enter("Options1Click");
    if (projectFile_ == kNoProjectFile || !shell_.Libraries().entry.ShowProjPref)
        return;
    const std::string exchange = OptionsExchangePath(vlr::UserDataDir());
    std::string error;
    if (!WriteOptionsExchange(project_, exchange, &error)) {
        ShowMessage(MessageKind::Error, "", error, BtnOk);
        return;
    }
    const bool accepted = shell_.Libraries().entry.ShowProjPref(shell_.ApplicationHandle(), shell_.MainHandle()) == 1;
    if (!accepted || !QFileInfo::exists(QString::fromStdString(exchange))) {
        std::remove(exchange.c_str());
        return;
    }
    ReadOptionsExchange(exchange, project_);
    std::remove(exchange.c_str());
    if (!WriteProjectOptions(project_, projectFile_, &error))
        ShowMessage(MessageKind::Error, "", error, BtnOk);
    // The files stay as they are; their output folders follow the new
    // directories on the display.
    UpdateList();
}

void TProjectUnit::CompileClick() {
    shell_.Enter("Compile1Click");
    if (!fileList_->HasSelection() || !shell_.Libraries().entry.ProcessProject)
        return;
    // The build reads the project file: unsaved changes are saved first.
    if (projectModified_ && !SaveProjectFile())
        return;
    const std::string path = fileList_->Selected().fullPath;
    shell_.Libraries().entry.ProcessProject(projectFile_.c_str(), path.c_str(), shell_.MainHandle(), 0, 0);
}

int TProjectUnit::BuildSingle(const std::string& path, bool flag) {
    shell_.Enter("BuildSingle");
    if (!shell_.Libraries().entry.ProcessProject)
        return 0;
    return shell_.Libraries().entry.ProcessProject(projectFile_.c_str(), path.c_str(), shell_.MainHandle(), 0, flag ? -1 : 0);
}

}  // namespace vlr
