// TREParser's matcher: backtracking over the program with an explicit stack of choice points,
// reading the document through a character cursor, bounded by a step budget.
#include <algorithm>

#include "memo/engine/search/PlainSearch.h"
#include "memo/engine/search/REParser.h"
#include "memo/engine/search/REProgram.h"

namespace velora::memo {

namespace {
enum FrameKind : int { kBranch, kRestore, kStar };
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
        int n = 0;
        const char32_t c = cur.charAt(pos, n);
        ok = n > 0 && p.key(c) == in.c;
        pos += n;
        ++pc;
        break;
      }
      case ROp::Any: {
        int n = 0;
        cur.charAt(pos, n);
        ok = n > 0;
        pos += n;
        ++pc;
        break;
      }
      case ROp::Set: {
        int n = 0;
        const char32_t c = cur.charAt(pos, n);
        ok = n > 0 && p.sets[std::size_t(in.set)].has(c);
        pos += n;
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
        // Greedy: take as many characters as possible (ASCII ones a segment at a time); give
        // back one character per retry.
        const bool one = in.max == 1;
        Pos q = pos;
        if (in.atom == ROp::Any && !one) {
          steps_ += std::uint64_t(len - q);
          q = len;
        }
        while (q < len) {
          if (!one) {
            const Segment& seg = cur.segment(q);
            const char* d = seg.data - seg.start;
            const Pos from = q;
            const AsciiRun& run = p.runs[std::size_t(in.run)];
            while (q < seg.end && run.test(static_cast<unsigned char>(d[q]))) ++q;
            steps_ += std::uint64_t(q - from);
            if (q == seg.end) continue;
            if (static_cast<unsigned char>(d[q]) < 0x80) break;
          }
          int n = 0;
          const char32_t c = cur.charAt(q, n);
          if (n == 0 || !p.atomMatches(in, c)) break;
          q += n;
          ++steps_;
          if (one) break;
        }
        if (q == pos && in.min > 0) {
          ok = false;
          break;
        }
        if (q > pos) stack_.push_back({kStar, pc, pos, q});
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
      const Pos q = f.extra > f.pos ? cur.charStartBefore(f.extra) : f.pos - 1;
      if (q < f.pos || (q == f.pos && code[std::size_t(f.pc)].min > 0)) {
        stack_.pop_back();
        continue;
      }
      pc = f.pc + 1;
      pos = q;
      f.extra = q;
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
  stoppedAt_ = -1;
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
    if (cur.insideChar(at)) continue;  // a match starts at a character, not inside one
    if (run(cur, at)) {
      error_ = REError::None;
      record();
      return at;
    }
    if (exhausted_) {
      stoppedAt_ = at;
      break;
    }
  }
  error_ = REError::NotFound;
  slots_.fill(-1);
  return -1;
}

Pos TREParser::searchBackward(const CharSource& src, Pos before) {
  exhausted_ = false;
  stoppedAt_ = -1;
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
    if (cur.insideChar(at)) continue;
    if (run(cur, at)) {
      error_ = REError::None;
      record();
      return at;
    }
    if (exhausted_) {
      stoppedAt_ = at;
      break;
    }
  }
  error_ = REError::NotFound;
  slots_.fill(-1);
  return -1;
}

bool TREParser::matchAt(const CharSource& src, Pos at) {
  exhausted_ = false;
  stoppedAt_ = at;
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
