// THighlightDriver: keeps a control's token values up to date with its active parser.
//
// After an edit it re-scans from a restart point before the edited line until a line's fresh
// values equal its old ones (outside a container). A freshly loaded or re-parsed document is
// highlighted from the top: the lines on screen (plus a look-ahead) at once, the rest in idle
// slices. The boundary between highlighted and not yet highlighted records is the frontier; the
// parser's state there is saved, so that each slice resumes exactly where the last one stopped.
// Records before the frontier always carry token values of the current parser.
//
// Checkpoints: while scanning, the parser's state at each record start is kept (as an id into a
// pool of distinct states, in LineRecord::scanState). An edit restarts at the checkpoint of the
// edited line's first record, and the scan stops at the first record start whose fresh state
// equals its old checkpoint (the text after it is unchanged, so everything after is too). So a
// keystroke costs one line, also inside a comment, a script block or plain text of any length.
// Where no checkpoint is known the restart falls back to the anchor rule and the stop to the
// comparison of token values.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <tuple>
#include <utility>
#include <vector>

#include "memo/engine/MemoEngine.h"
#include "memo/engine/TokenScanner.h"

namespace vlr {

class TSyntaxMemoParser;

class THighlightDriver final : public velora::memo::BackgroundWork {
 public:
  using Pos = velora::memo::Pos;
  using RecNo = velora::memo::RecNo;

  explicit THighlightDriver(velora::memo::MemoEngine& engine);
  // Leaves the control lists of the parsers it joined (the control is going away).
  ~THighlightDriver() override;
  THighlightDriver(const THighlightDriver&) = delete;
  THighlightDriver& operator=(const THighlightDriver&) = delete;

  [[nodiscard]] velora::memo::MemoEngine& Control() const noexcept { return e_; }
  // Puts the control in the scheme parser's list of controls that use it; false when it is
  // there already.
  bool Use(TSyntaxMemoParser& parser);
  // Takes the control out of the parser's list.
  void Unuse(TSyntaxMemoParser& parser);
  // The parser is being destroyed: the control's slots that hold it are emptied and the
  // driver forgets it.
  void ParserGone(TSyntaxMemoParser& parser);

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
  // Distinct checkpoint states kept at most; past it new states get no checkpoint.
  std::size_t maxCheckpointStates = 65536;
  // How far back (in records) an edit looks for a checkpoint before using the anchor rule.
  RecNo checkpointWalk = 256;

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
  // Forgets every checkpoint (records and pool).
  void ClearCheckpoints();
  // The id of the parser's current state in the pool (0 when it cannot be kept).
  std::uint32_t Checkpoint(velora::memo::TokenScanner& p);
  // Restart at the nearest checkpoint at or before record `rec`; false when there is none close.
  bool CheckpointRestart(velora::memo::TokenScanner& p, RecNo rec, RecNo& at, Pos& from);

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
  // The pool of distinct checkpoint states: id k is states_[k - 1].
  std::unordered_map<std::string, std::uint32_t> stateIds_;
  std::vector<const std::string*> states_;
  std::string key_;
  const std::string* lastKey_ = nullptr;
  std::uint32_t lastId_ = 0;
  std::vector<TSyntaxMemoParser*> uses_;  // the scheme parsers whose control list holds this control
};

// Puts `parser` into the control's parser slot, makes it active and attaches a highlight
// driver to the control (owned by it; one per control, shared by its slots): edits re-scan, idle
// slices highlight the rest. When a scheme parser (TSyntaxMemoParser) is used by the control for
// the first time, the control joins the parser's list of controls and gets its settings. Either
// may then be destroyed first: a destroyed control leaves the list, a destroyed parser leaves
// the control's slots.
THighlightDriver& AttachHighlighter(velora::memo::MemoEngine& engine, velora::memo::TokenScanner& parser,
                                    int slot = 1);
// Takes the parser out of `slot`; a parser no longer in any slot loses the control from its
// list. With no parser left the driver goes: the control shows plain text.
void DetachHighlighter(velora::memo::MemoEngine& engine, int slot = 1);
// Highlights the whole document again (after the parser's tables changed, or when highlighting
// was switched on: edits made while it was off were not scanned). Nothing happens while
// highlighting is off or no parser is active.
void RehighlightAll(velora::memo::MemoEngine& engine);

}  // namespace vlr
