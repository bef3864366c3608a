// The markup aids' per-line results, kept between keystrokes.
#include "memo/engine/MarkupLines.h"

#include <algorithm>

namespace velora::memo {

void MarkupLines::checkLineCount() {
  const LineNo lines = store_.lineCount();
  if (lines == lines_) return;
  clear();
  lines_ = lines;
}

void MarkupLines::clear() noexcept {
  markers_.clear();
  events_.clear();
  lines_ = -1;
}

bool MarkupLines::opensRegion(LineNo line) {
  checkLineCount();
  if (line < 0 || line >= lines_) return false;
  if (markers_.empty()) markers_.assign(std::size_t(lines_), kUnknown);
  std::uint8_t& k = markers_[std::size_t(line)];
  if (k == kUnknown) k = RegionOpeningOn(store_, line, true) ? kOpens : kNone;
  return k == kOpens;
}

const std::vector<MarkupEvent>& MarkupLines::events(LineNo line) {
  checkLineCount();
  if (const auto it = events_.find(line); it != events_.end()) return it->second;
  if (events_.size() >= kMaxEventLines) events_.clear();
  return events_.emplace(line, LineEvents(store_, line)).first->second;
}

std::optional<MatchPair> MarkupLines::matchAt(Pos p) {
  return MatchAt(store_, p, [this](LineNo l) -> const std::vector<MarkupEvent>& { return events(l); });
}

void MarkupLines::replaceLines(LineNo first, LineNo removed, LineNo added, Pos shift) {
  if (lines_ < 0) return;
  if (first < 0 || removed < 0 || added < 0 || first + removed > lines_) {
    clear();
    return;
  }
  if (added != removed) {
    // The events are kept by line number: those after the edit would all move.
    events_.clear();
    if (added < removed) {
      if (!markers_.empty()) markers_.erase(markers_.begin() + first + added, markers_.begin() + first + removed);
    } else if (!markers_.empty()) {
      markers_.insert(markers_.begin() + first + removed, std::size_t(added - removed), kUnknown);
    }
    lines_ += added - removed;
  } else if (shift != 0) {
    // The events hold positions: those of the lines after the edit move with the text.
    for (auto& [line, evs] : events_)
      if (line >= first + added)
        for (MarkupEvent& ev : evs) {
          ev.at += shift;
          ev.nameAt += shift;
        }
  }
  forget(first, first + added - 1);
}

void MarkupLines::forget(LineNo first, LineNo last) {
  if (lines_ < 0) return;
  // A line's marker also depends on the next line, and near the end on the line count.
  const LineNo from = std::max<LineNo>(first - 2, 0);
  const LineNo to = std::min<LineNo>(last, lines_ - 1);
  if (from > to) return;
  if (!markers_.empty()) std::fill(markers_.begin() + from, markers_.begin() + to + 1, kUnknown);
  if (events_.empty()) return;
  if (std::size_t(to - first + 1) < events_.size()) {
    for (LineNo l = std::max<LineNo>(first, 0); l <= to; ++l) events_.erase(l);
  } else {
    std::erase_if(events_, [&](const auto& kv) { return kv.first >= first && kv.first <= to; });
  }
}

}  // namespace velora::memo
