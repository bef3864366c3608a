// Hooks through which a highlighter plugs into the control: the parser interface,
// the edit stream over the document, and the styles that token values map to.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "memo/engine/TextStore.h"
#include "memo/engine/Types.h"

namespace vlr {
class TKeyboardActionContoller;
}  // namespace vlr

namespace velora::memo {

class MemoEngine;
class TCodeTemplates;
class TAutoReplace;

// The effect of a style: colours and font style bits.
struct StyleEffect {
  Color foreground = rgb(0, 0, 0);
  Color background = rgb(255, 255, 255);
  bool defaultForeground = true;  // use the control's default text colour
  bool defaultBackground = true;  // use the control's default background
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool hotspot = false;
};

// A cursor over the document text across line records (TEdStream). It keeps a pointer into the
// current record's bytes, so reading and advancing are a compare and an increment; moving inside
// the current record needs no index lookup. A stream is valid until the text is next changed.
class EdStream {
 public:
  explicit EdStream(const TextStore& store, Pos at = 0) : store_(&store) { seek(at); }
  [[nodiscard]] char current() const noexcept { return cur_ < end_ ? *cur_ : '\0'; }
  void advance() noexcept {
    if (cur_ < end_ && ++cur_ == end_) nextRecord();
  }
  void back() noexcept { setPosition(position() - 1); }
  [[nodiscard]] Pos position() const noexcept { return recStart_ + (cur_ - begin_); }
  void setPosition(Pos p) noexcept {
    if (p >= recStart_ && p < recStart_ + (end_ - begin_)) cur_ = begin_ + (p - recStart_);
    else seek(p);
  }
  [[nodiscard]] bool atEnd() const noexcept { return cur_ >= end_; }
  // The character before the stream's position ('\0' at the start of the text).
  [[nodiscard]] char previous() const noexcept {
    if (cur_ > begin_) return cur_[-1];
    const Pos p = position();
    return p > 0 ? store_->charAt(p - 1) : '\0';
  }
  [[nodiscard]] const TextStore& store() const noexcept { return *store_; }

  // The bytes of the current record from the stream's position on, [data(), recordEnd()), for
  // scanners' tight loops; skipTo(q) with q in that range moves the stream to q (to the next
  // record's first byte when q is the record's end, as advance() does).
  [[nodiscard]] const char* data() const noexcept { return cur_; }
  [[nodiscard]] const char* recordEnd() const noexcept { return end_; }
  void skipTo(const char* q) noexcept {
    cur_ = q;
    if (cur_ == end_) nextRecord();
  }

 private:
  void seek(Pos p) noexcept {
    p = store_->clamp(p);
    const Location loc = store_->locate(p);
    ref_ = loc.ref;
    recStart_ = loc.recordStart;
    const std::string& t = store_->record(ref_).text;
    begin_ = t.data();
    end_ = begin_ + t.size();
    cur_ = begin_ + loc.offset;
    if (cur_ == end_ && p < store_->length()) nextRecord();
  }
  void nextRecord() noexcept {
    // Records other than the last are never empty, so one step always lands on a byte.
    RecordRef r = ref_;
    if (!store_->next(r)) return;  // stays at the end of the text
    recStart_ += end_ - begin_;
    ref_ = r;
    const std::string& t = store_->record(ref_).text;
    begin_ = cur_ = t.data();
    end_ = begin_ + t.size();
  }

