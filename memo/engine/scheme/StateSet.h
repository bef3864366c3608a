// Sets of highlighter states (and of token values): 256 bits, one per byte value.
#pragma once

#include <bitset>

namespace vlr {

// A set of highlighter states 0..255, or of token values 0..255.
using TStateSet = std::bitset<256>;

}  // namespace vlr
