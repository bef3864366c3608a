// The neutral character interface the search engines read through: a document seen as runs of
// contiguous bytes (segments), so that the line records are searched in place, never copied.
#pragma once

#include <cstddef>
#include <string_view>

#include "memo/engine/TextStore.h"
#include "memo/engine/search/CaseFold.h"
#include "memo/engine/Types.h"

namespace velora::memo {

// A contiguous run of the document: bytes [start, end) at data.
struct Segment {
  const char* data = nullptr;
  Pos start = 0;
  Pos end = 0;
  [[nodiscard]] Pos size() const noexcept { return end - start; }
  [[nodiscard]] bool contains(Pos p) const noexcept { return p >= start && p < end; }
};

class CharSource {
 public:
  virtual ~CharSource() = default;
  [[nodiscard]] virtual Pos length() const noexcept = 0;
  // The segment holding position p (0 <= p < length()); segments are never empty.
  [[nodiscard]] virtual Segment segmentAt(Pos p) const = 0;
};

// One string as a single segment (tests, files of a find-in-files run).
class StringSource final : public CharSource {
 public:
  explicit StringSource(std::string_view s) noexcept : s_(s) {}
  [[nodiscard]] Pos length() const noexcept override { return Pos(s_.size()); }
  [[nodiscard]] Segment segmentAt(Pos) const override { return {s_.data(), 0, Pos(s_.size())}; }

 private:
  std::string_view s_;
};

// The line records of a text store, one segment per record. It remembers the last record it
// handed out, so that walking forwards or backwards costs one step per record. The store must
// not change while the source is in use.
class StoreSource final : public CharSource {
 public:
  explicit StoreSource(const TextStore& store) noexcept : store_(store) {}
  [[nodiscard]] Pos length() const noexcept override { return store_.length(); }
  [[nodiscard]] Segment segmentAt(Pos p) const override;

 private:
  const TextStore& store_;
  mutable RecordRef ref_{};
  mutable Segment last_{};
};

// Byte access by position with the current segment cached; -1 outside the document.
class CharCursor {
 public:
  explicit CharCursor(const CharSource& src) noexcept : src_(src), len_(src.length()) {}
  [[nodiscard]] int at(Pos p) {
    if (p >= seg_.start && p < seg_.end) return static_cast<unsigned char>(seg_.data[p - seg_.start]);
    if (p < 0 || p >= len_) return -1;
    seg_ = src_.segmentAt(p);
    return static_cast<unsigned char>(seg_.data[p - seg_.start]);
  }
  // The segment holding p (p inside the document).
  const Segment& segment(Pos p) {
    if (!seg_.contains(p)) seg_ = src_.segmentAt(p);
    return seg_;
  }
  [[nodiscard]] Pos length() const noexcept { return len_; }
  [[nodiscard]] const CharSource& source() const noexcept { return src_; }

  // The search character at p (see CaseFold.h) and its length n in bytes; n 0 outside.
  char32_t charAt(Pos p, int& n) {
    const int c = at(p);
    n = c < 0 ? 0 : 1;
    if (c < 0x80) return char32_t(c < 0 ? 0 : c);
    if (p + 4 <= seg_.end || seg_.end == len_)
      return searchCharAt(std::string_view(seg_.data + (p - seg_.start), std::size_t(seg_.end - p)), 0, n);
    return charAcross(p, n);
  }
  // Whether p lies after the first byte of a character.
  [[nodiscard]] bool insideChar(Pos p) {
    const int c = at(p);
    return c >= 0x80 && c < 0xC0 && continuesChar(p);
  }
  // The start of the character that ends at p (p > 0, p not inside a character).
  [[nodiscard]] Pos charStartBefore(Pos p);

 private:
  char32_t charAcross(Pos p, int& n);
  bool continuesChar(Pos p);

  const CharSource& src_;
  Pos len_;
  Segment seg_{nullptr, 0, 0};
};

}  // namespace velora::memo
