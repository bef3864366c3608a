// Code templates and auto-replace over the control's text: matching before the caret, the word
// rules, smart fill, the caret marker, the events, the act keys and one undo step.
#include <gtest/gtest.h>

#include <string>

#include "memo/engine/MacroKeywords.h"
#include "memo/engine/MemoEngine.h"

using namespace velora::memo;

namespace {

constexpr std::uint16_t kSpace = kVkSpace;
const std::uint16_t kCtrlJ = std::uint16_t(kCtrlKey | 'J');

struct Typing {
  MemoEngine e;
  TAutoReplace replace;
  TCodeTemplates templates;
  MacroEvents ev;
  Typing() {
    replace.add({"teh", "", "the"});
    replace.add({"1/2", "", "&#189;"});
    replace.add({"\xA3", "", "&#163;"});  // items of older schemes: Windows-1252 bytes
    replace.add({"\x99", "", "&#153;"});
    templates.add({"tab", "Table", "<table>\r\n<tr><td>|</td></tr>\r\n</table>"});
    templates.add({"b", "Bold", "<b>|</b>"});
    templates.add({"td", "Cell", "<td>|</td>"});
  }
  // Types text as keys: an act key first offers the auto-replace, then is typed.
  void type(std::string_view s) {
    for (char c : s) {
      if (auto k = KeyForChar((unsigned char)c)) replace.offerKey(e, *k, ev);
      e.typeText(std::string_view(&c, 1));
    }
  }
  void at(std::string_view text, Pos caret) {
    e.setText(text);
    e.setSelection(caret, caret);
  }
};

}  // namespace

TEST(AutoReplace, ReplacesTheItemBeforeTheCaretAndTheActKeyFollows) {
  struct Case {
    const char* before;  // typed into an empty document
    const char* after;
  };
  const Case cases[] = {
      {"teh ", "the "},
      {"teh.", "the."},
      {"(teh)", "(the)"},
      {"xteh ", "xteh "},      // inside a longer word: untouched
      {"tehx ", "tehx "},      // not at the caret when the act key comes
      {"teh", "teh"},          // no act key yet
      {"11/2 ", "1&#189; "},   // a replacement that does not start a word may follow a word
      {"\xC2\xA3 ", "&#163; "},                         // "£ " typed as UTF-8
      {"Caf\xC3\xA9\xE2\x84\xA2.", "Caf\xC3\xA9&#153;."},  // "Café™."
  };
  for (const Case& c : cases) {
    Typing t;
    t.type(c.before);
    EXPECT_EQ(t.e.text(), c.after) << c.before;
  }
}

TEST(AutoReplace, ItemFollowedByAWordCharacterIsLeftAlone) {
  Typing t;
  t.at("tehx", 3);
  EXPECT_FALSE(t.replace.offerKey(t.e, kSpace, t.ev));
  EXPECT_EQ(t.e.text(), "tehx");
}

TEST(AutoReplace, OneUndoStepAndTheEvent) {
  Typing t;
  t.at("teh", 3);
  std::string seen;
  t.ev.onAutoReplace = [&](ByteStream& stream, const std::string& item, std::string& with, bool& can) {
    EXPECT_EQ(stream.size(), 0);
    seen = item;
    with = "THE";
    can = true;
  };
  EXPECT_TRUE(t.replace.offerKey(t.e, kSpace, t.ev));
  EXPECT_EQ(seen, "teh");
  EXPECT_EQ(t.e.text(), "THE");
  EXPECT_EQ(t.e.selection(), (Selection{3, 3}));
  t.e.undo();
  EXPECT_EQ(t.e.text(), "teh");
  EXPECT_EQ(t.e.selection(), (Selection{3, 3}));
  t.ev.onAutoReplace = [](ByteStream&, const std::string&, std::string&, bool& can) { can = false; };
  EXPECT_FALSE(t.replace.offerKey(t.e, kSpace, t.ev));
  EXPECT_EQ(t.e.text(), "teh");
}

TEST(AutoReplace, AHandlerMaySupplyTheReplacementAsAStream) {
  Typing t;
  t.at("x teh", 5);
  t.ev.onAutoReplace = [](ByteStream& stream, const std::string&, std::string& with, bool&) {
    with = "ignored";
    stream.write("the\r\nend|");  // inserted as it is: the break made CR, the bar kept
  };
  EXPECT_TRUE(t.replace.offerKey(t.e, kSpace, t.ev));
  EXPECT_EQ(t.e.text(), "x the\rend|");
  EXPECT_EQ(t.e.selection(), (Selection{10, 10}));
  t.e.undo();  // one step
  EXPECT_EQ(t.e.text(), "x teh");
  EXPECT_EQ(t.e.selection(), (Selection{5, 5}));
  t.e.redo();
  EXPECT_EQ(t.e.text(), "x the\rend|");
}

