// Markup pairs from the HTML scheme's token values (see the scheme's table of token values).
#include "memo/engine/MarkupPairs.h"

#include <algorithm>
#include <array>
#include <string>

namespace velora::memo {

namespace {

// Token values of the HTML scheme that delimit pairs.
enum : std::uint8_t {
  kTagOpen = 7,          // "<" before an element name
  kTagClose = 8,         // "</" before an element name
  kScriptOpen = 9,       // "<script"
  kScriptClose = 10,     // "</script"
  kCommentOpen = 11,     // "<!--"
  kCommentClose = 13,    // "-->"
  kTagEnd = 14,          // ">" or "/>" closing a tag
  kKnownName = 21,
  kOtherName = 22,
  kJsCommentOpen = 32,
  kJsCommentClose = 35,
  kStyleOpen = 45,       // "<style"
  kStyleClose = 46,      // "</style"
  kBlockOpen = 103,      // "<+"
  kBlockClose = 104,     // "+>"
  kPageOpen = 107,       // "<%"
  kPageClose = 108,      // "%>"
  kCssCommentOpen1 = 113, kCssCommentOpen2 = 122, kCssCommentOpen3 = 132,
  kCssCommentClose1 = 134, kCssCommentClose2 = 135, kCssCommentClose3 = 136,
  kCodeOpen = 144,       // "<?"
  kCodeClose = 145,      // "?>"
  kTextTagOpen = 190,    // "<textarea" and "<title"
  kTextTagClose = 194,   // "</textarea" and "</title"
};

bool isOpenBrace(std::uint8_t v) { return v == 44 || v == 112 || v == 124 || v == 188 || v == 198; }
bool isCloseBrace(std::uint8_t v) { return v == 44 || v == 184 || v == 121 || v == 128 || v == 199 || v == 118; }

// Elements whose end tag may be left out: they end before a sibling of the same name or at their
// parent's end tag.
bool optionalEnd(std::string_view n) {
  static constexpr std::array<std::string_view, 21> kNames = {
      "p", "li", "dt", "dd", "option", "optgroup", "tr", "td", "th", "thead", "tbody",
      "tfoot", "colgroup", "caption", "rb", "rt", "rtc", "rp", "head", "body", "html"};
  return std::find(kNames.begin(), kNames.end(), n) != kNames.end();
}

std::uint32_t hashName(std::string_view n) {
  std::uint32_t h = 2166136261u;
  for (const char c : n) h = (h ^ std::uint8_t(c)) * 16777619u;
  return h | 1u;  // never 0
}

bool nameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         c == ':' || c == '.' || std::uint8_t(c) >= 0x80;
}

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}

// A line's text and token values (zeros where none are computed).
struct LineData {
  std::string text;
  std::vector<std::uint8_t> tokens;
  Pos start = 0;
};

LineData readRange(const TextStore& store, Pos start, Pos end) {
  LineData d;
  d.start = start;
  d.text.reserve(std::size_t(end - d.start));
  d.tokens.reserve(std::size_t(end - d.start));
  store.forEachSegment(d.start, end, [&](const LineRecord& r, std::size_t from, std::size_t to) {
    d.text.append(r.text, from, to - from);
    if (r.tokens.size() == r.text.size())
      d.tokens.insert(d.tokens.end(), r.tokens.begin() + std::ptrdiff_t(from), r.tokens.begin() + std::ptrdiff_t(to));
    else
      d.tokens.insert(d.tokens.end(), to - from, 0);
  });
  return d;
}

LineData readLine(const TextStore& store, LineNo line) {
  return readRange(store, store.lineStart(line), store.lineEnd(line));
}

// How many lines away matching looks for a partner (a tag without one costs no more).
constexpr LineNo kMatchReach = 400;
// How much of a long line around a position EventAt looks at.
constexpr Pos kEventWindow = 4096;
// Lines longer than this get no fold marker (a minified page: its pairs are on the line).
constexpr Pos kProbeLineLimit = 65536;

