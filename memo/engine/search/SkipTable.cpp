// The plain search pattern: probe-byte filter forwards, Horspool skips backwards.
#include "memo/engine/search/SkipTable.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velora::memo {

namespace {
bool isLetter(unsigned char c) noexcept { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
unsigned char lowerOf(unsigned char c) noexcept { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

// How often a byte shows in markup and prose; rarer probes confirm fewer candidates.
int commonness(unsigned char c) noexcept {
  switch (lowerOf(c)) {
    case ' ': case 'e': case 't': case 'a': case 'o': case 'i': case 'n': case 's': case 'r': return 3;
    case '<': case '>': case '"': case '=': case '/': case '\r': case 'l': case 'd': case 'h': case 'c': return 2;
    default: return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ? 1 : 0;
  }
}
}  // namespace

void TSkipTable::assign(std::string_view pattern, bool matchCase) {
  if (sameAs(pattern, matchCase)) return;
  built_ = true;
  raw_.assign(pattern);
  matchCase_ = matchCase;
  for (int c = 0; c < 256; ++c) fold_[std::size_t(c)] = matchCase ? (unsigned char)c : lowerOf((unsigned char)c);
  pat_.resize(raw_.size());
  present_.fill(0);
  for (std::size_t i = 0; i < raw_.size(); ++i) {
    const unsigned char c = fold_[(unsigned char)raw_[i]];
    pat_[i] = char(c);
    present_[c >> 6] |= 1ull << (c & 63);
    if (!matchCase && isLetter(c)) {
      const unsigned char u = c - 32;
      present_[u >> 6] |= 1ull << (u & 63);
    }
  }
  const std::size_t n = pat_.size();
  // Backwards: the distance from the start of the pattern to the nearest occurrence of a byte
  // after the first position.
  back_.fill(std::uint32_t(n ? n : 1));
  for (std::size_t i = n; i-- > 1;) back_[(unsigned char)pat_[i]] = std::uint32_t(i);
  if (!matchCase)
    for (int c = 'A'; c <= 'Z'; ++c) back_[std::size_t(c)] = back_[std::size_t(c + 32)];
  // Forwards: the last byte and the rarest other byte are the probes.
  off2_ = n ? n - 1 : 0;
  off1_ = 0;
  for (std::size_t i = 0; i + 1 < n; ++i)
    if (commonness((unsigned char)pat_[i]) < commonness((unsigned char)pat_[off1_])) off1_ = i;
  auto probe = [&](std::size_t off, unsigned char& val, unsigned char& mask) {
    const unsigned char c = n ? (unsigned char)pat_[off] : 0;
    const bool folds = !matchCase && isLetter(c);
    mask = folds ? 0x20 : 0;
    val = c;  // already lower case when folding
  };
  probe(off1_, val1_, or1_);
  probe(off2_, val2_, or2_);
}

bool TSkipTable::equalAt(const char* p) const noexcept {
  const std::size_t n = pat_.size();
  if (matchCase_) return std::memcmp(p, pat_.data(), n) == 0;
  for (std::size_t i = 0; i < n; ++i)
    if (fold_[(unsigned char)p[i]] != (unsigned char)pat_[i]) return false;
  return true;
}

const char* TSkipTable::scalarFind(const char* begin, const char* end) const noexcept {
  const std::size_t n = pat_.size();
  for (const char* p = begin; p + n <= end; ++p) {
    if ((((unsigned char)p[off1_]) | or1_) != val1_ || (((unsigned char)p[off2_]) | or2_) != val2_) continue;
    if (equalAt(p)) return p;
  }
  return nullptr;
}

const char* TSkipTable::findIn(const char* begin, const char* end) const noexcept {
  const std::size_t n = pat_.size();
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
  const std::size_t n = pat_.size();
  if (n == 0 || end - begin < std::ptrdiff_t(n)) return nullptr;
  const unsigned char first = (unsigned char)pat_[0];
  for (const char* p = end - n;;) {
    const unsigned char c = fold_[(unsigned char)*p];
    if (c == first && equalAt(p)) return p;
    const std::size_t skip = back_[(unsigned char)*p];
    if (p - begin < std::ptrdiff_t(skip)) return nullptr;
    p -= skip;
  }
}

}  // namespace velora::memo
