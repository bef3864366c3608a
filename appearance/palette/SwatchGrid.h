// Geometry of the colour grid: 240 swatches of 16 x 16 pixels in 20 rows of
// 12, numbered from 1 row by row, and the part of each cell a click chooses.
#pragma once

namespace vlr {

inline constexpr int kGridColumns = 12;
inline constexpr int kGridRows = 20;
inline constexpr int kCellSize = 16;
inline constexpr int kGridWidth = kGridColumns * kCellSize;   // 192
inline constexpr int kGridHeight = kGridRows * kCellSize;     // 320
inline constexpr int kShownSwatches = kGridColumns * kGridRows;  // 240
// The sensitive area of a cell: 11 x 11 pixels starting just inside its
// top-left outline. The 4 pixels at the right and bottom choose nothing.
inline constexpr int kSensitiveSize = 11;

// Row and column, from 0, of swatch n (1-based).
[[nodiscard]] constexpr int SwatchRow(int n) noexcept { return (n - 1) / kGridColumns; }
[[nodiscard]] constexpr int SwatchColumn(int n) noexcept { return (n - 1) % kGridColumns; }

// The swatch whose sensitive area holds the grid pixel (x, y), or 0.
[[nodiscard]] constexpr int SwatchAt(int x, int y) noexcept {
    if (x < 1 || y < 1)
        return 0;
    const int c = (x - 1) / kCellSize;
    const int r = (y - 1) / kCellSize;
    if (c >= kGridColumns || r >= kGridRows)
        return 0;
    if (x > kCellSize * c + kSensitiveSize || y > kCellSize * r + kSensitiveSize)
        return 0;
    return kGridColumns * r + c + 1;
}

// Where a child of the given size goes in the given room to be centred: half
// of the spare room, truncated towards zero; negative when it does not fit.
[[nodiscard]] constexpr int CentredOffset(int room, int size) noexcept { return (room - size) / 2; }

}  // namespace vlr
