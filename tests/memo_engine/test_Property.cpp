// Property test: random edits, indents, undo and redo against a plain std::string model.
#include <gtest/gtest.h>

#include <random>

#include "memo/engine/MemoEngine.h"

using namespace velora::memo;

namespace {

// The reference: the text as stored (one CR per break), the selection, and a history of states.
struct Model {
  struct State {
    std::string text;
    Selection sel;     // the selection after the operation that led here (redo restores it)
    Selection before;  // the selection right before the next operation (undo restores it)
  };
  std::vector<State> history;
  std::size_t at = 0;
  std::string text;
  Selection sel;

  static std::string normalise(std::string_view in) {
    std::string out;
    for (std::size_t i = 0; i < in.size(); ++i) {
      const char c = in[i];
      if (c == '\r' || c == '\n') {
        out.push_back('\r');
        if (i + 1 < in.size() && (in[i + 1] == '\r' || in[i + 1] == '\n') && in[i + 1] != c) ++i;
      } else {
        out.push_back(c);
      }
    }
    return out;
  }
  [[nodiscard]] Pos len() const { return Pos(text.size()); }
  [[nodiscard]] LineNo lineOf(Pos p) const {
    LineNo l = 0;
    for (Pos i = 0; i < p; ++i) l += text[std::size_t(i)] == '\r';
    return l;
  }
  [[nodiscard]] Pos lineStart(LineNo line) const {
    if (line == 0) return 0;
    LineNo l = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
      if (text[i] == '\r' && ++l == line) return Pos(i + 1);
    return len();
  }
  [[nodiscard]] Pos nextChar(Pos p) const {
    if (p >= len()) return len();
    const auto c = static_cast<unsigned char>(text[std::size_t(p)]);
    const int extra = (c >= 0xC2 && c <= 0xDF) ? 1 : (c >= 0xE0 && c <= 0xEF) ? 2 : (c >= 0xF0 && c <= 0xF4) ? 3 : 0;
    Pos q = p + 1;
    for (int i = 0; i < extra; ++i) {
      if (q >= len() || (static_cast<unsigned char>(text[std::size_t(q)]) & 0xC0) != 0x80) return p + 1;
      ++q;
    }
    return q;
  }
  [[nodiscard]] Pos prevChar(Pos p) const {
    if (p <= 0) return 0;
    for (Pos q = p - 1; q >= 0 && q >= p - 4; --q)
      if ((static_cast<unsigned char>(text[std::size_t(q)]) & 0xC0) != 0x80) return nextChar(q) == p ? q : p - 1;
    return p - 1;
  }

  // A position inside a character moves back to the character's start.
  [[nodiscard]] Pos snap(Pos p) const {
    for (Pos q = p - 1; q >= 0 && q >= p - 3; --q)
      if ((static_cast<unsigned char>(text[std::size_t(q)]) & 0xC0) != 0x80) return nextChar(q) > p ? q : p;
    return p;
  }

