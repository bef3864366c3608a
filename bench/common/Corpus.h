// The benchmark corpus: the generated 20 MB page named by VELORA_CORPUS
// (bench/run.sh makes it with the peers' generator), read once per program.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace velora::bench {

inline std::string CorpusPath() {
  const char* path = std::getenv("VELORA_CORPUS");
  return path ? path : "/tmp/bench-peers/corpus20.html";
}

// The corpus bytes; a missing corpus ends the program with a message naming `program`.
inline const std::string& Corpus(const char* program) {
  static const std::string text = [program] {
    const std::string p = CorpusPath();
    std::ifstream in(p, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "%s: cannot read corpus %s (set VELORA_CORPUS)\n", program, p.c_str());
      std::exit(2);
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
  }();
  return text;
}

}  // namespace velora::bench
