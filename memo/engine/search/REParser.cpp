// TREParser's compiler: expression text -> syntax tree -> program, with the syntax errors and
// the 4096-cell and nine-group limits.
#include "memo/engine/search/REParser.h"

#include <algorithm>
#include <cctype>
#include <span>

#include "memo/engine/search/REProgram.h"

namespace velora::memo {

const char* REErrorText(REError e) noexcept {
  switch (e) {
    case REError::None: return "No errors detected";
    case REError::NotFound: return "Expression not found";
    case REError::InvalidParameter: return "Invalid parameter";
    case REError::OutOfMemory: return "Out of memory";
    case REError::TooManySubexpressions: return "Too many sub-expressions";
    case REError::UnmatchedParenthesis: return "Unmatched parenthesis";
    case REError::InvalidRepeat: return "Invalid repeat";
    case REError::NestedRepeat: return "Nested repeat";
    case REError::InvalidRange: return "Invalid range";
    case REError::UnmatchedBracket: return "Unmatched bracket";
    case REError::BadKeySpecifier: return "Bad key specifier";
    case REError::HexDigitExpected: return "Hex digit expected";
    case REError::UnexpectedEnd: return "Unexpected end of input";
    case REError::QuoteExpected: return "' expected";
    case REError::IndexRange: return "Index range error";
    case REError::Internal: return "Internal error";
  }
  return "Internal error";
}

namespace {

std::string caretDisplay(REError code, int column, std::string_view expression) {
  std::string m = REErrorText(code);
  m += '\n';
  m.append(expression);
  m += '\n';
  m.append(std::size_t(column < 0 ? 0 : column), ' ');
  m += '^';
  return m;
}

struct Node {
  enum Kind { Char, Any, Set, Bol, Eol, Str, Group, Alt, Seq, Rep } kind = Seq;
  char32_t c = 0;
  int set = 0;
  std::string str;
  int group = 0;
  int min = 0, max = -1;
  std::vector<Node> kids;
};

// The first byte of a character's UTF-8 form (a raw byte: itself).
std::size_t leadByte(char32_t c) {
  std::string s;
  appendSearchChar(s, c);
  return static_cast<unsigned char>(s[0]);
}

struct Failure {
  REError code;
  int column;
};

bool nullable(const Node& n) {
  switch (n.kind) {
    case Node::Char: case Node::Any: case Node::Set: return false;
    case Node::Bol: case Node::Eol: return true;
    case Node::Str: return n.str.empty();
    case Node::Group: return nullable(n.kids[0]);
    case Node::Rep: return n.min == 0 || nullable(n.kids[0]);
    case Node::Alt:
      for (const Node& k : n.kids)
        if (nullable(k)) return true;
      return false;
    case Node::Seq:
      for (const Node& k : n.kids)
        if (!nullable(k)) return false;
      return true;
  }
  return true;
}


class Compiler {
 public:
  Compiler(std::string_view e, TREParser::Program& p, bool matchCase) : e_(e), p_(p), matchCase_(matchCase) {}

  Node parse() {
    Node root = alternation();
    if (i_ < e_.size()) throw Failure{REError::UnmatchedParenthesis, int(i_)};  // a stray ")"
    return root;
  }
  int groups() const { return groups_; }

 private:
  [[nodiscard]] bool at(char c) const { return i_ < e_.size() && e_[i_] == c; }
  [[nodiscard]] static bool isRepeat(char c) { return c == '*' || c == '+' || c == '?'; }

  Node alternation() {
    Node alt;
    alt.kind = Node::Alt;
    alt.kids.push_back(sequence());
    while (at('|')) {
      ++i_;
      alt.kids.push_back(sequence());
    }
    if (alt.kids.size() == 1) return std::move(alt.kids[0]);
    return alt;
  }

  Node sequence() {
    Node seq;
    seq.kind = Node::Seq;
    while (i_ < e_.size() && e_[i_] != '|' && e_[i_] != ')') {
      if (isRepeat(e_[i_])) throw Failure{REError::InvalidRepeat, int(i_)};  // nothing to repeat
      Node a = atom();
      if (i_ < e_.size() && isRepeat(e_[i_])) {
        const char q = e_[i_];
        const int col = int(i_);
        ++i_;
        if (q != '?' && nullable(a)) throw Failure{REError::InvalidRepeat, col};
        if (i_ < e_.size() && isRepeat(e_[i_])) throw Failure{REError::NestedRepeat, int(i_)};
        Node r;
        r.kind = Node::Rep;
        r.min = q == '+' ? 1 : 0;
        r.max = q == '?' ? 1 : -1;
        r.kids.push_back(std::move(a));
        a = std::move(r);
      }
      seq.kids.push_back(std::move(a));
    }
    if (seq.kids.size() == 1) return std::move(seq.kids[0]);
    return seq;
  }

