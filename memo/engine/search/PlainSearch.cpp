// Plain search: each segment is searched in place; only places that straddle two segments are
// compared byte by byte through a cursor. A pattern off the fast path (see SkipTable.h) is
// found by its probe run and then compared character by character around it.
#include "memo/engine/search/PlainSearch.h"

#include <algorithm>

namespace velora::memo {

bool DefaultWordChar(unsigned char c) noexcept {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 128;
}

namespace {

// The run through the cursor at p, under its masks.
bool runThroughCursor(CharCursor& cur, const TSkipTable& t, Pos p) {
  for (std::size_t i = 0; i < t.runSize(); ++i) {
    const int c = cur.at(p + Pos(i));
    if (c < 0 || !t.runByte(i, (unsigned char)c)) return false;
  }
  return true;
}

bool wholeWordAt(CharCursor& cur, const WordCharTest* word, Pos p, Pos e) {
  if (!word) return true;
  const int before = cur.at(p - 1);
  if (before >= 0 && (*word)((unsigned char)before)) return false;
  const int after = cur.at(e);
  return !(after >= 0 && (*word)((unsigned char)after));
}

// The whole pattern around a run candidate at r, character by character: its start and end.
bool foldedMatchAt(CharCursor& cur, const TSkipTable& t, Pos r, Pos& start, Pos& end) {
  const std::vector<char32_t>& chars = t.chars();
  if (r > 0 && cur.insideChar(r)) return false;
  Pos q = r;
  for (std::size_t i = t.runFirst(); i < chars.size(); ++i) {
    int n = 0;
    const char32_t c = cur.charAt(q, n);
    if (n == 0 || foldCase(c) != chars[i]) return false;
    q += n;
  }
  end = q;
  q = r;
  for (std::size_t i = t.runFirst(); i-- > 0;) {
    if (q <= 0) return false;
    q = cur.charStartBefore(q);
    int n = 0;
    if (foldCase(cur.charAt(q, n)) != chars[i]) return false;
  }
  start = q;
  return true;
}

// A candidate place for the run (or, without one, for the first character) at r.
bool candidateAt(CharCursor& cur, const TSkipTable& t, Pos r) {
  if (t.runSize() == 0) {
    const int c = cur.at(r);
    return c >= 0 && t.startByte((unsigned char)c);
  }
  return runThroughCursor(cur, t, r);
}

Pos foldedForward(const CharSource& src, const TSkipTable& t, Pos from, const WordCharTest* word, Pos to, Pos* end) {
  const Pos len = src.length();
  if (to < 0 || to > len) to = len;
  if (from < 0) from = 0;
  const Pos ahead = Pos(4 * t.runFirst());  // most bytes the characters before the run take
  const Pos n = Pos(t.runSize());
  CharCursor cur(src);
  Pos s = -1, e = -1;
  auto accept = [&](Pos r) {
    return foldedMatchAt(cur, t, r, s, e) && s >= from && s < to && wholeWordAt(cur, word, s, e);
  };
  for (Pos p = from; p < len && p - ahead < to;) {
    const Segment seg = src.segmentAt(p);
    const char* base = seg.data - seg.start;
    if (n == 0) {
      for (Pos r = p; r < seg.end; ++r)
        if (t.startByte((unsigned char)base[r]) && accept(r)) goto found;
    } else {
      // Runs lying inside the segment, then runs that end in a later one.
      for (Pos q = p; q < seg.end;) {
        const char* hit = t.findIn(base + q, base + seg.end);
        if (!hit) break;
        const Pos r = Pos(hit - base);
        if (r - ahead >= to) return -1;
        if (accept(r)) goto found;
        q = r + 1;
      }
      if (seg.end < len)
        for (Pos r = std::max(p, seg.end - n + 1); r < seg.end; ++r)
          if (runThroughCursor(cur, t, r) && accept(r)) goto found;
    }
    p = seg.end;
  }
  return -1;
found:
  if (end) *end = e;
  return s;
}

Pos foldedBackward(const CharSource& src, const TSkipTable& t, Pos before, const WordCharTest* word, Pos* end) {
  const Pos len = src.length();
  before = std::min(before, len);
  if (before <= 0) return -1;
  CharCursor cur(src);
  // A match starting before `before` has its run at most this far past it.
  for (Pos r = std::min(len - 1, before - 1 + Pos(4 * t.runFirst())); r >= 0; --r) {
    Pos s = -1, e = -1;
    if (candidateAt(cur, t, r) && foldedMatchAt(cur, t, r, s, e) && s < before && wholeWordAt(cur, word, s, e)) {
      if (end) *end = e;
      return s;
    }
  }
  return -1;
}

}  // namespace

Pos PlainFindForward(const CharSource& src, const TSkipTable& t, Pos from, const WordCharTest* word, Pos to, Pos* end) {
  if (t.empty()) return -1;
  if (!t.exact()) return foldedForward(src, t, from, word, to, end);
  const Pos len = src.length();
  const Pos n = Pos(t.size());
  if (to < 0 || to > len) to = len;
  if (from < 0) from = 0;
  if (from + n > len) return -1;
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
      if (wholeWordAt(cur, word, h, h + n)) {
        if (end) *end = h + n;
        return h;
      }
      q = h + 1;
    }
    // Matches that start in this segment and end in a later one. Each holds the segment's last
    // byte, so a last byte that the pattern does not contain rules them out at once.
    if (seg.end < len && t.contains((unsigned char)base[seg.end - 1])) {
      for (Pos h = std::max(p, seg.end - n + 1); h < seg.end && h < to; ++h)
        if (runThroughCursor(cur, t, h) && wholeWordAt(cur, word, h, h + n)) {
          if (end) *end = h + n;
          return h;
        }
    }
    p = seg.end;
  }
  return -1;
}

Pos PlainFindBackward(const CharSource& src, const TSkipTable& t, Pos before, const WordCharTest* word, Pos* end) {
  if (t.empty()) return -1;
  if (!t.exact()) return foldedBackward(src, t, before, word, end);
  const Pos len = src.length();
  const Pos n = Pos(t.size());
  if (n > len) return -1;
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
        if (runThroughCursor(cur, t, h) && wholeWordAt(cur, word, h, h + n)) {
          if (end) *end = h + n;
          return h;
        }
    }
    Pos windowEnd = std::min(seg.end, p + n);
    while (windowEnd - seg.start >= n) {
      const char* hit = t.findLastIn(base + seg.start, base + windowEnd);
      if (!hit) break;
      const Pos h = Pos(hit - base);
      if (wholeWordAt(cur, word, h, h + n)) {
        if (end) *end = h + n;
        return h;
      }
      windowEnd = h + n - 1;
    }
    p = seg.start - 1;
  }
  return -1;
}

}  // namespace velora::memo
