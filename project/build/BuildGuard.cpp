// The bounds of a build and the sources no page may replace.
#include "project/build/BuildGuard.h"

#include "project/build/RelativeFolder.h"

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

bool BuildGuard::Inside(const std::string& path, std::string* resolved) const {
    const std::string real = ResolvedPath(path);
    if (resolved)
        *resolved = real;
    return !folder_.empty() && !real.empty() && IsWithin(folder_, real);
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
