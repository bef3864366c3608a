// What the HTML scheme's token values say about a place in the document: whether the caret is
// in text, inside a tag, in an attribute value, a comment, a script or a style sheet. The typing
// aids (auto-closing, completion) decide from these values, which the highlighter keeps up to
// date, instead of parsing the page a second time. The values are those documented at the top
// of resources/schemes/VLR_HTML.txt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "memo/engine/Types.h"

namespace velora::memo {

class MemoEngine;
struct WebData;

enum class MarkupZone : std::uint8_t {
  Unknown,      // no decision (not highlighted yet, or no value that tells)
  Text,         // between tags
  Tag,          // inside a start or end tag, outside attribute values
  Value,        // inside a quoted attribute value
  Comment,      // an HTML, script or style comment, a declaration
  Script,       // script code, server code
  CssRules,     // a style sheet outside rules (selectors, at-rules)
  CssProperty,  // inside a rule's braces, where a property name goes
  CssValue,     // after a property's ":"
  Other,        // strings of scripts and style sheets: no aids
};

// Token values of tag openers and closers.
[[nodiscard]] bool IsStartTagOpener(std::uint8_t token) noexcept;  // "<" of "<name", "<script", ...
[[nodiscard]] bool IsEndTagOpener(std::uint8_t token) noexcept;    // "</" of "</name", "</script", ...
[[nodiscard]] bool IsTagCloser(std::uint8_t token) noexcept;       // ">" or "/>" ending a tag

// A stretch of the document with its token values, ending at (or a little after) the caret.
struct MarkupSlice {
  Pos base = 0;  // document position of text[0]
  std::string text;
  std::vector<std::uint8_t> tokens;  // one value per byte of text

  // The slice [from, to) of the engine's document (clamped), with the stored token values.
  static MarkupSlice Of(const MemoEngine& e, Pos from, Pos to);
};

// The zone at offset `at` of the slice (the caret is before text[at]): decided by the value of
// the character before it, walking back over values that several zones share.
[[nodiscard]] MarkupZone ZoneAt(const MarkupSlice& s, std::size_t at);

// Inside a tag: the offset of the "<" that opens it, or npos when it is not found in the slice.
[[nodiscard]] std::size_t TagStart(const MarkupSlice& s, std::size_t at);
// The name (letters, digits, "-", "_", ":", ".") starting at offset `at`.
[[nodiscard]] std::string NameAt(std::string_view text, std::size_t at);

// The element that is open at offset `at`: the last start tag before it (not a void element, not
// closed by "/>") that no end tag after it closes. Empty when none is found in the slice.
[[nodiscard]] std::string NearestOpenElement(const MarkupSlice& s, std::size_t at, const WebData& data);

}  // namespace velora::memo