  void reset(std::string t) {
    text = std::move(t);
    sel = {0, 0};
    history = {{text, sel, sel}};
    at = 0;
  }
  // Called before an undoable change: the current state keeps the selection it had right before.
  void begin() { history[at].before = sel; }
  void commit() {
    history.resize(at + 1);
    history.push_back({text, sel, sel});
    ++at;
  }
  void replace(Pos a, Pos b, const std::string& stored) {
    text.replace(std::size_t(a), std::size_t(b - a), stored);
  }
  void replaceSelection(std::string_view raw) {
    const Pos s = sel.start(), e = sel.end();
    const std::string n = normalise(raw);
    if (s == e && n.empty() && raw.empty()) return;
    begin();
    replace(s, e, n);
    sel = {s + Pos(n.size()), s + Pos(n.size())};
    commit();
  }
  void deleteChar(bool forward) {
    Selection s = sel;
    if (s.empty()) {
      if (forward) {
        if (s.caret >= len()) return;
        s = {s.caret, nextChar(s.caret)};
      } else {
        if (s.caret == 0) return;
        s = {s.caret, prevChar(s.caret)};
      }
    }
    begin();
    replace(s.start(), s.end(), {});
    sel = {s.start(), s.start()};
    commit();
  }
  [[nodiscard]] std::pair<LineNo, LineNo> touched() const {
    const Pos s = sel.start(), e = sel.end();
    const LineNo first = lineOf(s);
    LineNo last = lineOf(e);
    if (e > s && last > first && lineStart(last) == e) --last;
    return {first, last};
  }
  void indent(int step) {
    const auto [first, last] = touched();
    begin();
    const std::string ind(std::size_t(step), ' ');
    Selection s = sel;
    for (LineNo l = first; l <= last; ++l) {
      const Pos ls = lineStart(l);
      replace(ls, ls, ind);
      if (s.anchor > ls) s.anchor += step;
      if (s.caret > ls) s.caret += step;
    }
    sel = s;
    commit();
  }
  void unindent(int step, int tab) {
    const auto [first, last] = touched();
    bool any = false;
    Selection s = sel;
    const Selection before = sel;
    for (LineNo l = first; l <= last; ++l) {
      const Pos ls = lineStart(l);
      int col = 0;
      Pos k = 0;
      while (col < step && ls + k < len()) {
        const char c = text[std::size_t(ls + k)];
        if (c == ' ') ++col;
        else if (c == '\t') col = (col / tab + 1) * tab;
        else break;
        ++k;
      }
      if (!k) continue;
      if (!any) {
        history[at].before = before;
        any = true;
      }
      replace(ls, ls + k, {});
      auto shift = [&](Pos p) { return p >= ls + k ? p - k : (p > ls ? ls : p); };
      s.anchor = shift(s.anchor);
      s.caret = shift(s.caret);
    }
    sel = s;
    if (any) commit();
  }
  bool undo() {
    if (at == 0) return false;
    --at;
    text = history[at].text;
    sel = history[at].before;
    return true;
  }
  bool redo() {
    if (at + 1 >= history.size()) return false;
    ++at;
    text = history[at].text;
    sel = history[at].sel;
    return true;
  }
  void clearModified() {
    history = {{text, sel, sel}};
    at = 0;
  }
};

std::string randomText(std::mt19937& rng, std::size_t maxLen, bool tabs) {
  static const char* pieces[] = {"a", "b", "x", "Z", " ", "  ", "\r", "\n", "\r\n", "\n\r", "<p>", "\xC3\xA9", "\xE2\x82\xAC", "_", "\t"};
  const std::size_t n = rng() % (maxLen + 1);
  std::string s;
  for (std::size_t i = 0; i < n; ++i) {
    const char* p = pieces[rng() % (tabs ? 15 : 14)];
    s += p;
  }
  return s;
}

void runProperty(unsigned seed, int steps, int indentStep) {
  std::mt19937 rng(seed);
  const bool tabs = true;  // un-indent undo restores mixed tabs and blanks exactly, any step
  MemoEngine e;
  e.indentStep = indentStep;
  e.options &= ~std::uint32_t(smoUseTAB);
  Model m;
  const std::string start = randomText(rng, 60, tabs);
  e.setText(start);
  m.reset(Model::normalise(start));
  const std::string original = m.text;
  auto rnd = [&](Pos n) { return Pos(rng() % std::uint64_t(n + 1)); };
  for (int step = 0; step < steps; ++step) {
    const int op = int(rng() % 100);
    std::string what;
    if (op < 18) {
      Pos a = rnd(m.len()), c = rnd(m.len());
      if (rng() % 4 == 0) c = std::min(m.len(), a + rnd(3));
      e.setSelection(a, c);
      m.sel = {m.snap(a), m.snap(c)};
      what = "select";
    } else if (op < 40) {
      const std::string t = randomText(rng, rng() % 10 == 0 ? 40 : 4, tabs);
      e.replaceSelection(t);
      m.replaceSelection(t);
      what = "replace";
    } else if (op < 48) {
      std::string t = randomText(rng, rng() % 5 == 0 ? 3000 : 20, tabs);
      MemoryStream s(t);
      e.insertStream(s);
      if (!(m.sel.empty() && t.empty())) {
        m.begin();
        const Pos st = m.sel.start();
        const std::string n = Model::normalise(t);
        m.replace(st, m.sel.end(), n);
        m.sel = {st + Pos(n.size()), st + Pos(n.size())};
        m.commit();
      }
      what = "stream";
    } else if (op < 58) {
      const bool fwd = rng() % 2;
      e.deleteChar(fwd);
      m.deleteChar(fwd);
      what = "delete";
    } else if (op < 63) {
      e.blockIndent();
      m.indent(indentStep);
      what = "indent";
    } else if (op < 68) {
      e.blockUnindent();
      m.unindent(indentStep, e.tabDefault);
      what = "unindent";
    } else if (op < 83) {
      const bool can = e.canUndo();
      ASSERT_EQ(can, m.at > 0) << "step " << step;
      e.undo();
      m.undo();
      what = "undo";
    } else if (op < 97) {
      ASSERT_EQ(e.canRedo(), m.at + 1 < m.history.size()) << "step " << step;
      e.redo();
      m.redo();
      what = "redo";
    } else {
      e.setModified(false);
      m.clearModified();
      what = "clear";
    }
    ASSERT_EQ(e.text(), m.text) << "seed " << seed << " step " << step << " after " << what;
    ASSERT_EQ(e.selection(), m.sel) << "seed " << seed << " step " << step << " after " << what;
    // Modified while the log holds any entry, one that can only be redone included.
    ASSERT_EQ(e.modified(), m.history.size() > 1) << "step " << step << " after " << what;
    ASSERT_EQ(e.canRedo(), m.at + 1 < m.history.size()) << "step " << step << " after " << what;
    ASSERT_EQ(e.selLength(), Pos(e.selText().size()));
    if (step % 25 == 0) {
      ASSERT_NO_THROW(e.store().checkInvariants()) << "step " << step;
      ASSERT_EQ(e.lineCount(), m.lineOf(m.len()) + 1);
      const LineNo l = LineNo(rng() % std::uint64_t(e.lineCount()));
      ASSERT_EQ(e.store().lineStart(l), m.lineStart(l));
    }
  }
  // Undo everything back to the last clearing of Modified, then redo to the newest state.
  while (e.canUndo()) e.undo();
  while (m.undo()) {}
  EXPECT_TRUE(e.text() == m.history.front().text) << "undo-all, seed " << seed;
  EXPECT_EQ(e.modified(), m.history.size() > 1);
  while (e.canRedo()) e.redo();
  EXPECT_TRUE(e.text() == m.history.back().text) << "redo-all, seed " << seed;
  if (m.history.size() > 1) {  // redo restores the selection after the newest operation
    EXPECT_TRUE(e.selection() == m.history.back().sel) << "redo-all, seed " << seed;
  }
  (void)original;
}

}  // namespace

