// Benchmarks of the editor control's searches over its line records: plain search ignoring
// letter case, an expression search, mark-all over every match, and a pathological expression.
// The corpus is the file named by VELORA_CORPUS (bench/run.sh generates it). Times and rates
// are wall-clock, as the peer programs measure them.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/common/Corpus.h"
#include "memo/engine/MemoEngine.h"
#include "memo/engine/search/PlainSearch.h"
#include "memo/engine/search/REParser.h"

using namespace velora::memo;

namespace {

// The corpus loaded once into a control's line store.
MemoEngine& document() {
  static const std::unique_ptr<MemoEngine> e = [] {
    auto m = std::make_unique<MemoEngine>();
    m->setText(velora::bench::Corpus("search_bench"));
    return m;
  }();
  return *e;
}

void setRate(benchmark::State& state, Pos bytes, std::int64_t matches) {
  state.counters["MB_per_s"] =
      benchmark::Counter(double(bytes) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["matches"] = double(matches);
}

// Every "nav-item", letter case ignored, found one after the other through the skip table.
void BM_PlainSearchNoCase(benchmark::State& state) {
  const TextStore& store = document().store();
  StoreSource src(store);
  const TSkipTable pattern("nav-item", false);
  std::int64_t n = 0;
  for (auto _ : state) {
    n = 0;
    for (Pos p = PlainFindForward(src, pattern, 0); p >= 0; p = PlainFindForward(src, pattern, p + 1)) ++n;
    benchmark::DoNotOptimize(n);
  }
  setRate(state, store.length(), n);
}
BENCHMARK(BM_PlainSearchNoCase)->UseRealTime()->Unit(benchmark::kMillisecond);

// Every match of <a href="[^"]*" (a double quote is written \" outside a set here, since a bare
// one opens a literal string), letter case counting.
void BM_RegexAhref(benchmark::State& state) {
  const TextStore& store = document().store();
  StoreSource src(store);
  TREParser re;
  if (!re.compile("<a href=\\\"[^\"]*\\\"", state.range(0) != 0)) {
    state.SkipWithError(re.errorMessage().c_str());
    return;
  }
  std::int64_t n = 0;
  for (auto _ : state) {
    n = 0;
    for (Pos p = re.search(src, 0); p >= 0; p = re.search(src, re.matchEnd())) ++n;
    benchmark::DoNotOptimize(n);
  }
  setRate(state, store.length(), n);
}
BENCHMARK(BM_RegexAhref)->Arg(1)->Arg(0)->ArgName("matchCase")->UseRealTime()->Unit(benchmark::kMillisecond);

// Mark all as the editor window runs it: from the start, every match, the next search one
// character after the last match's start, collecting the ranges to mark.
void BM_ShowAll(benchmark::State& state) {
  MemoEngine& e = document();
  const bool regex = state.range(0) != 0;
  const std::string text = regex ? "<a href=\\\"[^\"]*\\\"" : "<a href=";
  const unsigned flags = kSearchAtOnce | (regex ? kSearchRegExp : 0u);
  std::vector<std::pair<Pos, Pos>> ranges;
  for (auto _ : state) {
    ranges.clear();
    Pos end = -1;
    for (Pos p = e.find(text, flags, 0, &end); p >= 0; p = e.find(text, flags, p + 1, &end)) ranges.emplace_back(p, end);
    benchmark::DoNotOptimize(ranges.data());
  }
  setRate(state, e.length(), std::int64_t(ranges.size()));
}
BENCHMARK(BM_ShowAll)->Arg(0)->Arg(1)->ArgName("regex")->UseRealTime()->Unit(benchmark::kMillisecond);

// (a*)*b is refused when compiled; (a|aa)*b, which compiles, fails on 30 a's within its budget.
void BM_Pathological(benchmark::State& state) {
  const std::string subject(30, 'a');
  StringSource src(subject);
  const char* expr = state.range(0) ? "(a|aa)*b" : "(a*)*b";
  bool exhausted = false;
  for (auto _ : state) {
    TREParser re;
    Pos p = -1;
    if (re.compile(expr, true)) p = re.search(src, 0);
    exhausted = re.budgetExhausted();
    benchmark::DoNotOptimize(p);
  }
  state.counters["budget_exhausted"] = exhausted ? 1 : 0;
}
BENCHMARK(BM_Pathological)->Arg(0)->Arg(1)->ArgName("compiles")->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
