// The "Web Safe.pal" written by the build.
#include "appearance/palette/PaletteFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace {

bool isWebSafeStep(unsigned component) { return component % 0x33 == 0; }

TEST(WebSafePalette, HoldsThe216WebSafeColoursThenAGreyRamp) {
    ASSERT_EQ(std::filesystem::file_size(WEBSAFE_PAL_FILE), vlr::kPalFileSize);
    vlr::Palette colors{};
    ASSERT_TRUE(vlr::ReadPaletteFile(WEBSAFE_PAL_FILE, colors));

    std::set<vlr::ColorValue> seen;
    for (std::size_t i = 0; i < 216; ++i) {
        const vlr::ColorValue v = colors[i];
        EXPECT_EQ(v >> 24, 0u) << i;
        EXPECT_TRUE(isWebSafeStep(vlr::RedOf(v)) && isWebSafeStep(vlr::GreenOf(v)) && isWebSafeStep(vlr::BlueOf(v)))
            << vlr::ColorText(v);
        seen.insert(v);
    }
    EXPECT_EQ(seen.size(), 216u);
    EXPECT_EQ(vlr::ColorText(colors[0]), "#000000");
    EXPECT_EQ(vlr::ColorText(colors[1]), "#000033");
    EXPECT_EQ(vlr::ColorText(colors[215]), "#FFFFFF");

    // Entries 217-240 climb from black to white in grey; the unseen rest is black.
    EXPECT_EQ(colors[216], 0u);
    EXPECT_EQ(vlr::ColorText(colors[239]), "#FFFFFF");
    for (std::size_t i = 216; i < 240; ++i) {
        EXPECT_EQ(vlr::RedOf(colors[i]), vlr::GreenOf(colors[i]));
        EXPECT_EQ(vlr::RedOf(colors[i]), vlr::BlueOf(colors[i]));
        if (i > 216) {
            EXPECT_GT(vlr::RedOf(colors[i]), vlr::RedOf(colors[i - 1]));
        }
    }
    for (std::size_t i = 240; i < 256; ++i)
        EXPECT_EQ(colors[i], 0u);
}

}  // namespace
