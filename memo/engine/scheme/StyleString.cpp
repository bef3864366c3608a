// Writing and reading the registry forms of a language's settings.
#include "memo/engine/scheme/StyleString.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>

#include "memo/engine/Types.h"
#include "memo/engine/keys/TabStops.h"
#include "memo/engine/scheme/StoredFormIO.h"

namespace vlr {

using velora::memo::ESyntaxMemo;

namespace {

constexpr std::array<std::string_view, 13> kKeys{"OPT", "GWD", "GCL", "WRC", "IDS", "WRO", "FON",
                                                 "FOS", "STC", "STB", "TBC", "TBD", "EFF"};
constexpr std::string_view kEnd = "#END#";
// A length has at most this many digits (a value longer than 999999999 bytes is not kept).
constexpr std::size_t kMaxLengthDigits = 9;
// Bounds the splits tried for ambiguous lengths, so hostile text cannot make reading slow.
constexpr int kMaxAttempts = 4096;

std::string Color(const TSchemeColor& c) { return c.useDefault ? "-1" : std::to_string(c.color); }

std::string Effects(const std::array<TSchemeEffect, 256>& effects) {
  std::string items;
  std::size_t count = 0;
  for (std::size_t i = 0; i < effects.size() && count < kMaxStyleStringEffects; ++i) {
    const TSchemeEffect& e = effects[i];
    if (!e.present) continue;
    ++count;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%d,%d,%d,", int(i), int(e.foreground), int(e.background));
    items += buf;
    if (e.defaultForeground) items += 'X';
    if (e.defaultBackground) items += 'Y';
    if (e.fontStyle & 1u) items += 'B';
    if (e.fontStyle & 2u) items += 'I';
    if (e.fontStyle & 4u) items += 'U';
    items += ';';
  }
  return std::to_string(count) + items;
}

// A whole decimal number (optional minus sign) within [lo, hi].
bool Number(std::string_view v, long long lo, long long hi, long long& out) {
  if (v.empty() || v.size() > 20) return false;
  const char* end = v.data() + v.size();
  const auto [p, ec] = std::from_chars(v.data(), end, out);
  return ec == std::errc() && p == end && out >= lo && out <= hi;
}

bool Int(std::string_view v, long long lo, long long hi, int& out) {
  long long n = 0;
  if (!Number(v, lo, hi, n)) return false;
  out = int(n);
  return true;
}

bool ColorValue(std::string_view v, TSchemeColor& c) {
  long long n = 0;
  if (!Number(v, -1, std::numeric_limits<std::uint32_t>::max(), n)) return false;
  c.useDefault = n == -1;
  if (n != -1) c.color = std::uint32_t(n);
  return true;
}

// The EFF value: the count, then exactly that many entries.
bool EffectsValue(std::string_view v, std::array<TSchemeEffect, 256>& effects) {
  std::size_t entries = 0;
  for (char ch : v) entries += ch == ';';
  const std::string count = std::to_string(entries);
  if (entries > kMaxStyleStringEffects || v.substr(0, count.size()) != count) return false;
  std::array<TSchemeEffect, 256> out = effects;
  for (TSchemeEffect& e : out) e.present = false;
  std::array<bool, 256> seen{};
  std::string_view rest = v.substr(count.size());
  while (!rest.empty()) {
    const std::size_t semi = rest.find(';');
    std::string_view entry = rest.substr(0, semi);
    rest.remove_prefix(semi + 1);
    long long fields[3] = {0, 0, 0};
    // Colours are written with %d: those above 0x7FFFFFFF come back negative.
    constexpr long long kLow = std::numeric_limits<std::int32_t>::min();
    constexpr long long kHigh = std::numeric_limits<std::uint32_t>::max();
    const long long bounds[3][2] = {{0, 255}, {kLow, kHigh}, {kLow, kHigh}};
    for (int f = 0; f < 3; ++f) {
      const std::size_t comma = entry.find(',');
      if (comma == std::string_view::npos || !Number(entry.substr(0, comma), bounds[f][0], bounds[f][1], fields[f]))
        return false;
      entry.remove_prefix(comma + 1);
    }
    const auto index = std::size_t(fields[0]);
    if (seen[index]) return false;
    seen[index] = true;
    TSchemeEffect& e = out[index];
    e.present = true;
    e.foreground = std::uint32_t(fields[1]);
    e.background = std::uint32_t(fields[2]);
    e.defaultForeground = e.defaultBackground = false;
    e.fontStyle = std::uint8_t(e.fontStyle & ~7u);
    for (char flag : entry) {
      switch (flag) {
        case 'X': e.defaultForeground = true; break;
        case 'Y': e.defaultBackground = true; break;
        case 'B': e.fontStyle |= 1u; break;
        case 'I': e.fontStyle |= 2u; break;
        case 'U': e.fontStyle |= 4u; break;
        default: return false;
      }
    }
  }
  effects = out;
  return true;
}

// Takes item `i`'s value into `t`; false when the value is not valid for the item.
bool TakeValue(std::size_t i, std::string_view v, TSchemeTables& t) {
  TSchemeSettings& s = t.settings;
  constexpr long long kInt = std::numeric_limits<std::int32_t>::max();
  switch (i) {
    case 0: {
      long long n = 0;
      if (!Number(v, 0, std::numeric_limits<std::uint32_t>::max(), n)) return false;
      s.options = std::uint32_t(n);
      return true;
    }
    case 1: return Int(v, 0, kInt, s.gutterWidth);
    case 2: return ColorValue(v, s.gutterColor);
    case 3: return Int(v, 0, kInt, s.wordWrapColumn);
    case 4: return Int(v, 0, kInt, s.indentStep);
    case 5: s.wrapOverride = std::string(v); return true;
    case 6: s.fontName = std::string(v); return true;
    case 7: return Int(v, 1, kInt, s.fontSize);
    case 8: return ColorValue(v, s.selTextColor);
    case 9: return ColorValue(v, s.selTextBack);
    case 10:
      try {
        s.tabStops = ParseTabStops(v);
      } catch (const ESyntaxMemo&) {
        return false;
      }
      s.tabColumns = std::string(v);
      return true;
    case 11: return Int(v, 1, kInt, s.tabDefault);
    default: return EffectsValue(v, t.effects);
  }
}

// Reads items i.. from `at`. A length is written without a separator before its value, so a
// run of digits may split more than one way; each split that leaves the next item's key right
// after its value is tried, and the one with which the whole rest reads is taken.
bool ReadItems(std::string_view text, std::size_t at, std::size_t i, TSchemeTables& t, int& attempts) {
  if (++attempts > kMaxAttempts) return false;
  if (i == kKeys.size()) return text.substr(at) == kEnd;
  const std::string head = "#" + std::string(kKeys[i]) + "#";
  if (text.substr(at, head.size()) != head) return false;
  at += head.size();
  std::size_t digits = 0;
  while (at + digits < text.size() && digits < kMaxLengthDigits && text[at + digits] >= '0' &&
         text[at + digits] <= '9')
    ++digits;
  const std::string next = i + 1 == kKeys.size() ? std::string(kEnd) : "#" + std::string(kKeys[i + 1]) + "#";
  std::size_t length = 0;
  for (std::size_t k = 1; k <= digits; ++k) {
    length = length * 10 + std::size_t(text[at + k - 1] - '0');
    const std::size_t from = at + k;
    if (length > text.size() - from) break;
    if (text.substr(from + length, next.size()) != next) continue;
    if (!TakeValue(i, text.substr(from, length), t)) continue;
    if (ReadItems(text, from + length, i + 1, t, attempts)) return true;
  }
  return false;
}

}  // namespace

std::string WriteStyleString(const TSchemeTables& tables) {
  const TSchemeSettings& s = tables.settings;
  const std::array<std::string, 13> values{std::to_string(s.options),
                                           std::to_string(s.gutterWidth),
                                           Color(s.gutterColor),
                                           std::to_string(s.wordWrapColumn),
                                           std::to_string(s.indentStep),
                                           s.wrapOverride,
                                           s.fontName,
                                           std::to_string(s.fontSize),
                                           Color(s.selTextColor),
                                           Color(s.selTextBack),
                                           s.tabColumns,
                                           std::to_string(s.tabDefault),
                                           Effects(tables.effects)};
  std::string out(kRegistryMarker);
  for (std::size_t i = 0; i < kKeys.size(); ++i) {
    out += '#';
    out += kKeys[i];
    out += '#';
    out += std::to_string(values[i].size());
    out += values[i];
  }
  out += kEnd;
  return out;
}

void ReadStyleString(std::string_view text, TSchemeTables& tables) {
  if (text.substr(0, kRegistryMarker.size()) != kRegistryMarker) throw ESyntaxMemo(kInvalidStyleString);
  TSchemeTables read;
  read.settings = tables.settings;
  read.effects = tables.effects;
  int attempts = 0;
  if (!ReadItems(text, kRegistryMarker.size(), 0, read, attempts)) throw ESyntaxMemo(kInvalidStyleString);
  tables.settings = std::move(read.settings);
  tables.effects = read.effects;
}

std::string WriteKeyAssignments(const TKeyTable& keys) {
  TByteWriter w;
  WriteKeyTable(w, keys);
  return std::string(kRegistryMarker) + w.Take();
}

TKeyTable ReadKeyAssignments(std::string_view raw) {
  if (raw.substr(0, kRegistryMarker.size()) != kRegistryMarker) throw ESyntaxMemo(kInvalidRegistryEntry);
  try {
    TByteReader r(raw.substr(kRegistryMarker.size()));
    TKeyTable keys = ReadKeyTable(r);
    if (r.Remaining() != 0) throw ESyntaxMemo(kInvalidRegistryEntry);
    return keys;
  } catch (const EStoredFormError&) {
    throw ESyntaxMemo(kInvalidRegistryEntry);
  }
}

}  // namespace vlr
