// Benchmarks of the completion list (offscreen) in the middle of the 20 MB corpus with the
// program's HTML scheme: opening the list, that is detecting the context from the token values,
// filtering the items and showing the list, its paint included (grab() paints it now). The
// element list after "<" and the longest one, the character references after "&", are measured
// with the engine part alone beside them.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/common/Corpus.h"
#include "bench/common/Timings.h"
#include "memo/engine/complete/Completion.h"
#include "memo/engine/complete/WebData.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/HtmlScanners.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"
#include "memo/widget/CompletionPopup.h"
#include "memo/widget/SyntaxMemo.h"

using velora::memo::Pos;
using velora::memo::TSyntaxMemo;
using Clock = std::chrono::steady_clock;

namespace {

struct Page {
  TSyntaxMemo memo;
  vlr::TSyntaxMemoParser parser;
  explicit Page(const std::string& typed) {
    std::ifstream in(VELORA_HTML_SCHEME_PATH, std::ios::binary);
    const std::string stored((std::istreambuf_iterator<char>(in)), {});
    vlr::UseHtmlScanners(parser);
    if (!parser.LoadParserData(stored, "SyntaxMemoParser1").Ok()) std::abort();
    memo.resize(1000, 700);
    memo.show();
    const std::string& corpus = velora::bench::Corpus("complete_bench");
    memo.setText(QByteArray(corpus.data(), qsizetype(corpus.size())));
    vlr::AttachHighlighter(memo.engine(), parser);
    while (memo.engine().HighlightSlice(1'000'000)) {}
    memo.setMarkupAids(true);
    // A fresh line in the middle of the page, between two elements, with the typed text.
    Pos at = memo.engine().length() / 2;
    while (at < memo.engine().length() && memo.engine().store().charAt(at) != '\r') ++at;
    memo.engine().setSelection(at, at);
    memo.engine().typeText("\r" + typed);
    (void)memo.viewport()->grab();
  }
  ~Page() { vlr::DetachHighlighter(memo.engine()); }
};


// The whole path of the widget: context, items, the list filled, placed and painted.
void OpenList(benchmark::State& state, const std::string& typed) {
  Page page(typed);
  std::vector<double> us;
  std::size_t items = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    if (!page.memo.openCompletion()) std::abort();
    (void)page.memo.viewport()->grab();
    us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
    items = page.memo.completionPopup()->items().size();
    page.memo.closeCompletion();
  }
  state.counters["items"] = double(items);
  velora::bench::ReportMedianAndMax(state, us, velora::bench::Unit::Milliseconds);
}

// The engine part alone: context detection and filtering.
void DetectAndFilter(benchmark::State& state, const std::string& typed) {
  Page page(typed);
  static const velora::memo::WebData data = velora::memo::WebData::Load(VELORA_WEB_DATA);
  velora::memo::CompletionSources src;
  src.data = &data;
  std::vector<double> us;
  std::size_t items = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    const auto r = velora::memo::DetectCompletion(page.memo.engine());
    items = velora::memo::CompletionItems(r, src).size();
    us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
  }
  state.counters["items"] = double(items);
  velora::bench::ReportMedianAndMax(state, us, velora::bench::Unit::Milliseconds);
}

void BM_OpenElementList(benchmark::State& s) { OpenList(s, "<"); }
void BM_OpenReferenceList(benchmark::State& s) { OpenList(s, "&"); }
void BM_DetectAndFilterElements(benchmark::State& s) { DetectAndFilter(s, "<"); }
void BM_DetectAndFilterReferences(benchmark::State& s) { DetectAndFilter(s, "&"); }
BENCHMARK(BM_OpenElementList)->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(BM_OpenReferenceList)->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(BM_DetectAndFilterElements)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_DetectAndFilterReferences)->Unit(benchmark::kMicrosecond)->Iterations(200);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  TSyntaxMemo::setWebDataFile(QStringLiteral(VELORA_WEB_DATA));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