// The events of a line's text and tokens, appended to `out`.
void scanEvents(std::string_view t, const std::uint8_t* k, Pos base, std::vector<MarkupEvent>& out) {
  const std::size_t n = t.size();
  auto simple = [&](std::size_t i, std::size_t len, PairKind kind, bool open) {
    MarkupEvent e;
    e.at = e.nameAt = base + Pos(i);
    e.length = e.nameLength = Pos(len);
    e.kind = kind;
    e.open = open;
    out.push_back(e);
  };
  std::size_t i = 0;
  while (i < n) {
    const std::uint8_t v = k[i];
    const char c = t[i];
    switch (v) {
      case kTagOpen: case kTagClose: case kScriptOpen: case kScriptClose: case kStyleOpen: case kStyleClose:
      case kTextTagOpen: case kTextTagClose: {
        const bool open = v == kTagOpen || v == kScriptOpen || v == kStyleOpen || v == kTextTagOpen;
        std::size_t j = i + (open ? 1 : 2);
        if (c != '<' || j > n) break;
        std::size_t e = j;
        if (v == kTagOpen || v == kTagClose) {
          while (e < n && (k[e] == kKnownName || k[e] == kOtherName)) ++e;
        } else {
          while (e < n && k[e] == v && nameChar(t[e])) ++e;
        }
        if (e == j) break;
        const std::string name = lower(t.substr(j, e - j));
        if (open) {
          // A start tag closed by "/>" and a void element open nothing.
          std::size_t g = e;
          while (g < n && k[g] != kTagEnd && k[g] != kTagOpen && k[g] != kTagClose) ++g;
          const bool selfClosed = g < n && k[g] == kTagEnd && t[g] == '/';
          if (selfClosed || IsVoidElement(name)) {
            i = e;
            continue;
          }
        }
        MarkupEvent ev;
        ev.at = base + Pos(i);
        ev.length = Pos(e - i);
        ev.nameAt = base + Pos(j);
        ev.nameLength = Pos(e - j);
        ev.name = hashName(name);
        ev.kind = PairKind::Tag;
        ev.open = open;
        out.push_back(ev);
        i = e;
        continue;
      }
      case kCommentOpen:
        if (c == '<' && i + 4 <= n) { simple(i, 4, PairKind::Comment, true); i += 4; continue; }
        break;
      case kCommentClose:
        if (c == '-' && i + 3 <= n) { simple(i, 3, PairKind::Comment, false); i += 3; continue; }
        break;
      case kCodeOpen: case kCodeClose: case kPageOpen: case kPageClose: case kBlockOpen: case kBlockClose:
        if (i + 2 <= n) {
          const PairKind kind = v == kCodeOpen || v == kCodeClose ? PairKind::ServerCode
                                : v == kPageOpen || v == kPageClose ? PairKind::ServerPage
                                                                    : PairKind::ScriptBlock;
          simple(i, 2, kind, v == kCodeOpen || v == kPageOpen || v == kBlockOpen);
          i += 2;
          continue;
        }
        break;
      case kJsCommentOpen: case kCssCommentOpen1: case kCssCommentOpen2: case kCssCommentOpen3:
        if (c == '/' && i + 2 <= n) { simple(i, 2, PairKind::BlockComment, true); i += 2; continue; }
        break;
      case kJsCommentClose: case kCssCommentClose1: case kCssCommentClose2: case kCssCommentClose3:
        if (c == '*' && i + 2 <= n && t[i + 1] == '/') { simple(i, 2, PairKind::BlockComment, false); i += 2; continue; }
        break;
      default:
        if (c == '{' && isOpenBrace(v)) simple(i, 1, PairKind::Brace, true);
        else if (c == '}' && isCloseBrace(v)) simple(i, 1, PairKind::Brace, false);
        break;
    }
    ++i;
  }
}

const std::uint32_t kScriptName = hashName("script");
const std::uint32_t kStyleName = hashName("style");

bool endsCode(const MarkupEvent& e) {
  return e.kind == PairKind::Tag && (e.name == kScriptName || e.name == kStyleName);
}

// A tag name's text, for the rules of optional end tags.
std::string nameText(const TextStore& store, const MarkupEvent& e) {
  return lower(store.text(e.nameAt, e.nameAt + e.nameLength));
}

}  // namespace

bool IsVoidElement(std::string_view n) noexcept {
  static constexpr std::array<std::string_view, 16> kVoid = {"area", "base", "br", "col", "embed", "hr",
                                                             "img", "input", "link", "meta", "param", "source",
                                                             "track", "wbr", "keygen", "command"};
  return std::find(kVoid.begin(), kVoid.end(), n) != kVoid.end();
}

