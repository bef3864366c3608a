#include "plugins/PlugInSearch.h"

#include <dirent.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <set>

namespace vlr {
namespace {

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string RealPath(const std::string& path) {
    char buffer[PATH_MAX];
    if (::realpath(path.c_str(), buffer) == nullptr)
        return path;
    return buffer;
}

void SearchFolder(const std::string& dir, const std::string& marker, std::vector<std::string>& result,
                  const SearchProgress& progress, std::set<std::string>& seen) {
    // A link back up the tree would otherwise make the search endless.
    if (!seen.insert(RealPath(dir)).second)
        return;
    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr)
        return;
    std::vector<std::string> folders;
    while (dirent* entry = ::readdir(d)) {
        const std::string name = entry->d_name;
        if (name.empty() || name[0] == '.')
            continue;
        if (progress)
            progress(name);
        const std::string path = dir + name;
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            folders.push_back(path + "/");
        else if (Upper(name).find(marker) != std::string::npos)
            result.push_back(path);
    }
    ::closedir(d);
    for (const std::string& folder : folders)
        SearchFolder(folder, marker, result, progress, seen);
}

}  // namespace

void SearchForPlugIns(const std::string& dir, const std::string& marker, std::vector<std::string>& result,
                      const SearchProgress& progress) {
    std::set<std::string> seen;
    std::string start = dir;
    if (!start.empty() && start.back() != '/')
        start += '/';
    SearchFolder(start, Upper(marker), result, progress, seen);
}

std::vector<std::string> SearchPlugInFolders(const std::vector<std::string>& dirs, const std::string& marker,
                                             const SearchProgress& progress) {
    std::vector<std::string> result;
    std::set<std::string> taken;  // paths relative to their plug-in folder
    for (std::string dir : dirs) {
        if (!dir.empty() && dir.back() != '/')
            dir += '/';
        std::vector<std::string> found;
        SearchForPlugIns(dir, marker, found, progress);
        for (std::string& path : found)
            if (taken.insert(path.substr(dir.size())).second)
                result.push_back(std::move(path));
    }
    return result;
}

}  // namespace vlr
