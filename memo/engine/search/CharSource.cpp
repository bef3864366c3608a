// Segments of the line records for the search engines.
#include "memo/engine/search/CharSource.h"

namespace velora::memo {

Segment StoreSource::segmentAt(Pos p) const {
  // Neighbouring records are reached by one step from the last one handed out.
  if (last_.data) {
    if (last_.contains(p)) return last_;
    RecordRef r = ref_;
    if (p == last_.end && store_.next(r)) {
      const LineRecord& rec = store_.record(r);
      if (!rec.text.empty()) {
        ref_ = r;
        last_ = {rec.text.data(), p, p + Pos(rec.text.size())};
        return last_;
      }
    } else if (p == last_.start - 1 && store_.prev(r)) {
      const LineRecord& rec = store_.record(r);
      ref_ = r;
      last_ = {rec.text.data(), last_.start - Pos(rec.text.size()), last_.start};
      return last_;
    }
  }
  const Location loc = store_.locate(p);
  ref_ = loc.ref;
  Pos start = loc.recordStart;
  const LineRecord* rec = &store_.record(ref_);
  // A position at the very end of a record belongs to the next one.
  while (p >= start + Pos(rec->text.size()) && store_.next(ref_)) {
    start += Pos(rec->text.size());
    rec = &store_.record(ref_);
  }
  last_ = {rec->text.data(), start, start + Pos(rec->text.size())};
  return last_;
}

char32_t CharCursor::charAcross(Pos p, int& n) {
  char b[4];
  std::size_t k = 0;
  for (; k < 4; ++k) {
    const int c = at(p + Pos(k));
    if (c < 0) break;
    b[k] = char(c);
  }
  return searchCharAt(std::string_view(b, k), 0, n);
}

// Whether the continuation byte at p belongs to a character that starts before it.
bool CharCursor::continuesChar(Pos p) {
  for (Pos q = p - 1; q >= 0 && q >= p - 3; --q) {
    const int d = at(q);
    if (d < 0x80) return false;
    if (d >= 0xC0) {
      int n = 0;
      charAt(q, n);
      return q + n > p;
    }
  }
  return false;
}

Pos CharCursor::charStartBefore(Pos p) {
  const int c = at(p - 1);
  if (c < 0x80 || c >= 0xC0) return p - 1;
  for (Pos q = p - 2; q >= 0 && q >= p - 4; --q) {
    const int d = at(q);
    if (d < 0x80) break;
    if (d >= 0xC0) {
      int n = 0;
      charAt(q, n);
      return q + n == p ? q : p - 1;
    }
  }
  return p - 1;
}

}  // namespace velora::memo
