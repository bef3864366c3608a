// scancheck: checks the highlighter's incremental re-scan on real files.
//
//   scancheck [--scheme FILE] [--edits N] [--seed S] FILE...
//
// For each file: a full highlight (timed), then N random edits (comment, script and style
// delimiters, quotes, line breaks, deletions, undo), each compared with a scan of the whole text
// from scratch. Prints one line "files F, edits E, mismatches M, MB/s X" (X: the full highlight's
// speed) and exits with 1 when any edit left different values, 2 on bad arguments or unreadable
// files. The scheme is the shipped HTML scheme unless --scheme names a script or a stored form.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "memo/engine/scheme/ScanCheck.h"
#include "memo/engine/scheme/SchemeCompiler.h"
#include "memo/engine/scheme/StoredForm.h"

namespace {

bool ReadFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), {});
  return !in.bad();
}

int Usage() {
  std::fprintf(stderr, "usage: scancheck [--scheme FILE] [--edits N] [--seed S] FILE...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string scheme = VELORA_HTML_SCHEME_SCRIPT;
  int edits = 200;
  unsigned long long seed = 1;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--scheme" && hasValue) scheme = argv[++i];
    else if (a == "--edits" && hasValue) edits = std::atoi(argv[++i]);
    else if (a == "--seed" && hasValue) seed = std::strtoull(argv[++i], nullptr, 10);
    else if (a.rfind("--", 0) == 0) return Usage();
    else files.push_back(a);
  }
  if (files.empty() || edits < 0) return Usage();

  vlr::TSchemeTables tables;
  std::string bytes;
  if (!ReadFile(scheme, bytes)) {
    std::fprintf(stderr, "scancheck: cannot read scheme %s\n", scheme.c_str());
    return 2;
  }
  // A stored form is used as it is; anything else is compiled as a script.
  vlr::TStoredFormResult stored = vlr::ReadStoredForm(bytes, "scancheck");
  if (stored.Ok()) {
    tables = std::move(*stored.tables);
  } else {
    try {
      tables = vlr::CompileSchemeFile(scheme);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "scancheck: %s: %s\n", scheme.c_str(), e.what());
      return 2;
    }
  }

  vlr::TScanCheck check(tables, seed);
  for (const std::string& f : files) {
    std::string text;
    if (!ReadFile(f, text)) {
      std::fprintf(stderr, "scancheck: cannot read %s\n", f.c_str());
      return 2;
    }
    const auto before = check.Result().mismatches;
    check.Run(text, edits);
    if (check.Result().mismatches > before && before == 0)
      std::fprintf(stderr, "scancheck: %s: first mismatch %s\n", f.c_str(), check.Result().firstMismatch.c_str());
  }
  const vlr::TScanCheckResult& r = check.Result();
  const double mbs = r.fullSeconds > 0 ? double(r.bytes) / 1e6 / r.fullSeconds : 0.0;
  std::printf("files %zu, edits %lld, mismatches %lld, MB/s %.1f\n", files.size(), static_cast<long long>(r.edits),
              static_cast<long long>(r.mismatches), mbs);
  return r.mismatches == 0 ? 0 : 1;
}
