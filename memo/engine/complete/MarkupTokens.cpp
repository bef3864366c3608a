// Zones of the HTML scheme's token values, and the tag structure around the caret.
#include "memo/engine/complete/MarkupTokens.h"

#include <algorithm>
#include <array>

#include "memo/engine/MemoEngine.h"
#include "memo/engine/complete/WebData.h"

namespace velora::memo {

namespace {

using Z = MarkupZone;

// The zone right after a character of each value. Values that several zones produce (character
// references, URLs, file references, failed words) stay Unknown: the walk back looks further.
constexpr std::array<MarkupZone, 256> BuildZones() {
  std::array<MarkupZone, 256> z{};
  auto set = [&z](std::initializer_list<int> values, MarkupZone zone) {
    for (int v : values) z[std::size_t(v)] = zone;
  };
  set({200, 14, 48, 13, 191, 192, 193, 105}, Z::Text);
  set({7, 8, 9, 10, 45, 46, 190, 194, 21, 22, 5, 23, 26, 60, 12, 150, 151, 1, 27, 29, 153, 43, 49, 170, 171, 172,
       61, 62},
      Z::Tag);
  set({24, 25, 28, 152, 212}, Z::Value);
  set({6, 11, 140, 141, 63, 64, 113, 122, 132, 137, 138, 139, 31, 32, 35, 173, 174, 86, 89, 111, 53, 163}, Z::Comment);
  set({15, 20, 30, 34, 36, 37, 38, 39, 40, 41, 44, 65, 66, 67, 175, 176, 177, 178, 179, 180, 181, 182, 183, 184, 185,
       186, 198, 199, 201, 205, 50, 51, 52, 54, 55, 56, 57, 58, 59, 209, 210, 211, 107, 108, 144, 145, 146, 160, 161,
       162, 164, 165, 166},
      Z::Script);
  for (int v = 78; v <= 111; ++v)
    if (z[std::size_t(v)] == Z::Unknown) z[std::size_t(v)] = Z::Script;
  set({47, 114, 115, 116, 118, 142, 187, 188, 189, 121, 128, 134}, Z::CssRules);
  set({112, 119, 123, 124, 125, 143, 127, 135}, Z::CssProperty);
  set({120, 129, 131, 133, 136, 196, 203}, Z::CssValue);
  set({117, 126, 130, 206, 207, 208, 195, 197, 202, 204}, Z::Other);
  return z;
}

constexpr std::array<MarkupZone, 256> kZones = BuildZones();

bool IsNameChar(char c) noexcept {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         c == ':' || c == '.';
}

// How far back the zone walk looks for a value that tells.
constexpr std::size_t kZoneWalk = 4096;

}  // namespace

bool IsStartTagOpener(std::uint8_t t) noexcept { return t == 7 || t == 9 || t == 45 || t == 190; }
bool IsEndTagOpener(std::uint8_t t) noexcept { return t == 8 || t == 10 || t == 46 || t == 194; }
bool IsTagCloser(std::uint8_t t) noexcept { return t == 14 || t == 15 || t == 20 || t == 47 || t == 191; }

MarkupSlice MarkupSlice::Of(const MemoEngine& e, Pos from, Pos to) {
  MarkupSlice s;
  from = std::max<Pos>(0, from);
  to = std::min(to, e.length());
  if (to <= from) {
    s.base = std::max<Pos>(0, std::min(from, e.length()));
    return s;
  }
  s.base = from;
  s.text = e.store().text(from, to);
  s.tokens = e.tokens(from, to);
  s.tokens.resize(s.text.size(), 0);
  return s;
}

MarkupZone ZoneAt(const MarkupSlice& s, std::size_t at) {
  if (at == 0) return s.base == 0 ? Z::Text : Z::Unknown;
  const std::size_t stop = at > kZoneWalk ? at - kZoneWalk : 0;
  for (std::size_t i = at; i > stop; --i) {
    const std::uint8_t v = s.tokens[i - 1];
    const char c = s.text[i - 1];
    MarkupZone z = kZones[v];
    // A quoted value in a script or style tag is one value from quote to quote: after its
    // closing quote the tag goes on.
    if (v == 42) z = (c == '"' || c == '\'') && i >= 2 && s.tokens[i - 2] == 42 && s.text[i - 2] != '=' ? Z::Tag : Z::Value;
    if (z != Z::Unknown) return z;
    if (i - 1 == 0 && s.base == 0) return Z::Text;
  }
  return Z::Unknown;
}

std::size_t TagStart(const MarkupSlice& s, std::size_t at) {
  for (std::size_t i = std::min(at, s.text.size()); i > 0; --i) {
    const std::uint8_t v = s.tokens[i - 1];
    if (s.text[i - 1] == '<' && (IsStartTagOpener(v) || IsEndTagOpener(v))) return i - 1;
    if (IsTagCloser(v) && i != at) return std::string::npos;  // a tag before this one ended here
  }
  return std::string::npos;
}

std::string NameAt(std::string_view text, std::size_t at) {
  std::size_t e = at;
  while (e < text.size() && IsNameChar(text[e])) ++e;
  return std::string(text.substr(at, e - at));
}

std::string NearestOpenElement(const MarkupSlice& s, std::size_t at, const WebData& data) {
  struct Open {
    std::string name;  // lower case
    std::string written;
  };
  std::vector<Open> open;
  std::string pending, pendingWritten;  // a start tag whose ">" has not been seen yet
  at = std::min(at, s.text.size());
  for (std::size_t i = 0; i < at; ++i) {
    const std::uint8_t v = s.tokens[i];
    const char c = s.text[i];
    if (c == '<' && IsStartTagOpener(v)) {
      pendingWritten = NameAt(s.text, i + 1);
      pending = AsciiLower(pendingWritten);
    } else if (c == '<' && IsEndTagOpener(v)) {
      pending.clear();
      const std::string name = AsciiLower(NameAt(s.text, i + 2));
      for (std::size_t k = open.size(); k > 0; --k)
        if (open[k - 1].name == name) {
          open.resize(k - 1);
          break;
        }
    } else if (c == '>' && IsTagCloser(v) && !pending.empty()) {
      const bool selfClosed = i > 0 && s.text[i - 1] == '/';
      if (!selfClosed && !data.isVoid(pending)) open.push_back({pending, pendingWritten});
      pending.clear();
    }
  }
  return open.empty() ? std::string() : open.back().written;
}

}  // namespace velora::memo
