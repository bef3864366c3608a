// Tests of the block compressor: hand-built streams, round trips, and refusal of bad streams.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "memo/engine/scheme/Compressor.h"

using vlr::ECompressorError;
using vlr::TCompressor;

namespace {

constexpr const char* kSizesText = "Compressor (LZH decompression) : Original and compressed sizes do not match !";
constexpr const char* kHeaderText = "Compressor decompression : input stream contains no valid header !";

std::string le16(std::size_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string le32(std::size_t v) { return le16(v & 0xFFFF) + le16(v >> 16); }

// A stream built by hand from its parts: header and blocks with their 16-bit lengths.
std::string stream(std::size_t declared, const std::vector<std::string>& blocks) {
  std::string s = "WRZL" + le32(declared);
  for (const auto& b : blocks) s += le16(b.size()) + b;
  return s;
}

std::string bytes(std::initializer_list<int> v) {
  std::string s;
  for (int b : v) s.push_back(static_cast<char>(b));
  return s;
}

std::string randomBytes(std::size_t n, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (auto& c : s) c = static_cast<char>(rng());
  return s;
}

std::string text(std::size_t n) {
  static const char* words[] = {"<div class=\"main\">", "the ", "quick ", "brown ", "fox ", "</div>\r", "&amp; "};
  std::mt19937 rng(7);
  std::string s;
  while (s.size() < n) s += words[rng() % 7];
  s.resize(n);
  return s;
}

// The text of the ECompressorError that decoding `s` raises ("" when it decodes).
std::string decodeError(std::string_view s) {
  try {
    (void)TCompressor::decode(s);
  } catch (const ECompressorError& e) {
    return e.what();
  }
  return "";
}

// Block bodies in order, read through their length fields.
std::vector<std::string> blocksOf(const std::string& s) {
  std::vector<std::string> out;
  for (std::size_t pos = TCompressor::kHeaderSize; pos + 2 <= s.size();) {
    const std::size_t n = std::uint8_t(s[pos]) | std::size_t{std::uint8_t(s[pos + 1])} << 8;
    out.push_back(s.substr(pos + 2, n));
    pos += 2 + n;
  }
  return out;
}

}  // namespace

TEST(Compressor, DecodesHandBuiltPackedBlock) {
  // Control 0x1800: three literals, an overlapping copy (distance 3, length 8), a run, a literal.
  // The run's count uses the low nibble of its second byte: 0x01 0x1C -> 284 + 16 = 300.
  const std::string body = bytes({0x40, 0x18, 0x00, 'a', 'b', 'c', 0x00, 0x35, 0x00, 0x01, 0x1C, 'x', 'z'});
  const std::string expected = "abcabcabcab" + std::string(300, 'x') + "z";
  EXPECT_EQ(TCompressor::decode(stream(expected.size(), {body})), expected);
}

TEST(Compressor, SecondControlWordComesBeforeSeventeenthItem) {
  std::string body = bytes({0x40, 0x00, 0x00}) + "0123456789ABCDEF" + bytes({0x40, 0x00}) + "G" + bytes({0x01, 0x10});
  EXPECT_EQ(TCompressor::decode(stream(20, {body})), "0123456789ABCDEFG012");
}

TEST(Compressor, DecodesStoredBlocksAndContinuesAfterFullBlock) {
  const std::string full(TCompressor::kBlockSize, 'q');
  const std::string s = stream(full.size() + 2, {"\x80" + full, "\x80xy"});
  EXPECT_EQ(TCompressor::decode(s), full + "xy");
  // After a block of exactly 32768 bytes another block must follow.
  EXPECT_NE(decodeError(stream(full.size(), {"\x80" + full})), "");
  EXPECT_EQ(TCompressor::decode(stream(full.size(), {"\x80" + full, "\x80"})), full);
}

TEST(Compressor, RoundTripsAtBlockBoundariesAndOnText) {
  for (std::size_t n : {0u, 1u, 2u, 17u, 32767u, 32768u, 32769u, 65536u, 100000u}) {
    const std::string data = text(n);
    const std::string packed = TCompressor::encode(data);
    EXPECT_EQ(TCompressor::decode(packed), data) << n;
    EXPECT_EQ(blocksOf(packed).size(), n / TCompressor::kBlockSize + 1) << n;
  }
  const std::string data = text(100000);
  const std::string packed = TCompressor::encode(data);
  EXPECT_LT(packed.size(), data.size() / 3);
  EXPECT_EQ(std::uint8_t(blocksOf(packed)[0][0]), TCompressor::kPackedFlag);
}

TEST(Compressor, LongRunsUseRunItems) {
  const std::string data = std::string(100000, '\0') + "mid" + std::string(5000, '\xFF') + std::string(16, 'r');
  const std::string packed = TCompressor::encode(data);
  EXPECT_EQ(TCompressor::decode(packed), data);
  EXPECT_LT(packed.size(), 160u);
}

TEST(Compressor, IncompressibleDataIsStored) {
  const std::string data = randomBytes(70000, 1);
  const std::string packed = TCompressor::encode(data);
  EXPECT_EQ(TCompressor::decode(packed), data);
  const auto blocks = blocksOf(packed);
  ASSERT_EQ(blocks.size(), 3u);
  for (const auto& b : blocks) EXPECT_EQ(std::uint8_t(b[0]), TCompressor::kStoredFlag);
  EXPECT_EQ(packed.size(), TCompressor::kHeaderSize + 3 * 3 + data.size());
}

TEST(Compressor, RepeatsAtTheDistanceLimit) {
  for (std::size_t period : {4094u, 4095u, 4096u}) {
    const std::string unit = randomBytes(period, 2);
    const std::string data = unit + unit + unit.substr(0, 1000);
    const std::string packed = TCompressor::encode(data);
    EXPECT_EQ(TCompressor::decode(packed), data) << period;
    // Repeats within 4095 bytes are found; one byte further they are out of reach.
    if (period <= TCompressor::kMaxDistance)
      EXPECT_LT(packed.size(), period + 1500) << period;
    else
      EXPECT_GT(packed.size(), data.size()) << period;
  }
}

TEST(Compressor, OverlappingCopiesOfShortPeriods) {
  std::string data;
  for (int period = 1; period <= 20; ++period)
    for (int i = 0; i < 200; ++i) data.push_back(static_cast<char>('a' + (i % period)));
  EXPECT_EQ(TCompressor::decode(TCompressor::encode(data)), data);
}

TEST(Compressor, RefusesBadHeadersAndOtherMethod) {
  EXPECT_EQ(decodeError(""), kHeaderText);
  EXPECT_EQ(decodeError("WRZ"), kHeaderText);
  EXPECT_EQ(decodeError("wrzl" + le32(0) + le16(1) + "\x80"), kHeaderText);
  const std::string other = decodeError("!HZL" + le32(0) + le16(1) + "\x80");
  EXPECT_EQ(other.rfind("Compressor", 0), 0u);
  EXPECT_NE(other.find("!HZL"), std::string::npos);
}

TEST(Compressor, RefusesSizeMismatch) {
  const std::string packed = TCompressor::encode(text(40000));
  for (std::size_t declared : {0u, 39999u, 40001u, 1000000u}) {
    std::string s = packed;
    s.replace(4, 4, le32(declared));
    EXPECT_EQ(decodeError(s), kSizesText) << declared;
  }
}

TEST(Compressor, RefusesCorruptBlocks) {
  const std::string corrupt = "Compressor decompression : block data is corrupt !";
  auto one = [](std::size_t declared, const std::string& body) { return decodeError(stream(declared, {body})); };
  EXPECT_EQ(one(4, bytes({0x40, 0x40, 0x00, 'a', 0x00})), corrupt);              // copy cut by block end
  EXPECT_EQ(one(20, bytes({0x40, 0x80, 0x00, 0x00, 0x00, 0x04})), corrupt);      // run cut by block end
  EXPECT_EQ(one(1, bytes({0x40, 0x00})), corrupt);                               // half a control word
  // Distance 2 with one byte written, and a copy reaching into the previous block.
  const std::string before = "Compressor decompression : copy reaches before the start of its block !";
  EXPECT_EQ(one(4, bytes({0x40, 0x40, 0x00, 'a', 0x00, 0x20})), before);
  const std::string full(TCompressor::kBlockSize, 'q');
  EXPECT_EQ(decodeError(stream(full.size() + 4, {"\x80" + full, bytes({0x40, 0x80, 0x00, 0x00, 0x11})})), before);
  // Nine runs of 4111 bytes overfill a block.
  std::string runs = bytes({0x40, 0xFF, 0x80});
  for (int i = 0; i < 9; ++i) runs += bytes({0x00, 0x0F, 0xFF, 'r'});
  EXPECT_EQ(one(40000, runs), "Compressor decompression : block expands beyond 32768 bytes !");
  EXPECT_EQ(decodeError(stream(40000, {"\x80" + full + "q"})), "Compressor decompression : block expands beyond 32768 bytes !");
  // The full stream with extra bytes after it: refused whole, accepted as a prefix.
  const std::string packed = TCompressor::encode("hello");
  EXPECT_EQ(decodeError(packed + "tail"), "Compressor decompression : data follows the end of the stream !");
  std::size_t consumed = 0;
  EXPECT_EQ(TCompressor::decode(packed + "tail", consumed), "hello");
  EXPECT_EQ(consumed, packed.size());
}

TEST(Compressor, EveryTruncationIsRefused) {
  for (const std::string& data : {std::string(), text(300), text(TCompressor::kBlockSize + 300)}) {
    const std::string packed = TCompressor::encode(data);
    for (std::size_t cut = 0; cut < packed.size(); ++cut) {
      const std::string error = decodeError(packed.substr(0, cut));
      EXPECT_EQ(error.rfind("Compressor", 0), 0u) << data.size() << " cut at " << cut;
    }
  }
}

TEST(Compressor, RandomGarbageDecodesOrIsRefused) {
  std::mt19937 rng(12345);
  const std::string valid = TCompressor::encode(text(3000) + std::string(100, ' '));
  int decoded = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string s;
    if (round % 2 == 0) {
      // Valid header, random length and body.
      s = "WRZL" + le32(rng() % 5000) + le16(rng() % 64) + randomBytes(rng() % 64, rng());
      if (s.size() > 10 && rng() % 2) s[10] = static_cast<char>(rng() % 2 ? 0x40 : 0x80);
    } else {
      s = valid;
      for (int k = 1 + static_cast<int>(rng() % 4); k > 0; --k) s[rng() % s.size()] = static_cast<char>(rng());
    }
    try {
      const std::string out = TCompressor::decode(s);
      EXPECT_EQ(out.size(), std::uint8_t(s[4]) | std::size_t{std::uint8_t(s[5])} << 8 |
                                std::size_t{std::uint8_t(s[6])} << 16 | std::size_t{std::uint8_t(s[7])} << 24);
      ++decoded;
    } catch (const ECompressorError& e) {
      ASSERT_EQ(std::string(e.what()).rfind("Compressor", 0), 0u);
    }
  }
  EXPECT_GT(decoded, 0);
}
