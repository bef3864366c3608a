#include "libs/webpost/upload/PublishRules.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace fs = std::filesystem;

namespace vlr::upload {
namespace {

bool EndsWithNoCase(const std::string& s, const std::string& tail) {
    if (s.size() < tail.size())
        return false;
    return std::equal(tail.begin(), tail.end(), s.end() - static_cast<std::ptrdiff_t>(tail.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

}  // namespace

bool MayBePublished(const std::string& name) {
    if (name.empty() || name.front() == '.' || name.front() == '~' || name.back() == '~')
        return false;
    if (name.size() >= 2 && name.front() == '#' && name.back() == '#')
        return false;
    return !EndsWithNoCase(name, ".bak") && !EndsWithNoCase(name, ".vlrrec");
}

bool MayBePublishedPath(const std::string& relativePath) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = relativePath.find('/', start);
        if (!MayBePublished(relativePath.substr(start, slash - start)))
            return false;
        if (slash == std::string::npos)
            return true;
        start = slash + 1;
    }
}

bool LiesInsideFolder(const std::string& path, const std::string& folder) {
    std::error_code ec;
    const fs::path real = fs::canonical(path, ec);
    if (ec)
        return false;
    const fs::path base = fs::canonical(folder, ec);
    if (ec)
        return false;
    const std::string r = real.string(), b = base.string();
    if (r == b)
        return true;
    const std::string prefix = b.back() == '/' ? b : b + "/";
    return r.rfind(prefix, 0) == 0;
}

}  // namespace vlr::upload
