// Plain search: each segment is searched in place; only places that straddle two segments are
// compared byte by byte through a cursor.
#include "memo/engine/search/PlainSearch.h"

#include <algorithm>

namespace velora::memo {

bool DefaultWordChar(unsigned char c) noexcept {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 128;
}

namespace {

bool equalThroughCursor(CharCursor& cur, const TSkipTable& t, Pos p) {
  const std::string& pat = t.folded();
  for (std::size_t i = 0; i < pat.size(); ++i) {
    const int c = cur.at(p + Pos(i));
    if (c < 0 || t.fold((unsigned char)c) != (unsigned char)pat[i]) return false;
  }
  return true;
}

bool wholeWordAt(CharCursor& cur, const WordCharTest* word, Pos p, Pos n) {
  if (!word) return true;
  const int before = cur.at(p - 1);
  if (before >= 0 && (*word)((unsigned char)before)) return false;
  const int after = cur.at(p + n);
  return !(after >= 0 && (*word)((unsigned char)after));
}

}  // namespace

Pos PlainFindForward(const CharSource& src, const TSkipTable& t, Pos from, const WordCharTest* word, Pos to) {
  const Pos len = src.length();
  const Pos n = Pos(t.size());
  if (to < 0 || to > len) to = len;
  if (from < 0) from = 0;
  if (n == 0 || from + n > len) return -1;
  CharCursor cur(src);
  Pos p = from;
  while (p < to) {
    const Segment seg = src.segmentAt(p);
    const char* base = seg.data - seg.start;  // base[q] is the byte at position q
    // Matches lying inside the segment.
    Pos q = p;
    const Pos lastInside = std::min(seg.end, to + n - 1);
    while (q < to) {
      const char* hit = t.findIn(base + q, base + lastInside);
      if (!hit) break;
      const Pos h = Pos(hit - base);
      if (h >= to) break;
      if (wholeWordAt(cur, word, h, n)) return h;
      q = h + 1;
    }
    // Matches that start in this segment and end in a later one. Each holds the segment's last
    // byte, so a last byte that the pattern does not contain rules them out at once.
    if (seg.end < len && t.contains((unsigned char)base[seg.end - 1])) {
      for (Pos h = std::max(p, seg.end - n + 1); h < seg.end && h < to; ++h)
        if (equalThroughCursor(cur, t, h) && wholeWordAt(cur, word, h, n)) return h;
    }
    p = seg.end;
  }
  return -1;
}

Pos PlainFindBackward(const CharSource& src, const TSkipTable& t, Pos before, const WordCharTest* word) {
  const Pos len = src.length();
  const Pos n = Pos(t.size());
  if (n == 0 || n > len) return -1;
  before = std::min(before, len - n + 1);  // the latest start that fits
  if (before <= 0) return -1;
  CharCursor cur(src);
  Pos p = before - 1;  // the latest start still wanted
  while (p >= 0) {
    const Segment seg = src.segmentAt(p);
    const char* base = seg.data - seg.start;
    // Latest first: places straddling the segment's end, then places inside it.
    if (seg.end < len && p > seg.end - n && t.contains((unsigned char)base[seg.end - 1])) {
      for (Pos h = std::min(p, seg.end - 1); h > seg.end - n && h >= seg.start; --h)
        if (equalThroughCursor(cur, t, h) && wholeWordAt(cur, word, h, n)) return h;
    }
    Pos windowEnd = std::min(seg.end, p + n);
    while (windowEnd - seg.start >= n) {
      const char* hit = t.findLastIn(base + seg.start, base + windowEnd);
      if (!hit) break;
      const Pos h = Pos(hit - base);
      if (wholeWordAt(cur, word, h, n)) return h;
      windowEnd = h + n - 1;
    }
    p = seg.start - 1;
  }
  return -1;
}

}  // namespace velora::memo
