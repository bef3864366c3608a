// Block compressor of the compiled scheme's stored form: "WRZL" encoder and bounds-checked decoder.
#include "memo/engine/scheme/Compressor.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace vlr {

namespace {

constexpr std::string_view kTag = "WRZL";
constexpr std::string_view kOtherTag = "!HZL";

constexpr const char* kErrNoHeader = "Compressor decompression : input stream contains no valid header !";
constexpr const char* kErrSizes = "Compressor (LZH decompression) : Original and compressed sizes do not match !";
constexpr const char* kErrOtherMethod = "Compressor decompression : method !HZL is not supported !";
constexpr const char* kErrTruncated = "Compressor decompression : input stream is truncated !";
constexpr const char* kErrBlockCorrupt = "Compressor decompression : block data is corrupt !";
constexpr const char* kErrBlockTooLong = "Compressor decompression : block expands beyond 32768 bytes !";
constexpr const char* kErrDistance = "Compressor decompression : copy reaches before the start of its block !";
constexpr const char* kErrTrailing = "Compressor decompression : data follows the end of the stream !";
constexpr const char* kErrTooLarge = "Compressor compression : input of 4 GiB or more cannot be stored !";

[[nodiscard]] std::uint8_t byteAt(std::string_view s, std::size_t i) noexcept {
  return static_cast<std::uint8_t>(s[i]);
}

[[nodiscard]] std::uint32_t readLe16(std::string_view s, std::size_t i) noexcept {
  return std::uint32_t{byteAt(s, i)} | std::uint32_t{byteAt(s, i + 1)} << 8;
}

[[nodiscard]] std::uint32_t readLe32(std::string_view s, std::size_t i) noexcept {
  return readLe16(s, i) | readLe16(s, i + 2) << 16;
}

void appendLe16(std::string& out, std::size_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void appendLe32(std::string& out, std::size_t v) {
  appendLe16(out, v & 0xFFFF);
  appendLe16(out, (v >> 16) & 0xFFFF);
}

// Packs one block with greedy matching over hash chains of three-byte prefixes. The tables are
// kept between blocks so that a long input allocates them once.
class BlockPacker {
 public:
  BlockPacker() : prev_(TCompressor::kBlockSize) {}

  // The packed body of `block` (flag byte, control words and items).
  [[nodiscard]] std::string pack(std::string_view block) {
    head_.fill(-1);
    block_ = block;
    out_.clear();
    out_.push_back(static_cast<char>(TCompressor::kPackedFlag));
    bitsUsed_ = 16;
    const std::size_t n = block.size();
    std::size_t i = 0;
    while (i < n) {
      const std::size_t run = runLength(i);
      std::size_t distance = 0;
      const std::size_t copy = longestMatch(i, distance);
      std::size_t step = 1;
      if (run >= TCompressor::kMinRun && run > copy) {
        putRun(run, byteAt(block, i));
        step = run;
      } else if (copy >= TCompressor::kMinCopy) {
        putCopy(distance, copy);
        step = copy;
      } else {
        putLiteral(byteAt(block, i));
      }
      for (std::size_t k = 0; k < step; ++k) insert(i + k);
      i += step;
    }
    return out_;
  }

 private:
  static constexpr int kHashBits = 13;
  static constexpr int kMaxProbes = 48;

  [[nodiscard]] std::uint32_t hashAt(std::size_t i) const noexcept {
    const std::uint32_t v = std::uint32_t{byteAt(block_, i)} << 16 | std::uint32_t{byteAt(block_, i + 1)} << 8 |
                            std::uint32_t{byteAt(block_, i + 2)};
    return (v * 2654435761u) >> (32 - kHashBits);
  }

  void insert(std::size_t i) {
    if (i + TCompressor::kMinCopy > block_.size()) return;
    const std::uint32_t h = hashAt(i);
    prev_[i] = head_[h];
    head_[h] = static_cast<std::int32_t>(i);
  }

  [[nodiscard]] std::size_t runLength(std::size_t i) const noexcept {
    const std::size_t limit = std::min(block_.size(), i + TCompressor::kMaxRun);
    std::size_t j = i + 1;
    while (j < limit && block_[j] == block_[i]) ++j;
    return j - i;
  }

  // Longest earlier occurrence within kMaxDistance of the bytes at i, at most kMaxCopy long.
  [[nodiscard]] std::size_t longestMatch(std::size_t i, std::size_t& distance) const noexcept {
    if (i + TCompressor::kMinCopy > block_.size()) return 0;
    const std::size_t limit = std::min(TCompressor::kMaxCopy, block_.size() - i);
    std::size_t best = 0;
    std::int32_t candidate = head_[hashAt(i)];
    for (int probe = 0; candidate >= 0 && probe < kMaxProbes; ++probe) {
      const auto j = static_cast<std::size_t>(candidate);
      if (i - j > TCompressor::kMaxDistance) break;  // chains run from near to far
      std::size_t len = 0;
      while (len < limit && block_[j + len] == block_[i + len]) ++len;
      if (len > best) {
        best = len;
        distance = i - j;
        if (len == limit) break;
      }
      candidate = prev_[j];
    }
    return best;
  }

  // Claims the next control bit, starting a new control word when the last one is used up.
  void putBit(bool copy) {
    if (bitsUsed_ == 16) {
      controlPos_ = out_.size();
      out_.append(2, '\0');
      bitsUsed_ = 0;
    }
    if (copy) out_[controlPos_ + bitsUsed_ / 8] |= static_cast<char>(0x80u >> (bitsUsed_ % 8));
    ++bitsUsed_;
  }

  void putLiteral(std::uint8_t b) {
    putBit(false);
    out_.push_back(static_cast<char>(b));
  }

  void putCopy(std::size_t distance, std::size_t length) {
    putBit(true);
    out_.push_back(static_cast<char>(distance >> 4));
    out_.push_back(static_cast<char>(((distance & 0x0F) << 4) | (length - TCompressor::kMinCopy)));
  }

  void putRun(std::size_t count, std::uint8_t b) {
    putBit(true);
    const std::size_t c = count - TCompressor::kMinRun;
    out_.push_back('\0');
    out_.push_back(static_cast<char>(c >> 8));
    out_.push_back(static_cast<char>(c & 0xFF));
    out_.push_back(static_cast<char>(b));
  }

  std::array<std::int32_t, std::size_t{1} << kHashBits> head_{};
  std::vector<std::int32_t> prev_;
  std::string_view block_;
  std::string out_;
  std::size_t controlPos_ = 0;
  unsigned bitsUsed_ = 16;
};

// Appends the output of one block to `out`, whose final size may not pass `declared`.
// Returns the number of bytes the block produced.
std::size_t unpackBlock(std::string_view block, std::string& out, std::size_t declared) {
  if (block.empty()) return 0;
  const std::size_t start = out.size();
  // Every write goes through here: it bounds the block and the whole output before growing.
  auto grow = [&](std::size_t n) {
    if (out.size() - start + n > TCompressor::kBlockSize) throw ECompressorError(kErrBlockTooLong);
    if (out.size() + n > declared) throw ECompressorError(kErrSizes);
    const std::size_t at = out.size();
    out.resize(at + n);
    return at;
  };

  if (byteAt(block, 0) == TCompressor::kStoredFlag) {
    const std::size_t at = grow(block.size() - 1);
    std::copy(block.begin() + 1, block.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
    return block.size() - 1;
  }

  std::size_t pos = 1;
  std::uint32_t control = 0;
  unsigned bitsLeft = 0;
  while (pos < block.size()) {
    if (bitsLeft == 0) {
      if (block.size() - pos < 2) throw ECompressorError(kErrBlockCorrupt);
      control = std::uint32_t{byteAt(block, pos)} << 8 | byteAt(block, pos + 1);
      pos += 2;
      bitsLeft = 16;
      if (pos == block.size()) break;  // a control word may close the block with no item after it
    }
    --bitsLeft;
    const bool isCopy = ((control >> bitsLeft) & 1u) != 0;
    if (!isCopy) {
      const std::size_t at = grow(1);
      out[at] = block[pos++];
      continue;
    }
    if (block.size() - pos < 2) throw ECompressorError(kErrBlockCorrupt);
    const std::uint8_t b0 = byteAt(block, pos);
    const std::uint8_t b1 = byteAt(block, pos + 1);
    const std::size_t distance = std::size_t{b0} << 4 | std::size_t{b1} >> 4;
    if (distance == 0) {
      if (block.size() - pos < 4) throw ECompressorError(kErrBlockCorrupt);
      const std::size_t count = (std::size_t{b1} << 8 | byteAt(block, pos + 2)) + TCompressor::kMinRun;
      const char fill = block[pos + 3];
      pos += 4;
      const std::size_t at = grow(count);
      std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(at), count, fill);
      continue;
    }
    pos += 2;
    if (distance > out.size() - start) throw ECompressorError(kErrDistance);
    const std::size_t length = (b1 & 0x0Fu) + TCompressor::kMinCopy;
    const std::size_t at = grow(length);
    // Byte by byte on purpose: a copy longer than its distance repeats what it just wrote.
    for (std::size_t k = 0; k < length; ++k) out[at + k] = out[at + k - distance];
  }
  return out.size() - start;
}

}  // namespace

std::string TCompressor::encode(std::string_view data) {
  if (data.size() > std::numeric_limits<std::uint32_t>::max()) throw ECompressorError(kErrTooLarge);
  std::string out(kTag);
  appendLe32(out, data.size());
  BlockPacker packer;
  std::size_t pos = 0;
  std::size_t chunkSize = 0;
  do {
    chunkSize = std::min(kBlockSize, data.size() - pos);
    const std::string_view chunk = data.substr(pos, chunkSize);
    std::string body = packer.pack(chunk);
    if (body.size() > chunk.size()) {
      body.assign(1, static_cast<char>(kStoredFlag));
      body.append(chunk);
    }
    appendLe16(out, body.size());
    out += body;
    pos += chunkSize;
  } while (chunkSize == kBlockSize);
  return out;
}

std::string TCompressor::decode(std::string_view stream) {
  std::size_t consumed = 0;
  std::string out = decode(stream, consumed);
  if (consumed != stream.size()) throw ECompressorError(kErrTrailing);
  return out;
}

std::string TCompressor::decode(std::string_view input, std::size_t& consumed) {
  if (input.size() < kTag.size()) throw ECompressorError(kErrNoHeader);
  const std::string_view tag = input.substr(0, kTag.size());
  if (tag == kOtherTag) throw ECompressorError(kErrOtherMethod);
  if (tag != kTag) throw ECompressorError(kErrNoHeader);
  if (input.size() < kHeaderSize) throw ECompressorError(kErrTruncated);
  const std::size_t declared = readLe32(input, 4);

  std::string out;
  // The declared length is not trusted for a large allocation before the data backs it.
  out.reserve(std::min(declared, std::size_t{4} * kBlockSize));
  std::size_t pos = kHeaderSize;
  for (;;) {
    if (input.size() - pos < 2) throw ECompressorError(kErrTruncated);
    const std::size_t length = readLe16(input, pos);
    pos += 2;
    if (input.size() - pos < length) throw ECompressorError(kErrTruncated);
    const std::size_t produced = unpackBlock(input.substr(pos, length), out, declared);
    pos += length;
    if (produced < kBlockSize) break;
  }
  if (out.size() != declared) throw ECompressorError(kErrSizes);
  consumed = pos;
  return out;
}

}  // namespace vlr
