// Readers that take a file name get the fuzz input through a file in a
// private temporary folder made once per run and removed at its end. The
// folder is in memory (/dev/shm) where there is one: the readers' writes
// end with fsync, which would otherwise bound the runs to the disk's pace.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace vlrfuzz {

class FuzzFolder {
public:
    FuzzFolder() {
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string name = (base / "velora-fuzz-XXXXXX").string();
        if (!::mkdtemp(name.data()))
            std::abort();
        path_ = name + "/";
    }
    ~FuzzFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    // The folder, with a trailing "/".
    const std::string& path() const { return path_; }
    // Writes `bytes` whole into the file `name` of the folder; its path.
    std::string write(const std::string& name, std::string_view bytes) const {
        const std::string file = path_ + name;
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out)
            std::abort();
        return file;
    }

private:
    std::string path_;
};

}  // namespace vlrfuzz