  // The character at i_ (a UTF-8 sequence, or a byte outside one), moving past it.
  char32_t next() {
    int n = 1;
    const char32_t c = searchCharAt(e_, i_, n);
    i_ += std::size_t(n);
    return c;
  }

  // A character code from an escape: below 0x80 that character, above it that byte.
  static char32_t byteChar(int v) { return v < 0x80 ? char32_t(v) : kRawByte + char32_t(v); }

  // After a backslash at i_ - 1.
  char32_t escape() {
    if (i_ >= e_.size()) throw Failure{REError::UnexpectedEnd, int(i_ - 1)};
    const char c = e_[i_];
    if (static_cast<unsigned char>(c) >= 0x80) return next();
    ++i_;
    switch (c) {
      case 'b': return 8;
      case 'f': return 12;
      case 'n': return 13;
      case 'r': return 10;
      case 's': return 32;
      case 't': return 9;
      case 'x': {
        int v = 0, digits = 0;
        while (digits < 2 && i_ < e_.size() && std::isxdigit(static_cast<unsigned char>(e_[i_]))) {
          const char d = e_[i_++];
          v = v * 16 + (d <= '9' ? d - '0' : (d | 0x20) - 'a' + 10);
          ++digits;
        }
        if (digits == 0) throw Failure{REError::HexDigitExpected, int(i_)};
        return byteChar(v);
      }
      default:
        if (c >= '0' && c <= '7') {
          int v = c - '0', digits = 1;
          while (digits < 3 && i_ < e_.size() && e_[i_] >= '0' && e_[i_] <= '7') {
            v = v * 8 + (e_[i_++] - '0');
            ++digits;
          }
          return byteChar(v & 0xFF);
        }
        return char32_t(c);
    }
  }

  Node charNode(char32_t c) {
    Node n;
    n.kind = Node::Char;
    n.c = c;
    return n;
  }

  Node atom() {
    const std::size_t start = i_;
    const char c = e_[i_];
    if (static_cast<unsigned char>(c) >= 0x80) return charNode(next());
    ++i_;
    Node n;
    switch (c) {
      case '.': n.kind = Node::Any; return n;
      case '^': n.kind = Node::Bol; return n;
      case '$': n.kind = Node::Eol; return n;
      case '\\': return charNode(escape());
      case '(': {
        if (groups_ >= TREParser::kMaxGroups) throw Failure{REError::TooManySubexpressions, int(start)};
        n.kind = Node::Group;
        n.group = ++groups_;
        n.kids.push_back(alternation());
        if (!at(')')) throw Failure{REError::UnmatchedParenthesis, int(start)};
        ++i_;
        return n;
      }
      case '"': {
        n.kind = Node::Str;
        for (;;) {
          if (i_ >= e_.size()) throw Failure{REError::QuoteExpected, int(e_.size())};
          const char d = e_[i_++];
          if (d == '"') break;
          if (d == '\\') appendSearchChar(n.str, escape());
          else n.str += d;
        }
        return n;
      }
      case '[': return setNode(start);
      default: return charNode(char32_t(c));
    }
  }

  char32_t setChar() {
    if (e_[i_] != '\\') return next();
    ++i_;
    return escape();
  }

  Node setNode(std::size_t open) {
    RSet set;
    set.negate = at('^');
    set.fold = !matchCase_;
    if (set.negate) ++i_;
    std::vector<std::pair<char32_t, char32_t>> items;
    bool firstItem = true;
    for (;;) {
      if (i_ >= e_.size()) throw Failure{REError::UnmatchedBracket, int(open)};
      if (e_[i_] == ']' && !firstItem) {
        ++i_;
        break;
      }
      firstItem = false;
      const std::size_t itemCol = i_;
      const char32_t lo = setChar();
      char32_t hi = lo;
      if (at('-')) {
        ++i_;
        if (i_ >= e_.size() || e_[i_] == ']') throw Failure{REError::InvalidRange, int(itemCol)};
        hi = setChar();
        if (hi < lo) throw Failure{REError::InvalidRange, int(itemCol)};
      }
      items.emplace_back(lo, hi);
    }
    fillSet(set, items);
    Node n;
    n.kind = Node::Set;
    n.set = int(p_.sets.size());
    p_.sets.push_back(std::move(set));
    return n;
  }

