// The project unit of the main window: the open project and its file, the
// project commands with their questions, project and internal variables with
// the Variables box, opening files by type, the project's file list in the
// side panel, and the project messages that editor windows and the outside
// modules send.
#pragma once

#include "app/units/FeatureUnit.h"
#include "app/units/ProjectAccess.h"
#include "appearance/UserSettings.h"
#include "project/model/ProjectModel.h"

#include <QObject>
#include <QStringList>

#include <string>
#include <vector>

namespace vlr {

class ProjectFileList;
class ShellServices;

class TProjectUnit : public QObject, public FeatureUnit, public ProjectAccess {
    Q_OBJECT
public:
    explicit TProjectUnit(ShellServices& shell);
    ~TProjectUnit() override;

    // FeatureUnit
    const char* UnitName() const override { return "project"; }
    std::vector<unsigned> Messages() const override;
    LResult HandleMessage(unsigned msg, WParam wParam, LParam lParam) override;
    void ConnectCommands() override;
    void Created() override;
    bool CloseQuery() override;
    void Closed() override;

    // ProjectAccess
    const std::string& ProjectFile() const override { return projectFile_; }
    bool ProjectModified() const override { return projectModified_; }
    const ProjectState& Project() const override { return project_; }
    TUserSettingList& ProjectVariables() override { return projectVariables_; }
    TUserSettingList& InternalVariables() override { return internalVariables_; }
    std::string VariableValueOf(const std::string& name) override;
    void ParseToOpen(const std::string& path) override;
    bool AddToProject(const std::string& path) override;
    bool SaveProjectFile() override;
    void CloseProject() override { CloseProjectClick(); }

    // Shortcuts to the open project's state.
    const std::string& SourceDir() const { return project_.SourceDir; }
    const std::string& OutputDir() const { return project_.OutputDir; }
    const std::string& SearchDir() const { return project_.SearchDir; }
    const std::string& ImageDir() const { return project_.ImageDir; }
    const std::string& ImgPrefix() const { return project_.ImgPrefix; }
    const std::vector<std::string>& AllFiles() const { return project_.AllFiles; }
    ProjectFileList& projectFileList() const { return *fileList_; }
    // Marks the project state as the shell last knew it (tests and start-up).
    void SetProjectState(const std::string& projectFile, bool modified);

    // Project operations.
    int CreateProject();
    void DoOpen(const std::string& path);
    void BuildProjectOptions();
    void SaveAsProjectFile();
    void CloseProj();
    void CloseProjy(const std::string& path);
    void SaveProj();
    void SaveProjz();
    void CloseProjZ();
    void SaveProjy(const std::string& path);
    std::string GetProj() const { return projectFile_; }

    // Project commands.
    void NewProjectClick();
    void OpenProjectPath(const std::string& path);
    void SaveProjectClick();
    void SaveProjectAsClick();
    void CloseProjectClick();
    void AddFileClick();
    void AddFiles(const std::vector<std::string>& paths);
    void RemoveFileClick();
    void OrganizeVariablesClick();
    void ProjectOptionsClick();
    void CompileClick();
    // Menu state when the File and Project menus open.
    void File1Click();
    void Project1Click();

    // Internal variables, the Variables drop-down and Insert Variable.
    void InternalVars();
    void VariablesDropDown();
    void InsertVariableClick();

    // Opening files by type and the file list.
    void OpenClick();
    void SetThePic(const std::string& kind);
    void SetImageEx(const std::string& kind);
    void UpdateList();
    void FilesDroppedOnList(const QStringList& paths);
    void FilesDroppedOnDock(const QStringList& paths);
    // Files dropped on a toolbar dock, opened inside the method guard.
    void DockDrop(const QStringList& paths);
    int BuildSingle(const std::string& path, bool flag);
    // A document was saved under a new name: a page saved into the source
    // folder that the project does not list yet is offered for adding.
    void OfferToAddToProject(const std::string& path);
    void SendHintBack(const std::string& text);

private:
    void SetProjectCommands(bool open);
    void SetSaveProjectEnabled(bool enabled);
    void SetProjectCaption(const QString& caption);
    void ClearProjectData();
    void ConnectDockDrops();
    void RememberLastProject(const std::string& path);
    std::string LookupPath(const std::string& name) const;

    ShellServices& shell_;
    ProjectState project_;
    std::string projectFile_ = kNoProjectFile;
    bool projectModified_ = false;
    TUserSettingList projectVariables_;
    TUserSettingList internalVariables_;
    ProjectFileList* fileList_ = nullptr;
    QObject* dockDrops_ = nullptr;
};

}  // namespace vlr
