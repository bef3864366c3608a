// Bookmarks, line marks and tracked lines over the control's MarkTracker.
#include "memo/engine/LineMarks.h"

#include <algorithm>

#include "memo/engine/TextStore.h"

namespace velora::memo {

namespace {
Pos startOfLine(const TextStore& s, LineNo line) {
  return s.lineStart(std::clamp<LineNo>(line, 0, s.lineCount() - 1));
}
}  // namespace

// ---- TCustomBookmarks

TCustomBookmarks::TCustomBookmarks(MarkTracker& tracker, const TextStore& store, int count)
    : tracker_(tracker), store_(store), count_(std::max(0, count)) {}

TCustomBookmarks::~TCustomBookmarks() { tracker_.detach(this); }

void TCustomBookmarks::check(int index) const {
  if (index < 0 || index >= count_) throw ESyntaxMemo(errtext::kBookmarkRange);
}

void TCustomBookmarks::set(int index, Pos p) {
  check(index);
  tracker_.add(this, index, store_.clamp(p));
  if (onBookmarkSet) onBookmarkSet(index);
}

void TCustomBookmarks::clear(int index) {
  check(index);
  if (!tracker_.remove(this, index)) return;
  if (onBookmarkClear) onBookmarkClear(index);
}

std::optional<Pos> TCustomBookmarks::get(int index) const {
  check(index);
  return tracker_.position(this, index);
}

std::vector<std::pair<int, Pos>> TCustomBookmarks::between(Pos from, Pos to) const {
  std::vector<std::pair<int, Pos>> out;
  tracker_.forEachIn(this, from, to, [&](int key, Pos pos) { out.emplace_back(key, pos); });
  return out;
}

void TCustomBookmarks::anchorReleased(int key) {
  tracker_.post([this, key] {
    if (onBookmarkClear) onBookmarkClear(key);
  });
}

// ---- TLineMarks

TLineMarks::TLineMarks(MarkTracker& tracker, const TextStore& store) : tracker_(tracker), store_(store) {}

TLineMarks::~TLineMarks() { tracker_.detach(this); }

int TLineMarks::add(LineNo line, int kind, Color color, std::string hint, std::intptr_t data) {
  const int id = nextId_++;
  live_[id] = LineMark{id, kind, color, std::move(hint), data};
  tracker_.add(this, id, startOfLine(store_, line));
  return id;
}

bool TLineMarks::remove(int id) {
  const auto it = live_.find(id);
  if (it == live_.end()) return false;
  const LineMark gone = it->second;
  live_.erase(it);
  tracker_.remove(this, id);
  if (onMarkFree) onMarkFree(gone);
  return true;
}

void TLineMarks::clear() {
  std::vector<int> ids;
  for (const auto& [id, m] : live_) ids.push_back(id);
  for (int id : ids) remove(id);
}

void TLineMarks::clearKind(int kind) {
  std::vector<int> ids;
  for (const auto& [id, m] : live_)
    if (m.kind == kind) ids.push_back(id);
  for (int id : ids) remove(id);
}

bool TLineMarks::moveTo(int id, LineNo line) {
  if (!live_.count(id)) return false;
  tracker_.move(this, id, startOfLine(store_, line));
  raiseChange(id);
  return true;
}

bool TLineMarks::update(const LineMark& mark) {
  const auto it = live_.find(mark.id);
  if (it == live_.end()) return false;
  it->second = mark;
  raiseChange(mark.id);
  return true;
}

void TLineMarks::raiseChange(int id) {
  if (const auto it = live_.find(id); it != live_.end() && onMarkChange) onMarkChange(it->second);
}

const LineMark* TLineMarks::find(int id) const {
  const auto it = live_.find(id);
  return it == live_.end() ? nullptr : &it->second;
}

std::optional<LineNo> TLineMarks::lineOf(int id) const {
  const auto p = tracker_.position(this, id);
  if (!p) return std::nullopt;
  return store_.lineFromPos(*p);
}

std::vector<std::pair<LineNo, const LineMark*>> TLineMarks::onLines(LineNo first, LineNo last) const {
  std::vector<std::pair<LineNo, const LineMark*>> out;
  if (live_.empty() || last < first) return out;
  const LineNo lines = store_.lineCount();
  first = std::clamp<LineNo>(first, 0, lines - 1);
  last = std::clamp<LineNo>(last, 0, lines - 1);
  const Pos from = store_.lineStart(first);
  // Up to and including the end of the last line (a mark pushed to the line's end stays on it).
  const Pos to = store_.lineEnd(last) + 1;
  tracker_.forEachIn(this, from, to, [&](int key, Pos pos) {
    if (const auto it = live_.find(key); it != live_.end()) out.emplace_back(store_.lineFromPos(pos), &it->second);
  });
  return out;
}

void TLineMarks::anchorReleased(int key) {
  const auto it = live_.find(key);
  if (it == live_.end()) return;
  const LineMark gone = it->second;
  parked_[key] = gone;
  live_.erase(it);
  tracker_.post([this, gone] {
    if (onMarkFree) onMarkFree(gone);
  });
}

void TLineMarks::anchorRevived(int key) {
  const auto it = parked_.find(key);
  if (it == parked_.end()) {
    tracker_.remove(this, key);  // nothing to bring back
    return;
  }
  live_[key] = it->second;
  parked_.erase(it);
  tracker_.post([this, key] { raiseChange(key); });
}

void TLineMarks::anchorMerged(int key) {
  tracker_.post([this, key] { raiseChange(key); });
}

// ---- TLineTrackManager

TLineTrackManager::TLineTrackManager(MarkTracker& tracker, const TextStore& store)
    : tracker_(tracker), store_(store) {}

TLineTrackManager::~TLineTrackManager() { tracker_.detach(this); }

int TLineTrackManager::add(LineNo line) {
  const int id = nextId_++;
  live_.push_back(id);
  tracker_.add(this, id, startOfLine(store_, line));
  if (onTrackAdd) onTrackAdd(id);
  return id;
}

bool TLineTrackManager::free(int id) {
  const auto it = std::find(live_.begin(), live_.end(), id);
  if (it == live_.end()) return false;
  live_.erase(it);
  tracker_.remove(this, id);
  if (onTrackFree) onTrackFree(id);
  return true;
}

void TLineTrackManager::clear() {
  const std::vector<int> ids = live_;
  for (int id : ids) free(id);
}

std::optional<LineNo> TLineTrackManager::lineOf(int id) const {
  const auto p = tracker_.position(this, id);
  if (!p) return std::nullopt;
  return store_.lineFromPos(*p);
}

std::vector<int> TLineTrackManager::ids() const { return live_; }

void TLineTrackManager::anchorReleased(int key) {
  std::erase(live_, key);
  tracker_.post([this, key] {
    if (onTrackFree) onTrackFree(key);
  });
}

void TLineTrackManager::anchorRevived(int key) {
  live_.push_back(key);
  tracker_.post([this, key] {
    if (onTrackAdd) onTrackAdd(key);
  });
}

}  // namespace velora::memo
