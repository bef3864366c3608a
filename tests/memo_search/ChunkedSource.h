// A test character source that cuts a string into segments at chosen places, so that matches
// straddling segment boundaries are exercised.
#pragma once

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "memo/engine/search/CharSource.h"

namespace velora::memo::test {

class ChunkedSource final : public CharSource {
 public:
  // Cuts after every `step` bytes, or at random places when step is 0.
  ChunkedSource(std::string s, std::size_t step, unsigned seed = 1) : s_(std::move(s)) {
    std::mt19937 rng(seed);
    std::size_t p = 0;
    while (p < s_.size()) {
      starts_.push_back(Pos(p));
      p += step ? step : 1 + rng() % 5;
    }
    starts_.push_back(Pos(s_.size()));
  }
  [[nodiscard]] Pos length() const noexcept override { return Pos(s_.size()); }
  [[nodiscard]] Segment segmentAt(Pos p) const override {
    const auto it = std::upper_bound(starts_.begin(), starts_.end(), p) - 1;
    const Pos a = *it, b = std::min<Pos>(*(it + 1), Pos(s_.size()));
    return {s_.data() + a, a, b};
  }

 private:
  std::string s_;
  std::vector<Pos> starts_;
};

}  // namespace velora::memo::test
