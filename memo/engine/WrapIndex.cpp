// Word wrap of the editor control: row layout of hard lines and the row index.
#include "memo/engine/WrapIndex.h"

#include <algorithm>
#include <string>

#include "memo/engine/Utf8.h"

namespace velora::memo {

WrapIndex::WrapIndex(const TextStore& store, int width, TabStops tabs, std::string breakAfter)
    : store_(store), width_(std::max(1, width)), tabs_(std::move(tabs)), breakAfter_(std::move(breakAfter)) {
  rebuild();
}

std::vector<std::uint32_t> WrapIndex::layout(LineNo line) const {
  std::vector<std::uint32_t> out;
  const Pos ls = store_.lineStart(line);
  const Pos len = store_.lineLength(line);
  if (len == 0) return out;
  const std::string t = store_.text(ls, ls + len);
  Pos col = 0, rowCol = 0;           // absolute column, and that of the row's start
  std::size_t row = 0;               // offset of the row's start
  std::size_t blank = 0;             // offset after the last blank of the row (0: none)
  Pos blankCol = 0;
  std::size_t i = 0;
  while (i < t.size()) {
    const auto c = static_cast<unsigned char>(t[i]);
    int n = 1;
    Pos next;
    if (c == '\t') next = tabs_.next(col);
    else if (c < 0x80) next = col + 1;
    else {
      n = utf8CharLength(t, i);
      next = col + charCells(utf8CharAt(t, i, n));
    }
    if (next - rowCol > width_ && i > row) {
      // Break after the last blank of the row, or before this character.
      if (blank > row) {
        row = blank;
        rowCol = blankCol;
      } else {
        row = i;
        rowCol = col;
      }
      out.push_back(std::uint32_t(row));
      blank = 0;
      continue;  // the character is measured again in the new row
    }
    col = next;
    i += std::size_t(n);
    if (c == ' ' || c == '\t' || (c < 0x80 && breakAfter_.find(char(c)) != std::string::npos)) {
      blank = i;
      blankCol = col;
    }
  }
  return out;
}

void WrapIndex::rebuild() {
  const LineNo lines = store_.lineCount();
  breaks_.assign(std::size_t(lines), {});
  for (LineNo l = 0; l < lines; ++l) breaks_[std::size_t(l)] = layout(l);
  rebuildFenwick();
}

void WrapIndex::replaceLines(LineNo first, LineNo removed, LineNo added) {
  first = std::clamp<LineNo>(first, 0, LineNo(breaks_.size()));
  removed = std::clamp<LineNo>(removed, 0, LineNo(breaks_.size()) - first);
  std::vector<std::vector<std::uint32_t>> fresh(std::size_t(std::max<LineNo>(added, 0)));
  for (LineNo k = 0; k < added; ++k) fresh[std::size_t(k)] = layout(first + k);
  if (removed == added) {
    for (LineNo k = 0; k < added; ++k) {
      auto& slot = breaks_[std::size_t(first + k)];
      const Pos delta = Pos(fresh[std::size_t(k)].size()) - Pos(slot.size());
      slot = std::move(fresh[std::size_t(k)]);
      if (delta) fenAdd(std::size_t(first + k), delta);
    }
    return;
  }
  const auto at = breaks_.begin() + std::ptrdiff_t(first);
  breaks_.erase(at, at + std::ptrdiff_t(removed));
  breaks_.insert(breaks_.begin() + std::ptrdiff_t(first), std::make_move_iterator(fresh.begin()),
                 std::make_move_iterator(fresh.end()));
  rebuildFenwick();
}

void WrapIndex::rebuildFenwick() {
  const std::size_t n = breaks_.size();
  fen_.assign(n + 1, 0);
  total_ = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const Pos rows = 1 + Pos(breaks_[i].size());
    total_ += rows;
    fen_[i + 1] += rows;
    const std::size_t j = (i + 1) + ((i + 1) & (~(i + 1) + 1));
    if (j <= n) fen_[j] += fen_[i + 1];
  }
  fenTop_ = 1;
  while (fenTop_ * 2 <= n) fenTop_ *= 2;
}

void WrapIndex::fenAdd(std::size_t line, Pos delta) noexcept {
  total_ += delta;
  for (std::size_t i = line + 1; i < fen_.size(); i += i & (~i + 1)) fen_[i] += delta;
}

Pos WrapIndex::fenPrefix(std::size_t lines) const noexcept {
  Pos s = 0;
  for (std::size_t i = std::min(lines, fen_.size() - 1); i > 0; i -= i & (~i + 1)) s += fen_[i];
  return s;
}

Pos WrapIndex::firstRowOf(LineNo line) const noexcept {
  return fenPrefix(std::size_t(std::clamp<LineNo>(line, 0, LineNo(breaks_.size()))));
}

LineNo WrapIndex::lineOfRow(Pos row) const noexcept {
  row = std::clamp<Pos>(row, 0, total_ - 1);
  // The largest count of whole lines whose rows do not pass `row`.
  std::size_t pos = 0;
  Pos left = row;
  for (std::size_t step = fenTop_; step > 0; step >>= 1) {
    if (pos + step < fen_.size() && fen_[pos + step] <= left) {
      pos += step;
      left -= fen_[pos];
    }
  }
  return LineNo(std::min(pos, breaks_.size() - 1));
}

Pos WrapIndex::rowOf(Pos p) const noexcept {
  const Location loc = store_.locate(p);
  const LineNo line = loc.line;
  const Pos off = p - store_.lineStart(line);
  const auto& b = breaks_[std::size_t(line)];
  const auto k = std::upper_bound(b.begin(), b.end(), std::uint32_t(off)) - b.begin();
  return firstRowOf(line) + Pos(k);
}

Pos WrapIndex::rowStart(Pos row) const noexcept {
  const LineNo line = lineOfRow(row);
  const Pos k = std::clamp<Pos>(row, 0, total_ - 1) - firstRowOf(line);
  const Pos ls = store_.lineStart(line);
  return k == 0 ? ls : ls + Pos(breaks_[std::size_t(line)][std::size_t(k - 1)]);
}

Pos WrapIndex::rowEnd(Pos row) const noexcept {
  const LineNo line = lineOfRow(row);
  const Pos k = std::clamp<Pos>(row, 0, total_ - 1) - firstRowOf(line);
  const auto& b = breaks_[std::size_t(line)];
  if (std::size_t(k) < b.size()) return store_.lineStart(line) + Pos(b[std::size_t(k)]);
  return store_.lineEnd(line);
}

bool WrapIndex::continues(Pos row) const noexcept {
  const LineNo line = lineOfRow(row);
  return std::size_t(std::clamp<Pos>(row, 0, total_ - 1) - firstRowOf(line)) < breaks_[std::size_t(line)].size();
}

}  // namespace velora::memo
