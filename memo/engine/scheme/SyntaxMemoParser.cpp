#include "memo/engine/scheme/SyntaxMemoParser.h"

#include "memo/engine/scheme/Appearance.h"

#include <cstring>
#include <utility>

#include "memo/engine/scheme/StdScanners.h"

namespace vlr {

using velora::memo::EdStream;
using velora::memo::Pos;
using velora::memo::StyleEffect;

namespace {
const TSM_CharGroup kNoChars{};
}  // namespace

struct TSyntaxMemoParser::State final : velora::memo::TokenScanner::SavedState {
  const TSyntaxMemoParser* owner = nullptr;
  std::uint64_t generation = 0;
  THighlightSet s, saved;
  TRTStack stack;
  bool inside = false;
  Pos containerEnd = 0;
};

TSyntaxMemoParser::TSyntaxMemoParser() { ClearTables(); }
TSyntaxMemoParser::~TSyntaxMemoParser() { ReleaseControls(); }

void TSyntaxMemoParser::ClearTables() {
  tables_ = TSchemeTables{};
  hasTables_ = false;
  ++generation_;
  words_.Clear();
  kwTables_.clear();
  kwValid_.clear();
  default_ = RtTable{};
  default_.first.fill(-1);
  stateTables_.clear();
  tableOfState_.fill(nullptr);
  statesWithTable_ = {};
  hasHandler_ = {};
  records_ = {};
  context_ = {};
  start_ = {};
  start_.Set(0);
  anchors_ = {};
  anchors_.Set(0);
  styles_.fill(StyleEffect{});
  styleCount_ = 1;
  templates_.clear();
  autoReplace_.clear();
  prose_.set();
  ForgetViews();
  resetStart();
}

TSyntaxMemoParser::RtPart TSyntaxMemoParser::Resolve(const TScanPart& p) const {
  RtPart r;
  r.kind = p.kind;
  r.scanner = p.scanner;
  r.custom = p.custom;
  if (p.kind == TScanPart::Kind::Group)
    r.group = p.group < tables_.groups.size() ? &tables_.groups[p.group] : &kNoChars;
  return r;
}

TSyntaxMemoParser::RtSpec TSyntaxMemoParser::Resolve(const TBodySpec& s) const {
  RtSpec r;
  r.body = Resolve(s.body);
  r.optionalBody = s.optionalBody;
  r.termCount = std::uint8_t(s.termCount > 4 ? 4 : s.termCount);
  for (std::size_t i = 0; i < r.termCount; ++i) r.term[i] = Resolve(s.term[i]);
  r.flag = s.flag;
  if (r.body.kind == TScanPart::Kind::Group && r.termCount == 1 && r.term[0].kind == TScanPart::Kind::Group) {
    TSM_CharGroup rest = *r.body.group;
    rest.Complement();
    r.run = rest == *r.term[0].group;
  }
  return r;
}

TSyntaxMemoParser::RtTable TSyntaxMemoParser::Resolve(const TTokenTable& t) const {
  RtTable r;
  r.first = t.first;
  for (auto& f : r.first)
    if (f >= std::int16_t(t.entries.size())) f = -1;
  r.entries.reserve(t.entries.size());
  for (const TTokenEntry& e : t.entries) {
    RtEntry x;
    x.startIsScanner = e.startIsScanner;
    x.startScanner = e.startScanner;
    x.spec = Resolve(e.spec);
    x.valid = THighlightSet::From(e.valid);
    x.value = e.value;
    r.entries.push_back(x);
  }
  return r;
}

void TSyntaxMemoParser::SetTables(TSchemeTables tables) {
  ClearTables();
  tables_ = std::move(tables);
  hasTables_ = true;
  words_.Build(tables_.words, tables_.groups, tables_.settings.caseSensitive);
  for (const TKeywordTable& k : tables_.keywordTables) {
    kwTables_.emplace_back();
    kwTables_.back().Build(k);
    kwValid_.push_back(THighlightSet::From(k.valid));
  }
  default_ = Resolve(tables_.defaultTable);
  stateTables_.reserve(tables_.stateTables.size());
  for (const TTokenTable& t : tables_.stateTables) stateTables_.push_back(Resolve(t));
  for (std::size_t st = 0; st < 256; ++st) {
    const std::int16_t i = tables_.stateTableOf[st];
    if (i >= 0 && std::size_t(i) < stateTables_.size()) {
      tableOfState_[st] = &stateTables_[std::size_t(i)];
      statesWithTable_.Set(std::uint8_t(st));
    }
  }
  hasHandler_ = THighlightSet::From(tables_.hasHandler);
  for (std::size_t t = 0; t < 256; ++t) {
    if (hasHandler_.Test(std::uint8_t(t))) handlers_[t] = Resolve(tables_.handlers[t]);
    const TTokenRecord& rec = tables_.records[t];
    RtRecord& r = records_[t];
    r.present = rec.present;
    r.valid = THighlightSet::From(rec.valid);
    r.hasValid = !r.valid.Empty();
    r.toSet = THighlightSet::From(rec.toSet);
    r.toClear = THighlightSet::From(rec.toClear);
    r.container = rec.container;
    r.noStateChange = rec.noStateChange;
    r.pushPop = rec.pushPop;
    context_[t] = THighlightSet::From(tables_.contextStates[t]);
  }
  ResolveStyles();
  start_ = THighlightSet::From(tables_.startStates);
  anchors_ = THighlightSet::From(tables_.anchors);
  BuildTypingAids();
  ForgetViews();  // those of the start states were worked out without the tables
  resetStart();
  TablesChanged();
}

void TSyntaxMemoParser::ResolveStyles() {
  if (!hasTables_) return;
  // The light or the dark style set, as the appearance setting and the desktop say.
  const std::array<TSchemeEffect, 256>& effects = ActiveEffects(tables_);
  styleCount_ = 1;
  for (std::size_t t = 0; t < 256; ++t) {
    // Styles by token value: the map picks the style, the effect gives its look.
    const TSchemeEffect& fx = effects[tables_.map[t]];
    StyleEffect& e = styles_[t];
    e = StyleEffect{};
    if (fx.present) {
      e.foreground = fx.foreground;
      e.background = fx.background;
      e.defaultForeground = fx.defaultForeground;
      e.defaultBackground = fx.defaultBackground;
      e.bold = fx.fontStyle & 1u;
      e.italic = fx.fontStyle & 2u;
      e.underline = fx.fontStyle & 4u;
      e.hotspot = fx.hotspot;
    }
    if (tables_.map[t] != 0 || fx.present) styleCount_ = int(t) + 1;
  }
}

void TSyntaxMemoParser::BuildTypingAids() {
  templates_.clear();
  for (const TTemplateEntry& t : tables_.templates) templates_.add({t.name, t.description, t.text});
  templates_.hotKey = tables_.templateHotKey;
  autoReplace_.clear();
  for (const TReplaceEntry& r : tables_.autoReplace) autoReplace_.add({r.item, "", r.replacement});
  try {
    // A table with a repeated sequence (only a damaged form has one) keeps the sequences
    // before it, as the compiler would have.
    keys_.SetTable(tables_.keys);
  } catch (const EKeyControllerException&) {
  }
  try {
    autoReplace_.setActKeys(tables_.actKeys);
  } catch (const velora::memo::ESyntaxMemo&) {
    autoReplace_.setActKeys(kDefaultActKeys);  // a malformed list keeps the default keys
  }
  // The states each token value is produced in (state 0, part of every entry's set, aside).
  std::array<TStateSet, 256> producedIn{};
  auto produce = [&](std::uint8_t v, const TStateSet& valid) { producedIn[v] |= valid; };
  for (const TTokenEntry& e : tables_.defaultTable.entries) produce(e.value, e.valid);
  for (const TTokenTable& t : tables_.stateTables)
    for (const TTokenEntry& e : t.entries) produce(e.value, e.valid);
  for (const TWordEntry& w : tables_.words) produce(w.value, w.valid);
  for (const TKeywordTable& k : tables_.keywordTables)
    for (const TKeywordTable::Word& w : k.words) produce(w.value, k.valid);
  // Prose is what is produced only in the start states or in the bound states (text the scheme
  // keeps apart from the rest, such as a title's).
  TStateSet start = tables_.startStates;
  start.reset(0);
  const bool noStates = start.none();  // a scheme without states has nothing but prose
  start |= tables_.boundStates;
  start.reset(0);
  prose_.reset();
  for (std::size_t v = 0; v < 256; ++v) {
    TStateSet in = producedIn[v];
    in.reset(0);
    prose_[v] = noStates || (in.any() && (in & ~start).none());
  }
}

void TSyntaxMemoParser::BuildView(View& v, const THighlightSet& s) const {
  v.s = s;
  const int st = s.LowestCommon(statesWithTable_);
  v.table = st >= 0 ? tableOfState_[std::size_t(st)] : &default_;
  v.kw = nullptr;
  for (std::size_t i = 0; i < kwTables_.size(); ++i) {
    if (kwValid_[i].Meets(s)) {
      v.kw = &kwTables_[i];
      break;
    }
  }
  v.wordStart = {};
  v.invalid = {};
  for (unsigned c = 0; c < 256; ++c) {
    const auto b = std::uint8_t(c);
    if (words_.MayStart(b, s) || (v.kw && v.kw->MayStart(b, s))) v.wordStart.Set(b);
    const std::int16_t idx = v.table->first[c];
    const RtEntry* e = idx >= 0 ? &v.table->entries[std::size_t(idx)] : nullptr;
    v.entry[c] = e && e->valid.Meets(s) ? e : nullptr;
    const RtRecord& rec = records_[c];
    if (rec.present && rec.hasValid && !rec.valid.Meets(s)) v.invalid.Set(b);
  }
  // Where no word can start, the common entries are scanned without ScanOne: a start character
  // alone, or a start and a run of body characters (an optional body whose terminator is every
  // other character, not taken into the token).
  // Where a word may start, its second byte tells most of the time that none does.
  v.second.clear();
  for (unsigned c = 0; c < 256; ++c) {
    const auto b = std::uint8_t(c);
    std::uint8_t how = kScanGeneral;
    const RtEntry* e = v.entry[c];
    if (!e) {
      how = kScanFail;
    } else if (!e->startIsScanner) {
      const RtSpec& sp = e->spec;
      const bool single = sp.termCount == 0 && (sp.optionalBody || sp.body.kind == TScanPart::Kind::None);
      const bool run = sp.run && sp.optionalBody && !sp.flag;
      if (single || run) how = v.invalid.Test(e->value) ? kScanFail : single ? kScanSingle : kScanRun;
    }
    v.plain[c] = how;
    v.secondOf[c] = 0;
    if (v.wordStart.Test(b)) {
      THighlightSet second;
      words_.AddSecondBytes(b, s, second);
      if (v.kw) v.kw->AddSecondBytes(b, s, second);
      how = kScanGeneral;
      if (v.plain[c] != kScanGeneral && v.second.size() < 255) {
        how = kScanMaybeWord;
        v.secondOf[c] = std::uint8_t(v.second.size());
        v.second.push_back(second);
      }
    }
    v.how[c] = how;
  }
  v.next.fill(kNextUnknown);
}

std::uint32_t TSyntaxMemoParser::ViewOf(const THighlightSet& s) {
  if (const auto it = viewIds_.find(s); it != viewIds_.end()) return it->second;
  if (views_.size() >= kMaxViews) {
    if (!scratch_) scratch_ = std::make_unique<View>();
    BuildView(*scratch_, s);
    return kScratchView;
  }
  auto v = std::make_unique<View>();
  BuildView(*v, s);
  const auto id = std::uint32_t(views_.size());
  views_.push_back(std::move(v));
  viewIds_.emplace(s, id);
  return id;
}

void TSyntaxMemoParser::ForgetViews() noexcept {
  views_.clear();
  viewIds_.clear();
  scratch_.reset();
  view_ = nullptr;
  viewId_ = kScratchView;
}

std::uint32_t TSyntaxMemoParser::NextView(std::uint32_t from, std::uint8_t t) {
  const RtRecord& rec = records_[t];
  std::uint32_t to = from;
  if (rec.present) {
    if (rec.pushPop != 0 || rec.container) {
      to = kNextSlow;
    } else if (!rec.noStateChange) {
      THighlightSet ns = ViewAt(from).s;
      ns.Change(rec.toSet, rec.toClear);
      to = ViewOf(ns);
    }
  }
  // The scratch view changes its set, so neither it nor a way to it is kept.
  if (from != kScratchView && to != kScratchView) views_[from]->next[t] = to;
  return to;
}

void TSyntaxMemoParser::ChooseTables() {
  viewId_ = ViewOf(s_);
  view_ = &ViewAt(viewId_);
  table_ = view_->table;
  kw_ = view_->kw;
}

void TSyntaxMemoParser::resetContext(std::uint8_t context) {
  s_ = context_[context].Empty() ? start_ : context_[context];
  inside_ = false;
  containerEnd_ = 0;
  saved_ = {};
  stack_ = TRTStack{};
  ChooseTables();
}

void TSyntaxMemoParser::resetStart() {
  s_ = start_;
  inside_ = false;
  containerEnd_ = 0;
  saved_ = {};
  stack_ = TRTStack{};
  ChooseTables();
}

std::unique_ptr<velora::memo::TokenScanner::SavedState> TSyntaxMemoParser::saveState() const {
  auto st = std::make_unique<State>();
  st->owner = this;
  st->generation = generation_;
  st->s = s_;
  st->saved = saved_;
  st->stack = stack_;
  st->inside = inside_;
  st->containerEnd = containerEnd_;
  return st;
}

bool TSyntaxMemoParser::restoreState(const SavedState& saved) {
  const auto* st = dynamic_cast<const State*>(&saved);
  if (!st || st->owner != this || st->generation != generation_) return false;
  s_ = st->s;
  saved_ = st->saved;
  stack_ = st->stack;
  inside_ = st->inside;
  containerEnd_ = st->containerEnd;
  ChooseTables();
  return true;
}

// A line state is the state set followed by the stack, bottom first, 32 bytes each. States with
// a deep stack are not kept (they are rare, and each would cost its whole stack).
namespace {
constexpr std::size_t kMaxLineStateDepth = 64;
}

bool TSyntaxMemoParser::lineState(std::string& out) const {
  if (inside_ || stack_.Depth() > kMaxLineStateDepth) return false;
  static_assert(sizeof(THighlightSet) == 32);
  out.resize(32 * (1 + stack_.Depth()));
  std::memcpy(out.data(), s_.w.data(), 32);
  std::size_t at = 32;
  for (const THighlightSet& x : stack_.Items()) {
    std::memcpy(out.data() + at, x.w.data(), 32);
    at += 32;
  }
  return true;
}

bool TSyntaxMemoParser::sameLineState(std::string_view state) const {
  if (inside_ || stack_.Depth() > kMaxLineStateDepth || state.size() != 32 * (1 + stack_.Depth())) return false;
  if (std::memcmp(state.data(), s_.w.data(), 32) != 0) return false;
  std::size_t at = 32;
  for (const THighlightSet& x : stack_.Items()) {
    if (std::memcmp(state.data() + at, x.w.data(), 32) != 0) return false;
    at += 32;
  }
  return true;
}

bool TSyntaxMemoParser::restoreLineState(std::string_view state) {
  if (state.empty() || state.size() % 32 != 0) return false;
  std::memcpy(s_.w.data(), state.data(), 32);
  stack_ = TRTStack{};
  for (std::size_t at = 32; at < state.size(); at += 32) {
    THighlightSet x;
    std::memcpy(x.w.data(), state.data() + at, 32);
    stack_.Push(x);
  }
  inside_ = false;
  containerEnd_ = 0;
  saved_ = {};
  ChooseTables();
  return true;
}

StyleEffect TSyntaxMemoParser::styleOf(std::uint8_t token) const { return styles_[token]; }

bool TSyntaxMemoParser::Custom(int id, EdStream& s, Pos tokenStart, int& value) {
  if (!OnCustomParse) return false;
  int length = int(s.position() - tokenStart);
  int v = value;
  const Pos before = s.position();
  if (!OnCustomParse(*this, id, s, length, v)) {
    s.setPosition(before);
    return false;
  }
  value = v & 0xFF;
  return true;
}

bool TSyntaxMemoParser::MatchPart(const RtPart& p, EdStream& s, Pos tokenStart, int& value) {
  switch (p.kind) {
    case TScanPart::Kind::None:
      return true;
    case TScanPart::Kind::Group:
      if (s.atEnd() || !p.group->Contains(s.current())) return false;
      s.advance();
      return true;
    case TScanPart::Kind::Scanner:
      return RunStdScanner(p.scanner, s, tokenStart);
    case TScanPart::Kind::Custom:
      return Custom(p.custom, s, tokenStart, value);
  }
  return false;
}

bool TSyntaxMemoParser::MatchTerminator(const RtSpec& spec, EdStream& s, Pos tokenStart, int& value) {
  if (spec.termCount == 0) return true;  // an empty terminator matches with no characters
  if (spec.term[0].kind != TScanPart::Kind::Group) return MatchPart(spec.term[0], s, tokenStart, value);
  for (std::size_t i = 0; i < spec.termCount; ++i) {
    const RtPart& g = spec.term[i];
    if (g.kind != TScanPart::Kind::Group || s.atEnd() || !g.group->Contains(s.current())) return false;
    s.advance();
  }
  return true;
}

bool TSyntaxMemoParser::RunSpec(const RtSpec& spec, EdStream& s, Pos tokenStart, int& value) {
  if (spec.body.kind == TScanPart::Kind::None && spec.termCount == 0) return true;  // start alone
  if (spec.body.kind == TScanPart::Kind::Group &&
      (spec.termCount == 0 || (spec.termCount == 1 && spec.term[0].kind == TScanPart::Kind::Group))) {
    // The common run "body characters up to a terminator character", in one tight loop.
    const TSM_CharGroup& body = *spec.body.group;
    const TSM_CharGroup* term = spec.termCount ? spec.term[0].group : nullptr;
    if (spec.optionalBody && !term) return true;  // an empty terminator matches with no characters
    if (spec.run) {
      // The terminator is every character outside the body: the token is the run of body
      // characters (at least one unless the body is optional), read straight from the records.
      bool any = spec.optionalBody;
      for (;;) {
        const char* q = s.data();
        const char* const e = s.recordEnd();
        const char* const from = q;
        while (q < e && body.Contains(*q)) ++q;
        any = any || q != from;
        if (q < e) {
          if (!any) {  // the first character is in neither group
            s.skipTo(q);
            return false;
          }
          if (spec.flag) ++q;
          s.skipTo(q);
          return true;
        }
        s.skipTo(q);
        if (s.atEnd()) return true;
      }
    }
    bool tryTerm = spec.optionalBody;
    for (;;) {
      if (tryTerm) {
        if (!term) return true;
        if (!s.atEnd() && term->Contains(s.current())) {
          if (spec.flag) s.advance();
          return true;
        }
      }
      tryTerm = true;
      if (s.atEnd()) return true;
      if (!body.Contains(s.current())) return false;
      s.advance();
    }
  }
  bool first = true;
  for (;;) {
    if (!first || spec.optionalBody) {
      const Pos t = s.position();
      if (MatchTerminator(spec, s, tokenStart, value)) {
        if (!spec.flag) s.setPosition(t);
        return true;
      }
      s.setPosition(t);
    }
    first = false;
    if (s.atEnd()) return true;
    const Pos b = s.position();
    if (!MatchPart(spec.body, s, tokenStart, value)) return false;
    // A body that accepted nothing would repeat for ever: the token ends here.
    if (s.position() == b) return true;
  }
}

void TSyntaxMemoParser::ApplyRecord(const RtRecord& r) {
  if (r.pushPop == kPopBefore) stack_.Pop(s_);
  else if (r.pushPop == kPushBefore) stack_.Push(s_);
  if (!r.noStateChange) s_.Change(r.toSet, r.toClear);
  if (r.pushPop == kPopAfter) stack_.Pop(s_);
  else if (r.pushPop == kPushAfter) stack_.Push(s_);
  ChooseTables();
}

std::uint8_t TSyntaxMemoParser::scanToken(velora::memo::MemoEngine&, EdStream& stream, int& length) {
  return ScanToken(stream, length);
}

std::uint8_t TSyntaxMemoParser::scanTokens(velora::memo::MemoEngine&, EdStream& s, Pos limit,
                                           std::uint8_t* values, Pos base) {
  std::uint8_t t = 0;
  for (Pos pos = s.position(); pos < limit;) {
    // Before `limit` the stream is not at the end of the text: q < e.
    const char* const q = s.data();
    const char* const e = s.recordEnd();
    const View& v = *view_;
    const auto c = static_cast<std::uint8_t>(*q);
    const char* r = q + 1;
    std::uint8_t how = inside_ ? kScanGeneral : v.how[c];
    if (how == kScanMaybeWord)
      how = r < e && !v.second[v.secondOf[c]].Test(static_cast<std::uint8_t>(*r)) ? v.plain[c] : kScanGeneral;
    std::uint32_t next = kNextSlow;
    if (how != kScanGeneral) {
      t = how == kScanFail ? 0 : v.entry[c]->value;
      if (how == kScanRun) {
        const TSM_CharGroup& body = *v.entry[c]->spec.body.group;
        while (r < e && body.Contains(*r)) ++r;
        if (r == e) r = nullptr;  // the run may go on in the next record: ScanOne follows it
      }
      if (r) {
        next = v.next[t];
        if (next == kNextUnknown) next = NextView(viewId_, t);
        // A lone character that starts no word and leaves the state as it is: the same
        // characters after it are the same tokens, so the whole row is taken at once
        // (indentation, for one). Where a word may start, the byte after decides each time.
        if (v.how[c] == kScanSingle && next == viewId_ && next != kScratchView)
          while (r < e && *r == *q) ++r;
      }
    }
    Pos end;
    if (next != kNextSlow) {
      // The token is [q, r) and leads to view `next`.
      if (next != viewId_ || next == kScratchView) {  // the scratch view may hold another set now
        viewId_ = next;
        view_ = &ViewAt(next);
        s_ = view_->s;
        table_ = view_->table;
        kw_ = view_->kw;
      }
      s.skipTo(r);
      end = pos + Pos(r - q);
    } else {
      t = ScanOne(s, pos);
      end = s.position();
      if (end <= pos) {  // not for a scan before the end of the text; kept as scanToken's callers do
        end = pos + 1;
        s.setPosition(end);
      }
    }
    std::uint8_t* out = values + (pos - base);
    const std::size_t n = std::size_t((end < limit ? end : limit) - pos);
    if (n <= 8) {
      for (std::size_t i = 0; i < n; ++i) out[i] = t;
    } else {
      std::memset(out, t, n);
    }
    pos = end;
  }
  return t;
}

std::uint8_t TSyntaxMemoParser::ScanToken(EdStream& s, int& length) {
  if (s.atEnd()) return 0;
  const Pos p = s.position();
  const std::uint8_t t = ScanOne(s, p);
  length += int(s.position() - p);
  return t;
}

inline std::uint8_t TSyntaxMemoParser::ScanOne(EdStream& s, const Pos p) {
  int t = 0;
  bool ok = false;
  const View& v = *view_;
  const auto c = static_cast<std::uint8_t>(s.current());

  // Words: the main table, then the keyword table of the current states.
  std::uint8_t wv = 0;
  int n = 0;
  if (v.wordStart.Test(c)) {
    n = words_.Match(s, s_, wv);
    if (n == 0 && v.kw) n = v.kw->Match(s, s_, wv);
  }
  if (n > 0) {
    for (int i = 0; i < n; ++i) s.advance();
    t = wv;
    ok = !hasHandler_.Test(wv) || RunSpec(handlers_[wv], s, p, t);
  } else {
    s.advance();
    if (const RtEntry* e = v.entry[c]) {
      t = e->value;
      if (e->startIsScanner) {
        s.setPosition(p);
        ok = RunStdScanner(e->startScanner, s, p);
      } else {
        ok = RunSpec(e->spec, s, p, t);
      }
    }
  }
  if (ok && (v.invalid.Test(std::uint8_t(t)) || s.position() <= p)) ok = false;
  if (!ok) {
    t = 0;
    s.setPosition(p + 1);
  }

  // State changes, and one-token containers.
  if (!inside_) {
    std::uint32_t next = v.next[std::size_t(t)];
    if (next == kNextUnknown) next = NextView(viewId_, std::uint8_t(t));
    if (next != kNextSlow) {
      if (next != viewId_ || next == kScratchView) {  // the scratch view may hold another set now
        viewId_ = next;
        view_ = &ViewAt(next);
        s_ = view_->s;
        table_ = view_->table;
        kw_ = view_->kw;
      }
      return std::uint8_t(t);
    }
  }
  const RtRecord& rec = records_[std::size_t(t)];
  if (!inside_) {
    if (rec.container) {
      // The states before the container come back after the one token that follows it.
      saved_ = s_;
      ApplyRecord(rec);
      inside_ = true;
      containerEnd_ = s.position();
    } else {
      ApplyRecord(rec);
    }
  } else {
    if (rec.present) ApplyRecord(rec);
    if (s.position() >= containerEnd_) {
      // The one token after the container has been scanned with the container's states.
      s_ = saved_;
      inside_ = false;
      ChooseTables();
    }
  }
  return std::uint8_t(t);
}

}  // namespace vlr
