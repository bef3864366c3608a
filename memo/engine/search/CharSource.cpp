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

}  // namespace velora::memo
