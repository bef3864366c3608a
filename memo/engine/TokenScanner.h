// Hooks through which a highlighter plugs into the control: the parser interface,
// the edit stream over the document, and the styles that token values map to.
#pragma once

#include <cstdint>
#include <string>

#include "memo/engine/TextStore.h"
#include "memo/engine/Types.h"

namespace velora::memo {

class MemoEngine;

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

// A cursor over the document text across line records (TEdStream).
class EdStream {
 public:
  explicit EdStream(const TextStore& store, Pos at = 0) : store_(&store) { setPosition(at); }
  [[nodiscard]] char current() const noexcept {
    return ref_valid_ ? store_->record(ref_).text[offset_] : '\0';
  }
  void advance() noexcept {
    if (!ref_valid_) return;
    ++pos_;
    if (++offset_ >= store_->record(ref_).text.size()) {
      offset_ = 0;
      ref_valid_ = store_->next(ref_) && !store_->record(ref_).text.empty();
    }
  }
  void back() noexcept { setPosition(pos_ - 1); }
  [[nodiscard]] Pos position() const noexcept { return pos_; }
  void setPosition(Pos p) noexcept {
    pos_ = store_->clamp(p);
    const Location loc = store_->locate(pos_);
    ref_ = loc.ref;
    offset_ = loc.offset;
    ref_valid_ = pos_ < store_->length();
  }
  [[nodiscard]] bool atEnd() const noexcept { return pos_ >= store_->length(); }

 private:
  const TextStore* store_;
  RecordRef ref_;
  std::size_t offset_ = 0;
  Pos pos_ = 0;
  bool ref_valid_ = false;
};

// The abstract parser component (TCustomSyntaxMemoParser). The highlighter issue implements it
// and drives the incremental re-scan through MemoEngine::setRescanHandler.
class TokenScanner {
 public:
  virtual ~TokenScanner() = default;
  // Recognise one token at the stream's position, leave the stream after it, add its length.
  virtual std::uint8_t scanToken(MemoEngine& control, EdStream& stream, int& length) = 0;
  // Set the state for a scan that starts at a character whose old token value is `context`.
  virtual void resetContext(std::uint8_t context) = 0;
  // Show the options dialog (a no-op without a GUI).
  virtual void editProperties() {}
  // The style that a token value is drawn in.
  [[nodiscard]] virtual StyleEffect styleOf(std::uint8_t token) const { (void)token; return {}; }
  // Every style that is in use (for the RTF colour table); styleOf(0) by default.
  [[nodiscard]] virtual int styleCount() const { return 1; }
};

}  // namespace velora::memo