  // The set's tables from its items: ASCII bits, sorted ranges, and with letter case ignored
  // the folding of every member.
  static void fillSet(RSet& set, std::vector<std::pair<char32_t, char32_t>> items) {
    if (set.fold) {
      const std::span<const char32_t> folding = foldingCharacters();
      const std::size_t count = items.size();
      for (std::size_t k = 0; k < count; ++k) {
        const auto [lo, hi] = items[k];
        for (auto it = std::lower_bound(folding.begin(), folding.end(), lo); it != folding.end() && *it <= hi; ++it)
          items.emplace_back(foldCase(*it), foldCase(*it));
      }
    }
    for (const auto& [lo, hi] : items) {
      for (char32_t c = lo; c <= hi && c < 0x80; ++c) set.ascii.set(c);
      if (hi >= 0x80) set.ranges.emplace_back(std::max<char32_t>(lo, 0x80), hi);
    }
    std::sort(set.ranges.begin(), set.ranges.end());
    std::vector<std::pair<char32_t, char32_t>> merged;
    for (const auto& r : set.ranges) {
      if (!merged.empty() && r.first <= merged.back().second + 1) merged.back().second = std::max(merged.back().second, r.second);
      else merged.push_back(r);
    }
    set.ranges = std::move(merged);
    for (char32_t c = 0; c < 0x80; ++c) set.bytes.set(c, set.ascii.test(set.fold ? foldCase(c) : c) != set.negate);
    // Bytes that may start a longer character of the set.
    if (set.negate || !set.ranges.empty()) {
      for (int b = 0x80; b < 0x100; ++b) set.bytes.set(std::size_t(b));
    } else if (set.fold) {
      for (char32_t c = 0; c < 0x80; ++c)
        if (set.ascii.test(c))
          for (char32_t v : caseVariants(c)) set.bytes.set(leadByte(v));
    }
  }

  std::string_view e_;
  TREParser::Program& p_;
  bool matchCase_;
  std::size_t i_ = 0;
  int groups_ = 0;
};

class Emitter {
 public:
  Emitter(TREParser::Program& p, int limit, int column) : p_(p), limit_(limit), column_(column) {}

  int emit(RInst in) {
    if (int(p_.code.size()) + 8 * int(p_.sets.size()) >= limit_) throw Failure{REError::OutOfMemory, column_};
    p_.code.push_back(in);
    return int(p_.code.size()) - 1;
  }
  int pc() const { return int(p_.code.size()); }

  void node(const Node& n) {
    switch (n.kind) {
      case Node::Char: emit({ROp::Char, ROp::Char, p_.key(n.c)}); break;
      case Node::Any: emit({ROp::Any}); break;
      case Node::Set: { RInst in{ROp::Set}; in.set = n.set; emit(in); break; }
      case Node::Bol: emit({ROp::Bol}); break;
      case Node::Eol: emit({ROp::Eol}); break;
      case Node::Str:
        for (std::size_t i = 0; i < n.str.size();) {
          int len = 1;
          emit({ROp::Char, ROp::Char, p_.key(searchCharAt(n.str, i, len))});
          i += std::size_t(len);
        }
        break;
      case Node::Group: {
        RInst s{ROp::Save};
        s.x = 2 * n.group;
        emit(s);
        node(n.kids[0]);
        s.x = 2 * n.group + 1;
        emit(s);
        break;
      }
      case Node::Seq:
        for (const Node& k : n.kids) node(k);
        break;
      case Node::Alt: {
        std::vector<int> jumps;
        for (std::size_t k = 0; k + 1 < n.kids.size(); ++k) {
          const int split = emit({ROp::Split});
          p_.code[std::size_t(split)].x = pc();
          node(n.kids[k]);
          jumps.push_back(emit({ROp::Jmp}));
          p_.code[std::size_t(split)].y = pc();
        }
        node(n.kids.back());
        for (int j : jumps) p_.code[std::size_t(j)].x = pc();
        break;
      }
      case Node::Rep: repeat(n); break;
    }
  }

 private:
  void repeat(const Node& n) {
    const Node& k = n.kids[0];
    if (k.kind == Node::Char || k.kind == Node::Any || k.kind == Node::Set) {
      RInst in{ROp::Star};
      in.atom = k.kind == Node::Char ? ROp::Char : k.kind == Node::Any ? ROp::Any : ROp::Set;
      in.c = p_.key(k.c);
      in.set = k.set;
      in.min = n.min;
      in.max = n.max;
      AsciiRun run;
      for (unsigned char b = 0; b < 0x80; ++b)
        if (p_.atomByte(in, b)) run.bits[b >> 6] |= 1ull << (b & 63);
      in.run = int(p_.runs.size());
      p_.runs.push_back(run);
      emit(in);
      return;
    }
    if (n.max == 1) {  // x?
      const int split = emit({ROp::Split});
      p_.code[std::size_t(split)].x = pc();
      node(k);
      p_.code[std::size_t(split)].y = pc();
    } else if (n.min == 0) {  // x*
      const int loop = emit({ROp::Split});
      p_.code[std::size_t(loop)].x = pc();
      node(k);
      RInst j{ROp::Jmp};
      j.x = loop;
      emit(j);
      p_.code[std::size_t(loop)].y = pc();
    } else {  // x+
      const int body = pc();
      node(k);
      RInst s{ROp::Split};
      s.x = body;
      s.y = pc() + 1;
      emit(s);
    }
  }

