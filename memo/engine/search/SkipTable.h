// TSkipTable: a compiled plain search pattern. Forwards it filters candidate places 16 bytes at
// a time by two probe bytes of the pattern and confirms them; backwards it skips by the
// distance table of the pattern (Horspool). Letter case is folded for ASCII letters unless the
// search matches case.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

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
  [[nodiscard]] std::size_t size() const noexcept { return pat_.size(); }
  [[nodiscard]] bool empty() const noexcept { return pat_.empty(); }
  [[nodiscard]] bool matchCase() const noexcept { return matchCase_; }
  // Whether byte c occurs in the pattern (in either letter case when folding).
  [[nodiscard]] bool contains(unsigned char c) const noexcept { return (present_[c >> 6] >> (c & 63)) & 1u; }
  [[nodiscard]] unsigned char fold(unsigned char c) const noexcept { return fold_[c]; }
  // The pattern as compared (folded).
  [[nodiscard]] const std::string& folded() const noexcept { return pat_; }

  // The first place in [begin, end) where the whole pattern lies inside the range, or nullptr.
  [[nodiscard]] const char* findIn(const char* begin, const char* end) const noexcept;
  // The last such place, or nullptr.
  [[nodiscard]] const char* findLastIn(const char* begin, const char* end) const noexcept;
  // The pattern at p (p + size() <= the end of the caller's range).
  [[nodiscard]] bool equalAt(const char* p) const noexcept;

 private:
  [[nodiscard]] const char* scalarFind(const char* begin, const char* end) const noexcept;

  std::string raw_;
  std::string pat_;
  bool matchCase_ = false;
  bool built_ = false;
  std::array<unsigned char, 256> fold_{};
  std::array<std::uint32_t, 256> back_{};  // backward skip by byte
  std::array<std::uint64_t, 4> present_{};
  // Probe bytes for the forward filter: offsets, folded values and the OR masks that fold them.
  std::size_t off1_ = 0, off2_ = 0;
  unsigned char val1_ = 0, val2_ = 0, or1_ = 0, or2_ = 0;
};

}  // namespace velora::memo
