// Word wrap of the editor control: the layout of every hard line in visual rows of at most
// `width` display columns. A row breaks after the last blank that fits (or after one of the
// wrap-override characters, with smoWrapOverride), or inside a word that is longer than a row. The text, its positions, lines and columns are those of the unwrapped
// text: the index only says where rows begin, and is updated line by line after an edit.
// Rows are counted through a Fenwick tree over the lines, so row <-> line lookups are O(log n).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "memo/engine/DisplayColumns.h"
#include "memo/engine/TextStore.h"
#include "memo/engine/Types.h"

namespace velora::memo {

class WrapIndex {
 public:
  // `breakAfter`: characters after which a row may also break (the wrap-override characters).
  WrapIndex(const TextStore& store, int width, TabStops tabs, std::string breakAfter = {});

  [[nodiscard]] int width() const noexcept { return width_; }
  [[nodiscard]] const TabStops& tabs() const noexcept { return tabs_; }
  [[nodiscard]] const std::string& breakAfter() const noexcept { return breakAfter_; }
  // Lays out the whole document again.
  void rebuild();
  // Lines [first, first + removed) of the old text became lines [first, first + added).
  void replaceLines(LineNo first, LineNo removed, LineNo added);

  [[nodiscard]] Pos rowCount() const noexcept { return total_; }
  [[nodiscard]] Pos firstRowOf(LineNo line) const noexcept;
  [[nodiscard]] LineNo lineOfRow(Pos row) const noexcept;
  [[nodiscard]] Pos rowOf(Pos p) const noexcept;
  // Where a row begins and ends (the next row's start, or the end of its line before the break).
  [[nodiscard]] Pos rowStart(Pos row) const noexcept;
  [[nodiscard]] Pos rowEnd(Pos row) const noexcept;
  // True when the row is continued on the next one (not the last row of its line).
  [[nodiscard]] bool continues(Pos row) const noexcept;

 private:
  [[nodiscard]] std::vector<std::uint32_t> layout(LineNo line) const;
  void rebuildFenwick();
  void fenAdd(std::size_t line, Pos delta) noexcept;
  [[nodiscard]] Pos fenPrefix(std::size_t lines) const noexcept;  // rows of lines [0, lines)

  const TextStore& store_;
  int width_;
  TabStops tabs_;
  std::string breakAfter_;
  std::vector<std::vector<std::uint32_t>> breaks_;  // per line: offsets where its rows 2.. begin
  std::vector<Pos> fen_;                            // 1-based Fenwick tree of rows per line
  std::size_t fenTop_ = 1;
  Pos total_ = 0;
};

}  // namespace velora::memo
