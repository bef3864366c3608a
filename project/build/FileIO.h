// File access of the site build: whole-file reads, atomic writes and the
// stamps the build record compares. POSIX only, no other dependency.
#pragma once

#include <cstdint>
#include <string>

namespace vlr::build {

// Reads a whole file as bytes. False, with the system's reason (without the
// path), when it cannot be opened or read, or is a directory.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string& contents, std::string* error = nullptr);

// Writes a file whole or not at all: a temporary file beside the target is
// written and renamed over it, so readers see the old or the new page, never
// part of one. Missing folders on the way are created. A new file gets the
// usual permissions (0666 less the umask); a replaced file keeps its own.
[[nodiscard]] bool WriteWholeFile(const std::string& path, const std::string& contents, std::string* error = nullptr);

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

// The current moment of a steady clock in milliseconds, for build timings.
std::int64_t SteadyMilliseconds();

}  // namespace vlr::build
