// Whether the desktop's palette is dark: its colour scheme where Qt reports one, else a
// window colour darker than middle grey.
#pragma once

namespace velora::memo {

[[nodiscard]] bool DesktopPaletteIsDark();

}  // namespace velora::memo
