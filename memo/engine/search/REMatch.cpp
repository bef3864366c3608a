// TREParser's matcher: backtracking over the program with an explicit stack of choice points,
// reading the document through a character cursor, bounded by a step budget.
#include <algorithm>

#include "memo/engine/search/PlainSearch.h"
#include "memo/engine/search/REParser.h"
#include "memo/engine/search/REProgram.h"

namespace velora::memo {

namespace {
enum FrameKind : int { kBranch, kRestore, kStar };

bool isContinuation(int c) noexcept { return c >= 0x80 && c < 0xC0; }

// Bytes of the character at pos: a UTF-8 lead byte takes the continuation bytes that follow it,
// so that "." and sets never stop inside a character; any other byte stands alone.
Pos charWidth(CharCursor& cur, Pos pos, int c) {
  if (c < 0xC0) return 1;
  const int extra = c >= 0xF0 ? 3 : (c >= 0xE0 ? 2 : 1);
  Pos w = 1;
  while (w <= extra && isContinuation(cur.at(pos + w))) ++w;
  return w;
}

// Whether position p lies inside a UTF-8 character (after its lead byte).
bool insideChar(CharCursor& cur, Pos p) {
  if (!isContinuation(cur.at(p))) return false;
  for (Pos q = p - 1; q >= 0 && q >= p - 3; --q) {
    const int c = cur.at(q);
    if (c >= 0xC0) return q + charWidth(cur, q, c) > p;
    if (!isContinuation(c)) return false;
  }
  return false;
}
}  // namespace

bool TREParser::run(CharCursor& cur, Pos at) {
  const Program& p = *prog_;
  const std::vector<RInst>& code = p.code;
  const Pos len = cur.length();
  slots_.fill(-1);
  stack_.clear();
  int pc = 0;
  Pos pos = at;
  for (;;) {
    if (++steps_ > budget_) {
      exhausted_ = true;
      return false;
    }
    const RInst& in = code[std::size_t(pc)];
    bool ok = true;
    switch (in.op) {
      case ROp::Char: {
        const int c = cur.at(pos);
        ok = c >= 0 && p.tr[std::size_t(c)] == in.c;
        ++pos;
        ++pc;
        break;
      }
      case ROp::Any: {
        const int c = cur.at(pos);
        ok = c >= 0;
        pos += ok ? charWidth(cur, pos, c) : 1;
        ++pc;
        break;
      }
      case ROp::Set: {
        const int c = cur.at(pos);
        ok = c >= 0 && p.sets[std::size_t(in.set)].test(std::size_t(c));
        pos += ok ? charWidth(cur, pos, c) : 1;
        ++pc;
        break;
      }
      case ROp::Bol:
        ok = pos == 0 || cur.at(pos - 1) == '\r';
        ++pc;
        break;
      case ROp::Eol:
        ok = pos >= len || cur.at(pos) == '\r';
        ++pc;
        break;
      case ROp::Split:
        stack_.push_back({kBranch, in.y, pos, 0});
        pc = in.x;
        break;
      case ROp::Jmp:
        pc = in.x;
        break;
      case ROp::Save:
        stack_.push_back({kRestore, in.x, 0, slots_[std::size_t(in.x)]});
        slots_[std::size_t(in.x)] = pos;
        ++pc;
        break;
      case ROp::Star: {
        // Greedy: take as many as possible, a segment at a time; give back one per retry.
        const Pos limit = in.max < 0 ? len : std::min(len, pos + in.max);
        Pos q = pos;
        while (q < limit) {
          const Segment& seg = cur.segment(q);
          const char* d = seg.data - seg.start;
          const Pos stop = std::min(seg.end, limit);
          const Pos from = q;
          if (in.atom == ROp::Any) {
            q = stop;
          } else {
            while (q < stop && p.atomMatches(in, (unsigned char)d[q])) ++q;
          }
          steps_ += std::uint64_t(q - from);
          if (q < stop) break;
        }
        // A run never ends inside a character: "?" takes one whole character, and a longer
        // run that stopped after a lead byte takes the rest of that character.
        if (in.max == 1 && q > pos) {
          q = pos + charWidth(cur, pos, cur.at(pos));
        } else if (q > pos && q < len && insideChar(cur, q)) {
          while (q < len && isContinuation(cur.at(q))) ++q;
        }
        const Pos k = q - pos;
        if (k < in.min) {
          ok = false;
          break;
        }
        if (k > in.min) stack_.push_back({kStar, pc, pos, k});
        pos = q;
        ++pc;
        break;
      }
      case ROp::Match:
        return true;
    }
    if (ok) continue;
    // Back to the latest choice point, undoing the slots recorded after it.
    for (;;) {
      if (stack_.empty()) return false;
      Frame& f = stack_.back();
      if (f.kind == kRestore) {
        slots_[std::size_t(f.pc)] = f.extra;
        stack_.pop_back();
        continue;
      }
      if (f.kind == kBranch) {
        pc = f.pc;
        pos = f.pos;
        stack_.pop_back();
        break;
      }
      // One character shorter (not one byte: never inside a character).
      Pos k = f.extra - 1;
      while (k > 0 && insideChar(cur, f.pos + k)) --k;
      const int min = code[std::size_t(f.pc)].min;
      if (k < min) {
        stack_.pop_back();
        continue;
      }
      pc = f.pc + 1;
      pos = f.pos + k;
      if (k <= min)
        stack_.pop_back();
      else
        f.extra = k;
      break;
    }
  }
}

void TREParser::record() {
  recorded_.clear();
  recorded_.push_back(slots_[0]);
  for (int g = 1; g <= groups_; ++g)
    if (slots_[std::size_t(2 * g)] >= 0 && slots_[std::size_t(2 * g + 1)] >= 0) {
      recorded_.push_back(slots_[std::size_t(2 * g)]);
      recorded_.push_back(slots_[std::size_t(2 * g + 1)]);
    }
  recorded_.push_back(slots_[1]);
}

namespace {
// The next position at or after p whose byte can start a match, or -1.
Pos nextFirst(const CharSource& src, const std::bitset<256>& first, Pos p) {
  const Pos len = src.length();
  while (p < len) {
    const Segment seg = src.segmentAt(p);
    const char* d = seg.data - seg.start;
    for (; p < seg.end; ++p)
      if (first.test((unsigned char)d[p])) return p;
  }
  return -1;
}
}  // namespace

Pos TREParser::search(const CharSource& src, Pos from) {
  exhausted_ = false;
  recorded_.clear();
  slots_.fill(-1);
  if (!compiled_) return -1;
  const Pos len = src.length();
  steps_ = 0;
  budget_ = stepBudget ? stepBudget : kMinStepBudget + kStepsPerByte * std::uint64_t(len);
  const Program& p = *prog_;
  CharCursor cur(src);
  for (Pos at = std::max<Pos>(from, 0); at <= len; ++at) {
    if (!p.prefix.empty()) {
      at = PlainFindForward(src, p.prefixTable, at);
    } else if (p.useFirst) {
      at = nextFirst(src, p.first, at);
    } else if (at == len && !p.nullable) {
      at = -1;
    }
    if (at < 0) break;
    if (insideChar(cur, at)) continue;  // a match starts at a character, not inside one
    if (run(cur, at)) {
      error_ = REError::None;
      record();
      return at;
    }
    if (exhausted_) break;
  }
  error_ = REError::NotFound;
  slots_.fill(-1);
  return -1;
}

Pos TREParser::searchBackward(const CharSource& src, Pos before) {
  exhausted_ = false;
  recorded_.clear();
  slots_.fill(-1);
  if (!compiled_) return -1;
  const Pos len = src.length();
  steps_ = 0;
  budget_ = stepBudget ? stepBudget : kMinStepBudget + kStepsPerByte * std::uint64_t(len);
  const Program& p = *prog_;
  CharCursor cur(src);
  for (Pos at = std::min(before - 1, len); at >= 0; --at) {
    if (at == len ? !p.nullable : (p.useFirst && !p.first.test(std::size_t(cur.at(at))))) continue;
    if (insideChar(cur, at)) continue;
    if (run(cur, at)) {
      error_ = REError::None;
      record();
      return at;
    }
    if (exhausted_) break;
  }
  error_ = REError::NotFound;
  slots_.fill(-1);
  return -1;
}

bool TREParser::matchAt(const CharSource& src, Pos at) {
  exhausted_ = false;
  recorded_.clear();
  if (!compiled_ || at < 0 || at > src.length()) return false;
  steps_ = 0;
  budget_ = stepBudget ? stepBudget : kMinStepBudget + kStepsPerByte * std::uint64_t(src.length());
  CharCursor cur(src);
  if (run(cur, at)) {
    error_ = REError::None;
    record();
    return true;
  }
  error_ = REError::NotFound;
  return false;
}

}  // namespace velora::memo
