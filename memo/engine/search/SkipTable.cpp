// The plain search pattern: probe-byte filter forwards, Horspool skips backwards, both over
// the probe run under its masks.
#include "memo/engine/search/SkipTable.h"

#include "memo/engine/search/CaseFold.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velora::memo {

namespace {
unsigned char lowerOf(unsigned char c) noexcept { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

// How often a byte shows in markup and prose; rarer probes confirm fewer candidates. A lead
// byte is shared by a whole script; a wider mask lets more bytes through.
int commonness(unsigned char c, unsigned char mask) noexcept {
  const int wide = (mask & (mask - 1)) ? 1 : 0;
  if (c >= 0xC0) return 2 + wide;
  if (c >= 0x80) return 1 + wide;
  switch (lowerOf(c)) {
    case ' ': case 'e': case 't': case 'a': case 'o': case 'i': case 'n': case 's': case 'r': return 3;
    case '<': case '>': case '"': case '=': case '/': case '\r': case 'l': case 'd': case 'h': case 'c': return 2;
    default: return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ? 1 : 0;
  }
}

void setBit(std::array<std::uint64_t, 4>& bits, unsigned char c) noexcept { bits[c >> 6] |= 1ull << (c & 63); }

// One folded pattern character: its bytes, the bits in which its case forms differ, whether
// they all have its length and whether the masks pick out exactly its case forms.
struct PatternChar {
  std::string bytes;
  std::string mask;
  bool uniform = true;
  bool exact = true;
  std::vector<char32_t> forms;
};

PatternChar describe(char32_t f) {
  PatternChar pc;
  appendSearchChar(pc.bytes, f);
  pc.mask.assign(pc.bytes.size(), '\0');
  pc.forms.push_back(f);
  if (f < kRawByte)
    for (char32_t v : caseVariants(f)) pc.forms.push_back(v);
  pc.exact = f < 0x80;
  for (std::size_t k = 1; k < pc.forms.size(); ++k) {
    std::string b;
    appendSearchChar(b, pc.forms[k]);
    if (pc.forms[k] >= 0x80) pc.exact = false;
    if (b.size() != pc.bytes.size()) {
      pc.uniform = false;
      continue;
    }
    for (std::size_t i = 0; i < b.size(); ++i) pc.mask[i] = char(pc.mask[i] | (b[i] ^ pc.bytes[i]));
  }
  return pc;
}
}  // namespace

void TSkipTable::assign(std::string_view pattern, bool matchCase) {
  if (sameAs(pattern, matchCase)) return;
  built_ = true;
  raw_.assign(pattern);
  matchCase_ = matchCase;
  pat_.clear();
  chars_.clear();
  val_.clear();
  mask_.clear();
  present_.fill(0);
  starts_.fill(0);
  exact_ = true;
  runFirst_ = runChars_ = 0;
  if (matchCase) {
    pat_ = raw_;
    val_ = raw_;
    mask_.assign(raw_.size(), 0);
  } else {
    std::vector<PatternChar> pcs;
    for (std::size_t i = 0; i < raw_.size();) {
      int n = 1;
      const char32_t f = foldCase(searchCharAt(raw_, i, n));
      i += std::size_t(n);
      chars_.push_back(f);
      pcs.push_back(describe(f));
      pat_ += pcs.back().bytes;
      exact_ = exact_ && pcs.back().exact && pcs.back().uniform;
    }
    // The longest stretch (in bytes) of characters of one length.
    std::size_t best = 0;
    for (std::size_t i = 0; i < pcs.size();) {
      if (!pcs[i].uniform) {
        ++i;
        continue;
      }
      std::size_t j = i, bytes = 0;
      for (; j < pcs.size() && pcs[j].uniform; ++j) bytes += pcs[j].bytes.size();
      if (bytes > best) {
        best = bytes;
        runFirst_ = i;
        runChars_ = j - i;
      }
      i = j;
    }
    for (std::size_t k = runFirst_; k < runFirst_ + runChars_; ++k)
      for (std::size_t i = 0; i < pcs[k].bytes.size(); ++i) {
        val_ += char(pcs[k].bytes[i] | pcs[k].mask[i]);
        mask_.push_back((unsigned char)pcs[k].mask[i]);
      }
    if (!pcs.empty() && runChars_ == 0)
      for (char32_t v : pcs[0].forms) {
        std::string b;
        appendSearchChar(b, v);
        setBit(starts_, (unsigned char)b[0]);
      }
  }
  const std::size_t n = val_.size();
  for (std::size_t i = 0; i < n; ++i)
    for (int c = 0; c < 256; ++c)
      if (runByte(i, (unsigned char)c)) setBit(present_, (unsigned char)c);
  // Backwards: the distance from the start of the run to the nearest place after it that can
  // hold a byte.
  back_.fill(std::uint32_t(n ? n : 1));
  for (std::size_t i = n; i-- > 1;) {
    if (!mask_[i]) {
      back_[(unsigned char)val_[i]] = std::uint32_t(i);
      continue;
    }
    for (int c = 0; c < 256; ++c)
      if (runByte(i, (unsigned char)c)) back_[std::size_t(c)] = std::uint32_t(i);
  }
  // Forwards: the last byte and the rarest other byte are the probes.
  off2_ = n ? n - 1 : 0;
  off1_ = 0;
  for (std::size_t i = 0; i + 1 < n; ++i)
    if (commonness((unsigned char)val_[i], mask_[i]) < commonness((unsigned char)val_[off1_], mask_[off1_])) off1_ = i;
  val1_ = n ? (unsigned char)val_[off1_] : 0;
  or1_ = n ? mask_[off1_] : 0;
  val2_ = n ? (unsigned char)val_[off2_] : 0;
  or2_ = n ? mask_[off2_] : 0;
}

bool TSkipTable::equalAt(const char* p) const noexcept {
  const std::size_t n = val_.size();
  if (matchCase_) return std::memcmp(p, val_.data(), n) == 0;
  for (std::size_t i = 0; i < n; ++i)
    if (((unsigned char)p[i] | mask_[i]) != (unsigned char)val_[i]) return false;
  return true;
}

const char* TSkipTable::scalarFind(const char* begin, const char* end) const noexcept {
  const std::size_t n = val_.size();
  for (const char* p = begin; p + n <= end; ++p) {
    if ((((unsigned char)p[off1_]) | or1_) != val1_ || (((unsigned char)p[off2_]) | or2_) != val2_) continue;
    if (equalAt(p)) return p;
  }
  return nullptr;
}

const char* TSkipTable::findIn(const char* begin, const char* end) const noexcept {
  const std::size_t n = val_.size();
  if (n == 0 || end - begin < std::ptrdiff_t(n)) return nullptr;
#if defined(__SSE2__)
  if (n == 1 && or1_ == 0) {
    const void* hit = std::memchr(begin, val1_, std::size_t(end - begin));
    return static_cast<const char*>(hit);
  }
  const __m128i v1 = _mm_set1_epi8(char(val1_)), v2 = _mm_set1_epi8(char(val2_));
  const __m128i m1 = _mm_set1_epi8(char(or1_)), m2 = _mm_set1_epi8(char(or2_));
  auto candidates = [&](const char* q) {
    const __m128i a = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(q + off1_)), m1);
    const __m128i b = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(q + off2_)), m2);
    return unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, v1), _mm_cmpeq_epi8(b, v2))));
  };
  const char* p = begin;
  // 16 candidate starts per step; every probe read stays inside [begin, end).
  for (; p + 15 + n <= end; p += 16) {
    for (unsigned mask = candidates(p); mask; mask &= mask - 1) {
      const int i = __builtin_ctz(mask);
      if (equalAt(p + i)) return p + i;
    }
  }
  if (p + n > end) return nullptr;
  if (end - begin < std::ptrdiff_t(15 + n)) return scalarFind(p, end);
  // The last starts: one more step ending at the range's end, without the starts already seen.
  const char* q = end - 15 - std::ptrdiff_t(n);
  for (unsigned mask = candidates(q) & ~((1u << (p - q)) - 1u); mask; mask &= mask - 1) {
    const int i = __builtin_ctz(mask);
    if (equalAt(q + i)) return q + i;
  }
  return nullptr;
#else
  return scalarFind(begin, end);
#endif
}

const char* TSkipTable::findLastIn(const char* begin, const char* end) const noexcept {
  const std::size_t n = val_.size();
  if (n == 0 || end - begin < std::ptrdiff_t(n)) return nullptr;
  for (const char* p = end - n;;) {
    if (runByte(0, (unsigned char)*p) && equalAt(p)) return p;
    const std::size_t skip = back_[(unsigned char)*p];
    if (p - begin < std::ptrdiff_t(skip)) return nullptr;
    p -= skip;
  }
}

}  // namespace velora::memo
