// What the markup aids work out per line, kept between keystrokes: whether a line shows a fold
// marker, and a line's markup events (for the pair search of matching).
//
// Both depend only on the text and the token values of the line (the marker also on the line
// after it). An edit forgets what it replaced and moves the rest with its lines, and the
// highlighter reports the records whose values it changed. So a keystroke costs the lines it
// touched, not a screen of markers or the hundreds of lines a pair search may walk.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "memo/engine/MarkupPairs.h"
#include "memo/engine/TextStore.h"
#include "memo/engine/Types.h"

namespace velora::memo {

class MarkupLines {
 public:
  explicit MarkupLines(const TextStore& store) : store_(store) {}

  // True when a foldable region opens on `line` (RegionOpeningOn with the probe).
  [[nodiscard]] bool opensRegion(LineNo line);
  // LineEvents of `line`; the reference stays valid until the next change reported.
  [[nodiscard]] const std::vector<MarkupEvent>& events(LineNo line);
  // MatchAt with the events of the lines searched taken from here.
  [[nodiscard]] std::optional<MatchPair> matchAt(Pos p);

  // Nothing is known (an edit has nothing to move or forget).
  [[nodiscard]] bool empty() const noexcept { return markers_.empty() && events_.empty(); }
  // Lines [first, first + removed) of the old text became lines [first, first + added), and
  // the text after them moved by `shift` positions.
  void replaceLines(LineNo first, LineNo removed, LineNo added, Pos shift);
  // The token values (or the text) of lines [first, last] changed.
  void forget(LineNo first, LineNo last);
  void clear() noexcept;

  // Lines whose events are kept at most; past it they are all forgotten.
  // (An edit moves the positions of those after it.)
  static constexpr std::size_t kMaxEventLines = 2048;

 private:
  enum : std::uint8_t { kUnknown = 0, kNone = 1, kOpens = 2 };
  // Forgets everything when the line count is not the one known (changes not reported).
  void checkLineCount();
  const TextStore& store_;
  LineNo lines_ = -1;                  // the line count that what is kept belongs to
  std::vector<std::uint8_t> markers_;  // by line (empty while none is known)
  std::unordered_map<LineNo, std::vector<MarkupEvent>> events_;
  std::vector<MarkupEvent> scratch_;   // events of a line past the range kept
};

}  // namespace velora::memo
