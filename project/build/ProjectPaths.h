// The one path model of a project, shared by the project file list, Add File,
// Preview, the build in the program and the command-line build: how the paths
// a project file stores are read (a relative one is taken from the project
// file's folder), how they are written back (in the form they had), how two of
// them are compared, and where the page of a source file is built.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vlr::build {

// The folder a project file's relative paths are taken from: the folder of
// the project file, normalised. Empty when the path names no folder.
std::string ProjectFolderOf(std::string_view projectFile);

// A path the project file can store relative to its folder: not empty and not
// starting at the root.
bool IsRelativePath(std::string_view path);

// A stored path as the project means it: an absolute one as it stands, a
// relative one below projectFolder; normalised either way ("src/" and
// "./src" are the same folder). Empty stays empty.
std::string ResolveProjectPath(std::string_view projectFolder, std::string_view stored);

// A full path in the form the project file keeps: with `relative`, the path
// from projectFolder to it ("src/blog/new.hts", "../shared/x.hts"); otherwise
// the full path itself. A path that cannot be reached from projectFolder (an
// empty or relative folder) is kept as it stands.
std::string StoredProjectPath(std::string_view projectFolder, std::string_view full, bool relative);

// True when the stored form of a path that was added to a project should be
// relative: the project keeps its source folder relative and the path lies
// inside the project folder (so moving the folder takes the file along).
bool KeepsRelative(std::string_view projectFolder, std::string_view full, bool projectIsRelative);

// Whether a and b name the same file once both are normalised.
bool SamePath(std::string_view a, std::string_view b);

// The one reading of the "files" section, given its keys and values in file
// order: every key is read once (the first of a name repeated without regard
// to letter case), in file order, whatever the numbering, so a gap loses
// nothing; an empty value is no file. Each file is resolved against
// projectFolder.
std::vector<std::string> ProjectFileEntries(const std::vector<std::pair<std::string, std::string>>& keysAndValues,
                                            std::string_view projectFolder);

// The folder below the output folder that a source file is built into: its
// folder relative to sourceDir, or empty when it is directly in sourceDir or
// outside it.
std::string OutputFolderOf(std::string_view sourceDir, std::string_view sourceFile);

// The page a whole-project build writes for a source file:
// outputDir/<output folder>/<name>.html.
std::string BuiltPagePath(std::string_view sourceDir, std::string_view outputDir, std::string_view sourceFile);

}  // namespace vlr::build