std::vector<MarkupEvent> LineEvents(const TextStore& store, LineNo line) {
  std::vector<MarkupEvent> out;
  if (line < 0 || line >= store.lineCount()) return out;
  const LineData d = readLine(store, line);
  scanEvents(d.text, d.tokens.data(), d.start, out);
  return out;
}

namespace {

// The partner search over lines whose events come from eventsOf(line), so that a caller looking
// at several events of the same few lines reads each line once.
template <class EventsOf>
std::optional<MarkupPartner> FindPartnerIn(const TextStore& store, LineNo line, const MarkupEvent& ev, LineNo lastLine,
                                           LineNo firstLine, EventsOf&& eventsOf) {
  const bool forward = ev.open;
  const bool optional = ev.kind == PairKind::Tag && forward && optionalEnd(nameText(store, ev));
  std::vector<std::uint32_t> tags{ev.name};  // open (forward) or closed (backward) elements
  int depth = 1;
  lastLine = std::min(lastLine, store.lineCount() - 1);
  firstLine = std::max<LineNo>(firstLine, 0);
  for (LineNo l = line; forward ? l <= lastLine : l >= firstLine; l += forward ? 1 : -1) {
    const std::vector<MarkupEvent>& evs = eventsOf(l);
    const std::size_t count = evs.size();
    for (std::size_t k = 0; k < count; ++k) {
      const MarkupEvent& e = evs[forward ? k : count - 1 - k];
      if (l == line && (forward ? e.at <= ev.at : e.at >= ev.at)) continue;
      if (ev.kind != PairKind::Tag) {
        if (ev.kind == PairKind::Brace || ev.kind == PairKind::BlockComment) {
          if (endsCode(e)) return std::nullopt;  // the script or style block ends first
        }
        if (e.kind != ev.kind) continue;
        if (ev.kind == PairKind::Brace) depth += e.open == forward ? 1 : -1;
        else if (e.open != forward) depth = 0;  // comments and server blocks do not nest
        if (depth == 0) return MarkupPartner{e, l, false};
        continue;
      }
      if (e.kind != PairKind::Tag) continue;
      if (e.open == forward) {
        if (optional && tags.size() == 1 && e.name == ev.name) return MarkupPartner{e, l, true};
        tags.push_back(e.name);
        continue;
      }
      const auto hit = std::find(tags.rbegin(), tags.rend(), e.name);
      if (hit == tags.rend()) {
        if (optional) return MarkupPartner{e, l, true};  // the parent's end tag
        continue;                                        // a stray tag
      }
      const auto keep = std::size_t(tags.rend() - hit) - 1;
      if (keep == 0) return MarkupPartner{e, l, false};
      tags.resize(keep);
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<MarkupPartner> FindPartner(const TextStore& store, LineNo line, const MarkupEvent& ev, LineNo lastLine,
                                         LineNo firstLine) {
  return FindPartnerIn(store, line, ev, lastLine, firstLine, [&](LineNo l) { return LineEvents(store, l); });
}

std::optional<MarkupEvent> EventAt(const TextStore& store, Pos p) {
  const LineNo line = store.lineFromPos(p);
  // The line around p (all of it unless it is very long).
  const Pos ls = store.lineStart(line), le = store.lineEnd(line);
  const LineData d = readRange(store, std::max(ls, p - kEventWindow), std::min(le, p + kEventWindow));
  std::vector<MarkupEvent> evs;
  scanEvents(d.text, d.tokens.data(), d.start, evs);
  for (const MarkupEvent& e : evs) {
    Pos end = e.at + e.length;
    if (e.kind == PairKind::Tag) {
      // The whole tag, up to its closing ">" on this line (not one inside an attribute value).
      std::size_t g = std::size_t(end - d.start);
      while (g < d.text.size() && d.tokens[g] != kTagEnd && d.tokens[g] != 15 && d.tokens[g] != 20 &&
             d.tokens[g] != 47 && d.tokens[g] != 191 && d.tokens[g] != kTagOpen && d.tokens[g] != kTagClose)
        ++g;
      end = d.start + Pos(g < d.text.size() && d.text[g] == '>' ? g + 1 : g);
    }
    if (p >= e.at && p <= end) return e;
  }
  return std::nullopt;
}

namespace {

// Token values of strings and comments, where brackets are text.
bool quotedToken(std::uint8_t v) {
  static constexpr std::array<std::uint8_t, 62> kQuoted = {
      11,  13,  140, 24,  25,  27,  28,  29,  152, 153, 31,  32,  33,  35,  76,  173, 174, 175, 34,  36,  66,
      67,  176, 177, 178, 179, 180, 181, 182, 183, 42,  117, 126, 130, 206, 207, 208, 195, 196, 197, 202, 203,
      204, 113, 122, 132, 134, 135, 136, 137, 138, 139, 55,  209, 210, 211, 53,  79,  86,  111, 192, 141};
  return std::find(kQuoted.begin(), kQuoted.end(), v) != kQuoted.end();
}

// How far a bracket's partner is looked for.
constexpr Pos kBracketReach = Pos(1) << 18;

std::optional<Pos> bracketPartner(const TextStore& store, Pos p) {
  static constexpr std::string_view kOpen = "([{", kClose = ")]}";
  const char c = store.charAt(p);
  const auto io = kOpen.find(c), ic = kClose.find(c);
  if (io == std::string_view::npos && ic == std::string_view::npos) return std::nullopt;
  const bool forward = io != std::string_view::npos;
  const char self = c, other = forward ? kClose[io] : kOpen[ic];
  const Pos a = forward ? p : std::max<Pos>(0, p - kBracketReach);
  const Pos b = forward ? std::min(store.length(), p + kBracketReach) : p + 1;
  std::string text;
  std::vector<std::uint8_t> toks;
  text.reserve(std::size_t(b - a));
  toks.reserve(std::size_t(b - a));
  store.forEachSegment(a, b, [&](const LineRecord& r, std::size_t from, std::size_t to) {
    text.append(r.text, from, to - from);
    if (r.tokens.size() == r.text.size())
      toks.insert(toks.end(), r.tokens.begin() + std::ptrdiff_t(from), r.tokens.begin() + std::ptrdiff_t(to));
    else
      toks.insert(toks.end(), to - from, 0);
  });
  const std::size_t origin = std::size_t(p - a);
  const std::uint8_t own = toks[origin];
  const bool ownQuoted = quotedToken(own);
  auto counts = [&](std::size_t i) { return ownQuoted ? toks[i] == own : !quotedToken(toks[i]); };
  if (!counts(origin)) return std::nullopt;
  int depth = 0;
  if (forward) {
    for (std::size_t i = origin; i < text.size(); ++i) {
      if ((text[i] != self && text[i] != other) || !counts(i)) continue;
      depth += text[i] == self ? 1 : -1;
      if (depth == 0) return a + Pos(i);
    }
  } else {
    for (std::size_t i = origin + 1; i-- > 0;) {
      if ((text[i] != self && text[i] != other) || !counts(i)) continue;
      depth += text[i] == self ? 1 : -1;
      if (depth == 0) return a + Pos(i);
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<MatchPair> MatchAt(const TextStore& store, Pos p) {
  std::vector<MarkupEvent> evs;
  return MatchAt(store, p, [&](LineNo l) -> const std::vector<MarkupEvent>& {
    evs = LineEvents(store, l);
    return evs;
  });
}

std::optional<MatchPair> MatchAt(const TextStore& store, Pos p, const LineEventsOf& eventsOf) {
  p = store.clamp(p);
  if (const auto ev = EventAt(store, p); ev && ev->kind != PairKind::Brace) {
    const LineNo line = store.lineFromPos(ev->at);
    const auto partner = FindPartnerIn(store, line, *ev, line + kMatchReach, line - kMatchReach, eventsOf);
    if (!partner || partner->implicit) return std::nullopt;
    return MatchPair{ev->nameAt, ev->nameLength, partner->event.nameAt, partner->event.nameLength};
  }
  // A bracket after the caret, else one before it.
  for (const Pos q : {p, p - 1}) {
    if (q < 0 || q >= store.length()) continue;
    if (const auto other = bracketPartner(store, q)) return MatchPair{q, 1, *other, 1};
  }
  return std::nullopt;
}

std::optional<FoldRange> RegionOpeningOn(const TextStore& store, LineNo line, bool probe) {
  if (line < 0 || line + 2 >= store.lineCount() + 1) return std::nullopt;
  if (probe && store.lineLength(line) > kProbeLineLimit) return std::nullopt;
  // The line and the next are read once for all the events that open on the line.
  const std::vector<MarkupEvent> here = LineEvents(store, line);
  std::optional<std::vector<MarkupEvent>> next;
  std::vector<MarkupEvent> other;
  auto eventsOf = [&](LineNo l) -> const std::vector<MarkupEvent>& {
    if (l == line) return here;
    if (l == line + 1) {
      if (!next) next = LineEvents(store, l);
      return *next;
    }
    other = LineEvents(store, l);
    return other;
  };
  for (const MarkupEvent& e : here) {
    if (!e.open) continue;
    const auto found = FindPartnerIn(store, line, e, probe ? line + 1 : store.lineCount() - 1, 0, eventsOf);
    if (probe) {
      if (!found && line + 2 < store.lineCount()) return FoldRange{line, line + 2};
      continue;
    }
    if (found && found->line - line >= 2) return FoldRange{line, found->line};
  }
  return std::nullopt;
}

std::vector<FoldRange> AllRegions(const TextStore& store) {
  struct Open {
    MarkupEvent ev;
    LineNo line;
    bool optional;
  };
  struct Found {
    LineNo first, last;
    Pos at;
  };
  std::vector<Found> found;
  std::vector<Open> tags, braces;
  std::optional<Open> single;  // an open comment or server block
  auto add = [&](const Open& o, LineNo last) {
    if (last - o.line >= 2) found.push_back({o.line, last, o.ev.at});
  };
  std::vector<MarkupEvent> evs;
  std::string text;
  std::vector<std::uint8_t> toks;
  LineNo line = 0;
  Pos lineStart = 0;
  // Lines are put together from the records in order, without a lookup per line.
  auto handleLine = [&](std::string_view t, const std::uint8_t* k) {
    evs.clear();
    scanEvents(t, k, lineStart, evs);
    for (const MarkupEvent& e : evs) {
      if (e.kind == PairKind::Tag) {
        if (endsCode(e)) {
          braces.clear();
          if (single && single->ev.kind == PairKind::BlockComment) single.reset();
        }
        if (e.open) {
          if (!tags.empty() && tags.back().optional && tags.back().ev.name == e.name) {
            add(tags.back(), line);
            tags.pop_back();
          }
          const auto nameOff = std::size_t(e.nameAt - lineStart);
          tags.push_back({e, line, optionalEnd(lower(t.substr(nameOff, std::size_t(e.nameLength))))});
          continue;
        }
        std::size_t j = tags.size();
        while (j > 0 && tags[j - 1].ev.name != e.name) --j;
        if (j == 0) continue;  // a stray end tag
        for (std::size_t q = tags.size(); q > j; --q)
          if (tags[q - 1].optional) add(tags[q - 1], line);
        add(tags[j - 1], line);
        tags.resize(j - 1);
      } else if (e.kind == PairKind::Brace) {
        if (e.open) braces.push_back({e, line, false});
        else if (!braces.empty()) {
          add(braces.back(), line);
          braces.pop_back();
        }
      } else if (e.open) {
        if (!single) single = Open{e, line, false};
      } else if (single && single->ev.kind == e.kind) {
        add(*single, line);
        single.reset();
      }
    }
  };
  RecordRef r = store.firstRecord();
  Pos pos = 0;
  for (;;) {
    const LineRecord& rec = store.record(r);
    const bool hard = !rec.text.empty() && rec.text.back() == '\r';
    const std::size_t len = rec.text.size() - (hard ? 1 : 0);
    const bool hasTokens = rec.tokens.size() == rec.text.size();
    const bool more = store.next(r);
    if (text.empty() && (hard || !more) && hasTokens) {
      handleLine(std::string_view(rec.text.data(), len), rec.tokens.data());
    } else {
      text.append(rec.text, 0, len);
      if (hasTokens) toks.insert(toks.end(), rec.tokens.begin(), rec.tokens.begin() + std::ptrdiff_t(len));
      else toks.insert(toks.end(), len, 0);
      if (hard || !more) {
        handleLine(text, toks.data());
        text.clear();
        toks.clear();
      }
    }
    pos += Pos(rec.text.size());
    if (hard) {
      ++line;
      lineStart = pos;
    }
    if (!more) break;
  }
  std::sort(found.begin(), found.end(),
            [](const Found& a, const Found& b) { return a.first != b.first ? a.first < b.first : a.at < b.at; });
  std::vector<FoldRange> out;
  out.reserve(found.size());
  for (const Found& f : found)
    if (out.empty() || out.back().first != f.first) out.push_back({f.first, f.last});
  return out;
}

}  // namespace velora::memo
