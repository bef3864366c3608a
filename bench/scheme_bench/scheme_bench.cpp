// Benchmarks of the scheme compiler: compiling the HTML scheme script, and writing and loading
// its stored form. The script is VELORA_HTML_SCHEME (set by the build), or the file named by the
// environment variable VELORA_SCHEME_SCRIPT when that is set.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "memo/engine/scheme/SchemeCompiler.h"
#include "memo/engine/scheme/StoredForm.h"

namespace {

std::filesystem::path ScriptPath() {
  if (const char* env = std::getenv("VELORA_SCHEME_SCRIPT"); env && *env) return env;
  return VELORA_HTML_SCHEME;
}

// The script text, or nullopt (with the reason in `why`) when it cannot be read.
std::optional<std::string> ScriptText(std::string& why) {
  const std::filesystem::path path = ScriptPath();
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    why = "scheme script not found: " + path.string();
    return std::nullopt;
  }
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void BM_CompileScheme(benchmark::State& state) {
  std::string why;
  const auto text = ScriptText(why);
  if (!text) {
    state.SkipWithError(why.c_str());
    return;
  }
  const std::filesystem::path folder = ScriptPath().parent_path();
  try {
    (void)vlr::CompileSchemeText(*text, folder);
  } catch (const vlr::ESchemeError& e) {
    state.SkipWithError(e.Message().c_str());
    return;
  }
  for (auto _ : state) {
    vlr::TSchemeTables t = vlr::CompileSchemeText(*text, folder);
    benchmark::DoNotOptimize(t.words.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text->size()));
}
BENCHMARK(BM_CompileScheme)->Unit(benchmark::kMillisecond);

// The stored form of the script, or empty (with the reason in `why`).
std::string StoredForm(std::string& why) {
  const auto text = ScriptText(why);
  if (!text) return {};
  try {
    return vlr::WriteStoredForm(vlr::CompileSchemeText(*text, ScriptPath().parent_path()));
  } catch (const vlr::ESchemeError& e) {
    why = e.Message();
    return {};
  }
}

void BM_WriteStoredForm(benchmark::State& state) {
  std::string why;
  const auto text = ScriptText(why);
  if (!text) {
    state.SkipWithError(why.c_str());
    return;
  }
  vlr::TSchemeTables t;
  try {
    t = vlr::CompileSchemeText(*text, ScriptPath().parent_path());
  } catch (const vlr::ESchemeError& e) {
    state.SkipWithError(e.Message().c_str());
    return;
  }
  for (auto _ : state) {
    std::string bytes = vlr::WriteStoredForm(t);
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(BM_WriteStoredForm)->Unit(benchmark::kMillisecond);

void BM_LoadStoredForm(benchmark::State& state) {
  std::string why;
  const std::string bytes = StoredForm(why);
  if (bytes.empty()) {
    state.SkipWithError(why.c_str());
    return;
  }
  for (auto _ : state) {
    vlr::TStoredFormResult r = vlr::ReadStoredForm(bytes, "SyntaxMemoParser1");
    if (!r.Ok()) {
      state.SkipWithError(r.message.c_str());
      break;
    }
    benchmark::DoNotOptimize(r.tables->words.data());
  }
  state.counters["stored_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_LoadStoredForm)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
