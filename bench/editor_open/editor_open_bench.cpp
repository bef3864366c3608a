// Opening the 20 MB corpus through CreateEditorForFile until the window is
// shown with its first screen painted, and saving it. Runs offscreen with a
// temporary program folder; the corpus is the file named by VELORA_CORPUS
// (bench/run.sh generates it with ../shared/bench-peers/gen_corpus.py).
#include "bench/common/Corpus.h"
#include <benchmark/benchmark.h>

#include "app/shell/MainWindow.h"
#include "editor/unit/EditorUnit.h"
#include "app/shell/VeloraApplication.h"
#include "editor/window/FrmEditor.h"
#include "platform/Prompter.h"
#include "platform/ScriptedPrompter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMdiSubWindow>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string corpusPath() { return velora::bench::CorpusPath(); }

struct Program {
    fs::path root;
    std::unique_ptr<vlr::ScriptedPrompter> prompter;
    std::unique_ptr<vlr::TFrmMainVLR> main;

    Program() {
        root = fs::temp_directory_path() / ("vlr_editor_open_" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "app");
        for (const auto& entry : fs::directory_iterator(VELORA_RUN_FOLDER)) {
            const std::string n = entry.path().filename().string();
            if (n != "preferences.dat" && n != "sedprop.dat")
                fs::create_symlink(entry.path(), root / "app" / n);
        }
        std::ofstream(root / "app" / "preferences.dat") << "[Environment]\nNewEditor=0\n";
        ::setenv("VELORA_APPDIR", (root / "app").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (root / "xdg").c_str(), 1);
        prompter = std::make_unique<vlr::ScriptedPrompter>();
        main = std::make_unique<vlr::TFrmMainVLR>();
        main->resize(1280, 900);
        main->show();
        vlr::ProcessMessages();
    }
    ~Program() {
        main.reset();
        fs::remove_all(root);
    }
    void close(vlr::TFrmEditor* e) {
        e->memo().setModified(false);
        e->subWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

Program& program() {
    static Program p;
    return p;
}

void BM_OpenUntilPainted(benchmark::State& state) {
    Program& p = program();
    const std::string corpus = corpusPath();
    if (!fs::exists(corpus)) {
        state.SkipWithError("corpus missing (set VELORA_CORPUS)");
        return;
    }
    for (auto _ : state) {
        vlr::TFrmEditor* e = p.main->editorUnit().OpenEditorForFile(corpus);
        if (!e) {
            state.SkipWithError("no window");
            return;
        }
        QCoreApplication::processEvents();
        e->memo().viewport()->repaint();  // the first screen, painted now
        benchmark::DoNotOptimize(e->memo().engine().length());
        state.PauseTiming();
        p.close(e);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(fs::file_size(corpus)));
}
BENCHMARK(BM_OpenUntilPainted)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_Save(benchmark::State& state) {
    Program& p = program();
    const std::string corpus = corpusPath();
    if (!fs::exists(corpus)) {
        state.SkipWithError("corpus missing (set VELORA_CORPUS)");
        return;
    }
    const fs::path copy = p.root / "copy.html";
    fs::copy_file(corpus, copy, fs::copy_options::overwrite_existing);
    vlr::TFrmEditor* e = p.main->editorUnit().OpenEditorForFile(copy.string());
    for (auto _ : state) {
        state.PauseTiming();
        e->memo().engine().typeText("x");
        state.ResumeTiming();
        if (!e->SaveIt())
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(fs::file_size(copy)));
    p.close(e);
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

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
