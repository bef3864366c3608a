// Golden files of the HTML scheme: every page in golden/input is highlighted and its token values
// are compared with golden/reference/<name>.ref. Each line of a .ref file is one line of the
// page as runs "[value:text]", the line break last as "[value:\r]". After a deliberate change
// of the scheme, golden/regenerate.sh rewrites the references (review the diff before
// committing it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "memo/engine/MemoEngine.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/HtmlScanners.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// The page's token values in the .ref form.
std::string Describe(velora::memo::MemoEngine& e) {
  const std::string text = e.text();
  const auto values = e.tokens(0, e.length());
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::uint8_t v = values[i];
    std::size_t j = i;
    while (j < text.size() && values[j] == v && text[j] != '\r') ++j;
    if (j == i) {  // the line break
      out += "[" + std::to_string(v) + ":\\r]\n";
      ++i;
      continue;
    }
    out += "[" + std::to_string(v) + ":" + text.substr(i, j - i) + "]";
    i = j;
  }
  if (!out.empty() && out.back() != '\n') out += "\n";
  return out;
}

}  // namespace

TEST(GoldenFiles, HtmlSchemeValuesOfEveryInputPage) {
  vlr::TSyntaxMemoParser parser;
  parser.Script = VELORA_HTML_SCHEME_SCRIPT;
  parser.CompileScript();
  vlr::UseHtmlScanners(parser);
  const fs::path dir = VELORA_GOLDEN_DIR;
  const bool regenerate = std::getenv("VELORA_GOLDEN_REGENERATE") != nullptr;
  int pages = 0;
  for (const auto& entry : fs::directory_iterator(dir / "input")) {
    if (entry.path().extension() != ".html") continue;
    ++pages;
    velora::memo::MemoEngine e;
    e.setText(ReadAll(entry.path()));
    vlr::AttachHighlighter(e, parser);
    while (e.HighlightSlice(1'000'000)) {}
    const std::string got = Describe(e);
    const fs::path ref = dir / "reference" / (entry.path().stem().string() + ".ref");
    if (regenerate) {
      fs::create_directories(ref.parent_path());
      const fs::path tmp = ref.string() + ".tmp";
      std::ofstream(tmp, std::ios::binary) << got;
      fs::rename(tmp, ref);
      continue;
    }
    ASSERT_TRUE(fs::exists(ref)) << ref << " is missing: run golden/regenerate.sh";
    // Line by line, so that a failure names the first line that differs.
    std::istringstream a(got), b(ReadAll(ref));
    std::string la, lb;
    for (int line = 1;; ++line) {
      const bool moreA = bool(std::getline(a, la)), moreB = bool(std::getline(b, lb));
      if (!moreA && !moreB) break;
      if (la != lb || moreA != moreB) {
        ADD_FAILURE() << entry.path().filename() << " line " << line << "\n   got: " << la.substr(0, 400)
                      << "\n  want: " << lb.substr(0, 400);
        break;
      }
    }
    vlr::DetachHighlighter(e);
  }
  EXPECT_GE(pages, 5);
}
