// The anchors of marks and bookmarks moved through edits, undo and redo.
#include "memo/engine/MarkTracker.h"

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>

#include "memo/engine/TextStore.h"

namespace velora::memo {

namespace {
std::size_t hashOf(const std::string& text) { return std::hash<std::string_view>{}(text); }
}  // namespace

std::size_t MarkTracker::lowerBound(Pos p) const noexcept {
  return std::size_t(std::lower_bound(anchors_.begin(), anchors_.end(), p,
                                      [](const Anchor& a, Pos v) { return a.pos < v; }) -
                     anchors_.begin());
}

void MarkTracker::insertSorted(const Anchor& a) {
  // After the anchors at the same position, so that entries keep the order they were set in.
  const auto at = std::upper_bound(anchors_.begin(), anchors_.end(), a.pos,
                                   [](Pos v, const Anchor& x) { return v < x.pos; });
  anchors_.insert(at, a);
}

void MarkTracker::add(MarkClient* c, int key, Pos pos) {
  remove(c, key);
  insertSorted(Anchor{pos, nextSerial_++, c, key});
  if (onChanged) onChanged();
}

bool MarkTracker::remove(const MarkClient* c, int key) {
  const auto it = std::find_if(anchors_.begin(), anchors_.end(),
                               [&](const Anchor& a) { return a.client == c && a.key == key; });
  if (it == anchors_.end()) return false;
  anchors_.erase(it);
  if (onChanged) onChanged();
  return true;
}

void MarkTracker::move(MarkClient* c, int key, Pos pos) { add(c, key, pos); }

std::optional<Pos> MarkTracker::position(const MarkClient* c, int key) const {
  for (const Anchor& a : anchors_)
    if (a.client == c && a.key == key) return a.pos;
  return std::nullopt;
}

void MarkTracker::forEachIn(const MarkClient* c, Pos from, Pos to,
                            const std::function<void(int key, Pos pos)>& fn) const {
  for (std::size_t i = lowerBound(from); i < anchors_.size() && anchors_[i].pos < to; ++i)
    if (anchors_[i].client == c) fn(anchors_[i].key, anchors_[i].pos);
}

void MarkTracker::detach(const MarkClient* c) {
  std::erase_if(anchors_, [c](const Anchor& a) { return a.client == c; });
  for (Memory& m : memories_)
    std::erase_if(m.items, [c](const Remembered& r) { return r.client == c; });
}

MarkTracker::Removal MarkTracker::prepare(const TextStore& s, Pos a, Pos b) const {
  Removal r;
  r.a = a;
  r.b = b;
  if (a >= b) return r;
  r.firstInside = lowerBound(a);
  for (std::size_t i = r.firstInside; i < anchors_.size() && anchors_[i].pos < b; ++i) {
    const LineNo line = s.lineFromPos(anchors_[i].pos);
    const Pos start = s.lineStart(line), end = s.lineEnd(line);
    // Deleted: all its text goes, and with it the break after it or the one before it. Merged:
    // its start goes, and its remains join the line the removal starts in.
    const bool deleted = start >= a && end <= b && (end < b || start > a);
    r.lineDeleted.push_back(deleted ? kLineDeleted : start > a ? kLineMerged : kLineKept);
  }
  if (!r.lineDeleted.empty()) r.hash = hashOf(s.text(a, b));
  return r;
}

void MarkTracker::apply(const Removal& r, Pos inserted) {
  const Pos delta = inserted - (r.b - r.a);
  const std::size_t inside = r.lineDeleted.size();
  if (inside > 0) {
    Memory m{r.a, r.b - r.a, r.hash, {}};
    std::vector<Anchor> kept;
    kept.reserve(anchors_.size());
    kept.insert(kept.end(), anchors_.begin(), anchors_.begin() + std::ptrdiff_t(r.firstInside));
    std::vector<Anchor> released;
    for (std::size_t k = 0; k < inside; ++k) {
      Anchor an = anchors_[r.firstInside + k];
      const bool goes = r.lineDeleted[k] == kLineDeleted && an.client->releasedWithLine();
      m.items.push_back(Remembered{an.client, an.key, an.serial, an.pos - r.a, goes});
      if (goes) {
        released.push_back(an);
        continue;
      }
      const bool merged = r.lineDeleted[k] == kLineMerged;
      an.pos = r.a;
      kept.push_back(an);
      if (merged) an.client->anchorMerged(an.key);
    }
    for (std::size_t i = r.firstInside + inside; i < anchors_.size(); ++i) {
      Anchor an = anchors_[i];
      an.pos += delta;
      kept.push_back(an);
    }
    anchors_.swap(kept);
    memories_.push_back(std::move(m));
    if (memories_.size() > kMaxMemories) {
      forget(memories_.front());
      memories_.pop_front();
    }
    for (const Anchor& an : released) an.client->anchorReleased(an.key);
    return;
  }
  if (delta == 0) return;
  // Nothing inside: everything from the edit on moves (an insertion pushes the anchors at its
  // position along with the text after them).
  for (std::size_t i = lowerBound(r.a == r.b ? r.a : r.b); i < anchors_.size(); ++i) anchors_[i].pos += delta;
}

void MarkTracker::restore(const TextStore& s, Pos at, Pos length) {
  if (length <= 0) return;
  std::optional<std::size_t> hash;
  for (auto it = memories_.end(); it != memories_.begin();) {
    --it;
    if (it->at != at || it->length != length) continue;
    if (!hash) hash = hashOf(s.text(at, at + length));
    if (*hash != it->hash) continue;
    Memory m = std::move(*it);
    memories_.erase(it);
    std::vector<Remembered> revived;
    for (const Remembered& r : m.items) {
      if (r.released) {
        insertSorted(Anchor{at + r.offset, r.serial, r.client, r.key});
        revived.push_back(r);
        continue;
      }
      // A moved anchor that has not been moved since returns to its place.
      const auto an = std::find_if(anchors_.begin(), anchors_.end(),
                                   [&](const Anchor& x) { return x.serial == r.serial; });
      if (an != anchors_.end() && an->pos >= at && an->pos <= at + length) an->pos = at + r.offset;
    }
    std::stable_sort(anchors_.begin(), anchors_.end(), [](const Anchor& x, const Anchor& y) { return x.pos < y.pos; });
    for (const Remembered& r : revived) r.client->anchorRevived(r.key);
    return;
  }
}

void MarkTracker::forget(Memory& m) {
  for (const Remembered& r : m.items)
    if (r.released) r.client->anchorForgotten(r.key);
  m.items.clear();
}

void MarkTracker::forgetUndo() {
  for (Memory& m : memories_) forget(m);
  memories_.clear();
}

void MarkTracker::releaseAll() {
  forgetUndo();
  std::vector<Anchor> all;
  all.swap(anchors_);
  for (const Anchor& an : all) {
    an.client->anchorReleased(an.key);
    an.client->anchorForgotten(an.key);
  }
}

void MarkTracker::flush() {
  while (!pending_.empty()) {
    std::vector<std::function<void()>> events;
    events.swap(pending_);
    for (auto& ev : events) ev();
  }
}

}  // namespace velora::memo
