// Shared parts of the site-build tests: a temporary folder, a reporter that
// records every call, a fixed build environment and file-tree helpers.
#pragma once

#include "project/build/BuildReporter.h"
#include "project/build/BuildVariables.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace buildtest {

namespace fs = std::filesystem;

// A fresh folder removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Records the calls in the form of the messages they become: "3058 n",
// "3059", "3061 text", "3060"; problems separately.
class RecordingReporter : public vlr::build::BuildReporter {
public:
    void FileCount(int count) override { calls.push_back("3058 " + std::to_string(count)); }
    void FileDone() override { calls.push_back("3059"); }
    void StatusText(const std::string& text) override { calls.push_back("3061 " + text); }
    void Finished() override { calls.push_back("3060"); }
    void Problem(const vlr::build::Diagnostic& d) override { problems.push_back(d.Describe()); }

    std::vector<std::string> calls;
    std::vector<std::string> problems;
};

vlr::build::BuildEnvironment FixedEnvironment();

void WriteFile(const std::string& path, const std::string& text);
std::string ReadFile(const std::string& path);
// Every regular file below root (relative path -> contents), in name order.
std::map<std::string, std::string> ReadTree(const std::string& root);
// Sets a file's modification time `seconds` into the future of its present one,
// so a change is seen whatever the clock's resolution.
void Touch(const std::string& path, int seconds = 2);

}  // namespace buildtest
