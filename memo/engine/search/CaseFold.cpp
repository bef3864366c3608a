// Simple case folding over utf8proc: its full folding where that gives one character, else the
// simple lower case (which is what the simple folding of those few characters is), never
// turning a non-ASCII letter into an ASCII one that way (the dotted capital I stays itself).
#include "memo/engine/search/CaseFold.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <utf8proc.h>

namespace velora::memo {

char32_t foldCaseSlow(char32_t c) noexcept {
  if (c >= kRawByte) return c;
  utf8proc_int32_t out[4];
  int boundclass = 0;
  const utf8proc_ssize_t n =
      utf8proc_decompose_char(utf8proc_int32_t(c), out, 4, utf8proc_option_t(UTF8PROC_CASEFOLD), &boundclass);
  if (n == 1) return char32_t(out[0]);
  const auto lower = char32_t(utf8proc_tolower(utf8proc_int32_t(c)));
  return lower < 0x80 ? c : lower;
}

namespace {

struct FoldTable {
  std::vector<char32_t> folding;                    // characters that fold to another, ascending
  std::vector<std::pair<char32_t, char32_t>> byFold;  // (folding, character), ascending
  FoldTable() {
    // Letters with case lie in the first two planes.
    for (char32_t c = 0; c < 0x20000; ++c) {
      if (c == 0xD800) c = 0xE000;
      const char32_t f = foldCase(c);
      if (f == c) continue;
      folding.push_back(c);
      byFold.emplace_back(f, c);
    }
    std::sort(byFold.begin(), byFold.end());
    variants.reserve(byFold.size());
    for (const auto& [f, c] : byFold) variants.push_back(c);
  }
  std::vector<char32_t> variants;  // the characters of byFold in its order
};

const FoldTable& table() {
  static const FoldTable t;
  return t;
}

}  // namespace

std::span<const char32_t> caseVariants(char32_t folded) {
  const FoldTable& t = table();
  const auto lo = std::lower_bound(t.byFold.begin(), t.byFold.end(), std::pair<char32_t, char32_t>(folded, 0));
  auto hi = lo;
  while (hi != t.byFold.end() && hi->first == folded) ++hi;
  const auto at = std::size_t(lo - t.byFold.begin());
  return {t.variants.data() + at, std::size_t(hi - lo)};
}

std::span<const char32_t> foldingCharacters() { return table().folding; }

void appendSearchChar(std::string& out, char32_t c) {
  if (c >= kRawByte) {
    out += char(c - kRawByte);
  } else if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

int searchCharLength(char32_t c) noexcept {
  if (c < 0x80 || c >= kRawByte) return 1;
  return c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

bool foldedEqual(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    int n = 0, m = 0;
    if (foldCase(searchCharAt(a, i, n)) != foldCase(searchCharAt(b, j, m))) return false;
    i += std::size_t(n);
    j += std::size_t(m);
  }
  return i == a.size() && j == b.size();
}

}  // namespace velora::memo
