// Opening a project of 2,000 files and 200 variables in the main window until
// its file list is filled, and saving it: the whole path a user waits for.
#include "app/shell/MainWindow.h"
#include "app/shell/VeloraApplication.h"
#include "platform/IniFile.h"
#include "platform/ScriptedPrompter.h"
#include "project/model/ProjectModel.h"
#include "project/unit/ProjectFileList.h"
#include "project/unit/ProjectUnit.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Program {
    fs::path root;
    std::string project;
    std::unique_ptr<vlr::ScriptedPrompter> prompter;
    std::unique_ptr<vlr::TFrmMainVLR> main;

    Program() {
        root = fs::temp_directory_path() / ("vlr_project_open_" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "app");
        fs::create_directories(root / "site" / "src");
        for (const auto& entry : fs::directory_iterator(VELORA_RUN_FOLDER)) {
            const std::string n = entry.path().filename().string();
            if (n != "preferences.dat" && n != "recovery")
                fs::create_symlink(entry.path(), root / "app" / n);
        }
        std::ofstream(root / "app" / "preferences.dat") << "[Environment]\nNewEditor=0\n";
        ::setenv("VELORA_APPDIR", (root / "app").c_str(), 1);
        vlr::ProjectState s;
        s.SourceDir = (root / "site" / "src").string();
        s.OutputDir = (root / "site" / "out").string();
        for (int i = 0; i < 2000; ++i)
            s.AllFiles.push_back(s.SourceDir + "/section" + std::to_string(i / 50) + "/page" + std::to_string(i) +
                                 ".hts");
        for (int i = 0; i < 200; ++i)
            s.ProjectVars.Add("Variable" + std::to_string(i), "value " + std::to_string(i));
        project = (root / "site" / "shop.vlr").string();
        if (!vlr::WriteProjectFile(s, project))
            std::abort();
        prompter = std::make_unique<vlr::ScriptedPrompter>();
        main = std::make_unique<vlr::TFrmMainVLR>();
        main->show();
        vlr::ProcessMessages();
    }
    ~Program() {
        main.reset();
        fs::remove_all(root);
    }
};

Program& program() {
    static Program p;
    return p;
}

void BM_OpenProjectWithFileList(benchmark::State& state) {
    Program& p = program();
    vlr::TProjectUnit& unit = p.main->projectUnit();
    for (auto _ : state) {
        unit.OpenProjectPath(p.project);
        if (unit.projectFileList().RowCount() != 2000)
            state.SkipWithError("the file list is not filled");
        state.PauseTiming();
        unit.CloseProj();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenProjectWithFileList)->Unit(benchmark::kMillisecond);

void BM_SaveOpenProject(benchmark::State& state) {
    Program& p = program();
    vlr::TProjectUnit& unit = p.main->projectUnit();
    unit.OpenProjectPath(p.project);
    for (auto _ : state)
        if (!unit.SaveProjectFile())
            state.SkipWithError("the project was not saved");
    unit.CloseProj();
}
BENCHMARK(BM_SaveOpenProject)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("VELORA_PROMPTS", "log");
    vlr::VeloraApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
