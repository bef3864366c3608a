// What the editor windows' completion list offers of the open project: its variables with the
// program's own, and the files its pages may include.
#include "app/units/ProjectAccess.h"
#include "app/units/ShellServices.h"
#include "editor/unit/EditorUnit.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace vlr {

namespace {

// A source folder with more files than this offers the first ones only.
constexpr std::size_t kMostIncludeFiles = 2000;

}  // namespace

std::vector<std::string> TEditorUnit::CompletionVariables() {
    ProjectAccess& project = shell_.Project();
    std::vector<std::string> names;
    for (TUserSettingList* list : {&project.ProjectVariables(), &project.InternalVariables()})
        for (int i = 0; i < list->Count(); ++i)
            if (const TUserSetting* s = list->Items(i); s && !s->Name.empty())
                names.push_back(s->Name);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::vector<std::string> TEditorUnit::CompletionIncludes() {
    namespace fs = std::filesystem;
    const ProjectState& p = shell_.Project().Project();
    if (!p.IsOpen() || p.SourceDir.empty())
        return {};
    // Include files are the source folder's files that are not pages of the project.
    std::vector<fs::path> pages;
    for (const std::string& f : p.AllFiles)
        pages.push_back(fs::path(f).lexically_normal());
    std::sort(pages.begin(), pages.end());
    const fs::path root = fs::path(p.SourceDir).lexically_normal();
    std::vector<std::string> out;
    std::error_code ec;
    fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec), end;
    for (; !ec && it != end && out.size() < kMostIncludeFiles; it.increment(ec)) {
        const fs::path& path = it->path();
        if (!path.filename().empty() && path.filename().string().front() == '.') {
            if (it->is_directory(ec))
                it.disable_recursion_pending();
            continue;
        }
        if (!it->is_regular_file(ec) || std::binary_search(pages.begin(), pages.end(), path.lexically_normal()))
            continue;
        out.push_back(path.lexically_relative(root).generic_string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace vlr
