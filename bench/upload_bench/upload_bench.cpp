// Upload planning (hashing a site and comparing it with what was sent) and
// uploading changed files to a local folder.
#include "libs/webpost/upload/UploadEngine.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
using namespace vlr::upload;

namespace {

// A site of `files` pages of about 3 KB in 20 folders, in a fresh temporary folder.
struct BenchSite {
    explicit BenchSite(int files) {
        root = fs::temp_directory_path() / ("vlr_upload_bench_" + std::to_string(::getpid()));
        fs::remove_all(root);
        for (int i = 0; i < files; ++i) {
            fs::path dir = root / "out" / ("d" + std::to_string(i % 20));
            fs::create_directories(dir);
            std::ofstream(dir / ("p" + std::to_string(i) + ".html")) << std::string(3000, static_cast<char>('a' + i % 26));
        }
        request.localFolder = (root / "out").string();
        request.destination = *ParseDestination((root / "dest").string());
        request.stateFolder = (root / "state").string() + "/";
    }
    ~BenchSite() { fs::remove_all(root); }
    fs::path root;
    UploadRequest request;
};

class Quiet : public UploadObserver {
public:
    void fileStarted(const PlannedFile&, int, int) override {}
    void bytesSent(std::uint64_t, std::uint64_t, std::uint64_t, std::uint64_t) override {}
    void fileFinished(const PlannedFile&, bool, const std::string&) override {}
    bool cancelRequested() override { return false; }
};

void BM_PlanUnchangedSite(benchmark::State& state) {
    BenchSite site(static_cast<int>(state.range(0)));
    Quiet quiet;
    UploadPlan first = PlanUpload(site.request);
    auto transport = MakeTransport(site.request);
    RunUpload(site.request, first, *transport, quiet);
    for (auto _ : state) {
        UploadPlan plan = PlanUpload(site.request);
        benchmark::DoNotOptimize(plan.unchanged);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PlanUnchangedSite)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_UploadWholeSiteToFolder(benchmark::State& state) {
    BenchSite site(static_cast<int>(state.range(0)));
    Quiet quiet;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(site.root / "state");
        fs::remove_all(site.root / "dest");
        state.ResumeTiming();
        UploadPlan plan = PlanUpload(site.request);
        auto transport = MakeTransport(site.request);
        UploadResult result = RunUpload(site.request, plan, *transport, quiet);
        benchmark::DoNotOptimize(result.sent);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_UploadWholeSiteToFolder)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
