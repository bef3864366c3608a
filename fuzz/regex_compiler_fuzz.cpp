// TREParser on arbitrary expression text: compiling never crashes, errors carry a column inside
// the expression, and a compiled program stays within its cell limit and matches a fixed
// subject within its step budget.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "memo/engine/search/REParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 600) return 0;
  const std::string_view expr(reinterpret_cast<const char*>(data), size);
  velora::memo::TREParser re;
  const bool ok = re.compile(expr, size % 2 == 0);
  if (!ok) {
    if (re.errorColumn() < 0 || re.errorColumn() > int(size)) std::abort();
    (void)re.errorMessage();
    return 0;
  }
  if (re.cells() > velora::memo::TREParser::kMaxCells || re.groupCount() > velora::memo::TREParser::kMaxGroups)
    std::abort();
  static const char kSubject[] = "abc\rABC <a href=\"x\">aaaaaaaaaaaaaaaaaaaa\r\"q\" 0123 -_- \t\x01\xff \xC3\xA9\xE2\x84\xA2\xC3";
  velora::memo::StringSource src(std::string_view(kSubject, sizeof kSubject - 1));
  re.stepBudget = 200000;
  const velora::memo::Pos p = re.search(src, 0);
  if (p >= 0 && (re.matchEnd() < p || re.matchEnd() > src.length())) std::abort();
  (void)re.searchBackward(src, src.length());
  return 0;
}
