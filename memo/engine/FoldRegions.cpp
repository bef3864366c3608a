// The folded regions of a document and the rows they hide.
#include "memo/engine/FoldRegions.h"

#include <algorithm>

namespace velora::memo {

namespace {

bool byHeader(const FoldRange& a, const FoldRange& b) { return a.first < b.first; }

}  // namespace

bool FoldRegions::isFolded(LineNo header) const noexcept {
  const auto it = std::lower_bound(folds_.begin(), folds_.end(), FoldRange{header, 0}, byHeader);
  return it != folds_.end() && it->first == header;
}

bool FoldRegions::fold(FoldRange r) {
  if (r.last - r.first < 2 || r.first < 0 || r.last >= store_.lineCount()) return false;
  const auto it = std::lower_bound(folds_.begin(), folds_.end(), r, byHeader);
  if (it != folds_.end() && it->first == r.first) *it = r;
  else folds_.insert(it, r);
  dirty_ = true;
  return true;
}

bool FoldRegions::unfold(LineNo header) {
  const auto it = std::lower_bound(folds_.begin(), folds_.end(), FoldRange{header, 0}, byHeader);
  if (it == folds_.end() || it->first != header) return false;
  folds_.erase(it);
  dirty_ = true;
  return true;
}

void FoldRegions::unfoldAll() {
  folds_.clear();
  unsettled_.clear();
  dirty_ = true;
}

void FoldRegions::setFolded(std::vector<FoldRange> regions) {
  std::erase_if(regions, [](const FoldRange& r) { return r.last - r.first < 2; });
  std::sort(regions.begin(), regions.end(), byHeader);
  folds_ = std::move(regions);
  unsettled_.clear();
  dirty_ = true;
}

bool FoldRegions::hidden(LineNo line) const {
  if (folds_.empty()) return false;
  if (dirty_) rebuild();
  const auto it = std::upper_bound(spans_.begin(), spans_.end(), line,
                                   [](LineNo l, const Span& s) { return l < s.first; });
  return it != spans_.begin() && line <= std::prev(it)->last;
}

bool FoldRegions::reveal(LineNo line) {
  if (!hidden(line)) return false;
  std::erase_if(folds_, [line](const FoldRange& r) { return r.first < line && line < r.last; });
  dirty_ = true;
  return true;
}

void FoldRegions::replaceLines(LineNo first, LineNo removed, LineNo added) {
  if (folds_.empty()) return;
  const LineNo d = added - removed;
  const LineNo oldLast = first + removed - 1;  // last line the edit replaced
  std::vector<FoldRange> kept;
  kept.reserve(folds_.size());
  for (FoldRange r : folds_) {
    if (r.last < first) {
      kept.push_back(r);
    } else if (r.first > oldLast) {
      kept.push_back({r.first + d, r.last + d});
    } else if (r.first == first || r.first < first) {
      // The edit reached into the region (or its header line): its end moves with the text.
      r.last = r.last > oldLast ? r.last + d : first + added - 1;
      kept.push_back(r);
      unsettled_.push_back(r.first);
    }
    // A region whose header line was replaced goes.
  }
  for (LineNo& h : unsettled_)
    if (h > oldLast) h += d;
  std::sort(kept.begin(), kept.end(), byHeader);
  folds_ = std::move(kept);
  dirty_ = true;
}

void FoldRegions::settle() {
  if (unsettled_.empty()) return;
  std::vector<LineNo> check;
  check.swap(unsettled_);
  std::sort(check.begin(), check.end());
  check.erase(std::unique(check.begin(), check.end()), check.end());
  for (const LineNo h : check) {
    if (!isFolded(h)) continue;
    const auto r = RegionOpeningOn(store_, h);
    if (r) fold(*r);
    else unfold(h);
  }
}

Pos FoldRegions::rawRowOfLine(LineNo line) const { return wrap_ ? wrap_->firstRowOf(line) : line; }

void FoldRegions::rebuild() const {
  spans_.clear();
  hiddenRows_ = 0;
  for (const FoldRange& r : folds_) {
    const LineNo a = r.first + 1, b = r.last - 1;
    if (b < a) continue;
    if (!spans_.empty() && a <= spans_.back().last + 1) {
      spans_.back().last = std::max(spans_.back().last, b);
    } else {
      spans_.push_back({a, b, 0, 0, 0});
    }
  }
  for (Span& s : spans_) {
    s.rowFirst = rawRowOfLine(s.first);
    s.rowEnd = rawRowOfLine(s.last + 1);
    s.hiddenBefore = hiddenRows_;
    hiddenRows_ += s.rowEnd - s.rowFirst;
  }
  dirty_ = false;
}

Pos FoldRegions::shownRowCount(Pos rawRows) const {
  if (folds_.empty()) return rawRows;
  if (dirty_) rebuild();
  return std::max<Pos>(1, rawRows - hiddenRows_);
}

Pos FoldRegions::shownRow(Pos raw) const {
  if (folds_.empty()) return raw;
  if (dirty_) rebuild();
  const auto it = std::upper_bound(spans_.begin(), spans_.end(), raw,
                                   [](Pos r, const Span& s) { return r < s.rowFirst; });
  if (it == spans_.begin()) return raw;
  const Span& s = *std::prev(it);
  if (raw < s.rowEnd) return s.rowFirst - 1 - s.hiddenBefore;
  return raw - s.hiddenBefore - (s.rowEnd - s.rowFirst);
}

Pos FoldRegions::rawRow(Pos shown) const {
  if (folds_.empty()) return shown;
  if (dirty_) rebuild();
  const auto it = std::upper_bound(spans_.begin(), spans_.end(), shown,
                                   [](Pos r, const Span& s) { return r < s.rowFirst - s.hiddenBefore; });
  if (it == spans_.begin()) return shown;
  const Span& s = *std::prev(it);
  return shown + s.hiddenBefore + (s.rowEnd - s.rowFirst);
}

}  // namespace velora::memo
