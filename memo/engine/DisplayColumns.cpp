// Display columns of the editor control.
#include "memo/engine/DisplayColumns.h"

#include <algorithm>
#include <string>
#include <tuple>

#include "memo/engine/Utf8.h"

namespace velora::memo {

int charCells(char32_t c) noexcept {
  // East Asian wide and fullwidth ranges, and the emoji blocks.
  if (c < 0x1100) return 1;
  if (c <= 0x115F || c == 0x2329 || c == 0x232A || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
      (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
      (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
      (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
      (c >= 0x1F900 && c <= 0x1F9FF) || (c >= 0x20000 && c <= 0x3FFFD))
    return 2;
  return 1;
}

int TabStops::next(Pos col) const noexcept {
  for (int t : columns)
    if (t > col) return t;
  const int w = tabDefault > 0 ? tabDefault : 4;
  return int((col / w + 1) * w);
}

DisplayColumns::Line& DisplayColumns::lineAt(Pos start, const TabStops& tabs) {
  for (auto it = lines_.begin(); it != lines_.end(); ++it) {
    if (it->start != start) continue;
    if (!(it->tabs == tabs)) {
      it->tabs = tabs;
      it->marks.assign(1, {0, 0});
    }
    lines_.splice(lines_.begin(), lines_, it);
    return lines_.front();
  }
  if (lines_.size() >= 8) lines_.pop_back();
  lines_.push_front(Line{start, tabs, {{0, 0}}});
  return lines_.front();
}

template <class More>
std::pair<Pos, Pos> DisplayColumns::walk(Pos lineStart, Pos lineEnd, Pos offset, Pos column, const TabStops& tabs,
                                         More more, Line* record) {
  constexpr Pos kChunk = 65536;
  std::string buf;
  Pos bufAt = -1;  // offset of buf[0]
  Pos nextMark = record ? Pos((offset / Pos(kStep) + 1) * Pos(kStep)) : 0;
  while (lineStart + offset < lineEnd && more(offset, column)) {
    if (bufAt < 0 || offset + 4 > bufAt + Pos(buf.size())) {
      bufAt = offset;
      buf = store_.text(lineStart + offset, std::min(lineEnd, lineStart + offset + kChunk));
    }
    const std::size_t i = std::size_t(offset - bufAt);
    const auto c = static_cast<unsigned char>(buf[i]);
    int n = 1;
    if (c == '\t') {
      column = tabs.next(column);
    } else if (c < 0x80) {
      ++column;
    } else {
      n = utf8CharLength(buf, i);
      column += charCells(utf8CharAt(buf, i, n));
    }
    offset += n;
    if (record && offset >= nextMark) {
      record->marks.emplace_back(offset, column);
      nextMark = (offset / Pos(kStep) + 1) * Pos(kStep);
    }
  }
  return {offset, column};
}

Pos DisplayColumns::column(Pos p, const TabStops& tabs) {
  p = store_.clamp(p);
  const LineNo line = store_.lineFromPos(p);
  const Pos ls = store_.lineStart(line);
  const Pos le = store_.lineEnd(line);
  const Pos target = p - ls;
  auto before = [target](Pos o, Pos) { return o < target; };
  if (le - ls < Pos(kShortLine)) return walk(ls, le, 0, 0, tabs, before, nullptr).second;
  Line& l = lineAt(ls, tabs);
  auto it = std::upper_bound(l.marks.begin(), l.marks.end(), target,
                             [](Pos t, const std::pair<Pos, Pos>& m) { return t < m.first; });
  const auto [o, c] = *std::prev(it);
  // Marks are made only while walking past the last one, so that they stay in order.
  return walk(ls, le, o, c, tabs, before, it == l.marks.end() ? &l : nullptr).second;
}

Pos DisplayColumns::positionAt(LineNo line, Pos col, const TabStops& tabs) {
  const Pos ls = store_.lineStart(line);
  const Pos le = store_.lineEnd(line);
  // Walk while the next character still starts at or before col... and covers it.
  Pos lastStart = 0;
  auto until = [&](Pos o, Pos c) {
    if (c > col) return false;
    lastStart = o;
    return true;
  };
  Pos o = 0, c = 0;
  Line* record = nullptr;
  if (le - ls >= Pos(kShortLine)) {
    Line& l = lineAt(ls, tabs);
    auto it = std::upper_bound(l.marks.begin(), l.marks.end(), col,
                               [](Pos t, const std::pair<Pos, Pos>& m) { return t < m.second; });
    std::tie(o, c) = *std::prev(it);
    if (it == l.marks.end()) record = &l;
  }
  const auto [endO, endC] = walk(ls, le, o, c, tabs, until, record);
  // The walk stops after the character that passes col: that character covers it.
  if (endC > col) return ls + lastStart;
  return ls + endO;  // the line ends at or before col
}

void DisplayColumns::edited(Pos a) {
  for (auto it = lines_.begin(); it != lines_.end();) {
    if (a < it->start) {
      it = lines_.erase(it);
      continue;
    }
    // A character that ends just before the edit may now run on into it: keep a margin.
    const Pos keep = a - it->start - 4;
    auto& m = it->marks;
    while (m.size() > 1 && m.back().first > keep) m.pop_back();
    ++it;
  }
}

}  // namespace velora::memo
