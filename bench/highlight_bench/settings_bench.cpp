// The cost of the options dialog's OK on the HTML scheme: the parser takes the edited settings
// (its tables rebuilt) and gives them to a control holding a 1 MB page, whose first screen is
// highlighted again at once.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include "memo/engine/MemoEngine.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/StoredForm.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

namespace {

void BM_ReplaceSettings(benchmark::State& state) {
  std::ifstream in(VELORA_HTML_SCHEME_PATH, std::ios::binary);
  const std::string stored{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  vlr::TSyntaxMemoParser parser;
  if (!parser.LoadParserData(stored, "SyntaxMemoParser1").Ok()) {
    state.SkipWithError("the compiled HTML scheme is missing");
    return;
  }
  std::string page;
  while (page.size() < (1u << 20))
    page += "<p align=\"center\">Plain <b>text</b> &amp; <a href=\"http://e.org/\">a link</a></p>\r";
  velora::memo::MemoEngine engine;
  engine.setText(page);
  vlr::AttachHighlighter(engine, parser);
  vlr::TSchemeTables edited = parser.Tables();
  int colour = 0;
  for (auto _ : state) {
    edited.effects[21].foreground = std::uint32_t(++colour);
    parser.ReplaceSettings(edited);
    benchmark::DoNotOptimize(engine.tokens(0, 100));
  }
}
BENCHMARK(BM_ReplaceSettings)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
