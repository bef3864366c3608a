// The state of the open project and its INI project file (".vlr"): reading a
// project file into the state and writing the state back in a fixed order,
// leaving every section the program does not own in place.
#pragma once

#include "appearance/UserSettings.h"

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

// Everything the main window keeps about the open project. A default-made
// state is "no project".
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

    [[nodiscard]] bool IsOpen() const { return ProjectFile != kNoProjectFile; }
    // Back to "no project": every field above except Switches, which keep their
    // values until the next project file is read.
    void Clear();
};

// Reads a project file into the state: ProjectFile := path, ProjectModified :=
// false, the directories and image prefix (missing keys give empty text), the
// five switches (missing keys give true), the variables and the files. Every
// list is replaced, not appended to. "files" is read key by key in file order;
// entries with an empty value are skipped, and a key repeated in the section is
// read once. A missing file reads as a project with no data.
void ReadProjectFile(const std::string& path, ProjectState& state);

// Writes the state to a project file: erases "directories", "variables" and
// "files", then writes the "files" entries as keys "0".."n-1" in AllFiles
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
