// Internal and project variables of a build.
#include "project/build/BuildVariables.h"

namespace vlr::build {
namespace {

std::string fileNameOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderWithSlash(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

std::vector<std::pair<std::string, std::string>> InternalVariables(const SiteProject& project,
                                                                   const BuildEnvironment& env) {
    const std::string projFile = fileNameOf(project.ProjectFile);
    std::string header(kHeaderMarker);
    header += projFile + "::" + env.TimeNow + "::" + env.DateNow + " -->";
    return {
        {"Header", header},
        {"SourceDir", project.SourceDir},
        {"OutputDir", project.OutputDir},
        {"ImageDir", project.ImageDir},
        {"ImgPrefix", project.ImgPrefix},
        {"TimeNow", env.TimeNow},
        {"DateNow", env.DateNow},
        {"ProjectPath", folderWithSlash(project.ProjectFile)},
        {"VLRRootDir", env.AppDir},
        {"SystemDir", env.SystemDir},
        {"WinDir", env.WinDir},
        {"BuildNum", env.BuildNum},
        {"ProjFile", projFile},
        {"SnippetsDir", env.AppDir + "snippets/"},
    };
}

VariableTable::VariableTable(const SiteProject& project, const BuildEnvironment& env) {
    // emplace keeps the first entry of a name: internal ones go in first.
    for (auto& [name, value] : InternalVariables(project, env))
        values_.emplace(std::move(name), std::move(value));
    for (const auto& [name, value] : project.Variables)
        values_.emplace(name, value);
}

const std::string* VariableTable::Find(std::string_view name) const {
    auto it = values_.find(name);
    return it == values_.end() ? nullptr : &it->second;
}

}  // namespace vlr::build
