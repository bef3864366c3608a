// What the site build reads from a project file (".vlr"): the directories,
// the compiler switches, the source files and the project variables. Reading
// only; the program owns writing the file.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vlr::build {

// The build options of section "Compiler"; a missing key reads as true.
struct Switches {
    bool vars = true;
    bool db = true;
    bool scripts = true;
    bool extapps = true;
    bool includes = true;
};

struct SiteProject {
    std::string ProjectFile;  // full path of the ".vlr" file
    std::string SourceDir;
    std::string OutputDir;
    std::string SearchDir;
    std::string ImageDir;
    std::string ImgPrefix;
    Switches switches;
    // Full paths of the source files in project order (empty entries dropped).
    std::vector<std::string> Files;
    // The project variables, name and value, in file order.
    std::vector<std::pair<std::string, std::string>> Variables;
    // The key lines of section "Check" (the site check's rule settings), in file order.
    std::vector<std::pair<std::string, std::string>> CheckSettings;
};

// Reads a project file with the profile-file rules the program writes it
// with: section and key names without letter case, surrounding blanks and
// one pair of quotes removed, "1"/"0" booleans. Directories and files follow
// the project's path model (ProjectPaths.h): relative ones are taken from the
// project file's folder, every path is normalised, and the "files" section is
// read the way the program's file list reads it (every key once, in file
// order, whatever the numbering). Returns false with a reason when the file
// cannot be read.
[[nodiscard]] bool ReadSiteProject(const std::string& path, SiteProject& project, std::string& error);

// The same from the text of a project file; `path` places relative names.
void ParseSiteProject(const std::string& path, const std::string& text, SiteProject& project);

}  // namespace vlr::build
