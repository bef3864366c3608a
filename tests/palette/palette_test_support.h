// A fresh program folder for each widget test: VELORA_APPDIR points at a
// temporary folder with a "swatches" folder, removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

struct TempAppDir {
    std::filesystem::path path;
    TempAppDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vlr-picker-XXXXXX").string();
        path = mkdtemp(pattern.data());
        std::filesystem::create_directory(path / "swatches");
        setenv("VELORA_APPDIR", path.c_str(), 1);
    }
    ~TempAppDir() {
        unsetenv("VELORA_APPDIR");
        std::filesystem::remove_all(path);
    }
    std::string dir() const { return path.string() + "/"; }
    void installWebSafe() const {
        std::filesystem::copy_file(WEBSAFE_PAL_FILE, path / "swatches" / "Web Safe.pal");
    }
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(path / name, std::ios::binary);
        out << bytes;
        return (path / name).string();
    }
};

// 768 bytes of ".ACT" triples: entry i is (i, 0, 255 - i).
inline std::string rampAct() {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes.push_back(static_cast<char>(i));
        bytes.push_back('\0');
        bytes.push_back(static_cast<char>(255 - i));
    }
    return bytes;
}
