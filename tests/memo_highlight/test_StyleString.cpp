// The registry text forms of a language's settings: the style string and the key assignments.
#include <gtest/gtest.h>

#include <string>

#include "memo/engine/Types.h"
#include "memo/engine/keys/KeyTable.h"
#include "memo/engine/scheme/StyleString.h"

namespace {

using velora::memo::ESyntaxMemo;
using vlr::TSchemeTables;

TSchemeTables Sample() {
  TSchemeTables t;
  t.settings.options = 67099632;
  t.settings.gutterWidth = 34;
  t.settings.gutterColor = {false, 0xC0C0C0};
  t.settings.wordWrapColumn = 80;
  t.settings.indentStep = 2;
  t.settings.wrapOverride = ">|:#12";  // digits and "#" inside a value
  t.settings.fontName = "Courier New";
  t.settings.fontSize = 10;
  t.settings.selTextColor = {true, 0};
  t.settings.selTextBack = {false, 0x800000};
  t.settings.tabColumns = "5 9 13";
  t.settings.tabStops[0] = 4;
  t.settings.tabStops[1] = 8;
  t.settings.tabStops[2] = 12;
  t.settings.tabDefault = 4;
  t.effects[0] = {true, 0, 0xFFFFFF, true, true, 0, false};
  t.effects[11] = {true, 0x800080, 0xFFFFFF, false, false, 2, false};
  t.effects[18] = {true, 0x800000, 0xFFFFFF, false, true, 4, true};
  t.effects[30] = {true, 0x008000, 0xFFFFFF, false, false, 1 | 2 | 4, false};
  return t;
}

std::string Error(const std::string& text) {
  TSchemeTables t = Sample();
  const TSchemeTables before = t;
  try {
    vlr::ReadStyleString(text, t);
  } catch (const ESyntaxMemo& e) {
    EXPECT_EQ(t, before) << "a failed read changed the settings";
    return e.what();
  }
  return "read";
}

TEST(StyleString, WritesTheThirteenItemsInOrder) {
  const std::string s = vlr::WriteStyleString(Sample());
  EXPECT_EQ(s,
            "Tavrin6:#OPT#867099632#GWD#234#GCL#812632256#WRC#280#IDS#12#WRO#6>|:#12#FON#11Courier New"
            "#FOS#210#STC#2-1#STB#78388608#TBC#65 9 13#TBD#14"
            "#EFF#8440,0,16777215,XY;11,8388736,16777215,I;18,8388608,16777215,YU;30,32768,16777215,BIU;"
            "#END#");
}

TEST(StyleString, ReadsBackWhatItWrote) {
  const TSchemeTables sample = Sample();
  TSchemeTables t;
  t.settings.name = "kept";
  t.effects[5].present = true;  // not in the string: no effect afterwards
  t.effects[18].hotspot = true; // not part of the format: kept
  vlr::ReadStyleString(vlr::WriteStyleString(sample), t);
  EXPECT_EQ(t.settings, [&] {
    vlr::TSchemeSettings s = sample.settings;
    s.name = "kept";
    return s;
  }());
  EXPECT_EQ(t.effects, sample.effects);

  // Every style present (more than the string can list) and extreme values.
  TSchemeTables full;
  for (auto& e : full.effects) e = {true, 0xFFFFFFFF, 0x80000000, false, false, 7, false};
  full.settings.options = 0xFFFFFFFF;
  full.settings.fontName.clear();
  full.settings.tabColumns.clear();
  TSchemeTables back;
  vlr::ReadStyleString(vlr::WriteStyleString(full), back);
  EXPECT_EQ(back.settings, full.settings);
  for (std::size_t i = 0; i < 255; ++i) EXPECT_EQ(back.effects[i], full.effects[i]) << i;
  EXPECT_FALSE(back.effects[255].present);
}

TEST(StyleString, MalformedTextIsRefusedAndChangesNothing) {
  const std::string good = vlr::WriteStyleString(Sample());
  const std::string invalid = "Invalid data in style string";
  EXPECT_EQ(Error(good), "read");
  EXPECT_EQ(Error(""), invalid);
  EXPECT_EQ(Error("Tavrin5:" + good.substr(8)), invalid);
  // Truncated anywhere.
  for (std::size_t n : {std::size_t(8), std::size_t(20), good.size() / 2, good.size() - 1})
    EXPECT_EQ(Error(good.substr(0, n)), invalid) << n;
  // A wrong length.
  std::string s = good;
  s.replace(s.find("#FON#11"), 7, "#FON#12");
  EXPECT_EQ(Error(s), invalid);
  // Garbage numbers, a colour out of range, an illegal default tab, bad tab columns.
  for (const auto& [from, to] : std::initializer_list<std::pair<std::string, std::string>>{
           {"#GWD#234", "#GWD#23x"},
           {"#OPT#867099632", "#OPT#8-7099632"},
           {"#STC#2-1", "#STC#2-2"},
           {"#TBD#14", "#TBD#10"},
           {"#TBC#65 9 13", "#TBC#69 5 13"},
           {"#IDS#12", "#IDS#2-2"}}) {
    s = good;
    s.replace(s.find(from), from.size(), to);
    EXPECT_EQ(Error(s), invalid) << to;
  }
  // Effects: a count that does not match, an unknown flag, a style index twice or out of range.
  const std::string eff = good.substr(good.find("#EFF#"));
  for (const std::string bad : {"30,0,0,;", "11,0,0,Z;", "21,0,0,;1,0,0,;", "1256,0,0,;", "11,0,0,", "1x,0,0,;"}) {
    s = good;
    s.replace(s.find("#EFF#"), eff.size(), "#EFF#" + std::to_string(bad.size()) + bad + "#END#");
    EXPECT_EQ(Error(s), invalid) << bad;
  }
  // Anything after the end, or the items out of order.
  EXPECT_EQ(Error(good + "x"), invalid);
  s = good;
  s.replace(s.find("#GWD#"), 5, "#GCL#");
  EXPECT_EQ(Error(s), invalid);
}

TEST(KeyAssignments, RoundTripAndMalformedValues) {
  vlr::TKeyTable keys = vlr::DefaultKeyTable();
  keys.descriptions[0] = "Cursor Left";
  const std::string raw = vlr::WriteKeyAssignments(keys);
  ASSERT_EQ(raw.rfind("Tavrin6:", 0), 0u);
  EXPECT_EQ(vlr::ReadKeyAssignments(raw), keys);

  const std::string invalid = "Invalid data in registry entry";
  for (const std::string& bad : {std::string("Tavrin6:"), raw.substr(0, raw.size() - 3), "Tavrin5:" + raw.substr(8),
                                 raw + "x"}) {
    try {
      (void)vlr::ReadKeyAssignments(bad);
      ADD_FAILURE() << "read a malformed value of " << bad.size() << " bytes";
    } catch (const ESyntaxMemo& e) {
      EXPECT_EQ(e.what(), invalid);
    }
  }
  std::string unknown = raw;
  unknown[8 + 4 + 4] = char(45);  // the first binding's command code: 45 does not exist
  EXPECT_THROW((void)vlr::ReadKeyAssignments(unknown), ESyntaxMemo);
}

}  // namespace
