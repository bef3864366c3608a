// The figures of a benchmark that times each of its iterations itself (a
// keystroke with its repaint, say): the median and the largest time.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace velora::bench {

enum class Unit { Microseconds, Milliseconds };

// Sets the counters "median_us" and "max_us" (or "_ms") from times in microseconds.
inline void ReportMedianAndMax(benchmark::State& state, std::vector<double>& us, Unit unit) {
  if (us.empty()) return;
  std::sort(us.begin(), us.end());
  const bool ms = unit == Unit::Milliseconds;
  const double scale = ms ? 1000.0 : 1.0;
  state.counters[ms ? "median_ms" : "median_us"] = us[us.size() / 2] / scale;
  state.counters[ms ? "max_ms" : "max_us"] = us.back() / scale;
}

}  // namespace velora::bench
