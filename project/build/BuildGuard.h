// What a build may touch. A project file is only text, and a project from
// someone else can name any file of the user as its output folder, as one
// of its files or as an include. Unless the user trusts the project, the
// build reads and writes only inside the project's folder: the folder of
// the project file, with every link on the way followed (a link inside that
// leads out is outside).
//
// Whatever the build reads is a source of the project, and no page is ever
// written over a source: files are compared by device and inode, so a link
// from the output folder into the source folder cannot make a page replace
// the text it was built from.
#pragma once

#include "project/build/FileIO.h"

#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <string>

namespace vlr::build {

// One look at a source: where it leads, whether that lies inside the
// project's folder, and its stamp (taken then, before it is read; a
// missing file has none).
struct SourceLook {
    std::string resolved;
    bool inside = false;
    FileStamp stamp;
};

class BuildGuard {
public:
    // `projectFile`: the project file's path (absolute or from the working folder).
    explicit BuildGuard(const std::string& projectFile);

    // The project's folder with links followed; "" when it cannot be
    // resolved (then nothing lies inside it).
    [[nodiscard]] const std::string& ProjectFolder() const { return folder_; }

    // True when `path` lies inside the project's folder once every link on
    // the way is followed. `resolved` receives the path it leads to.
    [[nodiscard]] bool Inside(const std::string& path, std::string* resolved = nullptr) const;
    // Inside for a folder the build writes into: resolved once per guard
    // (the build only ever adds plain folders and files, never links).
    [[nodiscard]] bool FolderInside(const std::string& folder, std::string* resolved = nullptr) const;

    // Remembers a file the build reads as a source of the project (a
    // missing file is not remembered).
    void AddSource(const std::string& path);
    // AddSource and Inside together, with a single look at the file when
    // its last step is no link.
    SourceLook AddSourceAndLook(const std::string& path);
    // The source a page written at `output` would replace: the path under
    // which it was added, or "" when there is none. A link at `output` is
    // not followed: writing the page replaces the link, not its target.
    [[nodiscard]] std::string SourceAt(const std::string& output) const;

private:
    // The lstat of a path's last step, when resolve looked at it and it was no link.
    struct Look {
        bool known = false;
        bool exists = false;
        struct stat info {};
    };
    std::string resolve(const std::string& path, Look* look = nullptr) const;
    // True when the resolved path lies inside the project's folder.
    bool holds(const std::string& real) const;
    // A folder's resolved path, looked up once per guard; "" when it cannot be resolved.
    std::string resolvedFolder(const std::string& folder) const;

    // Folders resolved so far (shared by the guard's copies; pages are
    // checked on every core).
    struct Folders {
        std::mutex mutex;
        std::unordered_map<std::string, std::string> resolved;
    };
    std::shared_ptr<Folders> folders_ = std::make_shared<Folders>();
    std::string folder_;
    std::map<FileIdentity, std::string> sources_;
};

// The words naming a path that lies outside the project's folder, as
// messages and the trust question show it: `what "shown"`, followed by
// " (leads to RESOLVED)" when links or ".." steps make it another path.
std::string OutsideText(const std::string& what, const std::string& shown, const std::string& resolved);

}  // namespace vlr::build
