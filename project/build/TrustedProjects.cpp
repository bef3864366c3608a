// The user's list of trusted projects.
#include "project/build/TrustedProjects.h"

#include "project/build/FileIO.h"

#include <string_view>

namespace vlr::build {
namespace {

constexpr const char* kHeading =
    "; Projects this user trusts to read and write outside their own folder when built.\n";

// The list is small; a larger file is not one the program wrote.
constexpr std::size_t kMaxStoreBytes = std::size_t{4} << 20;

}  // namespace

TrustedProjects::TrustedProjects(std::string storeFile) : file_(std::move(storeFile)) {
    std::string text;
    if (!ReadWholeFile(file_, text, nullptr, kMaxStoreBytes))
        return;
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t nl = rest.find('\n');
        std::string_view line = rest.substr(0, nl);
        rest.remove_prefix(nl == std::string_view::npos ? rest.size() : nl + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty() && line.front() == '/')
            projects_.emplace(line);
    }
}

std::string TrustedProjects::KeyOf(const std::string& projectFile) { return ResolvedPath(projectFile); }

bool TrustedProjects::Contains(const std::string& projectFile) const {
    const std::string key = KeyOf(projectFile);
    return !key.empty() && projects_.count(key) > 0;
}

bool TrustedProjects::Add(const std::string& projectFile, std::string* error) {
    const std::string key = KeyOf(projectFile);
    if (key.empty() || key.find_first_of("\r\n") != std::string::npos) {
        if (error)
            *error = "the project's path cannot be kept in the list";
        return false;
    }
    projects_.insert(key);
    std::string text = kHeading;
    for (const std::string& project : projects_)
        text += project + "\n";
    return WriteWholeFile(file_, text, error);
}

}  // namespace vlr::build
