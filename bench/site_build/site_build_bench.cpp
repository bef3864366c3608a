// The site build on a generated project: 2,000 pages in 20 sub-folders, each
// page with 5 includes (of a pool of 20 shared parts, themselves using
// variables) and 20 variable references, against 20 project variables.
// Measures a full build into an empty output folder and a build with nothing
// changed. Set TMPDIR to choose the file system the project is made on.
#include "project/build/SiteBuild.h"

#include "bench/common/GeneratedProject.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr int kPages = 2000;
constexpr int kFolders = 20;
constexpr int kParts = 20;
constexpr int kVariables = 20;

// The generated project, made once per program run.
class GeneratedSite {
public:
    GeneratedSite() {
        for (int p = 0; p < kParts; ++p) {
            std::string part = "<div class=\"part" + std::to_string(p) + "\">\n";
            for (int line = 0; line < 8; ++line)
                part += "  <p>Shared text of part " + std::to_string(p) + ", line " + std::to_string(line) +
                        " by <%Var" + std::to_string((p + line) % kVariables) + "%>.</p>\n";
            part += "</div>\n";
            files_.write("src/parts/part" + std::to_string(p) + ".inc", part);
        }
        for (int i = 0; i < kPages; ++i) {
            const std::string folder = "section" + std::to_string(i % kFolders);
            std::string page = "<html><head><title><%Var0%> page " + std::to_string(i) + "</title></head><body>\n";
            for (int k = 0; k < 5; ++k)
                page += "<&../parts/part" + std::to_string((i + k * 3) % kParts) + ".inc&>\n";
            for (int v = 0; v < kVariables; ++v)
                page += "<p>Paragraph " + std::to_string(v) + " of page " + std::to_string(i) + " mentions <%Var" +
                        std::to_string(v) + "%> and some ordinary text around it.</p>\n";
            page += "<footer><%Header%> <%DateNow%></footer></body></html>\n";
            files_.addPage(i, "src/" + folder + "/page" + std::to_string(i) + ".hts", page);
        }
        files_.finish();
    }
    std::string project() const { return files_.projectFile(); }
    // Moves the built site aside, so the next build starts from an empty
    // output folder. The old trees are deleted with the project, outside the
    // timed part: deleting thousands of files just before creating thousands
    // slows the file system's inode allocation down.
    void moveOutputAside() {
        std::error_code ec;
        fs::rename(files_.root() / "out", files_.root() / ("old-out-" + std::to_string(++moved_)), ec);
    }

private:
    velora::bench::GeneratedProject files_{"vlr-site-bench", kVariables};
    int moved_ = 0;
};

GeneratedSite& Site() {
    static GeneratedSite site;
    return site;
}

class Quiet : public vlr::build::BuildReporter {
public:
    void FileCount(int) override {}
    void FileDone() override {}
    void StatusText(const std::string&) override {}
    void Finished() override {}
};

vlr::build::BuildSummary Build() {
    vlr::build::BuildRequest r;
    r.projectFile = Site().project();
    r.environment.TimeNow = "12:00";
    r.environment.DateNow = "1/1/26";
    Quiet quiet;
    return vlr::build::BuildSite(r, quiet);
}

void BM_FullBuild(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Site().moveOutputAside();
        state.ResumeTiming();
        vlr::build::BuildSummary s = Build();
        if (!s.ok || s.built != kPages)
            state.SkipWithError(s.result.c_str());
    }
    state.counters["pages_per_second"] = benchmark::Counter(double(kPages) * double(state.iterations()),
                                                            benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FullBuild)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_NoChangeBuild(benchmark::State& state) {
    Build();
    for (auto _ : state) {
        vlr::build::BuildSummary s = Build();
        if (!s.ok || s.upToDate != kPages)
            state.SkipWithError(s.result.c_str());
    }
}
BENCHMARK(BM_NoChangeBuild)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
