// The main window's project: opening, reading, saving and closing the project
// file, the project commands with their questions, the menu state of the File
// and Project menus, adding and removing files, and the variables and options
// dialogs with their exchange files.
#include "app/commands/MainCommands.h"
#include "app/shell/CommandGate.h"
#include "app/shell/MainWindow.h"
#include "platform/Prompter.h"
#include "app/shell/ProjectFileList.h"
#include "app/shell/RecentList.h"
#include "platform/System.h"
#include "project/model/OptionsExchange.h"
#include "project/open/FileKinds.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
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

std::string absolutePath(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
}

}  // namespace

// ---- state of the project commands

void TFrmMainVLR::SetSaveProjectEnabled(bool enabled) {
    gate_->setEnabled("SaveProject1", enabled);
    gate_->setEnabled("SaveProject2", enabled);
}

void TFrmMainVLR::SetProjectCommands(bool open) {
    SetSaveProjectEnabled(false);
    for (const char* name : {"BuildAll1", "BuildAll2", "OrganizeVariables1", "ProjectVariables1", "Options1",
                             "ProjectOptions1", "AddFile1", "SaveProjectAs1", "CloseProject1"})
        gate_->setEnabled(name, open);
    fileList_->addButton()->setEnabled(open);
    fileList_->buildButton()->setEnabled(open && gate_->available(CommandGroup::Build));
    if (!open) {
        for (const char* name : {"RemoveFile1", "Preview1"})
            gate_->setEnabled(name, false);
        fileList_->removeButton()->setEnabled(false);
        fileList_->previewButton()->setEnabled(false);
    }
}

void TFrmMainVLR::SetProjectCaption(const QString& caption) {
    setWindowTitle(caption);
    QGuiApplication::setApplicationDisplayName(caption);
}

void TFrmMainVLR::File1Click() {
    enter("File1Click");
    const bool open = projectFile_ != kNoProjectFile;
    bool child = false;
    for (QMdiSubWindow* w : mdi_->subWindowList())
        child = child || !(w->isHidden() && w->testAttribute(Qt::WA_WState_ExplicitShowHide));
    gate_->setEnabled("SaveProject1", projectModified_);
    gate_->setEnabled("SaveProjectAs1", open);
    gate_->setEnabled("CloseProject1", open);
    gate_->setEnabled("Close1", child);
    gate_->setEnabled("SaveAs1", child);
    if (QAction* save = action("Save2"))
        gate_->setEnabled("Save1", save->isEnabled());
}

void TFrmMainVLR::Project1Click() {
    enter("Project1Click");
    const bool open = projectFile_ != kNoProjectFile;
    for (const char* name : {"AddFile1", "BuildAll1", "OrganizeVariables1", "Options1"})
        gate_->setEnabled(name, open);
    gate_->setEnabled("RemoveFile1", fileList_->removeButton()->isEnabled());
    gate_->setEnabled("Preview1", fileList_->previewButton()->isEnabled());
}

// ---- operations

int TFrmMainVLR::CreateProject() {
    enter("CreateProject");
    if (!libraries_.entry.NewProj)
        return 0;
    return libraries_.entry.NewProj(appHandle_, handle_);
}

void TFrmMainVLR::DoOpen(const std::string& given) {
    enter("DoOpen");
    const std::string path = absolutePath(given);
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
    recentProjects_->Add(QString::fromStdString(path));
    BuildProjectOptions();
}

void TFrmMainVLR::BuildProjectOptions() {
    enter("BuildProjectOptions");
    projectModified_ = false;
    ReadProjectFile(projectFile_, project_);
    copySettings(project_.ProjectVars, projectVariables_);
    project_.ProjectVars.Clear();
    SetProjectCommands(true);
    UpdateList();
}

