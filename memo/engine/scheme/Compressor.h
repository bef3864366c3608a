// Block compressor of the compiled scheme's stored form: writes and reads "WRZL" streams.
//
// Stream layout (multi-byte integers little-endian unless noted):
//   - a four-byte method tag, "WRZL";
//   - the uncompressed length, 32 bits;
//   - blocks, each a 16-bit length and that many bytes. A block expands to at most
//     kBlockSize bytes, and another block follows exactly when one expands to kBlockSize, so
//     data whose length is a multiple of kBlockSize (including none) ends with an empty block.
// Block bodies:
//   - first byte kStoredFlag: the rest of the block is the output as it is;
//   - any other first byte (the encoder writes kPackedFlag): items, each announced by one bit
//     of a 16-bit control word. Control words are big-endian, used from the most significant
//     bit down; the first follows the flag byte and each further one comes just before the
//     item that needs its first bit. Bit 0: one literal byte. Bit 1: two bytes b0 b1 holding
//     a 12-bit distance (b0 << 4 | b1 >> 4) and a length ((b1 & 15) + 3); the copy takes the
//     output bytes that distance back one at a time, so it may overlap what it writes.
//     Distance 0 is a run instead: b1 b2 as a big-endian number plus 16 is the count and a
//     fourth byte b3 is the byte repeated.
// Copies reach back only within the output of their own block: every block decodes alone.
// The decoder checks every read and write against the input, the block and the declared
// length, so any byte sequence either decodes or raises ECompressorError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vlr {

// Failure of the compressor; every text begins with "Compressor".
class ECompressorError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Bytes are carried in std::string (any byte value, not text).
class TCompressor {
 public:
  static constexpr std::size_t kBlockSize = 32768;
  static constexpr std::uint8_t kStoredFlag = 0x80;
  static constexpr std::uint8_t kPackedFlag = 0x40;
  static constexpr std::size_t kMaxDistance = 4095;
  static constexpr std::size_t kMinCopy = 3;
  static constexpr std::size_t kMaxCopy = 18;
  static constexpr std::size_t kMinRun = 16;
  static constexpr std::size_t kMaxRun = 4095 + 16;
  static constexpr std::size_t kHeaderSize = 8;

  // The whole "WRZL" stream for `data`. Blocks that would not shrink are stored.
  // Throws ECompressorError for data of 4 GiB or more (the length field is 32 bits).
  [[nodiscard]] static std::string encode(std::string_view data);

  // The data of a stream that fills `stream` exactly.
  [[nodiscard]] static std::string decode(std::string_view stream);

  // The data of a stream at the start of `input`, which may go on with other data;
  // `consumed` receives the stream's size (left unchanged on failure).
  [[nodiscard]] static std::string decode(std::string_view input, std::size_t& consumed);
};

}  // namespace vlr
