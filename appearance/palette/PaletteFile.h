// Colour palette files: reading ".PAL" and ".ACT" swatch files into 256 colour
// values, writing ".PAL" files, and the "#RRGGBB" text of a colour value.
//
// A colour value is 32 bits: red in the lowest byte, then green, then blue,
// and a high byte that is 0 for plain colours.
//
// ".PAL" (1028 bytes): a 4-byte header, then 256 entries of 4 bytes, each a
// colour value in little-endian order. The reader skips the header; the writer
// puts 0x00 0x03 0x00 0x01 there (a 16-bit little-endian version 0x0300 and a
// 16-bit little-endian entry count of 256).
// ".ACT" (768 bytes): 256 entries of 3 bytes, red, green, blue.
// Bytes after those sizes are ignored.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace vlr {

using ColorValue = std::uint32_t;

inline constexpr std::size_t kPaletteEntries = 256;
inline constexpr std::size_t kPalFileSize = 1028;
inline constexpr std::size_t kActFileSize = 768;

using Palette = std::array<ColorValue, kPaletteEntries>;

// The input/output error of a palette load: a file shorter than its format's
// size, or an ".ACT" file that cannot be opened. Also raised by
// WritePalFile when the file cannot be written.
class EPaletteIOError : public std::runtime_error {
public:
    EPaletteIOError(const std::string& message, std::string fileName)
        : std::runtime_error(message), fileName_(std::move(fileName)) {}
    [[nodiscard]] const std::string& FileName() const noexcept { return fileName_; }

private:
    std::string fileName_;
};

enum class PaletteFormat { None, Pal, Act };

// The format a file name's extension selects (".pal", ".act", any letter case).
[[nodiscard]] PaletteFormat PaletteFormatOf(std::string_view fileName) noexcept;

// The file's name without its folder and without its extension:
// "/x/swatches/Web Safe.pal" gives "Web Safe".
[[nodiscard]] std::string PaletteDisplayName(std::string_view fileName);

// Loads a palette file into colors, choosing the format by extension.
// Returns true when colors were replaced. A ".PAL" file that cannot be opened
// and a file with another extension load nothing and return false. A short
// file, an unreadable file and an ".ACT" file that cannot be opened raise
// EPaletteIOError. colors is only written once the whole file has been read.
bool ReadPaletteFile(const std::string& fileName, Palette& colors);

// The two layouts as bytes, for files already in memory. data must hold at
// least kPalFileSize (kActFileSize) bytes.
[[nodiscard]] Palette PaletteFromPalBytes(const unsigned char* data) noexcept;
[[nodiscard]] Palette PaletteFromActBytes(const unsigned char* data) noexcept;

// The 1028-byte ".PAL" form of a palette, header included.
[[nodiscard]] std::string PalFileBytes(const Palette& colors);

// Writes a ".PAL" file through a temporary file that replaces the old one only
// when complete; raises EPaletteIOError on failure.
void WritePalFile(const std::string& fileName, const Palette& colors);

// c * 65536 + b * 256 + a. Called with (blue, green, red) it gives the number
// whose six hexadecimal digits read RRGGBB.
[[nodiscard]] constexpr std::uint32_t RGBToValue(std::uint32_t a, std::uint32_t b, std::uint32_t c) noexcept {
    return c * 65536u + b * 256u + a;
}

[[nodiscard]] constexpr std::uint32_t RedOf(ColorValue v) noexcept { return v & 0xFFu; }
[[nodiscard]] constexpr std::uint32_t GreenOf(ColorValue v) noexcept { return (v >> 8) & 0xFFu; }
[[nodiscard]] constexpr std::uint32_t BlueOf(ColorValue v) noexcept { return (v >> 16) & 0xFFu; }
[[nodiscard]] constexpr ColorValue ColorOf(std::uint32_t red, std::uint32_t green, std::uint32_t blue) noexcept {
    return (red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16);
}

// The HTML text of a colour value: "#" and six upper-case hexadecimal digits
// RRGGBB. The high byte plays no part.
[[nodiscard]] std::string ColorText(ColorValue value);

}  // namespace vlr
