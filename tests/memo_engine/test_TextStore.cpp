// Tests of the line store and its index.
#include <gtest/gtest.h>

#include <random>

#include "memo/engine/LineBreaks.h"
#include "memo/engine/TextStore.h"
#include "memo/engine/Utf8.h"

using namespace velora::memo;

namespace {
// Reference answers computed from a plain string.
struct Ref {
  std::string s;
  [[nodiscard]] LineNo lineOf(Pos p) const {
    LineNo l = 0;
    for (Pos i = 0; i < p; ++i) l += s[std::size_t(i)] == '\r';
    return l;
  }
  [[nodiscard]] Pos lineStart(LineNo line) const {
    if (line == 0) return 0;
    LineNo l = 0;
    for (std::size_t i = 0; i < s.size(); ++i)
      if (s[i] == '\r' && ++l == line) return Pos(i + 1);
    return -1;
  }
};

void expectSame(const TextStore& t, const Ref& r) {
  ASSERT_NO_THROW(t.checkInvariants());
  ASSERT_EQ(t.length(), Pos(r.s.size()));
  ASSERT_EQ(t.text(), r.s);
  ASSERT_EQ(t.lineCount(), r.lineOf(Pos(r.s.size())) + 1);
}
}  // namespace

TEST(TextStore, EmptyDocumentHasOneEmptyLine) {
  TextStore t;
  EXPECT_EQ(t.length(), 0);
  EXPECT_EQ(t.lineCount(), 1);
  EXPECT_EQ(t.recordCount(), 1);
  EXPECT_EQ(t.lineText(0), "");
  t.checkInvariants();
}

TEST(TextStore, SetTextStoresOneCRPerBreak) {
  TextStore t;
  t.setText("ab\r\ncd\nef\rgh\n\r");
  EXPECT_EQ(t.text(), "ab\rcd\ref\rgh\r");
  EXPECT_EQ(t.lineCount(), 5);
  EXPECT_EQ(t.lineText(0), "ab");
  EXPECT_EQ(t.lineText(3), "gh");
  EXPECT_EQ(t.lineText(4), "");
  EXPECT_EQ(t.lineStart(2), 6);
  EXPECT_EQ(t.lineLength(2), 2);
  EXPECT_EQ(t.lineFromPos(5), 1);
  EXPECT_EQ(t.lineFromPos(6), 2);
  t.checkInvariants();
}

TEST(TextStore, PositionsAreClamped) {
  TextStore t;
  t.setText("abc\rdef");
  EXPECT_EQ(t.clamp(-5), 0);
  EXPECT_EQ(t.clamp(100), 7);
  EXPECT_EQ(t.lineFromPos(100), 1);
  EXPECT_EQ(t.lineStart(99), 4);
  EXPECT_EQ(t.locate(-3).offset, 0u);
  EXPECT_EQ(t.text(-10, 100), "abc\rdef");
  EXPECT_EQ(t.charAt(100), '\0');
}

TEST(TextStore, LongLinesAreCutIntoContinuationRecords) {
  TextStore t;
  std::string line(kMaxRecordBytes * 2 + 10, 'x');
  t.setText(line + "\nshort");
  EXPECT_EQ(t.recordCount(), 4);
  EXPECT_EQ(t.lineCount(), 2);
  EXPECT_EQ(t.lineLength(0), Pos(line.size()));
  EXPECT_EQ(t.lineStart(1), Pos(line.size() + 1));
  EXPECT_EQ(t.lineText(1), "short");
  EXPECT_FALSE(t.record(t.firstRecord()).hardBreak());
  t.checkInvariants();
  // Growing a full record cuts it again.
  t.insert(5, "yyyy");
  t.checkInvariants();
  EXPECT_EQ(t.lineLength(0), Pos(line.size() + 4));
  EXPECT_EQ(t.lineCount(), 2);
}

TEST(TextStore, InsertAndEraseAcrossRecords) {
  TextStore t;
  Ref r{"one\rtwo\rthree"};
  t.setText(r.s);
  t.insert(5, "X\rY");
  r.s.insert(5, "X\rY");
  expectSame(t, r);
  t.erase(2, 9);
  r.s.erase(2, 7);
  expectSame(t, r);
  t.insert(t.length(), "\r");
  r.s += "\r";
  expectSame(t, r);
  EXPECT_EQ(t.lineText(t.lineCount() - 1), "");
}

