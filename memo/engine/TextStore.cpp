// Line store of the editor control: records in blocks, a Fenwick index over the blocks.
#include "memo/engine/TextStore.h"

#include <cstring>
#include <new>
#include <stdexcept>

#include "memo/engine/Utf8.h"

namespace velora::memo {

namespace {
std::size_t highestPowerOfTwo(std::size_t n) noexcept {
  std::size_t p = 1;
  while (p * 2 <= n) p *= 2;
  return p;
}
}  // namespace

TextStore::TextStore() { setText({}); }

TextStore::Sums TextStore::sumsOf(const std::vector<LineRecord>& recs) noexcept {
  Sums s;
  for (const auto& r : recs) {
    s.bytes += Pos(r.text.size());
    s.breaks += r.hard ? 1 : 0;
    s.chars += Pos(utf8CharCount(r.text));
  }
  s.recs = Pos(recs.size());
  return s;
}

void TextStore::rebuildIndex() {
  const std::size_t n = blocks_.size();
  fen_.assign(n + 1, Sums{});
  total_ = Sums{};
  for (std::size_t i = 1; i <= n; ++i) {
    fen_[i] += blocks_[i - 1].sums;
    total_ += blocks_[i - 1].sums;
    const std::size_t parent = i + (i & (~i + 1));
    if (parent <= n) fen_[parent] += fen_[i];
  }
  fenTop_ = highestPowerOfTwo(n);
}

void TextStore::fenAdd(std::size_t block, const Sums& delta) noexcept {
  for (std::size_t i = block + 1; i < fen_.size(); i += i & (~i + 1)) fen_[i] += delta;
  total_ += delta;
}

TextStore::Sums TextStore::fenPrefix(std::size_t block) const noexcept {
  Sums s;
  for (std::size_t i = block; i > 0; i -= i & (~i + 1)) s += fen_[i];
  return s;
}

void TextStore::cutRecords(std::string_view content, const std::vector<std::uint8_t>* tokens, bool last,
                           std::uint16_t flags, std::vector<LineRecord>& out) {
  std::size_t s = 0;
  const std::size_t n = content.size();
  bool lastHard = true;  // an empty content behaves like one ending in a break
  while (s < n) {
    const std::size_t lim = std::min(n, s + kMaxRecordBytes);
    const void* cr = std::memchr(content.data() + s, '\r', lim - s);
    const std::size_t e = cr ? std::size_t(static_cast<const char*>(cr) - content.data()) + 1 : lim;
    LineRecord rec;
    rec.text.reserve(e - s);
    rec.text.append(content.data() + s, e - s);
    rec.hard = cr != nullptr;
    if (tokens) rec.tokens.assign(tokens->begin() + std::ptrdiff_t(s), tokens->begin() + std::ptrdiff_t(e));
    rec.flags = flags;
    out.push_back(std::move(rec));
    lastHard = cr != nullptr;
    s = e;
  }
  if (last && lastHard) {
    LineRecord rec;
    rec.flags = flags;
    out.push_back(std::move(rec));
  }
}

void TextStore::setText(std::string_view raw) {
  // Records are built straight into blocks (no intermediate list), breaks found with memchr.
  blocks_.clear();
  blocks_.reserve(raw.size() / (48 * kBlockFill) + 1);
  const char* d = raw.data();
  const std::size_t n = raw.size();
  Block* blk = nullptr;
  auto emit = [&](std::size_t s, std::size_t e, bool hard) {
    if (!blk || blk->recs.size() == kBlockFill) {
      if (blk) blk->sums = sumsOf(blk->recs);
      blocks_.emplace_back();
      blk = &blocks_.back();
      blk->recs.reserve(kBlockFill);
    }
    LineRecord& rec = blk->recs.emplace_back();
    rec.text.reserve(e - s + (hard ? 1 : 0));
    rec.text.append(d + s, e - s);
    if (hard) rec.text.push_back('\r');
    rec.hard = hard;
    // Room for the token values is made with the text, so that highlighting the loaded text
    // writes them without an allocation per record.
    rec.tokens.reserve(rec.text.size());
  };
  // The next CR and LF at or after the scan position (n when there is none).
  auto findFrom = [&](char c, std::size_t from) -> std::size_t {
    const void* p = from < n ? std::memchr(d + from, c, n - from) : nullptr;
    return p ? std::size_t(static_cast<const char*>(p) - d) : n;
  };
  std::size_t nextCR = findFrom('\r', 0);
  std::size_t nextLF = findFrom('\n', 0);
  std::size_t s = 0;
  for (;;) {
    if (nextCR < s) nextCR = findFrom('\r', s);
    if (nextLF < s) nextLF = findFrom('\n', s);
    const std::size_t br = std::min(nextCR, nextLF);
    // Over-long lines are cut into continuation records of kMaxRecordBytes.
    while (br - s >= kMaxRecordBytes) {
      emit(s, s + kMaxRecordBytes, false);
      s += kMaxRecordBytes;
    }
    if (br == n) {
      emit(s, n, false);  // the last record never ends in a break; it may be empty
      break;
    }
    emit(s, br, true);
    const char other = d[br] == '\r' ? '\n' : '\r';
    s = (br + 1 < n && d[br + 1] == other) ? br + 2 : br + 1;
  }
  blk->sums = sumsOf(blk->recs);
  rebuildIndex();
  firstDirty_ = 0;
}

Location TextStore::locate(Pos p) const noexcept {
  p = clamp(p);
  const std::size_t nb = blocks_.size();
  std::size_t k = 0;
  Sums acc;
  for (std::size_t step = fenTop_; step; step >>= 1) {
    const std::size_t nk = k + step;
    if (nk <= nb && acc.bytes + fen_[nk].bytes <= p) {
      k = nk;
      acc += fen_[nk];
    }
  }
  if (k == nb) {  // p == length: the last block
    k = nb - 1;
    acc -= blocks_[k].sums;
  }
  const Block& blk = blocks_[k];
  Location loc;
  Pos off = p - acc.bytes;
  loc.recordStart = acc.bytes;
  loc.line = acc.breaks;
  loc.record = acc.recs;
  std::size_t i = 0;
  const std::size_t n = blk.recs.size();
  for (; i + 1 < n; ++i) {
    const LineRecord& r = blk.recs[i];
    const Pos len = Pos(r.text.size());
    if (off < len) break;
    off -= len;
    loc.recordStart += len;
    loc.line += r.hard ? 1 : 0;
    ++loc.record;
  }
  loc.ref = {k, i};
  loc.offset = std::size_t(off);
  return loc;
}

Pos TextStore::lineStart(LineNo line) const noexcept {
  if (line <= 0) return 0;
  if (line >= lineCount()) line = lineCount() - 1;
  if (line == 0) return 0;
  // The block holding the line-th break: the largest k whose prefix holds at most line-1 breaks.
  const std::size_t nb = blocks_.size();
  std::size_t k = 0;
  Sums acc;
  for (std::size_t step = fenTop_; step; step >>= 1) {
    const std::size_t nk = k + step;
    if (nk <= nb && acc.breaks + fen_[nk].breaks <= line - 1) {
      k = nk;
      acc += fen_[nk];
    }
  }
  const Block& blk = blocks_[k];
  Pos pos = acc.bytes;
  Pos count = acc.breaks;
  for (const LineRecord& r : blk.recs) {
    pos += Pos(r.text.size());
    if (r.hard && ++count == line) return pos;
  }
  return pos;  // not reached while the index is consistent
}

Pos TextStore::lineLength(LineNo line) const noexcept {
  if (line < 0) line = 0;
  if (line >= lineCount() - 1) return length() - lineStart(lineCount() - 1);
  return lineStart(line + 1) - 1 - lineStart(line);
}

std::string TextStore::lineText(LineNo line) const {
  const Pos s = lineStart(line);
  return text(s, s + lineLength(line));
}

Pos TextStore::breaksIn(Pos a, Pos b) const noexcept {
  a = clamp(a);
  b = clamp(b);
  if (a >= b) return 0;
  return lineFromPos(b) - lineFromPos(a);
}

std::string TextStore::text(Pos a, Pos b) const {
  std::string out;
  a = clamp(a);
  b = clamp(b);
  if (a >= b) return out;
  out.reserve(std::size_t(b - a));
  forEachSegment(a, b, [&](const LineRecord& r, std::size_t from, std::size_t to) {
    out.append(r.text.data() + from, to - from);
  });
  return out;
}

char TextStore::charAt(Pos p) const noexcept {
  if (p < 0 || p >= length()) return 0;
  const Location loc = locate(p);
  return record(loc.ref).text[loc.offset];
}

RecordRef TextStore::recordRef(RecNo r) const noexcept { return locateRecord(r).ref; }

Location TextStore::locateRecord(RecNo r) const noexcept {
  if (r < 0) r = 0;
  if (r >= recordCount()) r = recordCount() - 1;
  const std::size_t nb = blocks_.size();
  std::size_t k = 0;
  Sums acc;
  for (std::size_t step = fenTop_; step; step >>= 1) {
    const std::size_t nk = k + step;
    if (nk <= nb && acc.recs + fen_[nk].recs <= r) {
      k = nk;
      acc += fen_[nk];
    }
  }
  if (k == nb) {
    k = nb - 1;
    acc -= blocks_[k].sums;
  }
  Location loc;
  loc.record = r;
  loc.recordStart = acc.bytes;
  loc.line = acc.breaks;
  const std::size_t idx = std::size_t(r - acc.recs);
  for (std::size_t i = 0; i < idx; ++i) {
    loc.recordStart += Pos(blocks_[k].recs[i].text.size());
    loc.line += blocks_[k].recs[i].hard ? 1 : 0;
  }
  loc.ref = {k, idx};
  return loc;
}

bool TextStore::next(RecordRef& r) const noexcept {
  if (r.index + 1 < blocks_[r.block].recs.size()) {
    ++r.index;
    return true;
  }
  if (r.block + 1 < blocks_.size()) {
    ++r.block;
    r.index = 0;
    return true;
  }
  return false;
}

bool TextStore::prev(RecordRef& r) const noexcept {
  if (r.index > 0) {
    --r.index;
    return true;
  }
  if (r.block > 0) {
    --r.block;
    r.index = blocks_[r.block].recs.size() - 1;
    return true;
  }
  return false;
}

void TextStore::splice(RecordRef at, RecNo count, std::vector<LineRecord>&& repl) {
  const std::size_t nb = blocks_.size();
  const std::size_t b = at.block;
  // The end of the removed range: record j of block e (e == nb: the end of the chain).
  std::size_t e = b;
  std::size_t j = at.index;
  RecNo left = count;
  while (left > 0 && e < nb) {
    const std::size_t avail = blocks_[e].recs.size() - j;
    if (std::size_t(left) < avail) {
      j += std::size_t(left);
      left = 0;
    } else {
      left -= RecNo(avail);
      ++e;
      j = 0;
    }
  }
  if (e == b) {
    // Inside one block: edit it in place and update the index by the difference.
    auto& v = blocks_[b].recs;
    const std::size_t removed = j - at.index;
    const std::size_t common = std::min(removed, repl.size());
    for (std::size_t k = 0; k < common; ++k) v[at.index + k] = std::move(repl[k]);
    if (removed > common) {
      v.erase(v.begin() + std::ptrdiff_t(at.index + common), v.begin() + std::ptrdiff_t(j));
    } else if (repl.size() > common) {
      v.insert(v.begin() + std::ptrdiff_t(at.index + common), std::make_move_iterator(repl.begin() + std::ptrdiff_t(common)),
               std::make_move_iterator(repl.end()));
    }
    const bool tooSmall = v.size() < kBlockMax / 8 && nb > 1;
    if (!v.empty() && v.size() <= kBlockMax && !tooSmall) {
      const Sums fresh = sumsOf(v);
      Sums delta = fresh;
      delta -= blocks_[b].sums;
      blocks_[b].sums = fresh;
      fenAdd(b, delta);
      return;
    }
    repl.clear();
    j = v.size();
    // Fall through to re-cutting block b (with a neighbour when it became small).
    std::vector<LineRecord> seq = std::move(v);
    std::size_t first = b;
    std::size_t lastBlk = b;
    if (tooSmall || seq.empty()) {
      if (b + 1 < nb) {
        lastBlk = b + 1;
        for (auto& r : blocks_[b + 1].recs) seq.push_back(std::move(r));
      } else if (b > 0) {
        first = b - 1;
        std::vector<LineRecord> merged = std::move(blocks_[b - 1].recs);
        for (auto& r : seq) merged.push_back(std::move(r));
        seq = std::move(merged);
      }
    }
    spliceBlocks(first, lastBlk, seq);
    return;
  }
  // Across blocks: gather head of block b, the replacement and the tail of block e.
  std::vector<LineRecord> seq;
  auto& vb = blocks_[b].recs;
  seq.reserve(at.index + repl.size() + (e < nb ? blocks_[e].recs.size() - j : 0));
  for (std::size_t k = 0; k < at.index; ++k) seq.push_back(std::move(vb[k]));
  for (auto& r : repl) seq.push_back(std::move(r));
  std::size_t lastBlk = nb - 1;
  if (e < nb) {
    lastBlk = e;
    auto& ve = blocks_[e].recs;
    for (std::size_t k = j; k < ve.size(); ++k) seq.push_back(std::move(ve[k]));
  }
  spliceBlocks(b, lastBlk, seq);
}

// Replaces blocks first..last with the records of seq, cut into evenly
// filled blocks, and rebuilds the index.
void TextStore::spliceBlocks(std::size_t first, std::size_t last, std::vector<LineRecord>& seq) {
  std::vector<Block> fresh;
  const std::size_t total = seq.size();
  if (total > 0) {
    const std::size_t chunks = total <= kBlockMax ? 1 : (total + kBlockFill - 1) / kBlockFill;
    std::size_t pos = 0;
    for (std::size_t c = 0; c < chunks; ++c) {
      const std::size_t end = total * (c + 1) / chunks;
      Block blk;
      blk.recs.reserve(end - pos);
      for (; pos < end; ++pos) blk.recs.push_back(std::move(seq[pos]));
      blk.sums = sumsOf(blk.recs);
      fresh.push_back(std::move(blk));
    }
  }
  blocks_.erase(blocks_.begin() + std::ptrdiff_t(first), blocks_.begin() + std::ptrdiff_t(last + 1));
  blocks_.insert(blocks_.begin() + std::ptrdiff_t(first), std::make_move_iterator(fresh.begin()),
                 std::make_move_iterator(fresh.end()));
  rebuildIndex();
}

Pos TextStore::charsBefore(Pos p) const noexcept {
  p = clamp(p);
  const Location loc = locate(p);
  const Sums before = fenPrefix(loc.ref.block);
  Pos chars = before.chars;
  const Block& blk = blocks_[loc.ref.block];
  for (std::size_t i = 0; i < loc.ref.index; ++i) chars += Pos(utf8CharCount(blk.recs[i].text));
  const std::string_view rec = blk.recs[loc.ref.index].text;
  return chars + Pos(utf8CharCount(rec.substr(0, loc.offset)));
}

Pos TextStore::posOfChar(Pos c) const noexcept {
  if (c <= 0) return 0;
  if (c >= total_.chars) return length();
  // The block holding character c: the largest k whose prefix holds at most c characters.
  const std::size_t nb = blocks_.size();
  std::size_t k = 0;
  Sums acc;
  for (std::size_t step = fenTop_; step; step >>= 1) {
    const std::size_t nk = k + step;
    if (nk <= nb && acc.chars + fen_[nk].chars <= c) {
      k = nk;
      acc += fen_[nk];
    }
  }
  Pos pos = acc.bytes;
  Pos left = c - acc.chars;
  for (const LineRecord& r : blocks_[k].recs) {
    const Pos n = Pos(utf8CharCount(r.text));
    if (left < n) {
      std::size_t i = 0;
      for (; left > 0; --left) i += std::size_t(utf8CharLength(r.text, i));
      return pos + Pos(i);
    }
    left -= n;
    pos += Pos(r.text.size());
  }
  return pos;  // not reached while the index is consistent
}

Pos TextStore::insert(Pos p, std::string_view stored, bool withLimit) {
  if (stored.empty()) return 0;
  const Pos n = Pos(stored.size());
  if (withLimit && n > capacity_ - length()) throw std::bad_alloc();
  const Location loc = locate(p);
  LineRecord& rec = record(loc.ref);
  markDirty(loc.record);
  if (rec.text.size() + stored.size() <= kMaxRecordBytes && !std::memchr(stored.data(), '\r', stored.size())) {
    const Pos charsWere = Pos(utf8CharCount(rec.text));
    rec.text.insert(loc.offset, stored);
    if (!rec.tokens.empty()) rec.tokens.insert(rec.tokens.begin() + std::ptrdiff_t(loc.offset), stored.size(), 0);
    rec.flags |= kRecRepaint | kRecRescan;
    const Sums delta{n, 0, 0, Pos(utf8CharCount(rec.text)) - charsWere};
    blocks_[loc.ref.block].sums += delta;
    fenAdd(loc.ref.block, delta);
    return n;
  }
  std::string content;
  content.reserve(rec.text.size() + stored.size());
  content.append(rec.text, 0, loc.offset).append(stored).append(rec.text, loc.offset);
  std::vector<std::uint8_t> toks;
  const bool withTokens = !rec.tokens.empty();
  if (withTokens) {
    toks.reserve(content.size());
    toks.insert(toks.end(), rec.tokens.begin(), rec.tokens.begin() + std::ptrdiff_t(loc.offset));
    toks.insert(toks.end(), stored.size(), 0);
    toks.insert(toks.end(), rec.tokens.begin() + std::ptrdiff_t(loc.offset), rec.tokens.end());
  }
  std::vector<LineRecord> out;
  cutRecords(content, withTokens ? &toks : nullptr, isLast(loc.ref), std::uint16_t(rec.flags | kRecRepaint | kRecRescan), out);
  if (!out.empty()) out.front().scanState = rec.scanState;
  splice(loc.ref, 1, std::move(out));
  return n;
}

void TextStore::erase(Pos a, Pos b) {
  a = clamp(a);
  b = clamp(b);
  if (a >= b) return;
  const Location la = locate(a);
  const Location lb = locate(b);
  markDirty(la.record);
  if (la.record == lb.record) {
    LineRecord& rec = record(la.ref);
    const std::size_t n = std::size_t(b - a);
    const Pos charsWere = Pos(utf8CharCount(rec.text));
    rec.text.erase(la.offset, n);
    if (!rec.tokens.empty())
      rec.tokens.erase(rec.tokens.begin() + std::ptrdiff_t(la.offset), rec.tokens.begin() + std::ptrdiff_t(la.offset + n));
    rec.flags |= kRecRepaint | kRecRescan;
    const Sums delta{-Pos(n), 0, 0, Pos(utf8CharCount(rec.text)) - charsWere};
    blocks_[la.ref.block].sums += delta;
    fenAdd(la.ref.block, delta);
    return;
  }
  const LineRecord& ra = record(la.ref);
  const LineRecord& rb = record(lb.ref);
  std::string content;
  content.reserve(la.offset + rb.text.size() - lb.offset);
  content.append(ra.text, 0, la.offset).append(rb.text, lb.offset);
  std::vector<std::uint8_t> toks;
  const bool withTokens = !ra.tokens.empty() || !rb.tokens.empty();
  if (withTokens) {
    toks.reserve(content.size());
    if (ra.tokens.empty()) toks.insert(toks.end(), la.offset, 0);
    else toks.insert(toks.end(), ra.tokens.begin(), ra.tokens.begin() + std::ptrdiff_t(la.offset));
    if (rb.tokens.empty()) toks.insert(toks.end(), rb.text.size() - lb.offset, 0);
    else toks.insert(toks.end(), rb.tokens.begin() + std::ptrdiff_t(lb.offset), rb.tokens.end());
  }
  std::vector<LineRecord> out;
  cutRecords(content, withTokens ? &toks : nullptr, isLast(lb.ref), std::uint16_t(ra.flags | kRecRepaint | kRecRescan), out);
  if (!out.empty()) out.front().scanState = ra.scanState;
  splice(la.ref, lb.record - la.record + 1, std::move(out));
}

std::size_t TextStore::memoryUse() const noexcept {
  std::size_t m = blocks_.capacity() * sizeof(Block) + fen_.capacity() * sizeof(Sums);
  for (const auto& b : blocks_) {
    m += b.recs.capacity() * sizeof(LineRecord);
    for (const auto& r : b.recs) {
      if (r.text.capacity() > 15) m += r.text.capacity() + 1;
      m += r.tokens.capacity();
    }
  }
  return m;
}

void TextStore::checkInvariants() const {
  auto fail = [](const char* what) { throw std::logic_error(what); };
  if (blocks_.empty()) fail("no blocks");
  Sums all;
  for (std::size_t k = 0; k < blocks_.size(); ++k) {
    const Block& b = blocks_[k];
    if (b.recs.empty()) fail("empty block");
    if (b.recs.size() > kBlockMax) fail("block too large");
    const Sums s = sumsOf(b.recs);
    if (s.bytes != b.sums.bytes || s.breaks != b.sums.breaks || s.recs != b.sums.recs || s.chars != b.sums.chars)
      fail("block sums");
    const Sums pre = fenPrefix(k);
    if (pre.bytes != all.bytes || pre.breaks != all.breaks || pre.recs != all.recs || pre.chars != all.chars)
      fail("fenwick prefix");
    all += s;
    for (std::size_t i = 0; i < b.recs.size(); ++i) {
      const LineRecord& r = b.recs[i];
      const bool last = k + 1 == blocks_.size() && i + 1 == b.recs.size();
      if (r.text.size() > kMaxRecordBytes) fail("record too long");
      if (r.hard != (!r.text.empty() && r.text.back() == '\r')) fail("hard flag");
      const auto cr = r.text.find('\r');
      if (cr != std::string::npos && cr + 1 != r.text.size()) fail("CR inside record");
      if (r.text.find('\n') != std::string::npos) fail("LF stored");
      if (last && r.hard) fail("last record ends in CR");
      if (!last && r.text.empty()) fail("empty record");
      if (!r.tokens.empty() && r.tokens.size() != r.text.size()) fail("token array length");
    }
  }
  if (all.bytes != total_.bytes || all.breaks != total_.breaks || all.recs != total_.recs || all.chars != total_.chars)
    fail("totals");
}

}  // namespace velora::memo
