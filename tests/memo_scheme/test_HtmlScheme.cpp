// The HTML scheme of the editor windows compiles and holds what the editor relies on: its
// settings and styles, word groups whose values all reach a style, a re-scan context for every
// anchor, the auto-replace list, the default keys and templates with a caret marker.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "memo/engine/scheme/SchemeCompiler.h"

namespace {

using vlr::TSchemeTables;

const TSchemeTables& Html() {
  static const TSchemeTables t = vlr::CompileSchemeFile(VELORA_HTML_SCHEME_SCRIPT);
  return t;
}

int WordValue(const std::string& text) {
  for (const auto& w : Html().words)
    if (w.text == text) return w.value;
  return -1;
}

int KeywordValue(std::size_t table, const std::string& text) {
  for (const auto& w : Html().keywordTables.at(table).words)
    if (w.text == text) return w.value;
  return -1;
}

TEST(HtmlScheme, LanguageSettings) {
  const auto& s = Html().settings;
  EXPECT_EQ(s.name, "HTML");
  EXPECT_EQ(s.options, 67099632u);
  EXPECT_EQ(s.rightMargin, 80);
  EXPECT_EQ(s.gutterWidth, 34);
  EXPECT_EQ(s.wrapOverride, ">|:");
  EXPECT_EQ(s.fontName, "Courier New");
  EXPECT_FALSE(s.caseSensitive);
  EXPECT_EQ(s.exampleText.rfind("<!-- Syntax Highlighting -->\r", 0), 0u);
  EXPECT_NE(s.exampleText.find("<title>"), std::string::npos);
  EXPECT_NE(s.exampleText.find("<p align=\"center\">Plain HTML body text&nbsp;</p>"), std::string::npos);
  EXPECT_NE(s.exampleText.find("<a href="), std::string::npos);
}

TEST(HtmlScheme, EditableStylesWithTheirEffects) {
  struct Style {
    const char* name;
    int style;
    std::uint32_t colour;
    std::uint8_t font;  // bit 0 bold, bit 1 italic, bit 2 underline
  };
  constexpr std::uint32_t green = 32768, gray = 7237230, maroon = 128, purple = 8388736,
                          navy = 8388608, black = 0, fuchsia = 12583104;
  const Style expected[] = {
      {"Default", 0, black, 0},        {"Number", 1, green, 0},          {"String", 2, gray, 0},
      {"Field name", 5, maroon, 0},    {"Comment", 11, purple, 0},       {"Special char", 16, green, 0},
      {"Web URLs", 18, navy, 4},       {"Tag name", 21, maroon, 0},      {"JS Keyword", 30, green, 1},
      {"JS Comment", 31, navy, 2},     {"JS String", 34, black, 0},      {"JS Number", 37, fuchsia, 0},
      {"JS Symbol", 38, green, 0},     {"JS Method", 39, black, 1},      {"JS Indentifier", 41, black, 0},
      {"VB Function", 50, black, 0},   {"VB Method", 51, black, 0},      {"VB Keyword", 52, black, 1},
      {"VB Comment", 53, navy, 2},     {"VB Symbol", 54, green, 0},      {"VB String", 55, black, 2},
      {"VB Indentifier", 56, black, 0}, {"VB Number", 57, black, 0},
  };
  const auto& editable = Html().settings.editableStyles;
  ASSERT_EQ(editable.size(), std::size(expected));
  for (std::size_t i = 0; i < editable.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(editable[i].name, expected[i].name);
    EXPECT_EQ(editable[i].style, expected[i].style);
    const auto& e = Html().effects[editable[i].style];
    ASSERT_TRUE(e.present);
    EXPECT_EQ(e.fontStyle, expected[i].font);
    EXPECT_EQ(e.hotspot, expected[i].style == 18);
    if (expected[i].style == 0) {
      EXPECT_TRUE(e.defaultForeground && e.defaultBackground);
    } else {
      EXPECT_FALSE(e.defaultForeground);
      EXPECT_EQ(e.foreground, expected[i].colour);
      EXPECT_FALSE(e.defaultBackground);
      EXPECT_EQ(e.background, 16777215u);
    }
  }
  for (int style : {3, 80, 82, 83, 84, 85, 87, 90, 105, 106, 108}) EXPECT_TRUE(Html().effects[style].present) << style;
}

// A value that a word, keyword or token produces but that maps to a style without an effect
// would be drawn in the default style by accident.
TEST(HtmlScheme, EveryProducedValueReachesAStyle) {
  const auto& t = Html();
  std::set<int> values;
  for (const auto& w : t.words) values.insert(w.value);
  for (const auto& k : t.keywordTables)
    for (const auto& w : k.words) values.insert(w.value);
  for (const auto& e : t.defaultTable.entries) values.insert(e.value);
  for (const auto& table : t.stateTables)
    for (const auto& e : table.entries) values.insert(e.value);
  for (int v : values) EXPECT_TRUE(t.effects[t.map[v]].present) << "value " << v << " -> style " << int(t.map[v]);
  EXPECT_EQ(t.map[21], 21);
  EXPECT_EQ(t.map[5], 5);
  EXPECT_EQ(t.map[30], 30);
  EXPECT_EQ(t.map[19], 18);
}

TEST(HtmlScheme, WordGroups) {
  EXPECT_EQ(WordValue("<!--"), 11);
  EXPECT_EQ(WordValue("-->"), 13);
  EXPECT_EQ(WordValue("<script"), 9);
  EXPECT_EQ(WordValue("</script"), 10);
  EXPECT_EQ(WordValue("<+"), 103);
  EXPECT_EQ(WordValue("+>"), 104);
  for (const char* tag : {"a", "address", "body", "table", "center", "font", "article", "template", "dialog", "search"})
    EXPECT_EQ(WordValue(tag), 21) << tag;
  for (const char* ent : {"&szlig;", "&copy;", "&nbsp;", "&thetasym;", "&alefsym;", "&there4;", "&zwnj;", "&euro;",
                          "&agrave;", "&oelig;", "&rarr;", "&diams;"})
    EXPECT_EQ(WordValue(ent), 16) << ent;
  for (const char* url : {"http://", "https://", "ftp://", "news:", "telnet://", "gopher://", "nntp://", "wais://",
                          "newsrc://", "file://"})
    EXPECT_EQ(WordValue(url), 18) << url;
  EXPECT_EQ(WordValue("mailto:"), 19);
  // 252 classic entities, of which 64 pairs differ only in letter case.
  EXPECT_GE(std::count_if(Html().words.begin(), Html().words.end(), [](const auto& w) { return w.value == 16; }), 188);

  ASSERT_EQ(Html().keywordTables.size(), 4u);
  for (const char* attr : {"align", "alt", "href", "name", "value", "onclick", "tabindex", "http-equiv"})
    EXPECT_EQ(KeywordValue(0, attr), 5) << attr;
  for (const char* kw : {"abstract", "break", "function", "let", "const", "class", "async", "await", "yield"})
    EXPECT_EQ(KeywordValue(1, kw), 30) << kw;
  // JavaScript words keep their letter case: the table is case-sensitive.
  EXPECT_TRUE(Html().keywordTables[1].caseSensitive);
  for (const char* m : {"alert", "charAt", "parseInt", "getElementById", "Promise", "map", "Map"})
    EXPECT_EQ(KeywordValue(1, m), 39) << m;
  EXPECT_EQ(KeywordValue(1, "getelementbyid"), -1);
  EXPECT_EQ(KeywordValue(1, "<!--"), 63);
  EXPECT_EQ(KeywordValue(2, "msgbox"), 50);
  EXPECT_EQ(KeywordValue(2, "opentextfile"), 51);
  EXPECT_EQ(KeywordValue(2, "wend"), 52);
  EXPECT_EQ(KeywordValue(2, "<!--"), 64);
  EXPECT_EQ(KeywordValue(3, "procedure"), 87);
  EXPECT_EQ(KeywordValue(3, "exports"), 102);
}

// A re-scan that restarts at an anchor value must begin in the one state that value is scanned
// in (beside it only the marker states 17, 18 and 19 may be set); the scheme never uses state
// 0, so a context of state 0 would be a mistake.
TEST(HtmlScheme, EveryAnchorHasOneContextState) {
  const auto& t = Html();
  EXPECT_EQ(t.startStates.count(), 1u);
  EXPECT_TRUE(t.startStates.test(1));
  EXPECT_FALSE(t.anchors.test(0));
  for (std::size_t v = 0; v < 256; ++v) {
    if (!t.anchors.test(v)) continue;
    vlr::TStateSet main = t.contextStates[v];
    main.reset(17);
    main.reset(18);
    main.reset(19);
    EXPECT_EQ(main.count(), 1u) << "value " << v;
    EXPECT_FALSE(t.contextStates[v].test(0)) << "value " << v;
  }
}

TEST(HtmlScheme, AutoReplaceList) {
  const auto& list = Html().autoReplace;
  EXPECT_EQ(Html().actKeys, ";,:.=()[]\\{Return}\\{Tab}\\{Space}");
  std::map<std::string, std::string> byItem;
  for (const auto& r : list) {
    EXPECT_TRUE(byItem.emplace(r.item, r.replacement).second) << "duplicate " << r.item;
    EXPECT_NE(r.item, r.replacement);
  }
  EXPECT_GE(list.size(), 607u);
  // Written as Windows-1252 bytes in the script, compiled to the UTF-8 that is typed.
  EXPECT_EQ(byItem["\u00A3"], "&#163;");
  EXPECT_EQ(byItem["\u00A9"], "&#169;");
  EXPECT_EQ(byItem["\u00AE"], "&#174;");
  EXPECT_EQ(byItem["\u2122"], "&#153;");
  EXPECT_EQ(byItem["1/2"], "&#189;");
  EXPECT_EQ(byItem["1/4"], "&#188;");
  EXPECT_EQ(byItem["3/4"], "&#190;");
  EXPECT_EQ(byItem["teh"], "the");
  EXPECT_EQ(byItem["recieve"], "receive");
  EXPECT_EQ(byItem["alot"], "a lot");
}

TEST(HtmlScheme, KeysAreTheDefaultsWithTheSchemeDescriptions) {
  const auto& keys = Html().keys;
  auto ours = keys.bindings;
  auto defaults = vlr::DefaultKeyTable().bindings;
  const auto order = [](const auto& a, const auto& b) {
    return std::tie(a.key1, a.key2, a.command) < std::tie(b.key1, b.key2, b.command);
  };
  std::sort(ours.begin(), ours.end(), order);
  std::sort(defaults.begin(), defaults.end(), order);
  EXPECT_TRUE(ours == defaults);
  EXPECT_EQ(keys.descriptions[0], "Cursor Left");
  EXPECT_EQ(keys.descriptions[4], "Line up");
  EXPECT_EQ(keys.descriptions[15], "Delete at cursor");
  EXPECT_EQ(keys.descriptions[17], "Indent block");
  EXPECT_EQ(keys.descriptions[19], "Toggle insert / override mode");
  EXPECT_EQ(keys.descriptions[20], "Set bookmark 0");
  for (const auto& d : keys.descriptions) EXPECT_FALSE(d.empty());
}

TEST(HtmlScheme, TemplatesPlaceTheCaret) {
  const auto& list = Html().templates;
  EXPECT_GE(list.size(), 3u);
  EXPECT_EQ(Html().templateHotKey, 0x4000 | 'J');
  for (const auto& t : list) {
    SCOPED_TRACE(t.name);
    EXPECT_FALSE(t.description.empty());
    EXPECT_EQ(std::count(t.text.begin(), t.text.end(), '|'), 1);
    EXPECT_EQ(t.text.find('\n'), std::string::npos);  // line breaks are carriage returns
  }
}

}  // namespace
