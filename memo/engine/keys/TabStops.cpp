// Parsing the tab columns text.
#include "memo/engine/keys/TabStops.h"

#include <string>

#include "memo/engine/Types.h"

namespace vlr {

using velora::memo::ESyntaxMemo;

std::array<int, kMaxTabStops> ParseTabStops(std::string_view text) {
  std::array<int, kMaxTabStops> stops;
  stops.fill(-1);
  std::size_t count = 0;
  long long previous = 0;
  std::size_t i = 0;
  const auto isSeparator = [](char c) { return c == ' ' || c == ',' || c == '\t' || c == ';'; };
  for (;;) {
    while (i < text.size() && isSeparator(text[i])) ++i;
    if (i >= text.size()) return stops;
    if (text[i] < '0' || text[i] > '9') throw ESyntaxMemo("Tab stop column value expected");
    long long column = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      if (column < 1000000) column = column * 10 + (text[i] - '0');
      ++i;
    }
    if (i < text.size() && !isSeparator(text[i])) throw ESyntaxMemo("Tab stop column value expected");
    if (count >= kMaxTabStops)
      throw ESyntaxMemo("Too many tab stops - maximum of " + std::to_string(kMaxTabStops));
    if (column <= 1) throw ESyntaxMemo("Tab column must be > 1");
    if (column <= previous) throw ESyntaxMemo("Tab columns must be in order and unique");
    stops[count++] = static_cast<int>(column - 1);
    previous = column;
  }
}

void CheckDefaultTab(long long width) {
  if (width <= 0) throw ESyntaxMemo("=Illegal default tab stop value, must be > 0");
}

}  // namespace vlr
