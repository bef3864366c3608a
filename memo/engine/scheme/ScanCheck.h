// TScanCheck: checks the incremental re-scan against a scan from scratch. A text is loaded into
// a control with a highlighter, then edited at random places with the pieces that move state
// boundaries in web pages (comment and script delimiters, quotes, line breaks, deletions,
// undo); after each edit the control's token values must equal a scan of the whole text from
// the top with the same tables. Used by the oracle test and by the `scancheck` tool.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "memo/engine/scheme/SyntaxMemoParser.h"

namespace vlr {

struct TScanCheckResult {
  std::int64_t bytes = 0;        // text highlighted in full
  double fullSeconds = 0;        // time of the full highlight(s)
  std::int64_t edits = 0;
  std::int64_t mismatches = 0;
  std::string firstMismatch;     // what the first mismatch was, for the report
};

class TScanCheck {
 public:
  // `tables` are those of the parser under test; the check builds its own parsers from them.
  explicit TScanCheck(const TSchemeTables& tables, std::uint64_t seed = 1);

  // Highlights `text` in full (timed), then makes `edits` random edits, each compared with a
  // scan from scratch. Results add up over calls.
  void Run(std::string_view text, int edits);
  [[nodiscard]] const TScanCheckResult& Result() const noexcept { return result_; }

 private:
  std::uint64_t Next() noexcept;
  TSyntaxMemoParser incremental_;
  TSyntaxMemoParser reference_;
  std::uint64_t state_;
  TScanCheckResult result_;
};

}  // namespace vlr