TEST(TextStore, TokensFollowTheirCharacters) {
  TextStore t;
  t.setText("abcd\refgh");
  LineRecord& rec = t.record(t.firstRecord());
  rec.tokens = {1, 2, 3, 4, 5};
  rec.flags = 0;
  t.insert(2, "Z");
  const LineRecord& after = t.record(t.firstRecord());
  ASSERT_EQ(after.tokens.size(), after.text.size());
  EXPECT_EQ(after.tokens, (std::vector<std::uint8_t>{1, 2, 0, 3, 4, 5}));
  EXPECT_TRUE(after.flags & kRecRescan);
  t.erase(0, 1);
  EXPECT_EQ(t.record(t.firstRecord()).tokens, (std::vector<std::uint8_t>{2, 0, 3, 4, 5}));
  t.checkInvariants();
}

TEST(TextStore, RandomEditsMatchAString) {
  for (unsigned seed : {1u, 2u, 3u, 4u}) {
    std::mt19937 rng(seed);
    TextStore t;
    Ref r;
    auto rnd = [&](Pos n) { return n <= 0 ? Pos(0) : Pos(rng() % std::uint64_t(n + 1)); };
    for (int step = 0; step < 3000; ++step) {
      const int op = int(rng() % 10);
      if (op < 6) {
        std::string s;
        const int len = int(rng() % (rng() % 20 == 0 ? 400 : 8)) + 1;
        for (int i = 0; i < len; ++i) s.push_back(rng() % 6 == 0 ? '\r' : char('a' + rng() % 26));
        const Pos p = rnd(t.length());
        t.insert(p, s);
        r.s.insert(std::size_t(p), s);
      } else {
        const Pos a = rnd(t.length());
        const Pos b = std::min<Pos>(t.length(), a + rnd(rng() % 10 == 0 ? 2000 : 10));
        t.erase(a, b);
        r.s.erase(std::size_t(a), std::size_t(b - a));
      }
      if (step % 50 == 0) {
        expectSame(t, r);
        for (int k = 0; k < 20; ++k) {
          const Pos p = rnd(t.length());
          ASSERT_EQ(t.lineFromPos(p), r.lineOf(p));
          const LineNo l = LineNo(rng() % std::uint64_t(t.lineCount()));
          ASSERT_EQ(t.lineStart(l), r.lineStart(l));
          ASSERT_EQ(t.charAt(p), p < t.length() ? r.s[std::size_t(p)] : '\0');
        }
      }
    }
    expectSame(t, r);
  }
}

TEST(TextStore, CharacterIndexFollowsMultilingualEdits) {
  // Words of several scripts, and bytes that form no character (each counts as one).
  const char* pieces[] = {"été ", "Straße", "мир\r", "σοφία", "漢字かな", "🙂\r", "abc", "\xC3", "\xA9\xA9", "\r"};
  std::mt19937 rng(11);
  TextStore t;
  std::string ref;
  for (int step = 0; step < 4000; ++step) {
    if (rng() % 4 != 0 || ref.empty()) {
      std::string s;
      for (int i = int(rng() % 30); i >= 0; --i) s += pieces[rng() % std::size(pieces)];
      const Pos p = Pos(rng() % (ref.size() + 1));
      t.insert(p, s);
      ref.insert(std::size_t(p), s);
    } else {
      const Pos a = Pos(rng() % (ref.size() + 1));
      const Pos b = std::min<Pos>(Pos(ref.size()), a + Pos(rng() % (rng() % 8 == 0 ? 3000 : 12)));
      t.erase(a, b);
      ref.erase(std::size_t(a), std::size_t(b - a));
    }
    if (step % 100 != 0) continue;
    ASSERT_NO_THROW(t.checkInvariants());
    ASSERT_EQ(t.charCount(), Pos(utf8CharCount(ref)));
    for (int k = 0; k < 10; ++k) {
      const Pos p = Pos(rng() % (ref.size() + 1));
      ASSERT_EQ(t.charsBefore(p), Pos(utf8CharCount(std::string_view(ref).substr(0, std::size_t(p)))));
      const Pos c = Pos(rng() % std::uint64_t(t.charCount() + 1));
      std::size_t at = 0;
      for (Pos i = 0; i < c; ++i) at += std::size_t(utf8CharLength(ref, at));
      ASSERT_EQ(t.posOfChar(c), Pos(at));
    }
  }
}

TEST(TextStore, ManyLinesSpanManyBlocks) {
  std::string s;
  for (int i = 0; i < 5000; ++i) s += "line " + std::to_string(i) + "\n";
  TextStore t;
  t.setText(s);
  t.checkInvariants();
  EXPECT_EQ(t.lineCount(), 5001);
  EXPECT_EQ(t.lineText(4321), "line 4321");
  // Delete a range spanning many blocks, then re-insert it.
  const Pos a = t.lineStart(100), b = t.lineStart(4000);
  const std::string cut = t.text(a, b);
  t.erase(a, b);
  t.checkInvariants();
  EXPECT_EQ(t.lineText(100), "line 4000");
  t.insert(a, cut);
  t.checkInvariants();
  EXPECT_EQ(t.text(), normaliseBreaks(s));
}
