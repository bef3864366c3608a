// TREParser: the control's regular-expression engine. An expression is compiled into a program
// of at most 4096 cells and matched by backtracking over a character source, with a bounded
// number of steps so that a pathological expression ends as "Expression not found".
//
// Syntax: literal characters; "\" escapes ("\b" 8, "\f" 12, "\n" 13, "\r" 10, "\s" 32, "\t" 9,
// "\x" one or two hex digits, up to three octal digits, any other character for itself; a code
// from 128 is that byte where it stands outside a UTF-8 character); a double-quoted literal
// string; "." any character; "^" and "$" start and end of a line; "[...]" and "[^...]" sets
// of characters and ranges of characters; "(...)" groups (at most 9, each recording a
// sub-expression); "|" alternatives; "*", "+", "?" after an atom.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "memo/engine/Types.h"
#include "memo/engine/search/CharSource.h"
#include "memo/engine/search/SkipTable.h"

namespace velora::memo {

// Error codes; the string table identifier of each is 4246 + its place (4249 is unused).
enum class REError : int {
  None = 4246,
  NotFound = 4247,
  InvalidParameter = 4248,
  OutOfMemory = 4250,
  TooManySubexpressions = 4251,
  UnmatchedParenthesis = 4252,
  InvalidRepeat = 4253,
  NestedRepeat = 4254,
  InvalidRange = 4255,
  UnmatchedBracket = 4256,
  BadKeySpecifier = 4257,
  HexDigitExpected = 4258,
  UnexpectedEnd = 4259,
  QuoteExpected = 4260,
  IndexRange = 4261,
  Internal = 4262,
};
[[nodiscard]] const char* REErrorText(REError e) noexcept;

// An expression that does not compile: the text, the expression and a caret under the column.
class ERegExprError : public ESyntaxMemo {
 public:
  ERegExprError(REError code, int column, std::string_view expression);
  [[nodiscard]] REError code() const noexcept { return code_; }
  [[nodiscard]] int column() const noexcept { return column_; }

 private:
  REError code_;
  int column_;
};

class TREParser {
 public:
  static constexpr int kMaxCells = 4096;
  static constexpr int kMaxGroups = 9;
  static constexpr std::uint64_t kMinStepBudget = 1'000'000;
  static constexpr std::uint64_t kStepsPerByte = 32;

  TREParser();
  ~TREParser();
  TREParser(const TREParser&) = delete;
  TREParser& operator=(const TREParser&) = delete;

  // Compiles the expression; false on an error (see error(), errorColumn(), errorMessage()).
  bool compile(std::string_view expression, bool matchCase);
  [[nodiscard]] bool compiled() const noexcept { return compiled_; }
  [[nodiscard]] const std::string& expression() const noexcept { return expr_; }
  [[nodiscard]] bool matchCase() const noexcept { return matchCase_; }
  [[nodiscard]] REError error() const noexcept { return error_; }
  [[nodiscard]] int errorColumn() const noexcept { return errorColumn_; }
  // The error text, a line break, the expression, a line break and "^" under the error column.
  [[nodiscard]] std::string errorMessage() const;
  // Program cells of the compiled expression.
  [[nodiscard]] int cells() const noexcept { return cells_; }
  [[nodiscard]] int groupCount() const noexcept { return groups_; }

  // The first match starting at or after `from`; its start, or -1. A search that exhausts the
  // step budget fails with error() NotFound.
  Pos search(const CharSource& src, Pos from);
  // The last match starting before `before`; its start, or -1.
  Pos searchBackward(const CharSource& src, Pos before);
  // Whether the expression matches at exactly `at`.
  bool matchAt(const CharSource& src, Pos at);

  // Sub-expression slots of the last match: 0 is the whole match, 1..9 the groups; -1 where a
  // group took no part. Indices outside 0..9 raise "Index range error".
  [[nodiscard]] Pos matchStart(int slot = 0) const;
  [[nodiscard]] Pos matchEnd(int slot = 0) const;
  // The positions recorded by the last match: its start, the boundaries of the groups that
  // took part, in order, and last its end; an index is clamped to those recorded.
  [[nodiscard]] Pos recordedPosition(int index) const noexcept;
  [[nodiscard]] int recordedCount() const noexcept { return int(recorded_.size()); }

  // Steps allowed per search; 0 = kMinStepBudget plus kStepsPerByte per byte of the document.
  std::uint64_t stepBudget = 0;
  // Whether the last search ran out of steps, and the position it was trying then (-1 when
  // it did not).
  [[nodiscard]] bool budgetExhausted() const noexcept { return exhausted_; }
  [[nodiscard]] Pos stoppedAt() const noexcept { return exhausted_ ? stoppedAt_ : -1; }

  struct Program;

 private:
  bool run(CharCursor& cur, Pos at);
  void record();

  std::string expr_;
  bool matchCase_ = false;
  bool compiled_ = false;
  REError error_ = REError::None;
  int errorColumn_ = 0;
  int cells_ = 0;
  int groups_ = 0;
  std::unique_ptr<Program> prog_;
  std::array<Pos, 20> slots_{};
  std::vector<Pos> recorded_;
  std::uint64_t steps_ = 0, budget_ = 0;
  bool exhausted_ = false;
  Pos stoppedAt_ = -1;
  struct Frame {
    int kind;
    int pc;
    Pos pos;
    Pos extra;
  };
  std::vector<Frame> stack_;
};

}  // namespace velora::memo
