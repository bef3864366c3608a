// The bounds of a build and the sources no page may replace.
#include "project/build/BuildGuard.h"

#include "project/build/RelativeFolder.h"

#include <sys/stat.h>

namespace vlr::build {
namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

}  // namespace

BuildGuard::BuildGuard(const std::string& projectFile) : folder_(ResolvedPath(folderOf(projectFile))) {}

// A path ending in a name that is no link resolves to its folder's resolved
// path and the name: the folders, shared by many pages and includes, are
// resolved once per guard (a build), the name with one lstat, whose result
// `look` keeps. Anything else ("." or "..", a link, an absolute folder-less
// name) is resolved whole.
std::string BuildGuard::resolve(const std::string& path, Look* look) const {
    const std::size_t slash = path.rfind('/');
    if (path.empty() || path.front() != '/' || slash == std::string::npos || slash == 0)
        return ResolvedPath(path);
    const std::string name = path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..")
        return ResolvedPath(path);
    const std::string realFolder = resolvedFolder(path.substr(0, slash));
    if (realFolder.empty())
        return ResolvedPath(path);
    const std::string joined = realFolder == "/" ? "/" + name : realFolder + "/" + name;
    struct stat st {};
    const bool found = ::lstat(joined.c_str(), &st) == 0;
    if (found && S_ISLNK(st.st_mode))
        return ResolvedPath(path);
    if (look) {
        look->known = true;
        look->exists = found;
        look->info = st;
    }
    return joined;
}

bool BuildGuard::holds(const std::string& real) const {
    return !folder_.empty() && !real.empty() && IsWithin(folder_, real);
}

std::string BuildGuard::resolvedFolder(const std::string& folder) const {
    {
        std::lock_guard<std::mutex> lock(folders_->mutex);
        auto it = folders_->resolved.find(folder);
        if (it != folders_->resolved.end())
            return it->second;
    }
    std::string real = ResolvedPath(folder);
    if (!real.empty()) {
        std::lock_guard<std::mutex> lock(folders_->mutex);
        folders_->resolved.emplace(folder, real);
    }
    return real;
}

bool BuildGuard::FolderInside(const std::string& folder, std::string* resolved) const {
    const std::string real = resolvedFolder(folder);
    if (resolved)
        *resolved = real;
    return holds(real);
}

bool BuildGuard::Inside(const std::string& path, std::string* resolved) const {
    const std::string real = resolve(path);
    if (resolved)
        *resolved = real;
    return holds(real);
}

SourceLook BuildGuard::AddSourceAndLook(const std::string& path) {
    SourceLook out;
    Look look;
    const std::string real = resolve(path, &look);
    out.resolved = real;
    out.inside = holds(real);
    if (!look.known) {
        // A link, or a path resolved whole: looked at again, following it.
        AddSource(path);
        out.stamp = StampOf(path);
    } else if (look.exists) {
        // No link: what lstat saw is the file itself.
        sources_.emplace(FileIdentity{true, static_cast<std::uint64_t>(look.info.st_dev),
                                      static_cast<std::uint64_t>(look.info.st_ino)},
                         path);
        out.stamp = StampOf(look.info);
    }
    return out;
}

void BuildGuard::AddSource(const std::string& path) {
    const FileIdentity id = IdentityOf(path);
    if (id.exists)
        sources_.emplace(id, path);
}

std::string BuildGuard::SourceAt(const std::string& output) const {
    const FileIdentity id = IdentityOf(output, false);
    if (!id.exists)
        return {};
    auto it = sources_.find(id);
    return it == sources_.end() ? std::string() : it->second;
}

std::string OutsideText(const std::string& what, const std::string& shown, const std::string& resolved) {
    std::string text = what + " \"" + shown + "\"";
    if (!resolved.empty() && resolved != LexicallyNormal(shown))
        text += " (leads to " + resolved + ")";
    return text;
}

}  // namespace vlr::build
