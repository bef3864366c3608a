// Reading and writing the project file of a project with 2,000 source files
// and 200 variables: the model part of opening and saving a project.
#include "platform/IniFile.h"
#include "project/model/ProjectModel.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 2000;
constexpr int kVariables = 200;

void fill(vlr::ProjectState& s) {
    s.SourceDir = "/home/user/sites/shop/src";
    s.OutputDir = "/home/user/sites/shop/out";
    s.ImageDir = "/home/user/sites/shop/src/images";
    s.ImgPrefix = "images/";
    for (int i = 0; i < kFiles; ++i)
        s.AllFiles.push_back(s.SourceDir + "/section" + std::to_string(i / 50) + "/page" + std::to_string(i) +
                             ".hts");
    for (int i = 0; i < kVariables; ++i)
        s.ProjectVars.Add("Variable" + std::to_string(i), "the value of variable number " + std::to_string(i));
}

// A folder with the project file, removed at the end of the benchmark.
struct ProjectFolder {
    ProjectFolder() {
        dir = fs::temp_directory_path() / ("vlr_project_io_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        path = (dir / "shop.vlr").string();
        vlr::ProjectState s;
        fill(s);
        // A section the program does not own, kept by every save.
        vlr::IniFile(path).WriteString("build", "target", "web");
        if (!vlr::WriteProjectFile(s, path))
            std::abort();
    }
    ~ProjectFolder() { fs::remove_all(dir); }
    fs::path dir;
    std::string path;
};

void BM_OpenProject(benchmark::State& state) {
    ProjectFolder folder;
    for (auto _ : state) {
        vlr::ProjectState s;
        vlr::ReadProjectFile(folder.path, s);
        if (s.AllFiles.size() != kFiles || s.ProjectVars.Count() != kVariables)
            state.SkipWithError("the project did not read back whole");
        benchmark::DoNotOptimize(s.AllFiles.data());
    }
    state.counters["bytes"] = static_cast<double>(fs::file_size(folder.path));
}
BENCHMARK(BM_OpenProject)->Unit(benchmark::kMillisecond);

void BM_SaveProject(benchmark::State& state) {
    ProjectFolder folder;
    vlr::ProjectState s;
    fill(s);
    for (auto _ : state)
        if (!vlr::WriteProjectFile(s, folder.path))
            state.SkipWithError("the project file could not be written");
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond);

void BM_SaveProjectOptions(benchmark::State& state) {
    ProjectFolder folder;
    vlr::ProjectState s;
    fill(s);
    for (auto _ : state)
        if (!vlr::WriteProjectOptions(s, folder.path))
            state.SkipWithError("the project file could not be written");
}
BENCHMARK(BM_SaveProjectOptions)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
