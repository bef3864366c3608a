// The site check on a generated project: 2,000 pages in 20 sub-folders, each
// a whole HTML5 page with a shared header and navigation (includes, with
// links and images), 20 paragraphs with variables, a form and a footer.
// Measures a first check (nothing cached: every page built in memory and
// checked) and a second check with nothing changed (findings from the cache).
// Both on one thread. Set TMPDIR to choose the file system.
#include "project/check/SiteCheck.h"

#include "bench/common/GeneratedProject.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr int kPages = 2000;
constexpr int kFolders = 20;
constexpr int kVariables = 20;

class GeneratedSite {
public:
    GeneratedSite() {
        files_.write("src/parts/head.inc",
                     "<meta charset=\"utf-8\">\n<link rel=\"stylesheet\" href=\"/style.css\">\n");
        std::string nav = "<header>\n  <img src=\"/images/logo.png\" alt=\"<%Var1%>\">\n  <nav>\n";
        for (int f = 0; f < 5; ++f)
            nav += "    <a href=\"/section" + std::to_string(f) + "/page" + std::to_string(f) + ".html\">Section " +
                   std::to_string(f) + "</a>\n";
        nav += "  </nav>\n</header>\n";
        files_.write("src/parts/nav.inc", nav);
        files_.write("src/parts/footer.inc",
                     "<footer>\n  <p>&copy; <%Var2%> <a href=\"/section0/page0.html\">Home</a></p>\n</footer>\n");
        files_.write("out/style.css", "body{}\n");
        files_.write("out/images/logo.png", "png");
        for (int i = 0; i < kPages; ++i) {
            const std::string folder = "section" + std::to_string(i % kFolders);
            std::string page = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<&../parts/head.inc&>\n<title><%Var0%> page " +
                               std::to_string(i) + "</title>\n</head>\n<body>\n<&../parts/nav.inc&>\n<main>\n<h1>Page " +
                               std::to_string(i) + "</h1>\n";
            for (int v = 0; v < kVariables; ++v) {
                if (v % 5 == 0)
                    page += "<h2 id=\"part" + std::to_string(v) + "\">Part " + std::to_string(v) + "</h2>\n";
                page += "<p>Paragraph " + std::to_string(v) + " of page " + std::to_string(i) + " mentions <%Var" +
                        std::to_string(v) + "%> and <em>some</em> ordinary text around it.</p>\n";
            }
            page += "<form action=\"/search\">\n  <label for=\"q\">Search</label>\n  <input type=\"search\" id=\"q\" "
                    "name=\"q\">\n  <button type=\"submit\">Go</button>\n</form>\n</main>\n"
                    "<&../parts/footer.inc&>\n</body>\n</html>\n";
            files_.addPage(i, "src/" + folder + "/page" + std::to_string(i) + ".hts", page);
        }
        files_.finish();
    }
    std::string project() const { return files_.projectFile(); }

private:
    velora::bench::GeneratedProject files_{"vlr-check-bench", kVariables};
};

GeneratedSite& Site() {
    static GeneratedSite site;
    return site;
}

vlr::check::CheckResult Check(vlr::check::CheckCache* cache) {
    vlr::check::CheckRequest r;
    r.projectFile = Site().project();
    r.environment.TimeNow = "12:00";
    r.environment.DateNow = "1/1/26";
    r.cache = cache;
    return vlr::check::CheckSite(r);
}

void BM_FirstCheck(benchmark::State& state) {
    for (auto _ : state) {
        vlr::check::CheckResult r = Check(nullptr);
        if (r.pages != kPages || !r.problems.empty())
            state.SkipWithError(r.problems.empty() ? "pages missing" : r.problems.front().message.c_str());
    }
    state.counters["pages_per_second"] = benchmark::Counter(double(kPages) * double(state.iterations()),
                                                            benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FirstCheck)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_NoChangeCheck(benchmark::State& state) {
    vlr::check::CheckCache cache;
    Check(&cache);
    for (auto _ : state) {
        vlr::check::CheckResult r = Check(&cache);
        if (r.pages != kPages || !r.problems.empty())
            state.SkipWithError("the second check differs");
    }
}
BENCHMARK(BM_NoChangeCheck)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
