// The compiled form of a TREParser expression (shared by its compiler and its matcher). The
// program works on characters (see CaseFold.h): UTF-8 sequences, and bytes outside them.
#pragma once

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "memo/engine/search/CaseFold.h"
#include "memo/engine/search/REParser.h"
#include "memo/engine/search/SkipTable.h"

namespace velora::memo {

enum class ROp : std::uint8_t { Char, Any, Set, Bol, Eol, Split, Jmp, Save, Star, Match };

// One program instruction. Split tries x first, then y. Star repeats a one-character atom
// (atom, c, set) between min and max times (max -1 = no limit), greedily. A character c is
// folded when letter case is ignored.
struct RInst {
  ROp op = ROp::Match;
  ROp atom = ROp::Char;
  char32_t c = 0;
  int x = 0, y = 0;
  int set = 0;
  int min = 0, max = -1;
  int run = -1;  // Star: the table of ASCII characters the atom takes (Program::runs)
};

// A table by byte: whether an ASCII character is taken outright (bytes from 0x80 are never in
// it: they start characters that are decoded first).
struct AsciiRun {
  std::uint64_t bits[2] = {0, 0};
  [[nodiscard]] bool test(unsigned char b) const noexcept { return b < 0x80 && ((bits[b >> 6] >> (b & 63)) & 1u); }
};

// A set of characters: ASCII ones in a bit table, the others as ranges. When letter case is
// ignored the set also holds the folding of each of its characters, and a character is looked
// up by its folding.
struct RSet {
  std::bitset<128> ascii;                              // members below 0x80
  std::vector<std::pair<char32_t, char32_t>> ranges;  // members from 0x80, sorted, disjoint
  bool negate = false;
  bool fold = false;
  // By byte: below 0x80 whether the set takes that character; from 0x80 whether a character
  // that starts with that byte may be taken.
  std::bitset<256> bytes;

  [[nodiscard]] bool has(char32_t c) const noexcept {
    if (c < 0x80) return bytes.test(c);
    if (fold) c = foldCase(c);
    bool in;
    if (c < 0x80) {
      in = ascii.test(c);
    } else {
      const auto it = std::upper_bound(ranges.begin(), ranges.end(), std::pair<char32_t, char32_t>(c, kRawByte + 0x100));
      in = it != ranges.begin() && std::prev(it)->second >= c;
    }
    return in != negate;
  }
};

struct TREParser::Program {
  std::vector<RInst> code;
  std::vector<RSet> sets;
  std::vector<AsciiRun> runs;
  bool fold = false;  // letter case ignored
  // Candidate filters: a literal every match starts with, else the possible first bytes.
  std::string prefix;
  TSkipTable prefixTable;
  std::bitset<256> first;
  bool useFirst = false;
  bool nullable = false;

  [[nodiscard]] char32_t key(char32_t c) const noexcept { return fold ? foldCase(c) : c; }
  // An ASCII character against a one-character atom.
  [[nodiscard]] bool atomByte(const RInst& in, unsigned char b) const noexcept {
    switch (in.atom) {
      case ROp::Char: return key(b) == in.c;
      case ROp::Any: return true;
      default: return sets[std::size_t(in.set)].bytes.test(b);
    }
  }
  [[nodiscard]] bool atomMatches(const RInst& in, char32_t ch) const noexcept {
    switch (in.atom) {
      case ROp::Char: return key(ch) == in.c;
      case ROp::Any: return true;
      default: return sets[std::size_t(in.set)].has(ch);
    }
  }
};

}  // namespace velora::memo
