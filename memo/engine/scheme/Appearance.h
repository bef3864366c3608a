// Light and dark appearance: which of a scheme's two style sets the editor draws with, and the
// contrast of a colour pair as the web's accessibility guidelines measure it.
#pragma once

#include <array>
#include <cstdint>

#include "memo/engine/scheme/SchemeTables.h"

namespace vlr {

// TSchemeSettings::appearance.
enum class TAppearance : std::uint8_t { FollowDesktop = 0, Light = 1, Dark = 2 };

// Whether the desktop's palette is dark. The windowing layer says so (the engine cannot
// look); until it does, the desktop counts as light.
void SetDesktopDark(bool dark) noexcept;
[[nodiscard]] bool DesktopDark() noexcept;

// The appearance setting, an unknown value read as following the desktop.
[[nodiscard]] TAppearance AppearanceOf(const TSchemeSettings& s) noexcept;
// Whether the tables have a dark style set.
[[nodiscard]] bool HasDarkStyles(const TSchemeTables& t) noexcept;
// Whether the editor draws with the dark set: chosen, or following a dark desktop, and there.
[[nodiscard]] bool UsesDarkStyles(const TSchemeTables& t) noexcept;
// The style set the editor draws with (and the Highlighting page edits).
[[nodiscard]] const std::array<TSchemeEffect, 256>& ActiveEffects(const TSchemeTables& t) noexcept;
[[nodiscard]] std::array<TSchemeEffect, 256>& ActiveEffects(TSchemeTables& t) noexcept;

// The colours of the control itself under the dark appearance (0x00BBGGRR): text and
// background where a style keeps the control's own, selection, gutter and right margin.
inline constexpr std::uint32_t kDarkSelText = 0xFFFFFF;
inline constexpr std::uint32_t kDarkSelBack = 0x784F26;   // #264F78
inline constexpr std::uint32_t kDarkGutter = 0x2B2B2B;
inline constexpr std::uint32_t kDarkMargin = 0x4A4A4A;

// The relative luminance of a colour (0x00BBGGRR), 0 black .. 1 white.
[[nodiscard]] double RelativeLuminance(std::uint32_t color) noexcept;
// The contrast ratio of two colours, 1 .. 21.
[[nodiscard]] double ContrastRatio(std::uint32_t a, std::uint32_t b) noexcept;

}  // namespace vlr
