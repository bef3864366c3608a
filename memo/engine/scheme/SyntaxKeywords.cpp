#include "memo/engine/scheme/SyntaxKeywords.h"

#include <algorithm>
#include <map>
#include <memory>

namespace vlr {

namespace {
std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c + 32);
  return s;
}
}  // namespace

void TSyntaxKeywords::Clear() {
  tableFollow_.reset();
  root_.fill(-1);
  nodes_.clear();
  edges_.clear();
  ends_.clear();
}

void TSyntaxKeywords::Build(const std::vector<TWordEntry>& words,
                            const std::vector<TSM_CharGroup>& groups, bool caseSensitive) {
  std::vector<Pending> list;
  list.reserve(words.size());
  for (const TWordEntry& w : words) {
    Pending p;
    p.text = w.text;
    p.end.valid = THighlightSet::From(w.valid);
    p.end.value = w.value;
    if (w.follow >= 0 && std::size_t(w.follow) < groups.size()) p.end.follow = &groups[std::size_t(w.follow)];
    list.push_back(std::move(p));
  }
  BuildFrom(list, caseSensitive);
}

void TSyntaxKeywords::Build(const TKeywordTable& table) {
  std::vector<Pending> list;
  list.reserve(table.words.size());
  const THighlightSet valid = THighlightSet::From(table.valid);
  std::shared_ptr<const TSM_CharGroup> follow;
  if (!table.endsWith.empty()) {
    try {
      if (const auto g = ParseSingleCharSpec(table.endsWith)) follow = std::make_shared<const TSM_CharGroup>(*g);
    } catch (const ESchemeError&) {
      // Not one specification: the words carry no following-character condition.
    }
  }
  for (const TKeywordTable::Word& w : table.words) {
    Pending p;
    p.text = w.text;
    p.end.valid = valid;
    p.end.value = w.value;
    p.end.follow = follow.get();
    list.push_back(std::move(p));
  }
  BuildFrom(list, table.caseSensitive);
  tableFollow_ = std::move(follow);
}

void TSyntaxKeywords::BuildFrom(std::vector<Pending>& words, bool caseSensitive) {
  Clear();
  caseSensitive_ = caseSensitive;
  // A build trie first (nodes in one vector, children by index, so that neither building nor
  // freeing it recurses, however long a word is), then laid out flat: nodes breadth first,
  // edges sorted by character.
  struct Tmp {
    std::map<std::uint8_t, std::uint32_t> kids;
    std::vector<End> ends;
    THighlightSet valid;
  };
  std::vector<Tmp> tmp(1);  // tmp[0] is the root
  for (Pending& w : words) {
    if (w.text.empty()) continue;
    if (!caseSensitive) w.text = Lower(std::move(w.text));
    std::uint32_t n = 0;
    for (char ch : w.text) {
      const auto c = static_cast<std::uint8_t>(ch);
      auto it = tmp[n].kids.find(c);
      if (it == tmp[n].kids.end()) {
        const auto k = static_cast<std::uint32_t>(tmp.size());
        tmp[n].kids.emplace(c, k);
        tmp.emplace_back();
        n = k;
      } else {
        n = it->second;
      }
      tmp[n].valid |= w.end.valid;
    }
    tmp[n].ends.push_back(w.end);
  }
  std::vector<std::uint32_t> order;
  order.reserve(tmp.size());
  for (const auto& [ch, kid] : tmp[0].kids) {
    root_[ch] = std::int32_t(order.size());
    order.push_back(kid);
  }
  nodes_.reserve(tmp.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    const Tmp& t = tmp[order[i]];
    Node n;
    n.valid = t.valid;
    n.firstEnd = std::uint32_t(ends_.size());
    n.endCount = std::uint32_t(t.ends.size());
    ends_.insert(ends_.end(), t.ends.begin(), t.ends.end());
    n.firstEdge = std::uint32_t(edges_.size());
    n.edgeCount = std::uint32_t(t.kids.size());
    for (const auto& [ch, kid] : t.kids) {
      edges_.push_back(Edge{ch, std::uint32_t(order.size())});
      order.push_back(kid);
    }
    nodes_.push_back(n);
  }
}

int TSyntaxKeywords::WideChild(const Edge* b, const Edge* e, std::uint8_t c) noexcept {
  const Edge* it = std::lower_bound(b, e, c, [](const Edge& x, std::uint8_t v) { return x.ch < v; });
  return (it != e && it->ch == c) ? int(it->child) : -1;
}

int TSyntaxKeywords::Walk(velora::memo::EdStream at, std::int32_t node, const THighlightSet& s,
                          std::uint8_t& value) const {
  int best = 0;
  int depth = 0;
  while (node >= 0) {
    const Node& n = nodes_[std::size_t(node)];
    if (!n.valid.Meets(s)) break;
    ++depth;
    at.advance();
    const bool end = at.atEnd();
    const auto next = static_cast<std::uint8_t>(at.current());
    for (std::uint32_t k = 0; k < n.endCount; ++k) {
      const End& w = ends_[n.firstEnd + k];
      // At the end of the text nothing follows that could break the following-character rule.
      if (w.valid.Meets(s) && (!w.follow || end || w.follow->Contains(next))) {
        best = depth;
        value = w.value;
        break;
      }
    }
    if (end || n.edgeCount == 0) break;
    node = Child(n, Fold(char(next)));
  }
  return best;
}

int TSyntaxKeywords::WalkBytes(const char* at, const char* end, std::int32_t node, const THighlightSet& s,
                               std::uint8_t& value) const {
  // The same walk as Walk, as long as the bytes it looks at lie before `end`.
  int best = 0;
  int depth = 0;
  while (node >= 0) {
    const Node& n = nodes_[std::size_t(node)];
    if (!n.valid.Meets(s)) break;
    ++depth;
    if (at + depth >= end) return -1;
    const auto next = static_cast<std::uint8_t>(at[depth]);
    for (std::uint32_t k = 0; k < n.endCount; ++k) {
      const End& w = ends_[n.firstEnd + k];
      if (w.valid.Meets(s) && (!w.follow || w.follow->Contains(next))) {
        best = depth;
        value = w.value;
        break;
      }
    }
    if (n.edgeCount == 0) break;
    node = Child(n, Fold(char(next)));
  }
  return best;
}

void TSyntaxKeywords::AddSecondBytes(std::uint8_t c, const THighlightSet& s, THighlightSet& out) const {
  const std::int32_t root = root_[Fold(char(c))];
  if (root < 0) return;
  const Node& n = nodes_[std::size_t(root)];
  if (!n.valid.Meets(s)) return;
  for (std::uint32_t k = 0; k < n.endCount; ++k) {
    if (ends_[n.firstEnd + k].valid.Meets(s)) {
      out.w.fill(~std::uint64_t{0});
      return;
    }
  }
  for (std::uint32_t k = 0; k < n.edgeCount; ++k) {
    const Edge& e = edges_[n.firstEdge + k];
    if (!nodes_[e.child].valid.Meets(s)) continue;
    out.Set(e.ch);
    // The text is folded before it is compared: an upper-case letter reaches a lower-case edge.
    if (!caseSensitive_ && e.ch >= 'a' && e.ch <= 'z') out.Set(std::uint8_t(e.ch - 32));
  }
}

}  // namespace vlr
