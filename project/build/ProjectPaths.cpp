// The project's path model.
#include "project/build/ProjectPaths.h"

#include "platform/AsciiCase.h"
#include "project/build/RelativeFolder.h"

#include <unordered_set>

namespace vlr::build {
namespace {

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(AsciiLower(static_cast<unsigned char>(c)));
    return out;
}

// The components of a normalised absolute path ("/" gives none).
std::vector<std::string_view> components(std::string_view normal) {
    std::vector<std::string_view> parts;
    std::size_t pos = 1;
    while (pos < normal.size()) {
        std::size_t slash = normal.find('/', pos);
        if (slash == std::string_view::npos)
            slash = normal.size();
        parts.push_back(normal.substr(pos, slash - pos));
        pos = slash + 1;
    }
    return parts;
}

std::string folderOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return {};
    return std::string(slash == 0 ? path.substr(0, 1) : path.substr(0, slash));
}

std::string nameOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace

std::string ProjectFolderOf(std::string_view projectFile) {
    const std::string folder = folderOf(projectFile);
    return folder.empty() ? folder : LexicallyNormal(folder);
}

bool IsRelativePath(std::string_view path) { return !path.empty() && path.front() != '/'; }

std::string ResolveProjectPath(std::string_view projectFolder, std::string_view stored) {
    if (stored.empty())
        return {};
    if (!IsRelativePath(stored) || projectFolder.empty())
        return LexicallyNormal(stored);
    std::string joined(projectFolder);
    joined += '/';
    joined += stored;
    return LexicallyNormal(joined);
}

std::string StoredProjectPath(std::string_view projectFolder, std::string_view full, bool relative) {
    if (!relative || full.empty() || IsRelativePath(full) || projectFolder.empty() || projectFolder.front() != '/')
        return std::string(full);
    const std::string base = LexicallyNormal(projectFolder);
    const std::string target = LexicallyNormal(full);
    const std::vector<std::string_view> from = components(base);
    const std::vector<std::string_view> to = components(target);
    std::size_t common = 0;
    while (common < from.size() && common < to.size() && from[common] == to[common])
        ++common;
    std::string out;
    for (std::size_t i = common; i < from.size(); ++i)
        out += out.empty() ? ".." : "/..";
    for (std::size_t i = common; i < to.size(); ++i) {
        if (!out.empty())
            out += '/';
        out += to[i];
    }
    return out.empty() ? std::string(".") : out;
}

bool KeepsRelative(std::string_view projectFolder, std::string_view full, bool projectIsRelative) {
    if (!projectIsRelative || projectFolder.empty() || IsRelativePath(full))
        return false;
    const std::string folder = LexicallyNormal(projectFolder);
    const std::string path = LexicallyNormal(full);
    return path == folder || !RelativeFolder(folder, path).empty();
}

bool SamePath(std::string_view a, std::string_view b) { return LexicallyNormal(a) == LexicallyNormal(b); }

std::vector<std::string> ProjectFileEntries(const std::vector<std::pair<std::string, std::string>>& keysAndValues,
                                            std::string_view projectFolder) {
    std::vector<std::string> files;
    files.reserve(keysAndValues.size());
    std::unordered_set<std::string> seen;
    for (const auto& [key, value] : keysAndValues) {
        if (!seen.insert(lowered(key)).second)
            continue;
        if (!value.empty())
            files.push_back(ResolveProjectPath(projectFolder, value));
    }
    return files;
}

std::string OutputFolderOf(std::string_view sourceDir, std::string_view sourceFile) {
    return RelativeFolder(sourceDir, folderOf(sourceFile));
}

std::string BuiltPagePath(std::string_view sourceDir, std::string_view outputDir, std::string_view sourceFile) {
    const std::string name = nameOf(sourceFile);
    const std::size_t dot = name.rfind('.');
    const std::string page = (dot == std::string::npos || dot == 0 ? name : name.substr(0, dot)) + ".html";
    const std::string folder = OutputFolderOf(sourceDir, sourceFile);
    return std::string(outputDir) + "/" + (folder.empty() ? std::string() : folder + "/") + page;
}

}  // namespace vlr::build
