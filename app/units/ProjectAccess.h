// What the project unit offers the other units: the open project's state, its
// variables, opening files by type, and the project operations other
// subsystems start (plug-ins, build, authoring).
#pragma once

#include "project/model/ProjectModel.h"

#include <string>
#include <vector>

namespace vlr {

class TUserSettingList;

class ProjectAccess {
public:
    virtual ~ProjectAccess() = default;

    // The project file's full path, or "none" while no project is open.
    virtual const std::string& ProjectFile() const = 0;
    virtual bool ProjectModified() const = 0;
    // Directories, switches and files of the open project.
    virtual const ProjectState& Project() const = 0;
    virtual TUserSettingList& ProjectVariables() = 0;
    virtual TUserSettingList& InternalVariables() = 0;
    // The value of a variable: internal variables first, then the project's;
    // "" when neither knows the name.
    virtual std::string VariableValueOf(const std::string& name) = 0;

    // Opens a file by its type (project, picture, text document).
    virtual void ParseToOpen(const std::string& path) = 0;
    // Adds one source file to the open project; false when there is no
    // project or the file is already part of it.
    virtual bool AddToProject(const std::string& path) = 0;
    // Saves the open project; false (after telling the user) when it could not be written.
    virtual bool SaveProjectFile() = 0;
    // Closes the open project, asking first when it holds unsaved changes.
    virtual void CloseProject() = 0;
};

}  // namespace vlr
