// Benchmarks of the editor control engine: load, random inserts, position <-> line, undo/redo.
// The corpus is the file named by VELORA_CORPUS (bench/run.sh generates it with
// ../shared/bench-peers/gen_corpus.py, the same text the peer benchmarks use).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/common/Corpus.h"
#include "memo/engine/MemoEngine.h"

using namespace velora::memo;
using Clock = std::chrono::steady_clock;

namespace {

const std::string& corpus() { return velora::bench::Corpus("memo_bench"); }

// xorshift, as the peers' harness uses, so that positions are deterministic.
struct XorShift {
  std::uint64_t s = 88172645463325252ull;
  std::uint64_t next() {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return s;
  }
};

std::size_t heapInUse() { return mallinfo2().uordblks + mallinfo2().hblkhd; }

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}
double percentile(std::vector<double> v, double q) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[std::min(v.size() - 1, std::size_t(q * double(v.size())))];
}

// Set text: the whole 20 MB page into the store (break normalisation, records, index).
void BM_Load(benchmark::State& state) {
  const std::string& text = corpus();
  double memRatio = 0, memMB = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto e = std::make_unique<MemoEngine>();
    malloc_trim(0);
    const std::size_t before = heapInUse();
    state.ResumeTiming();
    e->setText(text);
    state.PauseTiming();
    const std::size_t after = heapInUse();
    memMB = double(after - before) / 1e6;
    memRatio = double(after - before) / double(text.size());
    benchmark::DoNotOptimize(e->length());
    e.reset();
    state.ResumeTiming();
  }
  state.counters["text_MB"] = double(text.size()) / 1e6;
  state.counters["engine_MB"] = memMB;
  state.counters["mem_ratio"] = memRatio;
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->Iterations(5);

MemoEngine& loadedEngine() {
  static MemoEngine* e = [] {
    auto* m = new MemoEngine();  // lives for the whole program
    m->setText(corpus());
    return m;
  }();
  return *e;
}

// 10,000 single-character inserts at random positions through the editing path (selection,
// replace, undo logging); each insert is timed, the median is the figure.
void BM_RandomInsert(benchmark::State& state) {
  MemoEngine e;
  e.setText(corpus());
  XorShift rng;
  std::vector<double> us;
  constexpr int kEdits = 10000;
  us.reserve(kEdits);
  for (auto _ : state) {
    us.clear();
    auto total = Clock::duration::zero();
    for (int i = 0; i < kEdits; ++i) {
      const Pos p = Pos(rng.next() % std::uint64_t(e.length() + 1));
      const auto t0 = Clock::now();
      e.setSelection(p, p, false);
      e.replaceSelection("x");
      const auto dt = Clock::now() - t0;
      total += dt;
      us.push_back(std::chrono::duration<double, std::micro>(dt).count());
    }
    state.SetIterationTime(std::chrono::duration<double>(total).count());
  }
  state.counters["median_us"] = median(us);
  state.counters["p90_us"] = percentile(us, 0.9);
  state.counters["p99_us"] = percentile(us, 0.99);
  state.counters["edits"] = kEdits;
}
BENCHMARK(BM_RandomInsert)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// The same, on the store alone (no selection, no undo log).
void BM_RandomInsertStore(benchmark::State& state) {
  TextStore t;
  t.setText(corpus());
  XorShift rng;
  std::vector<double> us;
  constexpr int kEdits = 10000;
  for (auto _ : state) {
    us.clear();
    auto total = Clock::duration::zero();
    for (int i = 0; i < kEdits; ++i) {
      const Pos p = Pos(rng.next() % std::uint64_t(t.length() + 1));
      const auto t0 = Clock::now();
      t.insert(p, "x");
      const auto dt = Clock::now() - t0;
      total += dt;
      us.push_back(std::chrono::duration<double, std::micro>(dt).count());
    }
    state.SetIterationTime(std::chrono::duration<double>(total).count());
  }
  state.counters["median_us"] = median(us);
  state.counters["p99_us"] = percentile(us, 0.99);
}
BENCHMARK(BM_RandomInsertStore)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Random line breaks inserted and removed (record splits and merges, index rebuilds).
void BM_RandomBreakInsert(benchmark::State& state) {
  MemoEngine e;
  e.setText(corpus());
  XorShift rng;
  std::vector<double> us;
  for (auto _ : state) {
    const Pos p = Pos(rng.next() % std::uint64_t(e.length() + 1));
    const auto t0 = Clock::now();
    e.setSelection(p, p, false);
    e.replaceSelection("\r");
    us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
  }
  state.counters["median_us"] = median(us);
}
BENCHMARK(BM_RandomBreakInsert)->Unit(benchmark::kMicrosecond)->Iterations(10000);

void BM_PosToLine(benchmark::State& state) {
  const MemoEngine& e = loadedEngine();
  XorShift rng;
  std::vector<Pos> ps(4096);
  for (auto& p : ps) p = Pos(rng.next() % std::uint64_t(e.length()));
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(e.store().lineFromPos(ps[i++ & 4095]));
  }
  state.counters["lines"] = double(e.lineCount());
}
BENCHMARK(BM_PosToLine);