bool TFrmMainVLR::SaveProjectFile() {
    enter("SaveProjectFile");
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

void TFrmMainVLR::SaveAsProjectFile() {
    enter("SaveAsProjectFile");
    // The open dialog with its title and filter, but for one name that need
    // not exist yet: saving as a new file must be possible.
    FileDialogRequest request = openDialogRequest();
    request.multiSelect = false;
    request.mustExist = false;
    auto files = CurrentPrompter().OpenFiles(request);
    if (!files || files->empty() || projectFile_ == kNoProjectFile)
        return;
    const std::string path = absolutePath(files->front());
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

void TFrmMainVLR::ClearProjectData() {
    projectFile_ = kNoProjectFile;
    projectModified_ = false;
    project_.Clear();
    projectVariables_.Clear();
    internalVariables_.Clear();
}

void TFrmMainVLR::CloseProj() {
    enter("CloseProj");
    ClearProjectData();
    SetProjectCommands(false);
    SetProjectCaption("Velora");
    UpdateList();
}

void TFrmMainVLR::CloseProjy(const std::string& path) {
    enter("CloseProjy");
    ClearProjectData();
    SetSaveProjectEnabled(false);
    for (const char* name : {"BuildAll1", "BuildAll2", "OrganizeVariables1", "ProjectVariables1"})
        gate_->setEnabled(name, false);
    fileList_->buildButton()->setEnabled(false);
    SetProjectCaption("Velora");
    UpdateList();
    DoOpen(path);
}

void TFrmMainVLR::SaveProj() {
    enter("SaveProj");
    if (SaveProjectFile())
        CloseProj();
}

void TFrmMainVLR::SaveProjz() {
    enter("SaveProjz");
    if (SaveProjectFile())
        CreateProject();
}

void TFrmMainVLR::CloseProjZ() {
    enter("CloseProjZ");
    CloseProj();
    CreateProject();
}

void TFrmMainVLR::SaveProjy(const std::string& path) {
    enter("SaveProjy");
    if (!SaveProjectFile())
        return;
    CloseProj();
    DoOpen(path);
}

// ---- commands

void TFrmMainVLR::NewProjectClick() {
    enter("NewProject1Click");
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

void TFrmMainVLR::OpenProjectPath(const std::string& path) {
    enter("OpenProjectPath");
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

void TFrmMainVLR::SaveProjectClick() {
    enter("SaveProject1Click");
    SaveProjectFile();
}

void TFrmMainVLR::SaveProjectAsClick() {
    enter("SaveProjectAs1Click");
    SaveAsProjectFile();
}

void TFrmMainVLR::CloseProjectClick() {
    enter("CloseProject1Click");
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

void TFrmMainVLR::AddFileClick() {
    enter("AddFile1Click");
    if (projectFile_ == kNoProjectFile)
        return;
    auto files = CurrentPrompter().OpenFiles(openDialogRequest());
    if (files)
        AddFiles(*files);
}

void TFrmMainVLR::AddFiles(const std::vector<std::string>& paths) {
    enter("AddFiles");
    for (const std::string& path : paths) {
        const bool present = std::find(project_.AllFiles.begin(), project_.AllFiles.end(), path) !=
                             project_.AllFiles.end();
        if (IsProjectSourceFile(path) && !present) {
            project_.AllFiles.push_back(path);
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

bool TFrmMainVLR::AddToProject(const std::string& path) {
    enter("AddToProject");
    // Without a project there is no file to keep the entry in.
    if (projectFile_ == kNoProjectFile)
        return false;
    if (std::find(project_.AllFiles.begin(), project_.AllFiles.end(), path) != project_.AllFiles.end()) {
        ShowMessage(MessageKind::Error, "", "The file " + path + ", is already in the project", BtnOk);
        return false;
    }
    project_.AllFiles.push_back(path);
    projectModified_ = true;
    SetSaveProjectEnabled(true);
    UpdateList();
    return true;
}

void TFrmMainVLR::RemoveFileClick() {
    enter("RemoveFile1Click");
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

void TFrmMainVLR::OrganizeVariablesClick() {
    enter("OrganizeVariables1Click");
    if (projectFile_ == kNoProjectFile || !libraries_.entry.DoVars)
        return;
    const std::string exchange = TempDir() + "~fsetting.tmp";
    try {
        projectVariables_.SaveToFile(exchange);
    } catch (const EUserSettingsError& e) {
        ShowMessage(MessageKind::Error, "", std::string("The project variables could not be edited: ") + e.what(),
                    BtnOk);
        return;
    }
    const bool accepted = libraries_.entry.DoVars(appHandle_) == 1;
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

void TFrmMainVLR::ProjectOptionsClick() {
    enter("Options1Click");
    if (projectFile_ == kNoProjectFile || !libraries_.entry.ShowProjPref)
        return;
    const std::string exchange = OptionsExchangePath(appDir_);
    std::string error;
    if (!WriteOptionsExchange(project_, exchange, &error)) {
        ShowMessage(MessageKind::Error, "", error, BtnOk);
        return;
    }
    const bool accepted = libraries_.entry.ShowProjPref(appHandle_, handle_) == 1;
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

void TFrmMainVLR::CompileClick() {
    enter("Compile1Click");
    if (!fileList_->HasSelection() || !libraries_.entry.ProcessProject)
        return;
    const std::string path = fileList_->Selected().fullPath;
    libraries_.entry.ProcessProject(projectFile_.c_str(), path.c_str(), handle_, 0, 0);
}

int TFrmMainVLR::BuildSingle(const std::string& path, bool flag) {
    enter("BuildSingle");
    if (!libraries_.entry.ProcessProject)
        return 0;
    return libraries_.entry.ProcessProject(projectFile_.c_str(), path.c_str(), handle_, 0, flag ? -1 : 0);
}

}  // namespace vlr