  TREParser::Program& p_;
  int limit_;
  int column_;
};

// The bytes a match can begin with; false when the node can match the empty string.
bool firstBytes(const Node& n, const TREParser::Program& p, std::bitset<256>& out) {
  switch (n.kind) {
    case Node::Char: {
      const char32_t k = p.key(n.c);
      out.set(leadByte(n.c)).set(leadByte(k));
      if (p.fold) {
        if (k >= 'a' && k <= 'z') out.set(k - 32);
        for (char32_t v : caseVariants(k)) out.set(leadByte(v));
      }
      return true;
    }
    case Node::Any: out.set(); return true;
    case Node::Set: out |= p.sets[std::size_t(n.set)].bytes; return true;
    case Node::Bol: case Node::Eol: return false;
    case Node::Str: {
      if (n.str.empty()) return false;
      Node c;
      c.kind = Node::Char;
      int len = 1;
      c.c = searchCharAt(n.str, 0, len);
      return firstBytes(c, p, out);
    }
    case Node::Group: return firstBytes(n.kids[0], p, out);
    case Node::Rep: return firstBytes(n.kids[0], p, out) && n.min > 0;
    case Node::Alt: {
      bool all = true;
      for (const Node& k : n.kids) all = firstBytes(k, p, out) && all;
      return all;
    }
    case Node::Seq:
      for (const Node& k : n.kids)
        if (firstBytes(k, p, out)) return true;
      return false;
  }
  return false;
}

// The literal that every match starts with (leading characters of the top sequence).
std::string literalPrefix(const Node& root, const TREParser::Program& p) {
  std::string s;
  auto take = [&](const Node& n) {
    if (n.kind == Node::Char) { appendSearchChar(s, p.key(n.c)); return true; }
    if (n.kind == Node::Str) { s += n.str; return true; }
    return false;
  };
  if (root.kind == Node::Seq) {
    for (const Node& k : root.kids)
      if (!take(k)) break;
  } else {
    take(root);
  }
  return s;
}

}  // namespace

ERegExprError::ERegExprError(REError code, int column, std::string_view expression)
    : ESyntaxMemo(caretDisplay(code, column, expression)), code_(code), column_(column) {}

TREParser::TREParser() : prog_(std::make_unique<Program>()) { slots_.fill(-1); }
TREParser::~TREParser() = default;

std::string TREParser::errorMessage() const { return caretDisplay(error_, errorColumn_, expr_); }

bool TREParser::compile(std::string_view expression, bool matchCase) {
  if (compiled_ && expression == expr_ && matchCase == matchCase_) {
    error_ = REError::None;
    return true;
  }
  expr_.assign(expression);
  matchCase_ = matchCase;
  compiled_ = false;
  error_ = REError::None;
  errorColumn_ = 0;
  cells_ = 0;
  groups_ = 0;
  prog_ = std::make_unique<Program>();
  Program& p = *prog_;
  p.fold = !matchCase;
  if (expression.empty()) {
    error_ = REError::InvalidParameter;
    return false;
  }
  try {
    Compiler c(expression, p, matchCase);
    const Node root = c.parse();
    Emitter em(p, kMaxCells, int(expression.size()));
    RInst save{ROp::Save};
    save.x = 0;
    em.emit(save);
    em.node(root);
    save.x = 1;
    em.emit(save);
    em.emit({ROp::Match});
    groups_ = c.groups();
    cells_ = int(p.code.size()) + 8 * int(p.sets.size());
    p.nullable = nullable(root);
    p.prefix = literalPrefix(root, p);
    if (!p.prefix.empty()) p.prefixTable.assign(p.prefix, matchCase);
    p.useFirst = !p.nullable && firstBytes(root, p, p.first) && !p.first.all();
  } catch (const Failure& f) {
    error_ = f.code;
    errorColumn_ = f.column;
    prog_ = std::make_unique<Program>();
    return false;
  }
  compiled_ = true;
  return true;
}

Pos TREParser::matchStart(int slot) const {
  if (slot < 0 || slot > kMaxGroups) throw ESyntaxMemo(REErrorText(REError::IndexRange));
  return slots_[std::size_t(2 * slot)];
}

Pos TREParser::matchEnd(int slot) const {
  if (slot < 0 || slot > kMaxGroups) throw ESyntaxMemo(REErrorText(REError::IndexRange));
  return slots_[std::size_t(2 * slot + 1)];
}

Pos TREParser::recordedPosition(int index) const noexcept {
  if (recorded_.empty()) return -1;
  if (index < 0) index = 0;
  if (index >= int(recorded_.size())) index = int(recorded_.size()) - 1;
  return recorded_[std::size_t(index)];
}

}  // namespace velora::memo
