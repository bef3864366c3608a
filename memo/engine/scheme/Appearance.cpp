// Light and dark style sets.
#include "memo/engine/scheme/Appearance.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace vlr {

namespace {
std::atomic<bool> gDesktopDark{false};

double Channel(std::uint32_t v) noexcept {
  const double c = double(v & 0xFF) / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
}  // namespace

void SetDesktopDark(bool dark) noexcept { gDesktopDark = dark; }
bool DesktopDark() noexcept { return gDesktopDark; }

TAppearance AppearanceOf(const TSchemeSettings& s) noexcept {
  return s.appearance == 1 ? TAppearance::Light : s.appearance == 2 ? TAppearance::Dark : TAppearance::FollowDesktop;
}

bool HasDarkStyles(const TSchemeTables& t) noexcept {
  return std::any_of(t.darkEffects.begin(), t.darkEffects.end(), [](const TSchemeEffect& e) { return e.present; });
}

bool UsesDarkStyles(const TSchemeTables& t) noexcept {
  const TAppearance a = AppearanceOf(t.settings);
  return HasDarkStyles(t) && (a == TAppearance::Dark || (a == TAppearance::FollowDesktop && DesktopDark()));
}

const std::array<TSchemeEffect, 256>& ActiveEffects(const TSchemeTables& t) noexcept {
  return UsesDarkStyles(t) ? t.darkEffects : t.effects;
}

std::array<TSchemeEffect, 256>& ActiveEffects(TSchemeTables& t) noexcept {
  return UsesDarkStyles(t) ? t.darkEffects : t.effects;
}

double RelativeLuminance(std::uint32_t color) noexcept {
  return 0.2126 * Channel(color) + 0.7152 * Channel(color >> 8) + 0.0722 * Channel(color >> 16);
}

double ContrastRatio(std::uint32_t a, std::uint32_t b) noexcept {
  const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace vlr
