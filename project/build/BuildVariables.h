// The variables a page can refer to during a build: the fourteen internal
// variables, computed once per build from the project and the environment,
// and the project's own variables. Internal names win over project names.
#pragma once

#include "project/build/SiteProject.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vlr::build {

// What the build cannot know by itself: the clock texts in the user's short
// formats and the program's folders and build number. The program fills it
// (see SystemEnvironment.h); tests fix it.
struct BuildEnvironment {
    std::string TimeNow;
    std::string DateNow;
    std::string AppDir;     // with a trailing "/"
    std::string SystemDir;
    std::string WinDir;
    std::string BuildNum;
};

// The marker every "Header" value starts with.
inline constexpr std::string_view kHeaderMarker = "<!-- VLR1.0::";

// The fourteen internal variables in their fixed order: "Header",
// "SourceDir", "OutputDir", "ImageDir", "ImgPrefix", "TimeNow", "DateNow",
// "ProjectPath", "VLRRootDir", "SystemDir", "WinDir", "BuildNum", "ProjFile",
// "SnippetsDir".
std::vector<std::pair<std::string, std::string>> InternalVariables(const SiteProject& project,
                                                                   const BuildEnvironment& env);

// Name to value for one build: internal variables first, then the project's;
// the first entry of a name wins in each list.
class VariableTable {
public:
    VariableTable() = default;
    VariableTable(const SiteProject& project, const BuildEnvironment& env);

    // nullptr when neither list has the name.
    const std::string* Find(std::string_view name) const;

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> values_;
};

}  // namespace vlr::build
