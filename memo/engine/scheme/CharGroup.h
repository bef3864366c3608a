// Character groups of the scheme language: sets of bytes written as one character or a
// bracketed set, and the per-parser store that shares identical groups.
//
// Written forms read here: a plain character; an escape "\b" (8), "\e" (27), "\n" (13),
// "\r" (10), "\s" (32), "\t" (9), "\x" with up to two or "\u" with up to four hexadecimal
// digits, a backslash with up to three octal digits, or a backslash before any other character
// for that character; a bracketed set "[" ["^"] { character | first "-" last } "]", where "^"
// right after "[" complements the set. Inside a set a "-" that has no character on one of its
// sides (first or last in the set) is a plain "-", and escaped "[", "]", "-" and "^" are plain.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "memo/engine/scheme/SchemeError.h"

namespace vlr {

// Where the text being read came from, for the position of an error (the script string's
// line and column; 0 when unknown).
struct TCharSpecOrigin {
  int line = 0;
  int column = 0;
};

class TSM_CharGroup {
 public:
  // An empty group (contains no byte).
  constexpr TSM_CharGroup() = default;

  [[nodiscard]] static TSM_CharGroup Single(std::uint8_t c) noexcept;
  [[nodiscard]] static TSM_CharGroup Range(std::uint8_t lo, std::uint8_t hi) noexcept;
  [[nodiscard]] static TSM_CharGroup All() noexcept;

  [[nodiscard]] bool Contains(std::uint8_t c) const noexcept {
    return (bits_[c >> 6] >> (c & 63)) & 1u;
  }
  [[nodiscard]] bool Contains(char c) const noexcept { return Contains(static_cast<std::uint8_t>(c)); }

  void Add(std::uint8_t c) noexcept { bits_[c >> 6] |= std::uint64_t{1} << (c & 63); }
  // Adds lo..hi inclusive; nothing when lo > hi.
  void AddRange(std::uint8_t lo, std::uint8_t hi) noexcept;
  void Add(const TSM_CharGroup& other) noexcept;
  void Complement() noexcept;

  [[nodiscard]] std::size_t Count() const noexcept;
  [[nodiscard]] bool IsEmpty() const noexcept { return Count() == 0; }
  [[nodiscard]] bool IsFull() const noexcept { return Count() == 256; }
  // True when the two groups share a byte.
  [[nodiscard]] bool Intersects(const TSM_CharGroup& other) const noexcept;

  // The 256 membership bits, bit c of word c / 64 for byte c (for the stored form).
  [[nodiscard]] const std::array<std::uint64_t, 4>& Words() const noexcept { return bits_; }
  [[nodiscard]] static TSM_CharGroup FromWords(const std::array<std::uint64_t, 4>& words) noexcept;

  friend bool operator==(const TSM_CharGroup&, const TSM_CharGroup&) = default;

  // Reads one specification of `text` starting at `pos` and moves `pos` past it. `pos` must be
  // before the end of `text`. Throws ESchemeError at `origin` for a reversed range, an
  // unterminated set ("']' expected") and an escaped value above 255 ("Character range error").
  [[nodiscard]] static TSM_CharGroup Parse(std::string_view text, std::size_t& pos,
                                           TCharSpecOrigin origin = {});

 private:
  std::array<std::uint64_t, 4> bits_{};
};

// A string that must hold at most one specification: nullopt when it is empty (no condition),
// the group otherwise; anything after the first specification is "Single character specifier
// expected".
[[nodiscard]] std::optional<TSM_CharGroup> ParseSingleCharSpec(std::string_view text,
                                                               TCharSpecOrigin origin = {});

// A string of specifications in a row, read one after the other (empty for an empty string).
[[nodiscard]] std::vector<TSM_CharGroup> ParseCharGroupSequence(std::string_view text,
                                                                TCharSpecOrigin origin = {});

// Most groups a terminator may hold.
inline constexpr std::size_t kMaxTerminatorGroups = 4;

// A terminator: a sequence of at most kMaxTerminatorGroups groups ("Maximum of 4 character
// specifier allowed" for more).
[[nodiscard]] std::vector<TSM_CharGroup> ParseTerminator(std::string_view text,
                                                         TCharSpecOrigin origin = {});

// The groups of one parser. Adding a group equal to one already held returns the index of that
// one, so the word, token and handler tables refer to shared groups by index.
class TSM_CharGroupManager {
 public:
  // The index of a group equal to `group`, added when there is none yet.
  std::size_t Add(const TSM_CharGroup& group);
  // The index of a group equal to `group`, or nullopt.
  [[nodiscard]] std::optional<std::size_t> Find(const TSM_CharGroup& group) const;

  [[nodiscard]] std::size_t Count() const noexcept { return groups_.size(); }
  // Unchecked access (index below Count()).
  [[nodiscard]] const TSM_CharGroup& operator[](std::size_t index) const noexcept { return groups_[index]; }
  // Checked access: "Invalid Set ID (%d)" for an index not held.
  [[nodiscard]] const TSM_CharGroup& At(long long index) const;
  [[nodiscard]] const std::vector<TSM_CharGroup>& Groups() const noexcept { return groups_; }

  void Clear() noexcept;

 private:
  struct Hash {
    std::size_t operator()(const TSM_CharGroup& g) const noexcept;
  };
  std::vector<TSM_CharGroup> groups_;
  std::unordered_map<TSM_CharGroup, std::size_t, Hash> index_;
};

}  // namespace vlr
