// Relative folder of a source file below the project's source directory.
#include "project/build/RelativeFolder.h"

#include <vector>

namespace vlr::build {
namespace {

struct NormalPath {
    bool absolute = false;
    std::vector<std::string_view> parts;
};

// Splits a path at "/" and resolves "." and ".." without touching the disk.
// ".." at the root of an absolute path stays at the root; leading ".." of a
// relative path is kept.
NormalPath Normalise(std::string_view path) {
    NormalPath out;
    out.absolute = !path.empty() && path.front() == '/';
    std::size_t pos = 0;
    while (pos <= path.size()) {
        std::size_t slash = path.find('/', pos);
        if (slash == std::string_view::npos)
            slash = path.size();
        std::string_view part = path.substr(pos, slash - pos);
        pos = slash + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!out.parts.empty() && out.parts.back() != "..")
                out.parts.pop_back();
            else if (!out.absolute)
                out.parts.push_back(part);
            continue;
        }
        out.parts.push_back(part);
    }
    return out;
}

}  // namespace

std::string LexicallyNormal(std::string_view path) {
    if (path.empty())
        return {};
    NormalPath n = Normalise(path);
    std::string out;
    for (std::string_view part : n.parts) {
        if (!out.empty() || n.absolute)
            out += '/';
        out += part;
    }
    if (out.empty())
        return n.absolute ? "/" : ".";
    return out;
}

std::string RelativeFolder(std::string_view sourceDir, std::string_view fileDir) {
    if (sourceDir.empty() || fileDir.empty())
        return {};
    NormalPath source = Normalise(sourceDir);
    NormalPath file = Normalise(fileDir);
    if (source.absolute != file.absolute || file.parts.size() < source.parts.size())
        return {};
    for (std::size_t i = 0; i < source.parts.size(); ++i)
        if (source.parts[i] != file.parts[i])
            return {};
    // After normalising, ".." can follow the matched part only when the source
    // is a relative path of ".." alone ("../.." below ".."): that file lies
    // above the source directory.
    std::string folder;
    for (std::size_t i = source.parts.size(); i < file.parts.size(); ++i) {
        if (file.parts[i] == "..")
            return {};
        if (!folder.empty())
            folder += '/';
        folder += file.parts[i];
    }
    return folder;
}

}  // namespace vlr::build
