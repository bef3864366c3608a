// THighlightDriver: keeps a control's token values up to date with its active parser.
//
// After an edit it re-scans from a restart point before the edited line until a line's fresh
// values equal its old ones (outside a container). A freshly loaded or re-parsed document is
// highlighted from the top: the lines on screen (plus a look-ahead) at once, the rest in idle
// slices. The boundary between highlighted and not yet highlighted records is the frontier; the
// parser's state there is saved, so that each slice resumes exactly where the last one stopped.
// Records before the frontier always carry token values of the current parser.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include "memo/engine/MemoEngine.h"
#include "memo/engine/TokenScanner.h"

namespace vlr {

class THighlightDriver final : public velora::memo::BackgroundWork {
 public:
  using Pos = velora::memo::Pos;
  using RecNo = velora::memo::RecNo;

  explicit THighlightDriver(velora::memo::MemoEngine& engine);

  // The re-scan after an edit whose first changed record is `dirty` (the rescan handler).
  void Rescan(RecNo dirty);
  // BackgroundWork: highlights from the frontier for about `budgetMicros`.
  bool runSlice(velora::memo::MemoEngine& control, std::int64_t budgetMicros) override;
  [[nodiscard]] bool pending() const override;
  // Forgets every token value and highlights the document again from the top.
  void Restart();

  // Lines past the last visible one that an edit or a load highlights at once.
  velora::memo::LineNo lookAheadLines = 60;
  // Most records one synchronous re-scan handles; what is left goes to the idle slices.
  RecNo syncRecordLimit = 2000;

  // Figures of the last run (tests, benchmarks).
  struct RunStats {
    RecNo records = 0;      // records scanned
    RecNo firstRecord = 0;  // where the scan started
    bool stoppedEqual = false;
  };
  [[nodiscard]] const RunStats& LastRun() const noexcept { return stats_; }
  [[nodiscard]] RecNo Frontier() const noexcept { return frontier_; }

 private:
  enum class Mode { Edit, Frontier, Slice };
  void Sync(velora::memo::TokenScanner& p);
  // Where a scan for record `rec` restarts, with the parser reset for it.
  std::pair<RecNo, Pos> RestartPoint(velora::memo::TokenScanner& p, RecNo rec);
  void Run(velora::memo::TokenScanner& p, RecNo rec, Pos from, RecNo mustReach, Mode mode,
           std::chrono::steady_clock::time_point deadline);
  [[nodiscard]] Pos WindowEnd() const;
  [[nodiscard]] Pos WindowStart() const;
  void ClearAllTokens();

  velora::memo::MemoEngine& e_;
  const velora::memo::TokenScanner* parser_ = nullptr;
  std::uint64_t generation_ = 0;
  RecNo frontier_ = 0;       // first record not yet highlighted (recordCount: all done)
  std::unique_ptr<velora::memo::TokenScanner::SavedState> snapshot_;  // state at the frontier
  bool mayStopEarly_ = false;  // records past the frontier hold values that may still be right
  RecNo reach_ = -1;           // an edited record past the frontier that the slices must pass
  RecNo lastRecordCount_ = 0;
  std::vector<std::uint8_t> fresh_;
  RunStats stats_;
};

// Puts `parser` into the control's parser slot, makes it active and attaches a highlight
// driver to the control (owned by it): edits re-scan, idle slices highlight the rest.
THighlightDriver& AttachHighlighter(velora::memo::MemoEngine& engine, velora::memo::TokenScanner& parser,
                                    int slot = 1);
// Takes the parser out of `slot` and removes the driver: the control goes back to plain text and
// keeps no reference to the parser, which may then be destroyed.
void DetachHighlighter(velora::memo::MemoEngine& engine, int slot = 1);

}  // namespace vlr
