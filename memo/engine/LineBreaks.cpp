// Line-break normalisation of text entering the store.
#include "memo/engine/LineBreaks.h"

#include <cstring>

namespace velora::memo {

namespace {
inline bool isBreak(char c) noexcept { return c == '\r' || c == '\n'; }
inline char partner(char c) noexcept { return c == '\r' ? '\n' : '\r'; }
}  // namespace

std::string normaliseBreaks(std::string_view in) {
  std::string out;
  BreakNormaliser n;
  n.feed(in, true, out);
  return out;
}

std::size_t normalisedLength(std::string_view in) noexcept {
  std::size_t len = 0;
  for (std::size_t i = 0; i < in.size(); ++i) {
    ++len;
    if (isBreak(in[i]) && i + 1 < in.size() && in[i + 1] == partner(in[i])) ++i;
  }
  return len;
}

BreakStyle detectBreakStyle(std::string_view in) noexcept {
  for (std::size_t i = 0; i < in.size(); ++i) {
    const char c = in[i];
    if (!isBreak(c)) continue;
    const bool pair = i + 1 < in.size() && in[i + 1] == partner(c);
    if (c == '\r') return pair ? BreakStyle::CRLF : BreakStyle::CR;
    return pair ? BreakStyle::LFCR : BreakStyle::LF;
  }
  return BreakStyle::LF;
}

std::string exportBreaks(std::string_view stored, BreakStyle style) {
  const char* br = "\n";
  switch (style) {
    case BreakStyle::LF: br = "\n"; break;
    case BreakStyle::CRLF: br = "\r\n"; break;
    case BreakStyle::CR: br = "\r"; break;
    case BreakStyle::LFCR: br = "\n\r"; break;
  }
  std::string out;
  out.reserve(stored.size() + stored.size() / 32);
  for (char c : stored) {
    if (c == '\r') out += br;
    else out.push_back(c);
  }
  return out;
}

void BreakNormaliser::feed(std::string_view chunk, bool final, std::string& out) {
  std::size_t i = 0;
  if (held_) {
    if (chunk.empty()) {
      if (final) { out.push_back('\r'); held_ = 0; }
      return;
    }
    out.push_back('\r');
    if (chunk[0] == partner(held_)) i = 1;
    held_ = 0;
  }
  out.reserve(out.size() + chunk.size() - i);
  while (i < chunk.size()) {
    // Copy the run up to the next break byte in one go.
    std::size_t j = i;
    while (j < chunk.size() && !isBreak(chunk[j])) ++j;
    out.append(chunk.data() + i, j - i);
    if (j == chunk.size()) break;
    const char c = chunk[j];
    if (j + 1 == chunk.size()) {
      if (final) out.push_back('\r');
      else held_ = c;
      break;
    }
    out.push_back('\r');
    i = (chunk[j + 1] == partner(c)) ? j + 2 : j + 1;
  }
}

}  // namespace velora::memo
