// File access of the site build: whole-file reads, atomic writes and the
// stamps the build record compares. POSIX only, no other dependency.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <sys/stat.h>

namespace vlr::build {

// The most ReadWholeFile reads unless told otherwise.
inline constexpr std::size_t kMaxReadBytes = std::size_t{256} << 20;

// Reads a whole file as bytes. False, with the reason (without the path),
// when it cannot be opened or read, when it is not a regular file (a folder,
// a device, a named pipe or a socket: such a file is never opened, so a pipe
// cannot block the build and a device cannot feed it without end), or when
// it holds more than `limit` bytes.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string& contents, std::string* error = nullptr,
                                 std::size_t limit = kMaxReadBytes);

// Writes a file whole or not at all: a temporary file beside the target is
// written and renamed over it, so readers see the old or the new page, never
// part of one. Missing folders on the way are created. A new file gets the
// usual permissions (0666 less the umask); a replaced file keeps its own.
// `written`, when given, receives the stamp of the file as written.
struct FileStamp;
[[nodiscard]] bool WriteWholeFile(const std::string& path, const std::string& contents, std::string* error = nullptr,
                                  FileStamp* written = nullptr);

// Creates a folder and its missing parents.
[[nodiscard]] bool MakeFolders(const std::string& path, std::string* error = nullptr);

// What the build record remembers of a file to notice a change: its
// modification time in nanoseconds, its size and its inode. A missing file has
// exists == false.
struct FileStamp {
    bool exists = false;
    std::int64_t mtimeNs = 0;
    std::int64_t size = 0;
    std::uint64_t inode = 0;

    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::string& path);
// The stamp of a file already looked at.
FileStamp StampOf(const struct stat& info);

// Which file a path names: its device and inode. Two paths name the same
// file exactly when their identities are equal, whatever links lead to it.
struct FileIdentity {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    bool operator==(const FileIdentity&) const = default;
    bool operator<(const FileIdentity& o) const {
        return device != o.device ? device < o.device : inode < o.inode;
    }
};
// Links on the way are followed; a link as the last step is followed too,
// unless `followLast` is false (then the link itself is the file: a page
// written there by rename replaces the link, not what it points to).
FileIdentity IdentityOf(const std::string& path, bool followLast = true);

// The path with every link followed and "." and ".." resolved, also when
// its last steps do not exist yet (they are kept as written). A relative path
// is taken from the working directory. Empty when the links loop or go
// deeper than the system allows.
std::string ResolvedPath(const std::string& path);

// True when `path` is `folder` or lies below it (both absolute and
// normalised, as ResolvedPath gives them).
bool IsWithin(const std::string& folder, const std::string& path);

// The current moment of a steady clock in milliseconds, for build timings.
std::int64_t SteadyMilliseconds();

}  // namespace vlr::build
