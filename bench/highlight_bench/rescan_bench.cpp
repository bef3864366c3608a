// Benchmarks of the keystroke re-scan inside long regions of one token value, where a re-scan
// that walks back to the region's start costs the whole region: a 20 MB plain-text file, a
// 20 MB comment and a 1 MB "<? ?>" block inside a page. One character is typed in the middle
// and deleted again; the counters are the typing's time (re-scan included) and records scanned.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "HtmlLikeTables.h"
#include "bench/common/Corpus.h"
#include "memo/engine/MemoEngine.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"
#include "memo/engine/scheme/HtmlScanners.h"

using velora::memo::MemoEngine;
using velora::memo::Pos;
using Clock = std::chrono::steady_clock;

namespace {

// Lines of words, about `bytes` long: the body text of the corpus without its markup.
std::string PlainText(std::size_t bytes) {
  const std::string& c = velora::bench::Corpus("rescan_bench");
  std::string out;
  out.reserve(bytes + 100);
  std::size_t col = 0;
  bool inTag = false;
  for (std::size_t i = 0; out.size() < bytes; i = (i + 1) % c.size()) {
    const char ch = c[i];
    if (ch == '<') inTag = true;
    if (!inTag && ch != '\r' && ch != '\n' && ch != '&' && ch != '-') {
      out.push_back(ch);
      if (++col >= 72 && ch == ' ') {
        out.push_back('\r');
        col = 0;
      }
    }
    if (ch == '>') inTag = false;
  }
  return out;
}

struct Case {
  std::string name;
  std::string text;
  Pos middle = 0;
};

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = [] {
    std::vector<Case> v;
    const std::string plain = PlainText(20'000'000);
    v.push_back({"plain text 20 MB", plain, Pos(plain.size() / 2)});
    v.push_back({"comment 20 MB", "<html><body>\r<!--\r" + plain + "\r-->\r</body></html>\r", Pos(plain.size() / 2 + 20)});
    std::string php = "<html><body>\r<p>Intro</p>\r<?\r";
    const std::size_t start = php.size();
    while (php.size() - start < 1'000'000) php += "  $total = $total + count($items); // add up the items\r  echo \"<li>\" . $name . \"</li>\";\r";
    const Pos mid = Pos(start + (php.size() - start) / 2);
    php += "?>\r<p>Outro</p>\r</body></html>\r";
    v.push_back({"<? ?> block 1 MB", php, mid});
    return v;
  }();
  return cases;
}

void BM_KeystrokeInLongRegion(benchmark::State& state) {
  const Case& c = Cases()[std::size_t(state.range(0))];
  MemoEngine e;
  vlr::TSyntaxMemoParser p;
  p.SetTables(hlbench::BenchTables());
    vlr::UseHtmlScanners(p);
  e.setVisibleExtent(50, 120);
  e.setText(c.text);
  vlr::THighlightDriver& d = vlr::AttachHighlighter(e, p);
  while (e.HighlightSlice(1'000'000)) {}
  std::vector<double> us;
  std::vector<double> records;
  Pos at = c.middle;
  for (auto _ : state) {
    e.setSelection(at, at, false);
    const auto t0 = Clock::now();
    e.typeText("x");
    us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
    records.push_back(double(d.LastRun().records));
    e.deleteChar(false);
    at += 37;  // the next keystroke a little further on, still inside the region
  }
  std::sort(us.begin(), us.end());
  std::sort(records.begin(), records.end());
  state.counters["median_us"] = us[us.size() / 2];
  state.counters["max_us"] = us.back();
  state.counters["median_records"] = records[records.size() / 2];
  state.SetLabel(c.name + ", " + hlbench::BenchSchemeName());
}
BENCHMARK(BM_KeystrokeInLongRegion)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->Iterations(500);

}  // namespace

BENCHMARK_MAIN();
