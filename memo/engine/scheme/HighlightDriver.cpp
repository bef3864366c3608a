#include "memo/engine/scheme/HighlightDriver.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "memo/engine/scheme/ControlSettings.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

namespace vlr {

using velora::memo::EdStream;
using velora::memo::LineRecord;
using velora::memo::MemoEngine;
using velora::memo::RecordRef;
using velora::memo::TextStore;
using velora::memo::TokenScanner;
using velora::memo::Pos;
using Clock = std::chrono::steady_clock;

namespace {
constexpr std::uint16_t kRecomputeBits = velora::memo::kRecRescan | velora::memo::kRecTokensSupplied;

// True when the record holds no valid token values (never computed, or marked for recomputing).
bool NeedsWork(const LineRecord& r) noexcept {
  return r.tokens.size() != r.text.size() || (r.flags & kRecomputeBits) != 0;
}
}  // namespace

THighlightDriver::THighlightDriver(MemoEngine& engine) : e_(engine) {}

THighlightDriver::~THighlightDriver() {
  // Runs while the control is being destroyed: only the parsers' lists are touched.
  for (TSyntaxMemoParser* p : uses_) std::erase(p->users_, this);
}

bool THighlightDriver::Use(TSyntaxMemoParser& parser) {
  if (std::find(uses_.begin(), uses_.end(), &parser) != uses_.end()) return false;
  uses_.push_back(&parser);
  parser.users_.push_back(this);
  return true;
}

void THighlightDriver::Unuse(TSyntaxMemoParser& parser) {
  std::erase(uses_, &parser);
  std::erase(parser.users_, this);
}

void THighlightDriver::ParserGone(TSyntaxMemoParser& parser) {
  std::erase(uses_, &parser);
  if (parser_ == &parser) {
    parser_ = nullptr;
    snapshot_.reset();
  }
  for (int slot = 1; slot <= 6; ++slot)
    if (e_.parser(slot) == &parser) e_.setParser(slot, nullptr);
}

// The window in positions; its first line counts visual rows while wrapping.
Pos THighlightDriver::WindowStart() const { return e_.firstVisiblePos(); }

Pos THighlightDriver::WindowEnd() const {
  const TextStore& st = e_.store();
  const velora::memo::LineNo last = st.lineFromPos(e_.firstVisiblePos()) + e_.visibleLines() + lookAheadLines;
  return last >= st.lineCount() ? st.length() : st.lineStart(last);
}

void THighlightDriver::ClearAllTokens() {
  TextStore& st = e_.store();
  RecordRef r = st.firstRecord();
  do {
    LineRecord& rec = st.record(r);
    rec.tokens.clear();  // not computed; the buffer is kept for the values to come
    rec.flags |= velora::memo::kRecRescan | velora::memo::kRecRepaint;
  } while (st.next(r));
  e_.tokensChanged(0, st.length());
}

void THighlightDriver::ClearCheckpoints() {
  TextStore& st = e_.store();
  RecordRef r = st.firstRecord();
  do {
    st.record(r).scanState = 0;
  } while (st.next(r));
  stateIds_.clear();
  states_.clear();
  lastKey_ = nullptr;
  lastId_ = 0;
}

std::uint32_t THighlightDriver::Checkpoint(TokenScanner& p) {
  // Most lines start in the state of the last: compared in place, without writing it out.
  if (lastKey_ && p.sameLineState(*lastKey_)) return lastId_;
  if (!p.lineState(key_)) return 0;
  auto it = stateIds_.find(key_);
  if (it == stateIds_.end()) {
    if (states_.size() >= maxCheckpointStates) return 0;
    it = stateIds_.emplace(key_, std::uint32_t(states_.size() + 1)).first;
    states_.push_back(&it->first);  // keys of an unordered_map stay where they are
  }
  lastKey_ = &it->first;
  lastId_ = it->second;
  return lastId_;
}

bool THighlightDriver::CheckpointRestart(TokenScanner& p, RecNo rec, RecNo& at, Pos& from) {
  const TextStore& st = e_.store();
  RecordRef r = st.recordRef(rec);
  for (RecNo k = 0; k <= checkpointWalk; ++k) {
    const std::uint32_t id = st.record(r).scanState;
    if (id != 0 && id <= states_.size() && p.restoreLineState(*states_[id - 1])) {
      at = rec - k;
      from = st.locateRecord(at).recordStart;
      return true;
    }
    if (!st.prev(r)) break;
  }
  return false;
}

void THighlightDriver::Restart() {
  TokenScanner* p = e_.currentParser();
  ClearAllTokens();
  ClearCheckpoints();
  parser_ = p;
  generation_ = p ? p->tablesGeneration() : 0;
  frontier_ = 0;
  snapshot_.reset();
  mayStopEarly_ = false;
  reach_ = -1;
  lastRecordCount_ = e_.store().recordCount();
  if (p) Sync(*p);
  e_.requestRepaint();
}

bool THighlightDriver::pending() const {
  const TokenScanner* p = e_.currentParser();
  if (!p || !e_.hasOption(velora::memo::smoSyntaxHighlight)) return false;
  if (p != parser_ || p->tablesGeneration() != generation_) return true;  // all to do again
  return frontier_ < e_.store().recordCount();
}

std::pair<THighlightDriver::RecNo, Pos> THighlightDriver::RestartPoint(TokenScanner& p, RecNo rec) {
  const TextStore& st = e_.store();
  const velora::memo::Location loc = st.locateRecord(rec);
  RecordRef r = loc.ref;
  RecNo rn = rec;
  Pos q = loc.recordStart;  // characters before q are searched, nearest first
  const auto tokenAt = [&st](RecordRef ref, std::size_t i) -> std::uint8_t {
    const LineRecord& R = st.record(ref);
    return i < R.tokens.size() ? R.tokens[i] : 0;
  };
  while (q > 0 && st.prev(r)) {
    --rn;
    const LineRecord& R = st.record(r);
    const Pos rs = q - Pos(R.text.size());
    for (std::size_t i = R.text.size(); i-- > 0;) {
      const std::uint8_t v = tokenAt(r, i);
      if (!p.isAnchor(v)) continue;
      // Back to the first character of this run of equal values.
      RecordRef rr = r;
      RecNo rrn = rn;
      std::size_t j = i;
      Pos start = rs + Pos(i);
      for (;;) {
        if (j > 0) {
          if (tokenAt(rr, j - 1) != v) break;
          --j;
          --start;
          continue;
        }
        RecordRef pr = rr;
        if (!st.prev(pr)) break;
        const LineRecord& P = st.record(pr);
        if (P.text.empty() || tokenAt(pr, P.text.size() - 1) != v) break;
        rr = pr;
        --rrn;
        j = P.text.size() - 1;
        --start;
      }
      p.resetContext(v);
      return {rrn, start};
    }
    q = rs;
  }
  p.resetStart();
  return {0, 0};
}

void THighlightDriver::Run(TokenScanner& p, RecNo rec, Pos from, RecNo mustReach, Mode mode,
                           Clock::time_point deadline) {
  TextStore& st = e_.store();
  const RecNo count = st.recordCount();
  RecordRef ref = st.recordRef(rec);
  Pos recStart = st.locateRecord(rec).recordStart;
  EdStream s(st, from);
  Pos pos = from;
  const bool seen = bool(e_.onTokenSeen);
  if (seen) {
    int v = -1;
    e_.onTokenSeen(v, -1, -1);
  }
  std::uint8_t carry = 0;
  Pos carryEnd = 0;
  const Pos winStart = WindowStart();
  const Pos winEnd = WindowEnd();
  bool repaint = false;
  stats_ = RunStats{0, rec, false};
  unsigned tick = 0;
  // The records whose values changed, reported in runs of neighbours.
  Pos changedFrom = -1, changedTo = -1;
  for (;;) {
    LineRecord& R = st.record(ref);
    const std::size_t len = R.text.size();
    const Pos recEnd = recStart + Pos(len);
    const bool hadValues = R.tokens.size() == len;
    // A record without values is written in place (in the room the store made for them with the
    // text); one with values gets its fresh values beside the old ones, for the comparison.
    std::uint8_t* out = nullptr;
    if (!hadValues) {
      R.tokens.assign(len, 0);
      out = R.tokens.data();
    } else {
      // Only characters before the scan's start keep their old values; every other one is
      // written below (by the token carried over from the previous record or by the tokens
      // scanned).
      if (pos > recStart && carryEnd < pos) fresh_.assign(R.tokens.begin(), R.tokens.end());
      else fresh_.resize(len);
      out = fresh_.data();
    }
    if (carryEnd > recStart && len > 0)
      std::memset(out, carry, std::size_t(std::min(carryEnd, recEnd) - recStart));
    if (!seen && pos < recEnd) {
      // The tokens of the record in one call; the last one may run on into the next records.
      const std::uint8_t b = p.scanTokens(e_, s, recEnd, out, recStart);
      const Pos end = s.position();
      if (end > recEnd) {
        carry = b;
        carryEnd = end;
      }
      pos = end;
    }
    while (pos < recEnd) {
      int length = 0;
      int v = p.scanToken(e_, s, length);
      Pos end = s.position();
      if (end <= pos) {  // a token of length 0 takes one character
        end = pos + 1;
        s.setPosition(end);
      }
      if (seen) e_.onTokenSeen(v, pos, end);
      const auto b = static_cast<std::uint8_t>(v);
      std::memset(out + (pos - recStart), b, std::size_t(std::min(end, recEnd) - pos));
      if (end > recEnd) {
        carry = b;
        carryEnd = end;
      }
      pos = end;
    }
    const bool equal = hadValues && (R.flags & velora::memo::kRecTokensSupplied) == 0 &&
                       (len == 0 || std::memcmp(R.tokens.data(), fresh_.data(), len) == 0);
    if (!equal) {
      if (hadValues) R.tokens.swap(fresh_);
      R.flags |= velora::memo::kRecRepaint;
      if (changedTo != recStart) {
        if (changedFrom >= 0) e_.tokensChanged(changedFrom, changedTo);
        changedFrom = recStart;
      }
      changedTo = recEnd;
      if (recEnd >= winStart && recStart < winEnd) repaint = true;
    }
    R.flags &= std::uint16_t(~kRecomputeBits);
    ++stats_.records;
    if (rec >= frontier_) frontier_ = rec + 1;
    RecordRef next = ref;
    if (!st.next(next)) {  // the end of the text: everything is highlighted
      frontier_ = count;
      snapshot_.reset();
      mayStopEarly_ = false;
      break;
    }
    const bool mid = p.insideContainer() || carryEnd > recEnd;
    // The state at the next record's start: compared with its old checkpoint, then kept.
    LineRecord& N = st.record(next);
    const std::uint32_t old = N.scanState;
    const std::uint32_t now = mid ? 0 : Checkpoint(p);
    N.scanState = now;
    if (!mid) {
      const bool beyondFrontier = rec + 1 >= frontier_;
      // With both states known, equal states settle it exactly; otherwise equal token values
      // of this record stand for an equal state.
      const bool settled = (old != 0 && now != 0) ? old == now : equal;
      if (settled && rec >= mustReach && !NeedsWork(N) && (!beyondFrontier || mayStopEarly_)) {
        // The rest of the document is unchanged.
        stats_.stoppedEqual = true;
        if (beyondFrontier) {
          frontier_ = count;
          snapshot_.reset();
          mayStopEarly_ = false;
        }
        break;
      }
      bool stop = false;
      if (mode != Mode::Slice) {
        stop = (recEnd >= winEnd && beyondFrontier && rec >= mustReach) || stats_.records >= syncRecordLimit;
      } else {
        stop = (++tick & 3u) == 0 && Clock::now() >= deadline;
      }
      if (stop) {
        if (!beyondFrontier) {
          // Hand the rest to the idle slices; the old values after here may still be right
          // only when everything after them was highlighted.
          mayStopEarly_ = frontier_ >= count;
          frontier_ = rec + 1;
        }
        // The slices must not stop before the edited record that this run did not reach.
        if (rec < mustReach) reach_ = std::max(reach_, mustReach);
        snapshot_ = p.saveState();
        break;
      }
    }
    ref = next;
    ++rec;
    recStart = recEnd;
  }
  if (changedFrom >= 0) e_.tokensChanged(changedFrom, changedTo);
  if (reach_ >= 0 && (rec >= reach_ || frontier_ >= count)) reach_ = -1;
  p.resetStart();
  if (seen) {
    int v = -2;
    e_.onTokenSeen(v, -2, -2);
  }
  if (repaint) e_.requestRepaint();
}

void THighlightDriver::Sync(TokenScanner& p) {
  // Highlights from the frontier at once when it lies on screen (a fresh load, a new parser).
  const TextStore& st = e_.store();
  if (frontier_ >= st.recordCount()) return;
  if (st.locateRecord(frontier_).recordStart >= WindowEnd()) return;
  RecNo rec = frontier_;
  Pos from = st.locateRecord(rec).recordStart;
  if (!(snapshot_ && p.restoreState(*snapshot_))) std::tie(rec, from) = RestartPoint(p, frontier_);
  Run(p, rec, from, frontier_, Mode::Frontier, Clock::time_point::max());
}

void THighlightDriver::Rescan(RecNo dirty) {
  // Without highlighting nothing is scanned; the edited records keep their marks for later.
  if (!e_.hasOption(velora::memo::smoSyntaxHighlight)) return;
  TextStore& st = e_.store();
  st.takeDirty();
  TokenScanner* p = e_.currentParser();
  if (!p) return;
  const RecNo count = st.recordCount();
  if (p != parser_ || p->tablesGeneration() != generation_) {
    Restart();
  } else {
    const RecNo delta = count - lastRecordCount_;
    lastRecordCount_ = count;
    dirty = std::clamp<RecNo>(dirty, 0, count - 1);
    if (reach_ >= 0 && dirty < reach_) reach_ = std::max(reach_ + delta, dirty);
    if (dirty < frontier_) {
      RecNo f = frontier_ + delta;
      if (f <= dirty) {  // the edit reached past the frontier
        f = dirty + 1;
        snapshot_.reset();
      }
      frontier_ = std::min(f, count);
    } else {
      mayStopEarly_ = false;  // the edited records past the frontier must be reached
    }
    // Records before the frontier carry values; a reloaded text has none.
    const LineRecord& first = st.record(st.firstRecord());
    if (first.tokens.size() != first.text.size()) {
      frontier_ = 0;
      snapshot_.reset();
      mayStopEarly_ = false;
    }
    if (dirty < frontier_) {
      // The edited record's own checkpoint (or the nearest before it) knows the state at its
      // start, also inside a long wrapped or minified line. Without one, a wrapped line is
      // re-scanned from its first record.
      RecNo rec = 0;
      Pos from = 0;
      if (!CheckpointRestart(*p, dirty, rec, from)) {
        RecNo start = dirty;
        RecordRef r = st.recordRef(start);
        for (RecordRef pr = r; start > 0 && st.prev(pr) && !st.record(pr).hardBreak(); --start) {}
        std::tie(rec, from) = RestartPoint(*p, start);
      }
      Run(*p, rec, from, dirty, Mode::Edit, Clock::time_point::max());
    } else {
      Sync(*p);
    }
  }
  if (pending() && e_.onBackgroundPending) e_.onBackgroundPending();
}

bool THighlightDriver::runSlice(MemoEngine&, std::int64_t budgetMicros) {
  TokenScanner* p = e_.currentParser();
  if (!p || !e_.hasOption(velora::memo::smoSyntaxHighlight)) return false;
  const TextStore& st = e_.store();
  const RecNo count = st.recordCount();
  if (p != parser_ || p->tablesGeneration() != generation_) {
    Restart();
  } else if (count != lastRecordCount_) {
    // The text changed without a re-scan (highlighting was off): start over, keeping the values
    // as likely right.
    lastRecordCount_ = count;
    frontier_ = 0;
    snapshot_.reset();
    mayStopEarly_ = true;
    ClearCheckpoints();  // they describe the text as it was
  }
  if (frontier_ >= count) return false;
  const auto deadline = Clock::now() + std::chrono::microseconds(std::max<std::int64_t>(budgetMicros, 0));
  RecNo rec = frontier_;
  Pos from = st.locateRecord(rec).recordStart;
  if (!(snapshot_ && p->restoreState(*snapshot_))) std::tie(rec, from) = RestartPoint(*p, frontier_);
  Run(*p, rec, from, std::max(frontier_, reach_), Mode::Slice, deadline);
  return frontier_ < st.recordCount();
}

THighlightDriver& AttachHighlighter(MemoEngine& engine, TokenScanner& parser, int slot) {
  auto* d = dynamic_cast<THighlightDriver*>(engine.backgroundWork());
  if (!d) {
    auto driver = std::make_unique<THighlightDriver>(engine);
    d = driver.get();
    engine.setBackgroundWork(std::move(driver));
    engine.setRescanHandler([d](MemoEngine&, velora::memo::RecNo r) { d->Rescan(r); });
  }
  engine.setParser(slot, &parser);
  // The first use of a scheme parser: the control joins its list and takes its settings, before
  // the slot becomes active, so that the first scan already follows them (highlighting may be
  // off).
  if (auto* scheme = dynamic_cast<TSyntaxMemoParser*>(&parser); scheme && d->Use(*scheme) && scheme->HasTables())
    ApplySchemeSettings(engine, scheme->Tables().settings);
  engine.setActiveParser(slot);
  return *d;
}

void DetachHighlighter(MemoEngine& engine, int slot) {
  TokenScanner* parser = engine.parser(slot);
  engine.setParser(slot, nullptr);
  bool stillUsed = false;
  bool anyLeft = false;
  for (int s = 1; s <= 6; ++s) {
    const TokenScanner* p = engine.parser(s);
    anyLeft = anyLeft || p != nullptr;
    stillUsed = stillUsed || (parser && p == parser);
  }
  auto* d = dynamic_cast<THighlightDriver*>(engine.backgroundWork());
  if (d && parser && !stillUsed)
    if (auto* scheme = dynamic_cast<TSyntaxMemoParser*>(parser)) d->Unuse(*scheme);
  if (!anyLeft) {
    engine.setRescanHandler(nullptr);
    engine.setBackgroundWork(nullptr);
  }
}

void RehighlightAll(MemoEngine& engine) {
  auto* d = dynamic_cast<THighlightDriver*>(engine.backgroundWork());
  if (!d || !engine.currentParser() || !engine.hasOption(velora::memo::smoSyntaxHighlight)) return;
  d->Restart();
  if (d->pending() && engine.onBackgroundPending) engine.onBackgroundPending();
}

}  // namespace vlr