TEST(Property, RandomEditsStepOne) {
  for (unsigned seed = 1; seed <= 8; ++seed) runProperty(seed, 5000, 1);
}

TEST(Property, RandomEditsStepThree) {
  for (unsigned seed = 100; seed <= 105; ++seed) runProperty(seed, 5000, 3);
}

TEST(Property, RandomEditsStepSix) {
  for (unsigned seed = 200; seed <= 203; ++seed) runProperty(seed, 4000, 6);
}

TEST(Property, UndoAllReturnsTheOriginal) {
  // Without clearing Modified: undo-all gives exactly the loaded text.
  std::mt19937 rng(77);
  MemoEngine e;
  const std::string start = "first line\rsecond\r\tthird";
  e.setText(start);
  std::string final;
  for (int i = 0; i < 3000; ++i) {
    const Pos a = Pos(rng() % std::uint64_t(e.length() + 1));
    e.setSelection(a, std::min(e.length(), a + Pos(rng() % 4)));
    switch (rng() % 5) {
      case 0: e.typeText("q"); break;
      case 1: e.replaceSelection("\r\n"); break;
      case 2: e.deleteChar(true); break;
      case 3: e.blockIndent(); break;
      case 4: e.deleteChar(false); break;
    }
  }
  final = e.text();
  while (e.canUndo()) e.undo();
  EXPECT_TRUE(e.text() == start);
  while (e.canRedo()) e.redo();
  EXPECT_TRUE(e.text() == final);
}
