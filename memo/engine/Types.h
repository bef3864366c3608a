// Basic types of the editor control engine: positions, line numbers, colours, the error class.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace velora::memo {

// A zero-based byte offset into the document; a hard line break counts as one byte (CR).
using Pos = std::int64_t;
// A zero-based hard-line number (lines are separated by stored CRs).
using LineNo = std::int64_t;
// A zero-based line-record number (a hard line may span several records).
using RecNo = std::int64_t;
// A colour value with red in the low byte (0x00BBGGRR).
using Color = std::uint32_t;

inline constexpr Color rgb(unsigned r, unsigned g, unsigned b) noexcept {
  return Color(r & 0xFF) | (Color(g & 0xFF) << 8) | (Color(b & 0xFF) << 16);
}

// The selection: the caret is always the second member.
struct Selection {
  Pos anchor = 0;
  Pos caret = 0;
  [[nodiscard]] Pos start() const noexcept { return anchor < caret ? anchor : caret; }
  [[nodiscard]] Pos end() const noexcept { return anchor < caret ? caret : anchor; }
  [[nodiscard]] bool empty() const noexcept { return anchor == caret; }
  friend bool operator==(const Selection&, const Selection&) = default;
};

// Exceptions of the control (ESyntaxMemo); the texts are those of the string table.
class ESyntaxMemo : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

namespace errtext {
inline constexpr const char* kBookmarkRange = "Bookmark index range error";
inline constexpr const char* kParserRange = "Parser index out of range";
inline constexpr const char* kBadTransaction = "Bad transaction log entry";
inline constexpr const char* kBadStackState = "Bad do/undo stack state";
inline constexpr const char* kStackUnderflow = "Stack underflow";
inline constexpr const char* kNoBufferMemory = "Cannot alloc memory for buffer!!";
inline constexpr const char* kNoMemory = "Not enough memory for operation";
inline constexpr const char* kCannotAssign = "Cannot assign a %s to %s";
}  // namespace errtext

}  // namespace velora::memo