void BM_LineToPos(benchmark::State& state) {
  const MemoEngine& e = loadedEngine();
  XorShift rng;
  std::vector<LineNo> ls(4096);
  for (auto& l : ls) l = LineNo(rng.next() % std::uint64_t(e.lineCount()));
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(e.store().lineStart(ls[i++ & 4095]));
  }
}
BENCHMARK(BM_LineToPos);

void BM_CaretColLine(benchmark::State& state) {
  MemoEngine& e = loadedEngine();
  XorShift rng;
  for (auto _ : state) {
    state.PauseTiming();
    const Pos p = Pos(rng.next() % std::uint64_t(e.length()));
    e.setSelection(p, p, false);
    state.ResumeTiming();
    benchmark::DoNotOptimize(e.caretColLine());
  }
}
BENCHMARK(BM_CaretColLine)->Iterations(20000);

// 10,000 characters typed at one place (each its own undo entry), then all undone, then redone.
void BM_UndoRedoTyped(benchmark::State& state) {
  constexpr int kChars = 10000;
  double undoMs = 0, redoMs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto e = std::make_unique<MemoEngine>();
    e->setText(corpus());
    e->setSelection(e->length() / 2, e->length() / 2, false);
    for (int i = 0; i < kChars; ++i) e->typeText(i % 60 == 59 ? "\r" : "a");
    state.ResumeTiming();
    const auto t0 = Clock::now();
    for (int i = 0; i < kChars; ++i) e->undo();
    const auto t1 = Clock::now();
    for (int i = 0; i < kChars; ++i) e->redo();
    const auto t2 = Clock::now();
    state.PauseTiming();
    undoMs = std::chrono::duration<double, std::milli>(t1 - t0).count();
    redoMs = std::chrono::duration<double, std::milli>(t2 - t1).count();
    if (e->canUndo() != true || e->canRedo()) state.SkipWithError("undo/redo did not round-trip");
    e.reset();
    state.ResumeTiming();
  }
  state.counters["undo_total_ms"] = undoMs;
  state.counters["redo_total_ms"] = redoMs;
}
BENCHMARK(BM_UndoRedoTyped)->Unit(benchmark::kMillisecond)->Iterations(3);

// Undo of one random single-character edit (the peer figure: Scintilla ~2 ms per undo).
void BM_UndoRandomEdit(benchmark::State& state) {
  MemoEngine e;
  e.setText(corpus());
  XorShift rng;
  constexpr int kEdits = 10000;
  for (int i = 0; i < kEdits; ++i) {
    const Pos p = Pos(rng.next() % std::uint64_t(e.length() + 1));
    e.setSelection(p, p, false);
    e.replaceSelection("x");
  }
  std::vector<double> us;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    e.undo();
    us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
  }
  state.counters["median_us"] = median(us);
}
BENCHMARK(BM_UndoRandomEdit)->Unit(benchmark::kMicrosecond)->Iterations(10000);

// Exports of the whole document.
void BM_ExportCRLF(benchmark::State& state) {
  const MemoEngine& e = loadedEngine();
  for (auto _ : state) benchmark::DoNotOptimize(e.exportRange(0, e.length(), kExportCRLF).size());
  state.SetBytesProcessed(std::int64_t(state.iterations()) * e.length());
}
BENCHMARK(BM_ExportCRLF)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

// Word wrap of the whole corpus at 80 columns (the index of rows over every line).
void BM_WrapAt80(benchmark::State& state) {
  MemoEngine e;
  e.setText(corpus());
  e.options |= velora::memo::smoWordWrap;
  e.setWrapWidth(79);
  int width = 79;
  for (auto _ : state) {
    width = width == 80 ? 79 : 80;  // a different width each time, so that the layout is really made
    e.setWrapWidth(width);
  }
  state.counters["rows"] = double(e.rowCount());
}
BENCHMARK(BM_WrapAt80)->Unit(benchmark::kMillisecond)->Iterations(3);

// Typing while the corpus is wrapped at 80 columns: the edited line is laid out again.
void BM_TypeWhileWrapped(benchmark::State& state) {
  MemoEngine e;
  e.setText(corpus());
  e.options |= velora::memo::smoWordWrap;
  e.setWrapWidth(80);
  std::uint64_t seed = 88172645463325252ull;
  for (auto _ : state) {
    seed ^= seed << 13;
    seed ^= seed >> 7;
    seed ^= seed << 17;
    const velora::memo::Pos at = e.snapToChar(velora::memo::Pos(seed % std::uint64_t(e.length())));
    e.setSelection(at, at, false);
    e.typeText(seed % 8 == 0 ? "\r" : "x");
  }
}
BENCHMARK(BM_TypeWhileWrapped)->Unit(benchmark::kMicrosecond)->Iterations(2000);

BENCHMARK_MAIN();
