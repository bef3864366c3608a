// Pairs of the HTML highlighter's markup: start and end tags, comments, "<? ?>" and "<% %>"
// blocks, the braces of CSS and JavaScript. Folding and tag matching read them from the token
// values the highlighter keeps beside the text (the values of the HTML scheme), so that a "<p>"
// inside a script, a ">" inside an attribute value or a brace inside a string is never taken for
// markup: no second parser looks at the text.
//
// A line's events are found from its tokens on demand (a line costs its length); a partner is
// found by walking the events from one to the other, so the cost is the distance between them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "memo/engine/TextStore.h"
#include "memo/engine/Types.h"

namespace velora::memo {

enum class PairKind : std::uint8_t {
  Tag,            // an element's start and end tag
  Comment,        // "<!--" and "-->"
  ServerCode,     // "<?" and "?>"
  ServerPage,     // "<%" and "%>"
  ScriptBlock,    // "<+" and "+>"
  BlockComment,   // "/*" and "*/" of a script or a style sheet
  Brace,          // "{" and "}" of a script or a style sheet
};

struct MarkupEvent {
  Pos at = 0;          // position of the event's first character
  Pos length = 0;      // "<" and the name of a tag; the delimiter otherwise
  Pos nameAt = 0;      // a tag's name (the part matching highlights); the delimiter otherwise
  Pos nameLength = 0;
  std::uint32_t name = 0;  // a tag name's hash, letter case folded (0 for the other kinds)
  PairKind kind = PairKind::Tag;
  bool open = false;
};

// The events of one line, in order.
[[nodiscard]] std::vector<MarkupEvent> LineEvents(const TextStore& store, LineNo line);

// A partner found: its event and line. `implicit` when an element whose end tag may be omitted
// ends before the next sibling or at its parent's end tag: `event` is then that event.
struct MarkupPartner {
  MarkupEvent event;
  LineNo line = 0;
  bool implicit = false;
};

// The partner of the event `ev` on `line`: forward from an opening event, backward from a
// closing one, looking at lines up to `lastLine` (forward) or down to `firstLine` (backward).
[[nodiscard]] std::optional<MarkupPartner> FindPartner(const TextStore& store, LineNo line, const MarkupEvent& ev,
                                                       LineNo lastLine, LineNo firstLine = 0);

// The event whose delimiter or name covers position p (also the one that ends at p: a caret
// just after a bracket), or none.
[[nodiscard]] std::optional<MarkupEvent> EventAt(const TextStore& store, Pos p);

// A foldable region: lines (first, last) hide (first, last) exclusive of both: the line of the
// opening event stays as the header, the line of the closing event stays visible.
struct FoldRange {
  LineNo first = 0;
  LineNo last = 0;
};
// The region that opens on `line` (its first opening event whose partner lies at least two lines
// further), or none. With `probe` the partner is looked for only in the next line: a marker is
// shown for a region that does not close within it, and the real end is found when it is used.
[[nodiscard]] std::optional<FoldRange> RegionOpeningOn(const TextStore& store, LineNo line, bool probe = false);
// Every foldable region of the document, by first line (one walk over all lines).
[[nodiscard]] std::vector<FoldRange> AllRegions(const TextStore& store);

// What matching highlights for a caret: the names of a start tag and its end tag, or two
// brackets (also "(" ")" and "[" "]", outside strings and comments), or the delimiters of a
// comment or server block.
struct MatchPair {
  Pos at1 = 0, length1 = 0;  // the part at the caret
  Pos at2 = 0, length2 = 0;  // its partner
};
// The pair the caret at p is in or next to, or none (an element without its end tag included).
[[nodiscard]] std::optional<MatchPair> MatchAt(const TextStore& store, Pos p);
// The same with the events of the lines searched taken from `eventsOf` (a cache of LineEvents;
// the reference it gives stays valid until its next call).
using LineEventsOf = std::function<const std::vector<MarkupEvent>&(LineNo)>;
[[nodiscard]] std::optional<MatchPair> MatchAt(const TextStore& store, Pos p, const LineEventsOf& eventsOf);

// True for the elements that have no end tag (br, img, ...).
[[nodiscard]] bool IsVoidElement(std::string_view lowerName) noexcept;

}  // namespace velora::memo
