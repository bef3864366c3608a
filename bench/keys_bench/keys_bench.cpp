// What a keystroke costs in the control's key handling, measured from the key event to the end
// of the command without painting: caret moves (Right then Left, so the caret stays put), a
// two-key sequence (Ctrl+K then 5: set a bookmark), and a Ctrl key that no command uses. Each is
// run on a control without a language and on one with a language attached whose key table is
// the default one. The lookup alone (the key controller, no widget) is measured as well.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <memory>
#include <string>

#include "HtmlLikeTables.h"
#include "memo/engine/keys/KeyTable.h"
#include "memo/engine/keys/KeyboardActionController.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"
#include "memo/widget/SyntaxMemo.h"

using velora::memo::TSyntaxMemo;

namespace {

struct Control {
  TSyntaxMemo memo;
  vlr::TSyntaxMemoParser parser;
  explicit Control(bool withLanguage) {
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "<p class=\"x\">line " + std::to_string(i) + "</p>\r";
    memo.setText(QByteArray(text.data(), qsizetype(text.size())));
    if (withLanguage) {
      vlr::TSchemeTables t = hlbench::BenchTables();
      t.keys = vlr::DefaultKeyTable();
      parser.SetTables(std::move(t));
      memo.engine().setParser(1, &parser);
    }
    memo.engine().setSelection(500, 500);
  }
  void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
    QKeyEvent ev(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(&memo, &ev);
  }
};

void BM_CaretMoves(benchmark::State& state) {
  Control c(state.range(0) != 0);
  for (auto _ : state) {
    c.Key(Qt::Key_Right);
    c.Key(Qt::Key_Left);
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_CaretMoves)->Arg(0)->Arg(1)->Unit(benchmark::kNanosecond);

void BM_TwoKeySequence(benchmark::State& state) {
  Control c(state.range(0) != 0);
  for (auto _ : state) {
    c.Key(Qt::Key_K, Qt::ControlModifier);
    c.Key(Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_TwoKeySequence)->Arg(0)->Arg(1)->Unit(benchmark::kNanosecond);

void BM_UnboundCtrlKey(benchmark::State& state) {
  Control c(state.range(0) != 0);
  for (auto _ : state) c.Key(Qt::Key_B, Qt::ControlModifier);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UnboundCtrlKey)->Arg(0)->Arg(1)->Unit(benchmark::kNanosecond);

// The controller's lookup: a bound key, a two-key sequence and an unbound key.
void BM_ControllerLookup(benchmark::State& state) {
  vlr::TKeyboardActionContoller& keys = vlr::DefaultKeyController();
  int sum = 0;
  for (auto _ : state) {
    sum += keys.Offer(37, true).command;                  // Shift+Left
    sum += int(keys.Offer(vlr::kKeyCtrl | 'K', false).result);
    sum += keys.Offer('5', false).command;                // Ctrl+K 5
    sum += int(keys.Offer(vlr::kKeyCtrl | 'B', false).result);  // unbound
  }
  benchmark::DoNotOptimize(sum);
  state.SetItemsProcessed(state.iterations() * 4);
}
BENCHMARK(BM_ControllerLookup)->Unit(benchmark::kNanosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
