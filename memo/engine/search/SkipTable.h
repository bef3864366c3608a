// TSkipTable: a compiled plain search pattern. Unless the search matches case, the pattern is
// compared character by character by simple case folding (see CaseFold.h), so that a match may
// differ in length from the pattern ("STRAẞE" for "straße").
//
// The filter works on the probe run: the longest stretch of pattern characters whose case
// forms all have one length, so that its bytes lie at fixed offsets. Each byte of the run is
// compared under a mask (the bits in which its case forms differ). Forwards the filter tests
// candidate places 16 bytes at a time by two probe bytes of the run; backwards it skips by the
// distance table of the run (Horspool). A pattern of ASCII text whose case forms are all ASCII
// (or any pattern when matching case) is one run of fixed length compared exactly: the fast path.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velora::memo {

class TSkipTable {
 public:
  TSkipTable() = default;
  TSkipTable(std::string_view pattern, bool matchCase) { assign(pattern, matchCase); }

  // Rebuilds the tables only when the pattern or the case rule changed.
  void assign(std::string_view pattern, bool matchCase);
  [[nodiscard]] bool sameAs(std::string_view pattern, bool matchCase) const noexcept {
    return built_ && matchCase == matchCase_ && pattern == raw_;
  }
  // Bytes of the pattern as compared (folded).
  [[nodiscard]] std::size_t size() const noexcept { return pat_.size(); }
  [[nodiscard]] bool empty() const noexcept { return pat_.empty(); }
  [[nodiscard]] bool matchCase() const noexcept { return matchCase_; }
  // The pattern as compared (folded).
  [[nodiscard]] const std::string& folded() const noexcept { return pat_; }

  // Whether every match is the run alone, compared exactly by the masks (the fast path).
  [[nodiscard]] bool exact() const noexcept { return exact_; }
  // The characters of the pattern, folded (when not matching case).
  [[nodiscard]] const std::vector<char32_t>& chars() const noexcept { return chars_; }
  // The probe run: its first character, its characters and its bytes (0 bytes: the pattern
  // has none; then candidates are the places whose byte is in startBytes()).
  [[nodiscard]] std::size_t runFirst() const noexcept { return runFirst_; }
  [[nodiscard]] std::size_t runChars() const noexcept { return runChars_; }
  [[nodiscard]] std::size_t runSize() const noexcept { return val_.size(); }
  [[nodiscard]] bool startByte(unsigned char c) const noexcept { return (starts_[c >> 6] >> (c & 63)) & 1u; }
  // Whether byte c can be a byte of the run.
  [[nodiscard]] bool contains(unsigned char c) const noexcept { return (present_[c >> 6] >> (c & 63)) & 1u; }
  // Whether byte c can be the run's byte at offset i.
  [[nodiscard]] bool runByte(std::size_t i, unsigned char c) const noexcept {
    return (c | mask_[i]) == (unsigned char)val_[i];
  }

  // The first place in [begin, end) where the whole run lies inside the range and passes the
  // masks, or nullptr.
  [[nodiscard]] const char* findIn(const char* begin, const char* end) const noexcept;
  // The last such place, or nullptr.
  [[nodiscard]] const char* findLastIn(const char* begin, const char* end) const noexcept;
  // The run at p passes the masks (p + runSize() <= the end of the caller's range).
  [[nodiscard]] bool equalAt(const char* p) const noexcept;

 private:
  [[nodiscard]] const char* scalarFind(const char* begin, const char* end) const noexcept;

  std::string raw_;
  std::string pat_;
  bool matchCase_ = false;
  bool built_ = false;
  bool exact_ = true;
  std::vector<char32_t> chars_;
  std::size_t runFirst_ = 0, runChars_ = 0;
  std::string val_;                  // run bytes with their masks set
  std::vector<unsigned char> mask_;  // per run byte: the bits in which its case forms differ
  std::array<std::uint32_t, 256> back_{};  // backward skip by byte
  std::array<std::uint64_t, 4> present_{};
  std::array<std::uint64_t, 4> starts_{};
  // Probe bytes for the forward filter: offsets in the run, masked values and masks.
  std::size_t off1_ = 0, off2_ = 0;
  unsigned char val1_ = 0, val2_ = 0, or1_ = 0, or2_ = 0;
};

}  // namespace velora::memo
