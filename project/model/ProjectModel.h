// The state of the open project and its INI project file (".vlr"): reading a
// project file into the state and writing the state back in a fixed order,
// leaving every section the program does not own in place.
#pragma once

#include "appearance/UserSettings.h"

#include <set>
#include <string>
#include <vector>

namespace vlr {

// The value of ProjectFile while no project is open.
inline constexpr const char* kNoProjectFile = "none";

// Build options handed to the outside build; a missing key reads as true.
struct CompilerSwitches {
    bool vars = true;
    bool db = true;
    bool scripts = true;
    bool extapps = true;
    bool includes = true;

    bool operator==(const CompilerSwitches&) const = default;
};

// Which paths the project file keeps relative to its own folder. In memory
// every path is full; these say how each is written back.
struct StoredForms {
    bool src = false;
    bool out = false;
    bool img = false;
    bool search = false;
    // Full paths of the files written relative to the project file's folder.
    std::set<std::string> relativeFiles;

    bool operator==(const StoredForms&) const = default;
};

// Everything the main window keeps about the open project. A default-made
// state is "no project". The directories and files are full paths, whatever
// form the project file keeps them in.
struct ProjectState {
    std::string ProjectFile = kNoProjectFile;
    bool ProjectModified = false;
    std::string SourceDir;
    std::string OutputDir;
    std::string SearchDir;
    std::string ImageDir;
    std::string ImgPrefix;
    CompilerSwitches Switches;
    // Full paths of the project's source files, in project order.
    std::vector<std::string> AllFiles;
    // Key names of section "variables" as last read.
    std::vector<std::string> Variables;
    // Key names of section "files" as last read.
    std::vector<std::string> FilesCount;
    // The project's user variables, name and value, in file order.
    TUserSettingList ProjectVars;
    StoredForms Forms;

    [[nodiscard]] bool IsOpen() const { return ProjectFile != kNoProjectFile; }
    // Back to "no project": every field above except Switches, which keep their
    // values until the next project file is read.
    void Clear();
};

// Reads a project file into the state: ProjectFile := path, ProjectModified :=
// false, the directories and image prefix (missing keys give empty text), the
// five switches (missing keys give true), the variables and the files. Every
// list is replaced, not appended to. Paths follow the project's path model
// (project/build/ProjectPaths.h), the one the build reads them with: relative
// ones are taken from the project file's folder and kept in memory as full
// paths, with their form remembered in Forms; "files" is read key by key in
// file order, entries with an empty value are skipped, and a key repeated in
// the section is read once. A missing file reads as a project with no data.
void ReadProjectFile(const std::string& path, ProjectState& state);

// The folder the project's relative paths are taken from (empty without a project).
std::string ProjectFolder(const ProjectState& state);

// A directory or file as the project file keeps it: relative to the folder of
// projectFile when `relative`, the full path otherwise.
std::string StoredForm(const std::string& projectFile, const std::string& full, bool relative);

// A directory as a user gave it (relative to the project file's folder, or
// full), made full, with its form recorded in *relative.
std::string FullDirectory(const ProjectState& state, const std::string& given, bool* relative);

// Whether the project already lists the file (compared as full, normalised paths).
bool HasProjectFile(const ProjectState& state, const std::string& path);

// Appends a file (a full path) to AllFiles. It is kept relative in the project
// file when the project keeps its source folder relative and the file lies
// inside the project's folder.
void AppendProjectFile(ProjectState& state, const std::string& path);

// Writes the state to a project file: erases "directories", "variables" and
// "files", then writes (each path in its stored form, relative ones from the
// folder of `path`) the "files" entries as keys "0".."n-1" in AllFiles
// order, "directories" src, out, img, search, "other"/"imgprep", the five
// "Compiler" switches in the order vars, db, scripts, extapps, includes, and
// the "variables" entries in list order. Other sections are kept. Returns false
// (with a reason in *error) when a text holds a line break, which the file form
// cannot carry; the file is then left untouched. Returns false as well when a
// write fails.
[[nodiscard]] bool WriteProjectFile(const ProjectState& state, const std::string& path,
                                    std::string* error = nullptr);

// Writes only the project options: erases "directories" and "Compiler", then
// writes "directories" src, out, img, search, "other"/"imgprep" and the five
// "Compiler" switches. The files and variables sections are not touched.
[[nodiscard]] bool WriteProjectOptions(const ProjectState& state, const std::string& path,
                                       std::string* error = nullptr);

}  // namespace vlr
