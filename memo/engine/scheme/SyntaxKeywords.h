// TSyntaxKeywords: the word trie of the highlighter. Words are found by walking a character trie
// from the first character; each node knows the states in which some word below it is valid, so
// the walk stops as soon as no word further down could count in the current state set.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "memo/engine/TokenScanner.h"
#include "memo/engine/scheme/HighlightSet.h"
#include "memo/engine/scheme/SchemeTables.h"

namespace vlr {

class TSyntaxKeywords {
 public:
  TSyntaxKeywords() { root_.fill(-1); }

  // Builds the trie from the word table; `groups` resolves the following-character groups and
  // must outlive the trie. Case-insensitive words are matched by lower-casing the text read.
  void Build(const std::vector<TWordEntry>& words, const std::vector<TSM_CharGroup>& groups,
             bool caseSensitive);
  // Builds the trie of a keyword table: every word is valid in the table's states, and counts
  // only when the character after it is in the table's `endswith` specification (no condition
  // when that text is empty or not a single character specification).
  void Build(const TKeywordTable& table);
  void Clear();

  [[nodiscard]] bool Empty() const noexcept { return nodes_.empty(); }
  [[nodiscard]] std::size_t WordCount() const noexcept { return ends_.size(); }

  // True when a word that counts in the states `s` may begin with byte `c`.
  [[nodiscard]] bool MayStart(std::uint8_t c, const THighlightSet& s) const noexcept {
    const std::int32_t node = root_[Fold(char(c))];
    return node >= 0 && nodes_[std::size_t(node)].valid.Meets(s);
  }

  // The length of the longest word at the stream's position that counts in the states `s`
  // (0 when none does), with its token value in `value`. The stream itself is not moved.
  [[nodiscard]] int Match(const velora::memo::EdStream& at, const THighlightSet& s, std::uint8_t& value) const {
    if (at.atEnd()) return 0;
    const std::int32_t node = root_[Fold(at.current())];
    // Most characters start no word that counts in `s`: that is settled here, without a call.
    if (node < 0 || !nodes_[std::size_t(node)].valid.Meets(s)) return 0;
    // Inside the record the walk reads the bytes in memory; at its end the stream goes on.
    const int n = WalkBytes(at.data(), at.recordEnd(), node, s, value);
    return n >= 0 ? n : Walk(at, node, s, value);
  }

  // Adds to `out` the bytes that may follow `c` in a word that counts in the states `s` (every
  // byte when `c` alone is such a word).
  void AddSecondBytes(std::uint8_t c, const THighlightSet& s, THighlightSet& out) const;

 private:
  struct Node {
    THighlightSet valid;         // union of the valid sets of every word ending at or below
    std::uint32_t firstEdge = 0;
    std::uint32_t edgeCount = 0;
    std::uint32_t firstEnd = 0;  // words ending here, in definition order
    std::uint32_t endCount = 0;
  };
  struct Edge {
    std::uint8_t ch = 0;
    std::uint32_t child = 0;
  };
  struct End {
    THighlightSet valid;
    const TSM_CharGroup* follow = nullptr;  // nullptr: no condition
    std::uint8_t value = 0;
  };
  struct Pending {
    std::string text;
    End end;
  };

  void BuildFrom(std::vector<Pending>& words, bool caseSensitive);
  [[nodiscard]] std::uint8_t Fold(char c) const noexcept {
    const auto u = static_cast<std::uint8_t>(c);
    return (!caseSensitive_ && u >= 'A' && u <= 'Z') ? std::uint8_t(u + 32) : u;
  }
  [[nodiscard]] int Child(const Node& n, std::uint8_t c) const noexcept {
    const Edge* b = edges_.data() + n.firstEdge;
    const Edge* const e = b + n.edgeCount;
    if (n.edgeCount <= 8) {
      for (; b != e; ++b)
        if (b->ch == c) return int(b->child);
      return -1;
    }
    return WideChild(b, e, c);
  }
  // Child among many edges (sorted by character): a binary search.
  [[nodiscard]] static int WideChild(const Edge* b, const Edge* e, std::uint8_t c) noexcept;
  [[nodiscard]] int Walk(velora::memo::EdStream at, std::int32_t node, const THighlightSet& s,
                         std::uint8_t& value) const;
  // Walk over the bytes [at, end) of a record; -1 when it needs a byte past `end`.
  [[nodiscard]] int WalkBytes(const char* at, const char* end, std::int32_t node, const THighlightSet& s,
                              std::uint8_t& value) const;

  std::array<std::int32_t, 256> root_;
  // The following-character group of a keyword table, on the heap so that the words' pointers
  // to it stay valid when the trie is moved.
  std::shared_ptr<const TSM_CharGroup> tableFollow_;
  std::vector<Node> nodes_;
  std::vector<Edge> edges_;
  std::vector<End> ends_;
  bool caseSensitive_ = true;
};

}  // namespace vlr
