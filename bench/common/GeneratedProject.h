// A generated site project for the benchmarks: a temporary folder (under
// TMPDIR, so the file system can be chosen) holding "site.vlr" and the files
// a benchmark writes, removed when the program ends.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace velora::bench {

class GeneratedProject {
 public:
  // `variables` project variables Var0.. ("value number N"); sources in
  // src/, pages in out/.
  GeneratedProject(const char* name, int variables) {
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(name) + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    project_ = "[directories]\nsrc=src\nout=out\n[variables]\n";
    for (int v = 0; v < variables; ++v)
      project_ += "Var" + std::to_string(v) + "=value number " + std::to_string(v) + "\n";
    project_ += "[files]\n";
  }
  ~GeneratedProject() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  GeneratedProject(const GeneratedProject&) = delete;
  GeneratedProject& operator=(const GeneratedProject&) = delete;

  // Writes a file below the project's folder, making its folders.
  void write(const std::string& relative, const std::string& text) const {
    const std::filesystem::path path = root_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
  // Writes a source page and lists it in the project as file number `index`.
  void addPage(int index, const std::string& relative, const std::string& text) {
    write(relative, text);
    project_ += std::to_string(index) + "=" + relative + "\n";
  }
  // Writes the project file; called once every page is added.
  void finish() const { write("site.vlr", project_); }

  [[nodiscard]] const std::filesystem::path& root() const { return root_; }
  [[nodiscard]] std::string projectFile() const { return (root_ / "site.vlr").string(); }

 private:
  std::filesystem::path root_;
  std::string project_;
};

}  // namespace velora::bench
