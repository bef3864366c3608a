// TSearchMemory: the control's search state (the last search text, its flags, whether it was an
// expression and where the last match lay) and the compiled pattern it keeps between searches:
// the skip table is rebuilt, and the expression compiled, only when the pattern changes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "memo/engine/search/CharSource.h"
#include "memo/engine/search/PlainSearch.h"
#include "memo/engine/search/REParser.h"
#include "memo/engine/search/SkipTable.h"

namespace velora::memo {

// Search flags (one word).
enum SearchFlag : unsigned {
  kSearchAtOnce = 0x08,     // search at once; without it the find dialog is shown
  kSearchMatchCase = 0x10,  // letter case counts
  kSearchRegExp = 0x20,     // the search text is a regular expression
  kSearchWholeWord = 0x40,  // whole words only
  kSearchBackwards = 0x80,  // search backwards
};

struct SearchMatch {
  Pos start = -1;
  Pos end = -1;
  [[nodiscard]] bool found() const noexcept { return start >= 0; }
  [[nodiscard]] Pos length() const noexcept { return end - start; }
};

// What the user is told when an expression ran out of steps at a (one-based) line.
[[nodiscard]] std::string OutOfStepsMessage(LineNo line);

class TSearchMemory {
 public:
  static constexpr std::size_t kMaxPlainText = 79;
  static constexpr std::size_t kMaxExpressionText = 254;

  // Remembers a search: the text is cut to 79 (plain) or 254 (expression) bytes, never inside
  // a UTF-8 sequence.
  void remember(std::string_view text, unsigned flags);
  [[nodiscard]] const std::string& text() const noexcept { return text_; }
  [[nodiscard]] unsigned flags() const noexcept { return flags_; }
  [[nodiscard]] bool expression() const noexcept { return (flags_ & kSearchRegExp) != 0; }
  [[nodiscard]] const SearchMatch& lastMatch() const noexcept { return last_; }
  void setLastMatch(SearchMatch m) noexcept { last_ = m; }

  // One search over the source: the first match at or after `from` (backwards: the last one
  // starting before it). Plain texts have their breaks normalised to CR. An expression that
  // does not compile raises ERegExprError.
  SearchMatch find(const CharSource& src, std::string_view text, unsigned flags, Pos from,
                   const WordCharTest* word);
  // Where the last expression search ran out of its step budget (-1: it did not).
  [[nodiscard]] Pos stoppedAt() const noexcept { return stoppedAt_; }
  // The expression engine (after an expression search: its sub-expression positions).
  [[nodiscard]] const TREParser& parser() const noexcept { return re_; }
  TREParser& parser() noexcept { return re_; }

 private:
  std::string text_;
  unsigned flags_ = 0;
  SearchMatch last_;
  Pos stoppedAt_ = -1;
  TSkipTable skip_;
  TREParser re_;
};

}  // namespace velora::memo
