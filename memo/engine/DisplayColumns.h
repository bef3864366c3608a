// Display columns of the editor control: where each character of a line stands on screen, in
// character cells. A tab reaches the next tab stop; East Asian wide and fullwidth characters
// and most emoji take two cells; every other character (an invalid byte included, see Utf8.h)
// takes one. Caret scrolling, painting and hit-testing all count in these columns, so that they
// agree on tab-indented lines and after wide or astral characters.
//
// Long lines are not walked from their start each time: the column of every 512th byte (at a
// character start) is remembered per line, and an edit forgets only what lies after it.
#pragma once

#include <cstdint>
#include <list>
#include <string_view>
#include <utility>
#include <vector>

#include "memo/engine/TextStore.h"
#include "memo/engine/Types.h"

namespace velora::memo {

// Cells taken by a character other than a tab (1 or 2).
[[nodiscard]] int charCells(char32_t cp) noexcept;

// Tab stops: the explicit stops (zero-based columns), then multiples of the default width.
struct TabStops {
  int tabDefault = 4;
  std::vector<int> columns;
  [[nodiscard]] int next(Pos col) const noexcept;
  friend bool operator==(const TabStops&, const TabStops&) = default;
};

class DisplayColumns {
 public:
  explicit DisplayColumns(const TextStore& store) : store_(store) {}

  // Zero-based display column of position p in its line.
  [[nodiscard]] Pos column(Pos p, const TabStops& tabs);
  // The start of the character of `line` that covers column `col`; the line's end when the line
  // is shorter.
  [[nodiscard]] Pos positionAt(LineNo line, Pos col, const TabStops& tabs);
  // The text changed from position a on: remembered columns after it are forgotten.
  void edited(Pos a);
  void clear() { lines_.clear(); }

  static constexpr std::size_t kStep = 512;       // bytes between remembered columns
  static constexpr std::size_t kShortLine = 2048;  // shorter lines are walked, not remembered

 private:
  struct Line {
    Pos start = 0;
    TabStops tabs;
    std::vector<std::pair<Pos, Pos>> marks;  // (offset, column) at character starts, ascending
  };
  Line& lineAt(Pos start, const TabStops& tabs);
  // Walks the line from (offset, column) while `more(offset, column)`; records marks when given.
  template <class More>
  std::pair<Pos, Pos> walk(Pos lineStart, Pos lineEnd, Pos offset, Pos column, const TabStops& tabs, More more,
                           Line* record);

  const TextStore& store_;
  std::list<Line> lines_;  // most recently used first; a few lines only
};

}  // namespace velora::memo