TEST(AutoReplace, HoldsOffInsideCodeUnlessSwitchedOff) {
  Typing t;
  t.at("<p teh", 6);
  Pos asked = -1;
  t.ev.inCode = [&](Pos caret) {
    asked = caret;
    return true;
  };
  EXPECT_FALSE(t.replace.offerKey(t.e, kSpace, t.ev));
  EXPECT_EQ(asked, 6);
  t.replace.skipInCode = false;
  EXPECT_TRUE(t.replace.offerKey(t.e, kSpace, t.ev));
  EXPECT_EQ(t.e.text(), "<p the");
}

TEST(AutoReplace, ActKeysText) {
  const auto keys = TAutoReplace::ParseActKeys(";,:.=()[]\\{Return}\\{Tab}\\{Space}");
  const std::vector<std::uint16_t> want = {0xBA, 0xBC, std::uint16_t(kShiftKey | 0xBA), 0xBE, 0xBB,
                                           std::uint16_t(kShiftKey | '9'), std::uint16_t(kShiftKey | '0'),
                                           0xDB, 0xDD, kVkReturn, kVkTab, kVkSpace};
  EXPECT_EQ(keys, want);
  EXPECT_EQ(TAutoReplace::ParseActKeys("\\n\\r\\s\\t\\{F5}\\{pagedown}"),
            (std::vector<std::uint16_t>{kVkReturn, kVkSpace, kVkTab, 116, kVkPageDown}));
  EXPECT_EQ(TAutoReplace::ParseActKeys("\\:a;"), (std::vector<std::uint16_t>{0xBA, 'A'}));  // listed twice: once
  TAutoReplace r;
  EXPECT_TRUE(r.isActKey(kVkSpace));
  EXPECT_FALSE(r.isActKey('A'));
  EXPECT_THROW(r.setActKeys("\\{nokey}"), ESyntaxMemo);
  EXPECT_THROW(r.setActKeys("\\{space"), ESyntaxMemo);
  EXPECT_EQ(r.actKeysText(), ";,:.=()[]\\{Return}\\{Tab}\\{Space}");  // unchanged by the failures
  EXPECT_FALSE(r.consume || r.smartFill || r.caretMarker || r.pickList);
}

TEST(CodeTemplates, TwoLineTemplateAtColumnFour) {
  Typing t;
  t.templates.add({"dv", "Division", "<div>|\r\n</div>"});
  ASSERT_TRUE(t.e.hasOption(smoUseTAB) && t.e.hasOption(smoSmartFill));
  t.at("    dv", 6);
  EXPECT_EQ(t.templates.offerKey(t.e, kCtrlJ, t.ev), TCodeTemplates::Offer::Expanded);
  EXPECT_EQ(t.e.text(), "    <div>\r    </div>");
  EXPECT_EQ(t.e.selection(), (Selection{9, 9}));  // where the marker was
  t.e.undo();
  EXPECT_EQ(t.e.text(), "    dv");
  // The line's own indentation is copied as it is; blanks reach the rest of the way.
  t.at("\t \xC3\xA9 dv", 7);
  t.templates.offerKey(t.e, kCtrlJ, t.ev);
  EXPECT_EQ(t.e.text(), "\t \xC3\xA9 <div>\r\t   </div>");
}

TEST(CodeTemplates, LongestNameControlCharactersAndTheEvent) {
  Typing t;
  t.at("x td", 4);
  std::string name;
  t.ev.onTemplate = [&](const std::string& n, std::string& text) {
    name = n;
    text += "\x01";
  };
  EXPECT_EQ(t.templates.offerKey(t.e, kCtrlJ, t.ev), TCodeTemplates::Offer::Expanded);
  EXPECT_EQ(name, "td");
  EXPECT_EQ(t.e.text(), "x <td></td>.");
  EXPECT_EQ(t.e.selection(), (Selection{6, 6}));
  // The longest name ending at the caret wins ("tab" over "b").
  t.ev.onTemplate = nullptr;
  t.at("tab", 3);
  EXPECT_EQ(t.templates.offerKey(t.e, kCtrlJ, t.ev), TCodeTemplates::Offer::Expanded);
  EXPECT_EQ(t.e.text().substr(0, 7), "<table>");
  // Other keys are not the hot key.
  EXPECT_EQ(t.templates.offerKey(t.e, kSpace, t.ev), TCodeTemplates::Offer::NotMine);
}

TEST(CodeTemplates, WithoutANameThePickListIsAskedWithTheTypedPrefix) {
  Typing t;
  t.at("<p>Ta", 5);
  std::string prefix;
  EXPECT_EQ(t.templates.offerKey(t.e, kCtrlJ, t.ev, &prefix), TCodeTemplates::Offer::PickList);
  EXPECT_EQ(prefix, "ta");
  EXPECT_EQ(t.e.text(), "<p>Ta");
  // Choosing from the list replaces the typed prefix.
  t.templates.expand(t.e, t.templates.entries()[0], 3, t.ev);
  EXPECT_EQ(t.e.text(), "<p><table>\r   <tr><td></td></tr>\r   </table>");
  t.templates.pickList = false;
  t.at("zz", 2);
  EXPECT_EQ(t.templates.offerKey(t.e, kCtrlJ, t.ev, &prefix), TCodeTemplates::Offer::NotMine);
}
