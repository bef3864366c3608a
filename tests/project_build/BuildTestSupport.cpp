// Shared parts of the site-build tests.
#include "BuildTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdlib.h>
#include <sys/stat.h>

namespace buildtest {

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "vlrbuild-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

vlr::build::BuildEnvironment FixedEnvironment() {
    vlr::build::BuildEnvironment env;
    env.TimeNow = "10:30 AM";
    env.DateNow = "12/9/26";
    env.AppDir = "/opt/velora/";
    env.SystemDir = "/usr/lib";
    env.WinDir = "/etc";
    env.BuildNum = "1.0.0.7";
    return env;
}

void WriteFile(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    ASSERT_TRUE(out.good()) << path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::map<std::string, std::string> ReadTree(const std::string& root) {
    std::map<std::string, std::string> tree;
    if (!fs::exists(root))
        return tree;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            tree[fs::relative(entry.path(), root).string()] = ReadFile(entry.path().string());
    return tree;
}

void Touch(const std::string& path, int seconds) {
    auto when = fs::last_write_time(path);
    fs::last_write_time(path, when + std::chrono::seconds(seconds));
}

}  // namespace buildtest
