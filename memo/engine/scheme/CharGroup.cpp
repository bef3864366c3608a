#include "memo/engine/scheme/CharGroup.h"

#include <bit>
#include <string>

namespace vlr {

namespace {

constexpr std::string_view kRangeOrderText = "Characters not in correct order for range specifier";
constexpr std::string_view kInvalidSetIdText = "Invalid Set ID (%d)";

[[noreturn]] void Fail(TSchemeErrorId id, const TCharSpecOrigin& origin) {
  throw ESchemeError(id, SchemeMessage(id), origin.line, origin.column);
}

[[noreturn]] void FailText(std::string text, const TCharSpecOrigin& origin) {
  throw ESchemeError(TSchemeErrorId::None, std::move(text), origin.line, origin.column);
}

int HexDigit(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

struct TSpecChar {
  std::uint8_t value;
  bool escaped;  // written with a backslash: never a set delimiter, "-" or "^"
};

// Reads one character, plain or escaped, at `pos` (before the end of `text`).
TSpecChar ReadChar(std::string_view text, std::size_t& pos, const TCharSpecOrigin& origin) {
  const char c = text[pos++];
  if (c != '\\' || pos >= text.size()) return {static_cast<std::uint8_t>(c), false};
  const char d = text[pos];
  if ((d == 'x' || d == 'u') && pos + 1 < text.size() && HexDigit(text[pos + 1]) >= 0) {
    const int maxDigits = d == 'x' ? 2 : 4;
    ++pos;
    long v = 0;
    for (int n = 0; n < maxDigits && pos < text.size() && HexDigit(text[pos]) >= 0; ++n) {
      v = v * 16 + HexDigit(text[pos++]);
    }
    if (v > 255) Fail(TSchemeErrorId::CharacterRange, origin);
    return {static_cast<std::uint8_t>(v), true};
  }
  if (d >= '0' && d <= '7') {
    int v = 0;
    for (int n = 0; n < 3 && pos < text.size() && text[pos] >= '0' && text[pos] <= '7'; ++n) {
      v = v * 8 + (text[pos++] - '0');
    }
    if (v > 255) Fail(TSchemeErrorId::CharacterRange, origin);
    return {static_cast<std::uint8_t>(v), true};
  }
  ++pos;
  switch (d) {
    case 'b': return {8, true};
    case 'e': return {27, true};
    case 'n': return {13, true};  // the text store ends lines with carriage return
    case 'r': return {10, true};
    case 's': return {32, true};
    case 't': return {9, true};
    default: return {static_cast<std::uint8_t>(d), true};
  }
}

bool IsPlain(std::string_view text, std::size_t pos, char c) noexcept {
  return pos < text.size() && text[pos] == c;
}

}  // namespace

TSM_CharGroup TSM_CharGroup::Single(std::uint8_t c) noexcept {
  TSM_CharGroup g;
  g.Add(c);
  return g;
}

TSM_CharGroup TSM_CharGroup::Range(std::uint8_t lo, std::uint8_t hi) noexcept {
  TSM_CharGroup g;
  g.AddRange(lo, hi);
  return g;
}

TSM_CharGroup TSM_CharGroup::All() noexcept {
  TSM_CharGroup g;
  g.Complement();
  return g;
}

void TSM_CharGroup::AddRange(std::uint8_t lo, std::uint8_t hi) noexcept {
  for (unsigned c = lo; c <= hi; ++c) Add(static_cast<std::uint8_t>(c));
}

void TSM_CharGroup::Add(const TSM_CharGroup& other) noexcept {
  for (std::size_t i = 0; i < bits_.size(); ++i) bits_[i] |= other.bits_[i];
}

void TSM_CharGroup::Complement() noexcept {
  for (auto& w : bits_) w = ~w;
}

std::size_t TSM_CharGroup::Count() const noexcept {
  std::size_t n = 0;
  for (auto w : bits_) n += static_cast<std::size_t>(std::popcount(w));
  return n;
}

bool TSM_CharGroup::Intersects(const TSM_CharGroup& other) const noexcept {
  for (std::size_t i = 0; i < bits_.size(); ++i) {
    if (bits_[i] & other.bits_[i]) return true;
  }
  return false;
}

TSM_CharGroup TSM_CharGroup::FromWords(const std::array<std::uint64_t, 4>& words) noexcept {
  TSM_CharGroup g;
  g.bits_ = words;
  return g;
}

TSM_CharGroup TSM_CharGroup::Parse(std::string_view text, std::size_t& pos, TCharSpecOrigin origin) {
  if (!IsPlain(text, pos, '[')) return Single(ReadChar(text, pos, origin).value);
  ++pos;
  TSM_CharGroup g;
  bool complement = false;
  if (IsPlain(text, pos, '^')) {
    complement = true;
    ++pos;
  }
  for (;;) {
    if (pos >= text.size()) Fail(TSchemeErrorId::RBracketExpected, origin);
    if (text[pos] == ']') {
      ++pos;
      break;
    }
    const TSpecChar lo = ReadChar(text, pos, origin);
    // A "-" starts a range only when a character follows it inside the set.
    if (IsPlain(text, pos, '-') && pos + 1 < text.size() && text[pos + 1] != ']') {
      ++pos;
      const TSpecChar hi = ReadChar(text, pos, origin);
      if (hi.value < lo.value) FailText(std::string(kRangeOrderText), origin);
      g.AddRange(lo.value, hi.value);
    } else {
      g.Add(lo.value);
    }
  }
  if (complement) g.Complement();
  return g;
}

std::optional<TSM_CharGroup> ParseSingleCharSpec(std::string_view text, TCharSpecOrigin origin) {
  if (text.empty()) return std::nullopt;
  std::size_t pos = 0;
  TSM_CharGroup g = TSM_CharGroup::Parse(text, pos, origin);
  if (pos != text.size()) Fail(TSchemeErrorId::SingleCharSpecExpected, origin);
  return g;
}

std::vector<TSM_CharGroup> ParseCharGroupSequence(std::string_view text, TCharSpecOrigin origin) {
  std::vector<TSM_CharGroup> groups;
  for (std::size_t pos = 0; pos < text.size();) groups.push_back(TSM_CharGroup::Parse(text, pos, origin));
  return groups;
}

std::vector<TSM_CharGroup> ParseTerminator(std::string_view text, TCharSpecOrigin origin) {
  std::vector<TSM_CharGroup> groups = ParseCharGroupSequence(text, origin);
  if (groups.size() > kMaxTerminatorGroups) Fail(TSchemeErrorId::MaxFourCharSpecs, origin);
  return groups;
}

// ---- TSM_CharGroupManager ------------------------------------------------------------------

std::size_t TSM_CharGroupManager::Hash::operator()(const TSM_CharGroup& g) const noexcept {
  std::size_t h = 0;
  for (auto w : g.Words()) h = (h ^ std::hash<std::uint64_t>{}(w)) * 0x9e3779b97f4a7c15ull;
  return h;
}

std::size_t TSM_CharGroupManager::Add(const TSM_CharGroup& group) {
  const auto [it, added] = index_.try_emplace(group, groups_.size());
  if (added) groups_.push_back(group);
  return it->second;
}

std::optional<std::size_t> TSM_CharGroupManager::Find(const TSM_CharGroup& group) const {
  const auto it = index_.find(group);
  if (it == index_.end()) return std::nullopt;
  return it->second;
}

const TSM_CharGroup& TSM_CharGroupManager::At(long long index) const {
  if (index < 0 || static_cast<unsigned long long>(index) >= groups_.size()) {
    throw ESchemeError(TSchemeErrorId::None, SchemeFormat(kInvalidSetIdText, {index}), 0, 0);
  }
  return groups_[static_cast<std::size_t>(index)];
}

void TSM_CharGroupManager::Clear() noexcept {
  groups_.clear();
  index_.clear();
}

}  // namespace vlr
