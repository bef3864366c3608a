// Build-time generator of the shipped "Web Safe.pal" swatch file.
//
// Entries 1-216 are the 216 web-safe colours, every red, green and blue in
// 0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF, red varying slowest and blue fastest
// (#000000, #000033, ... #0000FF, #003300, ... #FFFFFF). On the 12-column
// grid each row then holds two greens of one red, and each red fills three rows.
// Entries 217-240 (the last two rows shown) are a 24-step grey ramp from black
// to white; entries 241-256, never shown, are black.
#include "appearance/palette/PaletteFile.h"

#include <cstdio>
#include <exception>

namespace {

vlr::Palette webSafePalette() {
    static constexpr unsigned kSteps[6] = {0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF};
    vlr::Palette colors{};
    std::size_t n = 0;
    for (unsigned r : kSteps)
        for (unsigned g : kSteps)
            for (unsigned b : kSteps)
                colors[n++] = vlr::ColorOf(r, g, b);
    constexpr unsigned kGreys = 24;
    for (unsigned i = 0; i < kGreys; ++i) {
        unsigned level = (i * 255 + (kGreys - 1) / 2) / (kGreys - 1);
        colors[n++] = vlr::ColorOf(level, level, level);
    }
    return colors;  // the remaining entries stay 0, black
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_websafe_pal OUTPUT.pal\n");
        return 2;
    }
    try {
        vlr::WritePalFile(argv[1], webSafePalette());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_websafe_pal: %s\n", e.what());
        return 1;
    }
    return 0;
}
