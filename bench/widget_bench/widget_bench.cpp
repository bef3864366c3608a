// Benchmarks of the editor control widget (offscreen): a keystroke at the end of a 5 MB page of
// one line (a minified file) with the HTML scheme attached, the repaint included, and the same
// in the middle of the 20 MB corpus for comparison. The repaint is forced with grab(), which
// paints the whole viewport into a pixmap.
#include <benchmark/benchmark.h>

#include <QAccessible>
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "HtmlLikeTables.h"
#include "bench/common/Corpus.h"
#include "bench/common/Timings.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"
#include "memo/engine/scheme/HtmlScanners.h"
#include "memo/widget/MemoAccessible.h"
#include "memo/widget/SyntaxMemo.h"

using velora::memo::Pos;
using velora::memo::TSyntaxMemo;
using Clock = std::chrono::steady_clock;

namespace {

// Stands for a screen reader's bridge: takes every event the control raises.
void ListenToEvents(QAccessibleEvent* e) { benchmark::DoNotOptimize(e->type()); }

// With lineNumbers the gutter shows line numbers and the caret's line is highlighted; without,
// neither (the figures before those aids existed). With accessible, an assistive tool listens.
void Keystrokes(benchmark::State& state, const std::string& text, bool atEnd, bool lineNumbers = false,
                bool accessible = false) {
  if (accessible) {
    velora::memo::TMemoAccessEvents::setEventSink(ListenToEvents);
  }
  TSyntaxMemo memo;
  memo.resize(1000, 700);
  memo.show();
  constexpr velora::memo::SyntaxMemoEditingAids gutterAids = velora::memo::smaLineNumbers | velora::memo::smaCurrentLine;
  auto& aids = memo.engine().editingAids;
  aids = lineNumbers ? (aids | gutterAids) : (aids & ~gutterAids);
  vlr::TSyntaxMemoParser parser;
  parser.SetTables(hlbench::BenchTables());
  vlr::UseHtmlScanners(parser);
  memo.setText(QByteArray(text.data(), qsizetype(text.size())));
  vlr::AttachHighlighter(memo.engine(), parser);
  while (memo.engine().HighlightSlice(1'000'000)) {}
  const Pos at = atEnd ? memo.engine().length() : memo.engine().length() / 2;
  memo.engine().setSelection(at, at);
  (void)memo.viewport()->grab();  // paints now (offscreen windows are not exposed)
  std::vector<double> us;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    memo.engine().typeText("x");
    (void)memo.viewport()->grab();  // paints now (offscreen windows are not exposed)
    us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
  }
  velora::bench::ReportMedianAndMax(state, us, velora::bench::Unit::Milliseconds);
  vlr::DetachHighlighter(memo.engine());
  if (accessible) {
    velora::memo::TMemoAccessEvents::setEventSink(nullptr);
  }
}

void BM_KeystrokeEndOfMinifiedLine(benchmark::State& state) {
  const std::string& c = velora::bench::Corpus("widget_bench");
  std::string line;
  line.reserve(5'000'000);
  for (char ch : c) {
    if (ch != '\r' && ch != '\n') line.push_back(ch);
    if (line.size() >= 5'000'000) break;
  }
  Keystrokes(state, line, true);
}
BENCHMARK(BM_KeystrokeEndOfMinifiedLine)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_KeystrokeMiddleOfCorpus(benchmark::State& state) {
  Keystrokes(state, velora::bench::Corpus("widget_bench"), false);
}
BENCHMARK(BM_KeystrokeMiddleOfCorpus)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_KeystrokeMiddleOfCorpusLineNumbers(benchmark::State& state) {
  Keystrokes(state, velora::bench::Corpus("widget_bench"), false, true);
}
BENCHMARK(BM_KeystrokeMiddleOfCorpusLineNumbers)->Unit(benchmark::kMillisecond)->Iterations(200);

// The same with an assistive tool listening: the text, caret and selection events each keystroke
// raises are made and delivered.
void BM_KeystrokeMiddleOfCorpusAccessible(benchmark::State& state) {
  Keystrokes(state, velora::bench::Corpus("widget_bench"), false, false, true);
}
BENCHMARK(BM_KeystrokeMiddleOfCorpusAccessible)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
