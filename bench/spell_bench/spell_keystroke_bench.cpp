// What background spell checking costs while typing (offscreen control, the 20 MB corpus with
// the HTML scheme, system en_US dictionary). A keystroke is a key event sent to the control
// and the repaint after it (grab()), measured with and without the spelling marks attached:
// the difference is what the marks add to the keystroke path, which only flags lines. The
// checking itself runs in the idle slices that follow; their cost is measured apart.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "common/Corpus.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/HtmlScanners.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"
#include "memo/widget/SyntaxMemo.h"
#include "spelling/engine/SpellDictionary.h"
#include "spelling/ui/SpellMarks.h"
#include "spelling/ui/Speller.h"

namespace {

using Clock = std::chrono::steady_clock;
using velora::memo::Pos;
using velora::memo::TSyntaxMemo;

double Micros(Clock::time_point since) { return std::chrono::duration<double, std::micro>(Clock::now() - since).count(); }

// A control on screen holding the corpus, highlighted, the caret in a paragraph's text in the
// middle of it; with the marks when asked, every visible line already checked.
struct Typing {
  TSyntaxMemo memo;
  vlr::TSyntaxMemoParser parser;
  std::unique_ptr<vlr::spelling::Speller> speller;
  std::unique_ptr<vlr::spelling::TSpellMarks> marks;
  std::string settings;

  explicit Typing(bool withMarks) {
    memo.resize(1000, 700);
    memo.show();
    parser.Script = VELORA_HTML_SCHEME_SCRIPT;
    parser.CompileScript();
    vlr::UseHtmlScanners(parser);
    const std::string& text = velora::bench::Corpus("spell_bench");
    memo.setText(QByteArray(text.data(), qsizetype(text.size())));
    vlr::AttachHighlighter(memo.engine(), parser);
    while (memo.engine().HighlightSlice(1'000'000)) {}
    const std::string all = memo.engine().text();
    const std::size_t p = all.find("<p>", all.size() / 2);
    const Pos at = Pos(p == std::string::npos ? all.size() / 2 : p + 3);
    memo.engine().setSelection(at, at);
    const velora::memo::LineNo line = memo.engine().store().lineFromPos(at);
    memo.engine().setFirstVisibleLine(line > 10 ? line - 10 : 0);
    if (withMarks) {
      settings = (std::filesystem::temp_directory_path() / ("spell_keystroke_" + std::to_string(::getpid()))).string() + "/";
      std::filesystem::create_directories(settings);
      speller = std::make_unique<vlr::spelling::Speller>(settings, vlr::spelling::SystemDictionaryFolder());
      marks = std::make_unique<vlr::spelling::TSpellMarks>(memo, *speller);
      marks->Settle();
    }
    (void)memo.viewport()->grab();
  }
  ~Typing() {
    marks.reset();
    vlr::DetachHighlighter(memo.engine());
    if (!settings.empty()) std::filesystem::remove_all(settings);
  }
  void Key(char c) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A + (c - 'a'), Qt::NoModifier, QString(QChar(c)));
    QApplication::sendEvent(&memo, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A + (c - 'a'), Qt::NoModifier, QString(QChar(c)));
    QApplication::sendEvent(&memo, &release);
  }
};

void Report(benchmark::State& state, std::vector<double>& us, const char* prefix) {
  std::sort(us.begin(), us.end());
  state.counters[std::string(prefix) + "median_us"] = us[us.size() / 2];
  state.counters[std::string(prefix) + "p99_us"] = us[us.size() * 99 / 100];
  state.counters[std::string(prefix) + "max_us"] = us.back();
}

// Typing a word and a blank, over and over: each key with its repaint.
void Keystrokes(benchmark::State& state, bool withMarks) {
  Typing t(withMarks);
  std::vector<double> keys, slices;
  const char word[] = "wrod ";
  std::size_t i = 0;
  for (auto _ : state) {
    const char c = word[i++ % 5];
    const auto t0 = Clock::now();
    if (c == ' ') {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
      QApplication::sendEvent(&t.memo, &press);
    } else {
      t.Key(c);
    }
    (void)t.memo.viewport()->grab();
    keys.push_back(Micros(t0));
    if (t.marks) {
      // The idle slices that follow the key, outside the keystroke's time.
      state.PauseTiming();
      for (bool more = true; more;) {
        const auto s0 = Clock::now();
        more = t.marks->Step();
        slices.push_back(Micros(s0));
      }
      state.ResumeTiming();
    }
  }
  Report(state, keys, "key_");
  if (!slices.empty()) {
    Report(state, slices, "slice_");
    state.counters["marks"] = double(t.marks->Marks().size());
  }
}

void BM_KeystrokeWithoutSpelling(benchmark::State& state) { Keystrokes(state, false); }
BENCHMARK(BM_KeystrokeWithoutSpelling)->Unit(benchmark::kMicrosecond)->Iterations(500);

void BM_KeystrokeWithBackgroundSpelling(benchmark::State& state) { Keystrokes(state, true); }
BENCHMARK(BM_KeystrokeWithBackgroundSpelling)->Unit(benchmark::kMicrosecond)->Iterations(500);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
