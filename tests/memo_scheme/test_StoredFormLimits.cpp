// Tests of the stored-form reader's resource limits: the declared lengths are checked before any
// large allocation, and running out of memory is reported as a damaged form, not thrown.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "SchemeTestUtil.h"
#include "memo/engine/scheme/Compressor.h"
#include "memo/engine/scheme/StoredForm.h"

using namespace vlr;

namespace {

// Allocations above this size fail with std::bad_alloc (the tests lower it for a moment).
std::size_t gFailAbove = static_cast<std::size_t>(-1);

struct AllocationLimit {
  explicit AllocationLimit(std::size_t bytes) { gFailAbove = bytes; }
  ~AllocationLimit() { gFailAbove = static_cast<std::size_t>(-1); }
};

void PutLe16(std::string& s, std::size_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void PutLe32(std::string& s, std::size_t v) {
  PutLe16(s, v & 0xFFFF);
  PutLe16(s, (v >> 16) & 0xFFFF);
}

// A stored form whose data is `blocks` full blocks of zero bytes, each made of run items, so a
// small file declares and really holds a large table block. `outer` is the prefix's length.
std::string RunForm(std::size_t blocks, std::size_t outer) {
  std::string f;
  PutLe16(f, kStoredFormVersion);
  PutLe32(f, outer);
  f += "WRZL";
  PutLe32(f, blocks * TCompressor::kBlockSize);
  for (std::size_t b = 0; b < blocks; ++b) {
    // 8 runs of 4096 bytes: one control word (8 copy bits), then 8 run items of 4 bytes.
    std::string body;
    body += static_cast<char>(TCompressor::kPackedFlag);
    body += static_cast<char>(0xFF);
    body += static_cast<char>(0x00);
    for (int i = 0; i < 8; ++i) {
      const std::size_t c = 4096 - TCompressor::kMinRun;
      body += '\0';
      body += static_cast<char>(c >> 8);
      body += static_cast<char>(c & 0xFF);
      body += '\0';
    }
    PutLe16(f, body.size());
    f += body;
  }
  PutLe16(f, 0);  // the block after the last full one
  return f;
}

}  // namespace

void* operator new(std::size_t n) {
  if (n > gFailAbove) throw std::bad_alloc();
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

TEST(StoredFormLimits, HugeDeclaredTablesAreRefusedBeforeDecoding) {
  // 48 MB of tables from a file of a few kilobytes: refused from the lengths alone.
  const std::size_t blocks = 48 * 32;
  const std::string form = RunForm(blocks, blocks * TCompressor::kBlockSize);
  ASSERT_LT(form.size(), 100000U);
  AllocationLimit limit(20u << 20);  // nothing of the declared size may be allocated
  const TStoredFormResult r = ReadStoredForm(form, "p");
  EXPECT_FALSE(r.Ok());
  EXPECT_EQ(r.message, "Stored scheme is damaged: its tables would be 50331648 bytes long (at most 16777216)");
}

TEST(StoredFormLimits, InnerLengthMustMatchTheOuterOne) {
  // The outer length says 1000 bytes, the compressed data 2 MB: decoding stops at the outer one.
  const std::string form = RunForm(64, 1000);
  AllocationLimit limit(64u << 10);
  const TStoredFormResult r = ReadStoredForm(form, "p");
  EXPECT_FALSE(r.Ok());
  EXPECT_EQ(r.message, "Stored scheme is corrupt: the data length does not match");
}

TEST(StoredFormLimits, OutOfMemoryIsADamagedForm) {
  TSchemeTables t = test::Compile("%%map 1 1");
  t.settings.exampleText.assign(3u << 20, 'x');
  const std::string form = WriteStoredForm(t);
  {
    AllocationLimit limit(1u << 20);
    const TStoredFormResult r = ReadStoredForm(form, "p");
    EXPECT_FALSE(r.Ok());
    EXPECT_EQ(r.message, "Stored scheme is damaged: not enough memory to read it");
  }
  EXPECT_TRUE(ReadStoredForm(form, "p").Ok());
}
