// The shipped HTML scheme's two style sets: every style the text is drawn in keeps a readable
// contrast against its background (WCAG AA, 4.5:1), and the dark set covers every style of the
// light one.
#include <gtest/gtest.h>

#include <set>

#include "memo/engine/scheme/Appearance.h"
#include "memo/engine/scheme/SchemeCompiler.h"

namespace {

using vlr::TSchemeEffect;
using vlr::TSchemeTables;

const TSchemeTables& Html() {
  static const TSchemeTables t = vlr::CompileSchemeFile(VELORA_HTML_SCHEME_SCRIPT);
  return t;
}

// The styles text is drawn in: style 0 and every style a token value maps to.
std::set<int> TextStyles(const TSchemeTables& t) {
  std::set<int> out{0};
  for (std::uint8_t s : t.map) out.insert(s);
  return out;
}

struct Colours {
  std::uint32_t fg, bg;
};

// A style's colours, its default ones taken from style 0 and, where that keeps the control's
// own, from the control (black on white, or the dark control colours).
Colours ColoursOf(const std::array<TSchemeEffect, 256>& set, int style, bool dark) {
  const TSchemeEffect& base = set[0];
  const std::uint32_t controlFg = dark ? 0xD4D4D4 : 0x000000, controlBg = dark ? 0x1E1E1E : 0xFFFFFF;
  const std::uint32_t baseFg = base.present && !base.defaultForeground ? base.foreground : controlFg;
  const std::uint32_t baseBg = base.present && !base.defaultBackground ? base.background : controlBg;
  const TSchemeEffect& e = set[std::size_t(style)];
  if (!e.present) return {baseFg, baseBg};
  return {e.defaultForeground ? baseFg : e.foreground, e.defaultBackground ? baseBg : e.background};
}

TEST(DarkStyles, ContrastOfEveryTextStyleInBothSets) {
  const TSchemeTables& t = Html();
  ASSERT_TRUE(vlr::HasDarkStyles(t));
  for (const bool dark : {false, true}) {
    const auto& set = dark ? t.darkEffects : t.effects;
    for (const int style : TextStyles(t)) {
      const Colours c = ColoursOf(set, style, dark);
      const double ratio = vlr::ContrastRatio(c.fg, c.bg);
      SCOPED_TRACE((dark ? "dark style " : "light style ") + std::to_string(style) + " ratio " + std::to_string(ratio));
      EXPECT_GE(ratio, 4.5);
    }
  }
  // The dark control's selection too.
  EXPECT_GE(vlr::ContrastRatio(vlr::kDarkSelText, vlr::kDarkSelBack), 4.5);
}

TEST(DarkStyles, TheDarkSetCoversTheLightOne) {
  const TSchemeTables& t = Html();
  for (int s = 0; s < 256; ++s) {
    SCOPED_TRACE(s);
    EXPECT_EQ(t.effects[std::size_t(s)].present, t.darkEffects[std::size_t(s)].present);
    EXPECT_EQ(t.effects[std::size_t(s)].hotspot, t.darkEffects[std::size_t(s)].hotspot);
  }
  // Dark text is drawn on the dark background, never on the control's white.
  for (const int style : TextStyles(t)) EXPECT_FALSE(t.darkEffects[std::size_t(style)].defaultBackground) << style;
}

TEST(DarkStyles, ContrastRatioFormula) {
  EXPECT_NEAR(vlr::ContrastRatio(0x000000, 0xFFFFFF), 21.0, 1e-9);
  EXPECT_NEAR(vlr::ContrastRatio(0x777777, 0x777777), 1.0, 1e-9);
  EXPECT_NEAR(vlr::ContrastRatio(0x767676, 0xFFFFFF), 4.54, 0.01);  // the lightest AA grey on white
  EXPECT_NEAR(vlr::ContrastRatio(0x0000FF, 0xFFFFFF), 4.0, 0.01);   // red (0x00BBGGRR) on white
}

TEST(DarkStyles, WhichSetIsUsed) {
  TSchemeTables t = Html();
  vlr::SetDesktopDark(false);
  t.settings.appearance = 0;
  EXPECT_EQ(&vlr::ActiveEffects(t), &t.effects);
  vlr::SetDesktopDark(true);
  EXPECT_EQ(&vlr::ActiveEffects(t), &t.darkEffects);
  t.settings.appearance = 1;  // Light, whatever the desktop
  EXPECT_EQ(&vlr::ActiveEffects(t), &t.effects);
  t.settings.appearance = 2;
  vlr::SetDesktopDark(false);
  EXPECT_EQ(&vlr::ActiveEffects(t), &t.darkEffects);
  // Without a dark set the light one is used.
  t.darkEffects = {};
  EXPECT_EQ(&vlr::ActiveEffects(t), &t.effects);
}

}  // namespace
