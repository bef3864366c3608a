// The compiled form of a TREParser expression (shared by its compiler and its matcher).
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

#include "memo/engine/search/REParser.h"
#include "memo/engine/search/SkipTable.h"

namespace velora::memo {

enum class ROp : std::uint8_t { Char, Any, Set, Bol, Eol, Split, Jmp, Save, Star, Match };

// One program instruction. Split tries x first, then y. Star repeats a one-character atom
// (atom, c, set) between min and max times (max -1 = no limit), greedily.
struct RInst {
  ROp op = ROp::Match;
  ROp atom = ROp::Char;
  unsigned char c = 0;
  int x = 0, y = 0;
  int set = 0;
  int min = 0, max = -1;
};

struct TREParser::Program {
  std::vector<RInst> code;
  std::vector<std::bitset<256>> sets;
  std::array<unsigned char, 256> tr{};  // letter case folding (identity when matching case)
  // Candidate filters: a literal every match starts with, else the possible first bytes.
  std::string prefix;
  TSkipTable prefixTable;
  std::bitset<256> first;
  bool useFirst = false;
  bool nullable = false;

  [[nodiscard]] bool atomMatches(const RInst& in, unsigned char ch) const noexcept {
    switch (in.atom) {
      case ROp::Char: return tr[ch] == in.c;
      case ROp::Any: return true;
      default: return sets[std::size_t(in.set)].test(ch);
    }
  }
};

}  // namespace velora::memo
