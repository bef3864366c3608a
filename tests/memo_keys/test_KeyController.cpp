// The key controller: looking typed keys up as the control offers them, the selection keys,
// and building, changing and copying its table.
#include <gtest/gtest.h>

#include <algorithm>

#include "memo/engine/keys/KeyboardActionController.h"
#include "memo/engine/keys/KeyTable.h"

namespace vlr {
namespace {

constexpr std::uint16_t kLeft = 37, kHome = 36, kDelete = 46, kBack = 8, kF3 = 114;
using R = TKeyOfferResult;

std::string Describe(TKeyOffer o) {
  switch (o.result) {
    case R::NoMatch: return "none";
    case R::Prefix: return "prefix";
    case R::Complete: return "run " + std::to_string(o.command);
  }
  return "?";
}

TEST(KeyController, TypedKeysResolveAsTheLookupRulesSay) {
  struct Step {
    std::uint16_t key;
    bool shift;
    const char* expected;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"a movement key", {{kLeft, false, "run 0"}}},
      {"Shift with a movement key is the same command", {{kLeft, true, "run 0"}}},
      {"Ctrl+Shift+Left is word left", {{kKeyCtrl | kLeft, true, "run 8"}}},
      {"Shift with Ctrl+Home", {{kKeyCtrl | kHome, true, "run 10"}}},
      {"Shift+Backspace deletes back", {{kBack, true, "run 16"}}},
      {"Ctrl+Shift+Backspace is delete word", {{kKeyCtrl | kBack, true, "run 43"}}},
      {"Shift counts for other keys", {{kKeyCtrl | 'Z', true, "run 42"}, {kKeyCtrl | 'Z', false, "run 41"}}},
      {"Shift+Delete is not bound", {{kDelete, true, "none"}}},
      {"a Shift bit in the key is Shift held", {{kKeyCtrl | kKeyShift | 'Z', false, "run 41"}}},
      {"a prefix then its second key", {{kKeyCtrl | 'K', false, "prefix"}, {'I', false, "run 17"}}},
      {"second keys ignore modifiers", {{kKeyCtrl | 'K', false, "prefix"}, {kKeyCtrl | 'I', false, "run 17"}}},
      {"Shift on a second key", {{kKeyCtrl | 'Q', false, "prefix"}, {kKeyShift | '3', true, "run 33"}}},
      {"an unbound second key ends the sequence and passes",
       {{kKeyCtrl | 'K', false, "prefix"}, {'Z', false, "none"}, {'I', false, "none"}}},
      {"the prefix again is not a second key",
       {{kKeyCtrl | 'K', false, "prefix"}, {kKeyCtrl | 'K', false, "none"}, {kKeyCtrl | 'K', false, "prefix"}}},
      {"after a sequence the first level is used again",
       {{kKeyCtrl | 'K', false, "prefix"}, {'5', false, "run 25"}, {'5', false, "none"}}},
      {"Alt changes the key", {{kKeyAlt | kLeft, false, "none"}}},
  };
  for (const Case& c : cases) {
    TKeyboardActionContoller k;
    k.SetTable(DefaultKeyTable());
    for (const Step& s : c.steps) {
      EXPECT_EQ(Describe(k.Offer(s.key, s.shift)), s.expected) << c.name;
      EXPECT_EQ(k.Pending(), std::string(s.expected) == "prefix") << c.name;
    }
  }
}

TEST(KeyController, EveryDefaultBindingRunsItsCommand) {
  TKeyboardActionContoller& k = DefaultKeyController();
  const TKeyTable table = DefaultKeyTable();
  ASSERT_EQ(table.bindings.size(), 44u);
  for (const TKeyBinding& b : table.bindings) {
    const bool shift = b.key1 & kKeyShift;
    const TKeyOffer first = k.Offer(b.key1 & ~kKeyShift, shift);
    if (b.key2) {
      ASSERT_EQ(first.result, R::Prefix) << int(b.command);
      EXPECT_EQ(Describe(k.Offer(b.key2, false)), "run " + std::to_string(b.command));
    } else {
      EXPECT_EQ(Describe(first), "run " + std::to_string(b.command));
    }
    EXPECT_FALSE(k.Pending());
  }
  EXPECT_EQ(k.Description(40), "Delete current line");
  EXPECT_EQ(k.SequencesOf(44).size(), 0u);
}

TEST(KeyController, SelectionKeysFollowTheMovementBindings) {
  TKeyboardActionContoller k;
  k.SetTable(DefaultKeyTable());
  for (int vk : {37, 38, 39, 40, 33, 34, 35, 36, 8}) EXPECT_TRUE(k.IsSelectionKey(std::uint8_t(vk))) << vk;
  for (int vk : {46, 45, int('K'), int('Z'), int('X'), int('Y')}) EXPECT_FALSE(k.IsSelectionKey(std::uint8_t(vk))) << vk;
  // A new movement key joins the set at once; Shift with it then extends rather than missing.
  k.AddSequence(kF3, 0, 11);
  EXPECT_TRUE(k.IsSelectionKey(kF3));
  EXPECT_EQ(Describe(k.Offer(kF3, true)), "run 11");
  EXPECT_TRUE(k.RemoveSequence(kF3, 0));
  EXPECT_FALSE(k.IsSelectionKey(kF3));
  // Under the two-key form too.
  k.AddSequence(kKeyCtrl | 'W', 'A', 2);
  EXPECT_TRUE(k.IsSelectionKey('W'));
  k.Clear();
  EXPECT_FALSE(k.IsSelectionKey(kLeft));
  EXPECT_EQ(Describe(k.Offer(kLeft, false)), "none");
}

TEST(KeyController, BindingCtrlYAgainNamesBothCommandsAndKeepsTheTable) {
  TKeyboardActionContoller k;
  k.SetTable(DefaultKeyTable());
  const TKeyTable before = k.ToTable();
  for (int command : {41, 40, 0}) {
    try {
      k.AddSequence(kKeyCtrl | 'Y', 0, command);
      FAIL() << "a second Ctrl+Y was accepted";
    } catch (const EAmbigiousKeyPair& e) {
      EXPECT_EQ(std::string(e.what()),
                "Duplicate key sequence definition for\r\n\"Delete current line\" and \"" + k.Description(command) + "\"");
    }
  }
  EXPECT_EQ(k.ToTable(), before);
  EXPECT_THROW(k.AddSequence('A', 0, 45), EKeyControllerException);
  EXPECT_THROW(k.AddSequence('A', 0, -1), EKeyControllerException);
  EXPECT_EQ(k.ToTable(), before);
}

TEST(KeyController, ATableWithARepeatedSequenceKeepsTheSequencesBeforeIt) {
  TKeyTable t = DefaultKeyTable();
  t.bindings = {{'A', 0, 1}, {'B', 0, 2}, {'A', 0, 3}, {'C', 0, 4}};
  TKeyboardActionContoller k;
  EXPECT_THROW(k.SetTable(t), EAmbigiousKeyPair);
  EXPECT_EQ(k.Store().SequenceCount(), 2u);
  EXPECT_EQ(Describe(k.Offer('B', false)), "run 2");
  EXPECT_EQ(Describe(k.Offer('C', false)), "none");
}

TEST(KeyController, TableRoundTripAndChangesEndAWaitingSequence) {
  TKeyboardActionContoller k;
  TKeyTable t = DefaultKeyTable();
  t.descriptions[3] = "To the end";
  k.SetTable(t);
  const TKeyTable back = k.ToTable();
  EXPECT_EQ(back.descriptions, t.descriptions);
  auto sorted = [](std::vector<TKeyBinding> v) {
    std::sort(v.begin(), v.end(), [](const TKeyBinding& a, const TKeyBinding& b) {
      return std::tie(a.key1, a.key2) < std::tie(b.key1, b.key2);
    });
    return v;
  };
  EXPECT_EQ(sorted(back.bindings), sorted(t.bindings));

  ASSERT_EQ(k.Offer(kKeyCtrl | 'K', false).result, R::Prefix);
  k.AddSequence(kF3, 0, 5);  // the first level may have moved: the sequence is forgotten
  EXPECT_FALSE(k.Pending());
  EXPECT_EQ(Describe(k.Offer('I', false)), "none");
  ASSERT_EQ(k.Offer(kKeyCtrl | 'K', false).result, R::Prefix);
  k.Reset();
  EXPECT_EQ(Describe(k.Offer('I', false)), "none");
}

TEST(KeyController, DescriptionsAndAssign) {
  TKeyboardActionContoller a;
  EXPECT_EQ(a.Description(0), "Cursor left");  // built-in names from the start
  EXPECT_THROW(a.SetDescription(3, ""), EKeyControllerException);
  EXPECT_THROW(a.SetDescription(45, "x"), EKeyControllerException);
  EXPECT_THROW((void)a.Description(-1), EKeyControllerException);
  a.SetDescription(3, "To the end");
  a.AddSequence(kKeyCtrl | 'E', 0, 3);
  TKeyboardActionContoller b;
  b.SetTable(DefaultKeyTable());
  ASSERT_EQ(b.Offer(kKeyCtrl | 'K', false).result, R::Prefix);
  b.Assign(a);
  EXPECT_FALSE(b.Pending());
  EXPECT_EQ(b.ToTable(), a.ToTable());
  EXPECT_EQ(b.Description(3), "To the end");
  EXPECT_EQ(Describe(b.Offer(kLeft, false)), "none");
  EXPECT_EQ(Describe(b.Offer(kKeyCtrl | 'E', false)), "run 3");
}

}  // namespace
}  // namespace vlr
