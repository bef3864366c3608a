// A 256-bit set as four machine words, for the highlighter's hot path: membership, "meets" and
// the set operations of the state machine are a handful of word operations, no loops over bits.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "memo/engine/scheme/CharGroup.h"
#include "memo/engine/scheme/StateSet.h"

namespace vlr {

struct THighlightSet {
  std::array<std::uint64_t, 4> w{};

  [[nodiscard]] static THighlightSet From(const TStateSet& s) noexcept {
    THighlightSet r;
    for (unsigned i = 0; i < 256; ++i)
      if (s.test(i)) r.w[i >> 6] |= std::uint64_t{1} << (i & 63);
    return r;
  }
  [[nodiscard]] static THighlightSet From(const TSM_CharGroup& g) noexcept {
    THighlightSet r;
    r.w = g.Words();
    return r;
  }
  [[nodiscard]] TStateSet ToStateSet() const {
    TStateSet s;
    for (unsigned i = 0; i < 256; ++i)
      if (Test(std::uint8_t(i))) s.set(i);
    return s;
  }
  [[nodiscard]] bool Test(std::uint8_t i) const noexcept { return (w[i >> 6] >> (i & 63)) & 1u; }
  void Set(std::uint8_t i) noexcept { w[i >> 6] |= std::uint64_t{1} << (i & 63); }
  [[nodiscard]] bool Meets(const THighlightSet& o) const noexcept {
    return ((w[0] & o.w[0]) | (w[1] & o.w[1]) | (w[2] & o.w[2]) | (w[3] & o.w[3])) != 0;
  }
  [[nodiscard]] bool Empty() const noexcept { return (w[0] | w[1] | w[2] | w[3]) == 0; }
  THighlightSet& operator|=(const THighlightSet& o) noexcept {
    for (int i = 0; i < 4; ++i) w[std::size_t(i)] |= o.w[std::size_t(i)];
    return *this;
  }
  // (this ∪ add) − remove.
  void Change(const THighlightSet& add, const THighlightSet& remove) noexcept {
    for (std::size_t i = 0; i < 4; ++i) w[i] = (w[i] | add.w[i]) & ~remove.w[i];
  }
  // The lowest member of this ∩ o, or -1.
  [[nodiscard]] int LowestCommon(const THighlightSet& o) const noexcept {
    for (std::size_t i = 0; i < 4; ++i) {
      const std::uint64_t x = w[i] & o.w[i];
      if (x) return int(i * 64 + unsigned(std::countr_zero(x)));
    }
    return -1;
  }
  friend bool operator==(const THighlightSet&, const THighlightSet&) = default;
};

}  // namespace vlr
