// The live preview: from a key pressed in the middle of a 1 MB page (a
// project's page with includes and variables) to the pane's page changed and
// painted, as the pane reports it. The pane's short wait before it builds is
// part of the figure. Reports the median, the 95th percentile and the worst.
#include "editor/window/LivePreview.h"
#include "memo/widget/SyntaxMemo.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <stdlib.h>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

void write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// A project with one page of about 1 MB of output: sections of headings,
// paragraphs, lists and a form, with variables, and a shared include every
// tenth section.
struct BigPage {
    fs::path root;
    std::string text;
    BigPage() {
        std::string pattern = (fs::temp_directory_path() / "vlr-live-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        root = pattern;
        write(root / "site.vlr", "[files]\n0=src/index.hts\n[directories]\nsrc=src\nout=out\n[Compiler]\nvars=1\n"
                                 "includes=1\n[variables]\nSite=Bench Walkers\nAuthor=Someone\n");
        write(root / "src/parts/note.inc", "<aside class=\"note\"><p>A note by <%Author%>.</p></aside>\n");
        write(root / "out/style.css", "body{font-family:sans-serif;max-width:60em;margin:auto}.note{color:#555}\n");
        text = "<!DOCTYPE html>\n<html lang=\"en\">\n<head><meta charset=\"utf-8\"><title><%Site%></title>\n"
               "<link rel=\"stylesheet\" href=\"style.css\"></head>\n<body>\n";
        for (int s = 0; text.size() < 1'000'000; ++s) {
            const std::string n = std::to_string(s);
            text += "<section id=\"s" + n + "\">\n<h2>Section " + n + " of <%Site%></h2>\n";
            text += "<p>Walk number " + n + " goes up the hill and down again, past the old mill, the "
                    "river and the long wall, and ends at the inn where everyone meets.</p>\n";
            text += "<ul><li>Distance: " + std::to_string(3 + s % 9) + " km</li><li>Climb: " +
                    std::to_string(100 + s % 400) + " m</li><li>Led by <%Author%></li></ul>\n";
            if (s % 10 == 0)
                text += "<&parts/note.inc&>\n<form><label>Name <input name=\"n" + n + "\"></label></form>\n";
            text += "</section>\n";
        }
        text += "</body>\n</html>\n";
    }
    ~BigPage() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

void pressKey(QWidget* target, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

void BM_KeystrokeToRepaintedPane(benchmark::State& state) {
    BigPage site;
    velora::memo::TSyntaxMemo memo;
    memo.setText(QByteArray::fromStdString(site.text));
    vlr::LivePreviewPane::Context context;
    context.projectFile = [&] { return (site.root / "site.vlr").string(); };
    context.pagePath = [&] { return (site.root / "src/index.hts").string(); };
    vlr::LivePreviewPane pane(memo, context);
    if (!pane.Usable()) {
        state.SkipWithError("the preview module is not there");
        return;
    }
    memo.resize(800, 900);
    memo.show();
    pane.resize(1000, 900);
    int shown = 0;
    QObject::connect(&pane, &vlr::LivePreviewPane::Shown, [&](int serial) { shown = serial; });
    pane.show();
    QElapsedTimer wait;
    wait.start();
    while (shown == 0 && wait.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (shown == 0) {
        state.SkipWithError("the page was never shown");
        return;
    }
    const velora::memo::Pos middle = memo.engine().store().lineStart(memo.engine().store().lineCount() / 2);
    memo.setSelection(middle, middle);
    memo.setFocus();
    std::vector<double> ms;
    for (auto _ : state) {
        const int before = shown;
        const auto t0 = Clock::now();
        pressKey(&memo, Qt::Key_X, QStringLiteral("x"));
        wait.restart();
        while (shown == before && wait.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        // Apart from each other, as typed keys are.
        const auto pause = Clock::now();
        while (Clock::now() - pause < std::chrono::milliseconds(20))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p95_ms"] = ms[std::min(ms.size() - 1, ms.size() * 95 / 100)];
    state.counters["max_ms"] = ms.back();
    state.counters["page_bytes"] = double(pane.Page().html.size());
}
BENCHMARK(BM_KeystrokeToRepaintedPane)->Unit(benchmark::kMillisecond)->Iterations(60)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's folder, where the preview module is.
    if (qEnvironmentVariableIsEmpty("VELORA_APPDIR"))
        qputenv("VELORA_APPDIR", VELORA_RUN_FOLDER "/");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
