// The projects the user trusts to build outside their own folder (see
// BuildGuard.h). The answer belongs to the user, never to the project: it is
// kept in a file of the user's own folder, one project file a line, named by
// its path with every link followed, so that another path to the same project
// finds it and a project elsewhere under the same name does not.
//
// The file:
//   ; comment lines and empty lines are skipped
//   /home/user/sites/walks/site.vlr
// Lines that do not start with "/" are skipped; a path with a line break is
// never trusted.
#pragma once

#include <set>
#include <string>

namespace vlr::build {

// Name of the file in the user's folder.
inline constexpr const char* kTrustedProjectsName = "trusted.dat";

class TrustedProjects {
public:
    // `storeFile`: where the list is kept. A missing or unreadable file is
    // an empty list.
    explicit TrustedProjects(std::string storeFile);

    [[nodiscard]] bool Contains(const std::string& projectFile) const;
    // Adds the project and writes the list whole; false, with the reason,
    // when it could not be written (the project is then trusted for as long
    // as this object lives).
    [[nodiscard]] bool Add(const std::string& projectFile, std::string* error = nullptr);

    // The key a project file is kept under: its resolved path.
    static std::string KeyOf(const std::string& projectFile);

private:
    std::string file_;
    std::set<std::string> projects_;
};

}  // namespace vlr::build
