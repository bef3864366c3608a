// The key table's duplicate rule and the tab columns text, shared by the compiler and the
// options dialog.
#include <gtest/gtest.h>

#include "memo/engine/keys/KeyTable.h"
#include "memo/engine/keys/TabStops.h"

namespace vlr {
namespace {

TEST(KeyTableRules, BindingCtrlYAgainNamesBothCommandsAndKeepsTheTable) {
  TKeyTable keys = DefaultKeyTable();
  const std::size_t before = keys.bindings.size();
  try {
    AddKeyBinding(keys, {kKeyCtrl | 'Y', 0, 41});
    FAIL() << "a second Ctrl+Y was accepted";
  } catch (const EAmbigiousKeyPair& e) {
    EXPECT_STREQ(e.what(), "Duplicate key sequence definition for\r\n\"Delete current line\" and \"Undo\"");
  }
  EXPECT_EQ(keys.bindings.size(), before);
}

TEST(KeyTableRules, PrefixAndSingleKeyOfTheSameFirstKeyCollide) {
  TKeyTable keys = DefaultKeyTable();
  EXPECT_THROW(AddKeyBinding(keys, {kKeyCtrl | 'K', 0, 40}), EAmbigiousKeyPair);  // Ctrl+K is a prefix
  EXPECT_THROW(AddKeyBinding(keys, {kKeyCtrl | 'X', 'A', 40}), EAmbigiousKeyPair);  // Ctrl+X is a command
  AddKeyBinding(keys, {kKeyCtrl | 'K', 'A', 40});  // a new second key under the prefix is fine
  EXPECT_EQ(RemoveKeyBinding(keys, kKeyCtrl | 'K', 'A'), 1u);
  EXPECT_EQ(FindCollidingBinding(keys, {kKeyCtrl | 'K', 'A', 40}), -1);
}

TEST(KeyTableRules, TabColumnsAreParsedZeroBasedOrRefusedWithTheirText) {
  const auto stops = ParseTabStops("5, 9;17");
  EXPECT_EQ(stops[0], 4);
  EXPECT_EQ(stops[1], 8);
  EXPECT_EQ(stops[2], 16);
  EXPECT_EQ(stops[3], -1);
  const auto refusal = [](std::string_view text) {
    try {
      (void)ParseTabStops(text);
    } catch (const velora::memo::ESyntaxMemo& e) {
      return std::string(e.what());
    }
    return std::string("accepted");
  };
  EXPECT_EQ(refusal("5 5"), "Tab columns must be in order and unique");
  EXPECT_EQ(refusal("9 5"), "Tab columns must be in order and unique");
  EXPECT_EQ(refusal("1"), "Tab column must be > 1");
  EXPECT_EQ(refusal("4 x"), "Tab stop column value expected");
  std::string many;
  for (int c = 2; c <= 34; ++c) many += std::to_string(c) + " ";
  EXPECT_EQ(refusal(many), "Too many tab stops - maximum of 32");
  EXPECT_THROW(CheckDefaultTab(0), velora::memo::ESyntaxMemo);
  EXPECT_NO_THROW(CheckDefaultTab(4));
}

}  // namespace
}  // namespace vlr
