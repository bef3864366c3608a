// The Classic and Desktop key schemes applied to key tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "memo/engine/keys/KeyScheme.h"
#include "memo/engine/keys/KeyTable.h"
#include "memo/engine/keys/KeyboardActionController.h"

using namespace vlr;

namespace {

int CommandOf(const TKeyTable& t, std::uint16_t k1, std::uint16_t k2 = 0) {
  for (const TKeyBinding& b : t.bindings)
    if (b.key1 == k1 && b.key2 == k2) return b.command;
  return -1;
}

std::vector<TKeyBinding> Sorted(std::vector<TKeyBinding> v) {
  std::sort(v.begin(), v.end(), [](const TKeyBinding& a, const TKeyBinding& b) {
    return std::tie(a.key1, a.key2, a.command) < std::tie(b.key1, b.key2, b.command);
  });
  return v;
}

constexpr std::uint16_t Ctrl(char c) { return std::uint16_t(kKeyCtrl | c); }

TEST(KeyScheme, DesktopRebindsRedoDeleteLineAndBookmarks) {
  TKeyTable t = DefaultKeyTable();
  EXPECT_EQ(KeySchemeOf(t), TKeyScheme::Classic);
  ApplyKeyScheme(t, TKeyScheme::Desktop);
  EXPECT_EQ(KeySchemeOf(t), TKeyScheme::Desktop);
  EXPECT_EQ(CommandOf(t, Ctrl('Y')), 42);
  EXPECT_EQ(CommandOf(t, Ctrl('Z') | kKeyShift), 42);
  EXPECT_EQ(CommandOf(t, Ctrl('K') | kKeyShift), 40);
  EXPECT_EQ(CommandOf(t, Ctrl('Z')), 41);
  EXPECT_EQ(CommandOf(t, std::uint16_t(kKeyCtrl | 8)), 43);  // Ctrl+Backspace deletes the word before
  for (int i = 0; i <= 9; ++i) {
    EXPECT_EQ(CommandOf(t, Ctrl(char('0' + i))), 30 + i);
    EXPECT_EQ(CommandOf(t, Ctrl('K'), std::uint16_t('0' + i)), 20 + i);
  }
  // Ctrl+Q is free for quitting.
  EXPECT_TRUE(std::none_of(t.bindings.begin(), t.bindings.end(), [](const TKeyBinding& b) { return b.key1 == Ctrl('Q'); }));
  // The controller takes the table: no sequence collides with another.
  TKeyboardActionContoller k;
  EXPECT_NO_THROW(k.SetTable(t));
  EXPECT_EQ(k.Offer(Ctrl('Y'), false).command, 42);
  // And back: the classic table again, binding for binding.
  ApplyKeyScheme(t, TKeyScheme::Classic);
  EXPECT_EQ(Sorted(t.bindings), Sorted(DefaultKeyTable().bindings));
}

TEST(KeyScheme, TheUsersOwnKeysStayUnlessTheSchemeNeedsThem) {
  TKeyTable t = DefaultKeyTable();
  AddKeyBinding(t, {std::uint16_t(kKeyAlt | 'L'), 0, 40});   // a second key for delete line
  AddKeyBinding(t, {Ctrl('1'), 0, 19});                      // Ctrl+1 toggles overwrite
  AddKeyBinding(t, {std::uint16_t(kKeyCtrl | 'M'), 0, 12});  // Ctrl+M cuts
  ApplyKeyScheme(t, TKeyScheme::Desktop);
  EXPECT_EQ(CommandOf(t, std::uint16_t(kKeyCtrl | 'M')), 12);
  EXPECT_EQ(CommandOf(t, Ctrl('1')), 31);                    // the scheme's bookmark key wins
  EXPECT_EQ(CommandOf(t, std::uint16_t(kKeyAlt | 'L')), -1); // the scheme decides delete line
  const std::size_t before = t.bindings.size();
  ApplyKeyScheme(t, TKeyScheme::Desktop);  // applying twice changes nothing
  EXPECT_EQ(t.bindings.size(), before);
}

TEST(KeyScheme, Names) {
  EXPECT_STREQ(KeySchemeName(TKeyScheme::Classic), "Classic");
  EXPECT_STREQ(KeySchemeName(TKeyScheme::Desktop), "Desktop");
  EXPECT_EQ(KeySchemeNamed("desktop"), TKeyScheme::Desktop);
  EXPECT_EQ(KeySchemeNamed("DESKTOP"), TKeyScheme::Desktop);
  EXPECT_EQ(KeySchemeNamed("Classic"), TKeyScheme::Classic);
  EXPECT_EQ(KeySchemeNamed("other"), TKeyScheme::Classic);
}

}  // namespace
