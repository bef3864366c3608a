// Fuzz target of the block compressor: arbitrary bytes must decode or raise ECompressorError,
// and every input must survive an encode -> decode round trip unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "memo/engine/scheme/Compressor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  try {
    std::size_t consumed = 0;
    const std::string out = vlr::TCompressor::decode(input, consumed);
    if (consumed > size) std::abort();
  } catch (const vlr::ECompressorError&) {
    // Refusing malformed input is the expected outcome.
  }

  // A stream header in front of the raw bytes steers the decoder past the tag check.
  std::string framed("WRZL", 4);
  framed.append(input);
  try {
    (void)vlr::TCompressor::decode(framed);
  } catch (const vlr::ECompressorError&) {
  }

  const std::string packed = vlr::TCompressor::encode(input);
  if (vlr::TCompressor::decode(packed) != input) std::abort();
  return 0;
}
