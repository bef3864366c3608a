// The two-level key tree: what collides, what removing leaves, and assigning between kinds.
#include <gtest/gtest.h>

#include "memo/engine/keys/KeyStore.h"
#include "memo/engine/keys/KeyboardActionController.h"

namespace vlr {
namespace {

TEST(KeyStore, SequencesCollideWithTheSameSequenceAndAcrossLevels) {
  TKeyStore s;
  EXPECT_EQ(s.Add(kKeyCtrl | 'K', 'I', 17), -1);
  EXPECT_EQ(s.Add(kKeyCtrl | 'K', 'U', 18), -1);
  EXPECT_EQ(s.Add(kKeyCtrl | 'Y', 0, 40), -1);
  const TKeyStore before = s;
  EXPECT_EQ(s.Add(kKeyCtrl | 'K', 'I', 5), 17);   // the same sequence
  EXPECT_EQ(s.Add(kKeyCtrl | 'K', 0, 5), 17);     // a prefix bound alone
  EXPECT_EQ(s.Add(kKeyCtrl | 'Y', 'A', 5), 40);   // under a key bound alone
  EXPECT_EQ(s.Add(kKeyCtrl | 'Y', 0, 5), 40);
  EXPECT_EQ(s, before);
  // Second keys carry no modifiers: Ctrl+K, Shift+I is Ctrl+K, I.
  EXPECT_EQ(s.Add(kKeyCtrl | 'K', kKeyShift | 'I', 5), 17);
  // Different modifiers on the first key are a different sequence.
  EXPECT_EQ(s.Add(kKeyCtrl | kKeyShift | 'K', 0, 5), -1);
  EXPECT_EQ(s.SequenceCount(), 4u);
  EXPECT_EQ(s.FirstKeys().size(), 3u);
}

TEST(KeyStore, RemovingTheLastSecondKeyFreesTheFirstKey) {
  TKeyStore s;
  s.Add(kKeyCtrl | 'Q', '1', 31);
  s.Add(kKeyCtrl | 'Q', '2', 32);
  EXPECT_FALSE(s.Remove(kKeyCtrl | 'Q', 0));  // a prefix alone is not a sequence
  EXPECT_FALSE(s.Remove(kKeyCtrl | 'Q', '3'));
  EXPECT_TRUE(s.Remove(kKeyCtrl | 'Q', '1'));
  EXPECT_EQ(s.Add(kKeyCtrl | 'Q', 0, 40), 32);
  EXPECT_TRUE(s.Remove(kKeyCtrl | 'Q', '2'));
  EXPECT_TRUE(s.Empty());
  EXPECT_EQ(s.Add(kKeyCtrl | 'Q', 0, 40), -1);  // now free to be bound alone
  const std::vector<TKeyBinding> all = s.Bindings();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0], (TKeyBinding{kKeyCtrl | 'Q', 0, 40}));
}

TEST(KeyStore, AssignCopiesAStoreAndRefusesOtherKindsByName) {
  TKeyStore a, b;
  a.Add(37, 0, 0);
  b.Assign(a);
  EXPECT_EQ(a, b);
  TKeyboardActionContoller c;
  try {
    b.Assign(c);
    FAIL() << "a controller was assigned to a store";
  } catch (const EKeyControllerException& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TKeyboardActionContoller to a TKeyStore");
  }
  try {
    c.Assign(a);
    FAIL() << "a store was assigned to a controller";
  } catch (const EKeyControllerException& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TKeyStore to a TKeyboardActionContoller");
  }
  EXPECT_EQ(b, a);
  EXPECT_TRUE(c.Store().Empty());
}

}  // namespace
}  // namespace vlr