  const TextStore* store_;
  RecordRef ref_;
  Pos recStart_ = 0;
  const char* begin_ = nullptr;
  const char* end_ = nullptr;
  const char* cur_ = nullptr;
};

// The abstract parser component (TCustomSyntaxMemoParser). vlr::TSyntaxMemoParser implements
// it from compiled scheme tables; vlr::THighlightDriver (AttachHighlighter) keeps a control's
// token values up to date with it through MemoEngine::setRescanHandler and idle slices.
class TokenScanner {
 public:
  virtual ~TokenScanner() = default;
  // Recognise one token at the stream's position, leave the stream after it, add its length.
  virtual std::uint8_t scanToken(MemoEngine& control, EdStream& stream, int& length) = 0;
  // Scans tokens one after the other, as scanToken does, until the stream stands at or past
  // `limit`, and writes each token's value to values[i - base] for its positions i below
  // `limit`; a token that ends where it began takes one character. Returns the last token's
  // value; the stream stands at that token's end, which may lie past `limit`.
  virtual std::uint8_t scanTokens(MemoEngine& control, EdStream& stream, Pos limit, std::uint8_t* values,
                                  Pos base) {
    std::uint8_t v = 0;
    for (Pos pos = stream.position(); pos < limit;) {
      int length = 0;
      v = scanToken(control, stream, length);
      Pos end = stream.position();
      if (end <= pos) {
        end = pos + 1;
        stream.setPosition(end);
      }
      for (Pos i = pos, stop = end < limit ? end : limit; i < stop; ++i) values[i - base] = v;
      pos = end;
    }
    return v;
  }
  // Set the state for a scan that starts at a character whose old token value is `context`.
  virtual void resetContext(std::uint8_t context) = 0;
  // Show the options dialog (a no-op without a GUI).
  virtual void editProperties() {}
  // The style that a token value is drawn in.
  [[nodiscard]] virtual StyleEffect styleOf(std::uint8_t token) const { (void)token; return {}; }
  // Every style that is in use (for the RTF colour table); styleOf(0) by default.
  [[nodiscard]] virtual int styleCount() const { return 1; }

  // ---- Hooks of the incremental re-scan (defaults suit a scanner without context).
  // True while the state changes of a container token are in force.
  [[nodiscard]] virtual bool insideContainer() const { return false; }
  // Sets the state for a scan from the start of the text.
  virtual void resetStart() { resetContext(0); }
  // A copy of the run-time state, so that background highlighting can resume where it stopped;
  // nullptr when the scanner cannot save its state (the re-scan then restarts at an anchor).
  struct SavedState {
    virtual ~SavedState() = default;
  };
  [[nodiscard]] virtual std::unique_ptr<SavedState> saveState() const { return nullptr; }
  // Restores a state saved by this scanner; false when it is not one of its own.
  virtual bool restoreState(const SavedState& s) { (void)s; return false; }
  // The run-time state at a record start as bytes, for the re-scan's checkpoints: equal bytes
  // mean the scan goes on identically over equal text. False when the state cannot be kept
  // that way (inside a container, whose end is a position); the re-scan then has no checkpoint
  // there.
  [[nodiscard]] virtual bool lineState(std::string& out) const { (void)out; return false; }
  // True when lineState would give exactly `state` (a cheap test for the common case of a line
  // starting in the state of the line before).
  [[nodiscard]] virtual bool sameLineState(std::string_view state) const {
    std::string now;
    return lineState(now) && now == state;
  }
  // Restores a state described by lineState; false when the bytes are not such a state.
  virtual bool restoreLineState(std::string_view state) { (void)state; return false; }
  // True for token values at which a re-scan may restart (the scheme's anchor values).
  [[nodiscard]] virtual bool isAnchor(std::uint8_t value) const { return value == 0; }
  // Changes whenever the scanner's tables change, so that stored token values are recomputed.
  [[nodiscard]] virtual std::uint64_t tablesGeneration() const { return 0; }

  // ---- Typing aids of the language.
  // Its code templates and auto-replace list, when it has them.
  [[nodiscard]] virtual TCodeTemplates* codeTemplates() { return nullptr; }
  [[nodiscard]] virtual TAutoReplace* autoReplace() { return nullptr; }
  // The key table of the language; nullptr when it has none (the control then uses the
  // built-in table).
  [[nodiscard]] virtual vlr::TKeyboardActionContoller* keyController() { return nullptr; }
  // Whether a token value is prose (text outside tags, scripts, styles and comments), where
  // auto-replace may act; true when the scanner cannot tell.
  [[nodiscard]] virtual bool isProseToken(std::uint8_t value) const { (void)value; return true; }
};

// Work that the control runs in slices while it is idle (background highlighting). The widget
// calls MemoEngine::HighlightSlice from a zero-timeout timer while pending() is true.
class BackgroundWork {
 public:
  virtual ~BackgroundWork() = default;
  // Works for at most about `budgetMicros`; true while work remains.
  virtual bool runSlice(MemoEngine& control, std::int64_t budgetMicros) = 0;
  [[nodiscard]] virtual bool pending() const = 0;
};

}  // namespace velora::memo
