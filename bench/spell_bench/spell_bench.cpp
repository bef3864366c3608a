// Spell checking the 20 MB corpus with the system's en_US dictionary: a full
// check where every question is answered "Ignore All" (nothing to change), and the
// words of 64 consecutive records checked, the unit of a background slice.
#include <benchmark/benchmark.h>

#include "common/Corpus.h"
#include "memo/engine/MemoEngine.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/HtmlScanners.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"
#include "spelling/engine/SpellCheck.h"
#include "spelling/engine/SpellDictionary.h"
#include "spelling/engine/SpellWords.h"

#include <memory>

namespace {

using namespace vlr::spelling;

struct Loaded {
    vlr::TSyntaxMemoParser parser;
    velora::memo::MemoEngine engine;
    Loaded() {
        parser.Script = VELORA_HTML_SCHEME_SCRIPT;
        parser.CompileScript();
        vlr::UseHtmlScanners(parser);
        engine.setText(velora::bench::Corpus("spell_bench"));
        vlr::AttachHighlighter(engine, parser);
        CompleteTokens(engine);
    }
};

Loaded& Document() {
    static Loaded l;
    return l;
}

void BM_FullCheckNothingToChange(benchmark::State& state) {
    Loaded& d = Document();
    SpellOptions options;
    std::int64_t questions = 0;
    for (auto _ : state) {
        // A fresh dictionary each time: its answer cache starts empty.
        SpellDictionary dict(SystemDictionaryFolder(), "en_US", "");
        const SpellRunResult r = RunSpellCheck(d.engine, dict, options, [](const SpellQuestion&) {
            return SpellDecision{SpellAction::IgnoreAll, {}};
        });
        questions = r.questions;
        benchmark::DoNotOptimize(r);
    }
    state.counters["questions"] = double(questions);
    state.counters["MB"] = double(d.engine.length()) / 1e6;
}
BENCHMARK(BM_FullCheckNothingToChange)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SliceOf64Records(benchmark::State& state) {
    Loaded& d = Document();
    SpellOptions options;
    SpellDictionary dict(SystemDictionaryFolder(), "en_US", "");
    const velora::memo::TextStore& store = d.engine.store();
    const velora::memo::TokenScanner* scanner = ProseScanner(d.engine);
    velora::memo::RecNo at = store.recordCount() / 2;
    std::int64_t words = 0;
    for (auto _ : state) {
        velora::memo::RecordRef ref = store.recordRef(at);
        for (int i = 0; i < 64; ++i) {
            const velora::memo::LineRecord& rec = store.record(ref);
            const bool tok = rec.tokens.size() == rec.text.size();
            ForEachWord(rec.text, tok ? rec.tokens.data() : nullptr, tok ? scanner : nullptr, options,
                        [&](std::size_t off, std::size_t len) {
                            ++words;
                            benchmark::DoNotOptimize(dict.Check(std::string_view(rec.text).substr(off, len)));
                        });
            if (!store.next(ref))
                break;
        }
        at = (at + 64) % store.recordCount();
    }
    state.counters["words"] = benchmark::Counter(double(words), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SliceOf64Records)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
