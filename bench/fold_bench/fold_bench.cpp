// Folding and matching on the 20 MB corpus with the HTML scheme, beside the same work with the
// aids off:
// - BM_KeystrokeEngine: a character typed in the middle of the page, with what the aids add to
//   it: the pair at the caret found again and the fold margin's markers of a screen of lines
//   (those the keystroke left alone are known from the last repaint).
// - BM_KeystrokeRepaint: the same keystroke in the widget with its repaint (grab() paints the
//   whole viewport, margin and match bands included).
// - BM_FoldAll: every region of the highlighted page found and folded.
// Each reports the median and the largest time of its iterations.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "bench/common/Corpus.h"
#include "bench/common/Timings.h"
#include "memo/engine/MarkupPairs.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/HtmlScanners.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"
#include "memo/widget/FoldMargin.h"
#include "memo/widget/SyntaxMemo.h"
#include "memo/widget/TagMatch.h"

using velora::memo::LineNo;
using velora::memo::MemoEngine;
using velora::memo::Pos;
using velora::memo::TSyntaxMemo;
using Clock = std::chrono::steady_clock;

namespace {

vlr::TSyntaxMemoParser& HtmlParser() {
  static vlr::TSyntaxMemoParser* parser = [] {
    auto* p = new vlr::TSyntaxMemoParser;
    p->Script = VELORA_HTML_SCHEME_SCRIPT;
    p->CompileScript();
    vlr::UseHtmlScanners(*p);
    (void)p->Compile();
    return p;
  }();
  return *parser;
}


// The aids' share of a keystroke in the engine: the pair at the caret and the markers of a
// screen of lines (what a repaint asks of the engine).
void AidsWork(MemoEngine& e, LineNo firstLine, int lines) {
  benchmark::DoNotOptimize(e.markupLines().matchAt(e.selection().caret));
  for (LineNo l = firstLine; l < firstLine + lines; ++l) benchmark::DoNotOptimize(e.markupLines().opensRegion(l));
}

void BM_KeystrokeEngine(benchmark::State& state) {
  const bool aids = state.range(0) != 0;
  MemoEngine e;
  e.setText(velora::bench::Corpus("fold_bench"));
  vlr::AttachHighlighter(e, HtmlParser());
  while (e.HighlightSlice(1'000'000)) {
  }
  e.editingAids = aids ? velora::memo::kDefaultEditingAids : 0;
  const Pos at = e.length() / 2;
  e.setSelection(at, at);
  const LineNo top = e.store().lineFromPos(at) - 20;
  if (aids) AidsWork(e, top, 45);  // the screen as painted before the first keystroke
  std::vector<double> us;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    e.typeText("x");
    if (aids) AidsWork(e, top, 45);
    us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
  }
  velora::bench::ReportMedianAndMax(state, us, velora::bench::Unit::Microseconds);
  vlr::DetachHighlighter(e);
}
BENCHMARK(BM_KeystrokeEngine)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Iterations(400);

void BM_KeystrokeRepaint(benchmark::State& state) {
  const bool aids = state.range(0) != 0;
  TSyntaxMemo memo;
  memo.resize(1000, 700);
  memo.show();
  const std::string& c = velora::bench::Corpus("fold_bench");
  memo.setText(QByteArray(c.data(), qsizetype(c.size())));
  vlr::AttachHighlighter(memo.engine(), HtmlParser());
  while (memo.engine().HighlightSlice(1'000'000)) {
  }
  memo.engine().editingAids = aids ? velora::memo::kDefaultEditingAids : 0;
  const Pos at = memo.engine().length() / 2;
  memo.engine().setSelection(at, at);
  (void)memo.viewport()->grab();
  std::vector<double> us;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    memo.engine().typeText("x");
    (void)memo.viewport()->grab();  // paints now (offscreen windows are not exposed)
    us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
  }
  velora::bench::ReportMedianAndMax(state, us, velora::bench::Unit::Microseconds);
  vlr::DetachHighlighter(memo.engine());
}
BENCHMARK(BM_KeystrokeRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Iterations(200);

void BM_FoldAll(benchmark::State& state) {
  TSyntaxMemo memo;
  memo.resize(1000, 700);
  const std::string& c = velora::bench::Corpus("fold_bench");
  memo.setText(QByteArray(c.data(), qsizetype(c.size())));
  vlr::AttachHighlighter(memo.engine(), HtmlParser());
  while (memo.engine().HighlightSlice(1'000'000)) {
  }
  std::vector<double> us;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    memo.foldMargin().foldAll();
    us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
    state.PauseTiming();
    state.counters["folds"] = double(memo.engine().folds().folded().size());
    state.counters["rows"] = double(memo.engine().rowCount());
    memo.foldMargin().unfoldAll();
    state.ResumeTiming();
  }
  velora::bench::ReportMedianAndMax(state, us, velora::bench::Unit::Microseconds);
  vlr::DetachHighlighter(memo.engine());
}
BENCHMARK(BM_FoldAll)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
