// What an upload keeps for a project, in the user's own folder: the
// destinations used (most recent first) and, per destination and user, the
// content hash of every file that arrived there whole. Passwords are never
// part of it. Nothing of it is read from the project's folder, so a project
// from someone else cannot choose where its pages (or a password) are sent.
#pragma once

#include "libs/webpost/upload/Destination.h"

#include <map>
#include <string>
#include <vector>

namespace vlr::upload {

// The state folder of a project: $XDG_CONFIG_HOME/velora/upload/ (default
// ~/.config/velora/upload/) + a key made from the project file's resolved
// path + "/".
std::string StateFolderFor(const std::string& projectFile);

struct RememberedDestination {
    std::string location;  // as ParseDestination gives it
    std::string user;
    std::string localFolder;
    bool deleteRemoved = false;
};

// The destinations of a state folder, most recent first; empty when there
// are none or the file is unreadable.
std::vector<RememberedDestination> LoadDestinations(const std::string& stateFolder);
// Puts the destination first (replacing an entry with the same location and
// user) and writes the list; false with a reason when it cannot be written.
bool RememberDestination(const std::string& stateFolder, const RememberedDestination& destination,
                         std::string* error = nullptr);

// True for a relative path of plain names: no leading "/", no empty, "." or
// ".." part, no backslash and no control character. Only such paths are ever
// sent or deleted.
bool IsSafeRelativePath(const std::string& path);
// A path as it may be shown or written to a terminal: control characters as \xNN.
std::string PrintablePath(const std::string& path);

// The hashes of the files that arrived whole at one destination, keyed by
// their path relative to the uploaded folder.
class HashStore {
public:
    HashStore() = default;
    // Reads the store of a destination; a missing store is empty. Lines that
    // are damaged or name unsafe paths are dropped.
    HashStore(const std::string& stateFolder, const Destination& destination);

    bool persistent() const { return !file_.empty(); }
    const std::map<std::string, std::string>& entries() const { return hashes_; }
    const std::string* find(const std::string& path) const;
    void set(const std::string& path, const std::string& hash) { hashes_[path] = hash; }
    void erase(const std::string& path) { hashes_.erase(path); }
    // Writes the store whole (through a temporary file); a store without a
    // state folder writes nothing and succeeds.
    bool save(std::string* error = nullptr) const;

private:
    std::string folder_;
    std::string file_;
    std::string header_;
    std::map<std::string, std::string> hashes_;
};

// Writes a file through a temporary file in the same folder and a rename,
// creating the folder when needed.
bool WriteWholeFile(const std::string& path, const std::string& contents, std::string* error = nullptr);

}  // namespace vlr::upload
