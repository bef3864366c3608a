// TREParser against PCRE2 on generated expressions of the syntax both share: the same match
// (start, end and every sub-expression) for every subject and start position.
#define PCRE2_CODE_UNIT_WIDTH 8
#include <gtest/gtest.h>
#include <pcre2.h>

#include <cstdio>
#include <random>
#include <string>

#include "ChunkedSource.h"
#include "memo/engine/search/REParser.h"

using namespace velora::memo;

namespace {

const char kAlphabet[] = "abcAB\r-\"";

// Builds one expression twice: in this engine's syntax and in PCRE2's.
class Generator {
 public:
  explicit Generator(unsigned seed) : rng_(seed) {}

  void make(std::string& ours, std::string& pcre) {
    groups_ = 0;
    alternation(ours, pcre, 0);
  }

 private:
  int pick(int n) { return int(rng_() % unsigned(n)); }

  char letter() { return kAlphabet[pick(int(sizeof kAlphabet) - 1)]; }

  static std::string hex(unsigned char c) {
    char b[8];
    std::snprintf(b, sizeof b, "\\x%02X", c);
    return b;
  }

  // A character in this syntax, written in one of its equivalent forms.
  std::string ourChar(unsigned char c) {
    if (c == '\r') return pick(2) ? "\\n" : "\\15";
    if (c == '"') return "\\\"";
    if (c == '-' || c == '\\') return std::string("\\") + char(c);
    switch (pick(4)) {
      case 0: return hex(c).replace(0, 2, "\\x");
      case 1: { char b[8]; std::snprintf(b, sizeof b, "\\%o", c); return b; }
      default: return std::string(1, char(c));
    }
  }

  // Returns whether the piece can match the empty string.
  bool atom(std::string& o, std::string& p, int depth) {
    switch (depth < 3 ? pick(8) : pick(5)) {
      case 0: case 1: {
        const unsigned char c = (unsigned char)letter();
        o += ourChar(c);
        p += hex(c);
        return false;
      }
      case 2: o += '.'; p += '.'; return false;
      case 3: {  // a set
        const bool neg = pick(3) == 0;
        o += neg ? "[^" : "[";
        p += neg ? "[^" : "[";
        for (int n = 1 + pick(3); n > 0; --n) {
          unsigned char a = (unsigned char)letter(), b = (unsigned char)letter();
          if (b < a) std::swap(a, b);
          if (pick(2)) {
            o += ourChar(a) + "-" + ourChar(b);
            p += hex(a) + "-" + hex(b);
          } else {
            o += ourChar(a);
            p += hex(a);
          }
        }
        o += ']';
        p += ']';
        return false;
      }
      case 4: {  // a quoted string
        std::string s;
        for (int n = pick(3); n > 0; --n) s += letter();
        o += '"';
        p += "(?:";
        for (char c : s) {
          o += c == '"' || c == '\\' ? std::string("\\") + c : (c == '\r' ? std::string("\\n") : std::string(1, c));
          p += hex((unsigned char)c);
        }
        o += '"';
        p += ')';
        return s.empty();
      }
      case 5: o += '^'; p += "(?:^)"; return true;
      case 6: o += '$'; p += "(?:$)"; return true;
      default: {
        if (groups_ >= 9) { o += 'a'; p += 'a'; return false; }
        ++groups_;
        o += '(';
        p += '(';
        const bool empty = alternation(o, p, depth + 1);
        o += ')';
        p += ')';
        return empty;
      }
    }
  }

  bool sequence(std::string& o, std::string& p, int depth) {
    bool empty = true;
    for (int n = 1 + pick(3); n > 0; --n) {
      std::string ao, ap;
      const bool e = atom(ao, ap, depth);
      const int q = pick(6);
      if (q == 0 && !e) { ao += '*'; ap += '*'; empty = empty && true; }
      else if (q == 1 && !e) { ao += '+'; ap += '+'; empty = empty && e; }
      else if (q == 2) { ao += '?'; ap += '?'; }
      else empty = empty && e;
      o += ao;
      p += ap;
    }
    return empty;
  }

  bool alternation(std::string& o, std::string& p, int depth) {
    bool empty = sequence(o, p, depth);
    while (depth < 3 && pick(4) == 0) {
      o += '|';
      p += '|';
      empty = sequence(o, p, depth) || empty;
    }
    return empty;
  }

  std::mt19937 rng_;
  int groups_ = 0;
};

struct Pcre {
  pcre2_code* code = nullptr;
  pcre2_match_data* md = nullptr;
  pcre2_compile_context* cc = nullptr;
  Pcre(const std::string& pattern, bool matchCase) {
    cc = pcre2_compile_context_create(nullptr);
    pcre2_set_newline(cc, PCRE2_NEWLINE_CR);
    int err = 0;
    PCRE2_SIZE off = 0;
    const uint32_t opts = PCRE2_MULTILINE | PCRE2_DOTALL | PCRE2_ALT_CIRCUMFLEX | (matchCase ? 0 : PCRE2_CASELESS);
    code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), opts, &err, &off, cc);
    if (code) md = pcre2_match_data_create_from_pattern(code, nullptr);
  }
  ~Pcre() {
    pcre2_match_data_free(md);
    pcre2_code_free(code);
    pcre2_compile_context_free(cc);
  }
};

}  // namespace

TEST(REDifferential, AgreesWithPcre2OnGeneratedExpressions) {
  Generator gen(2026);
  std::mt19937 rng(99);
  int compared = 0, matched = 0, exhausted = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string ours, pcre;
    gen.make(ours, pcre);
    const bool matchCase = round % 3 != 0;
    TREParser re;
    re.stepBudget = 5'000'000;
    ASSERT_TRUE(re.compile(ours, matchCase)) << ours << "\n" << re.errorMessage();
    Pcre pc(pcre, matchCase);
    ASSERT_NE(pc.code, nullptr) << pcre;
    for (int subject = 0; subject < 4; ++subject) {
      std::string text(rng() % 24, ' ');
      for (char& c : text) c = kAlphabet[rng() % (sizeof kAlphabet - 1)];
      velora::memo::test::ChunkedSource src(text, 0, unsigned(round * 4 + subject));
      const Pos from = Pos(rng() % (text.size() + 1));
      const Pos got = re.search(src, from);
      const int rc = pcre2_match(pc.code, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), PCRE2_SIZE(from), 0,
                                 pc.md, nullptr);
      if (re.budgetExhausted()) {  // nested repeats failing on a long subject: exponential
        ++exhausted;
        continue;
      }
      SCOPED_TRACE("ours: " + ours + "  pcre: " + pcre + "  text: \"" + text + "\" from " + std::to_string(from));
      ++compared;
      if (rc < 0) {
        ASSERT_EQ(rc, PCRE2_ERROR_NOMATCH);
        EXPECT_EQ(got, -1);
        continue;
      }
      ++matched;
      const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(pc.md);
      ASSERT_EQ(got, Pos(ov[0]));
      EXPECT_EQ(re.matchEnd(), Pos(ov[1]));
      for (int g = 1; g <= re.groupCount(); ++g) {
        const bool set = g < rc && ov[2 * g] != PCRE2_UNSET;
        EXPECT_EQ(re.matchStart(g), set ? Pos(ov[2 * g]) : -1) << "group " << g;
        EXPECT_EQ(re.matchEnd(g), set ? Pos(ov[2 * g + 1]) : -1) << "group " << g;
      }
    }
  }
  EXPECT_GT(matched, compared / 5);
  EXPECT_LT(exhausted, compared / 100);  // the generator produces expressions that do match
}
