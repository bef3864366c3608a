#include "appearance/palette/SwatchGrid.h"

#include <gtest/gtest.h>

#include <map>

namespace {

TEST(SwatchGrid, EverySwatchHasAnElevenByElevenSensitiveArea) {
    std::map<int, int> hits;
    for (int y = -2; y < vlr::kGridHeight + 4; ++y)
        for (int x = -2; x < vlr::kGridWidth + 4; ++x)
            if (int n = vlr::SwatchAt(x, y))
                ++hits[n];
    ASSERT_EQ(hits.size(), 240u);
    EXPECT_EQ(hits.begin()->first, 1);
    EXPECT_EQ(hits.rbegin()->first, 240);
    for (auto [n, count] : hits)
        EXPECT_EQ(count, 121) << n;
}

TEST(SwatchGrid, EdgesAndTheRightAndBottomStripChooseNothing) {
    // Swatch 1 spans pixels 1..11 inside its cell 0..15.
    EXPECT_EQ(vlr::SwatchAt(1, 1), 1);
    EXPECT_EQ(vlr::SwatchAt(11, 11), 1);
    EXPECT_EQ(vlr::SwatchAt(0, 5), 0);   // left edge line
    EXPECT_EQ(vlr::SwatchAt(5, 0), 0);   // top edge line
    for (int strip = 12; strip <= 15; ++strip) {
        EXPECT_EQ(vlr::SwatchAt(strip, 5), 0) << strip;
        EXPECT_EQ(vlr::SwatchAt(5, strip), 0) << strip;
    }
    EXPECT_EQ(vlr::SwatchAt(16, 5), 0);  // left edge of swatch 2
    EXPECT_EQ(vlr::SwatchAt(17, 5), 2);
    // Swatch 13 opens the second row; 240 is the last one shown.
    EXPECT_EQ(vlr::SwatchAt(1, 17), 13);
    EXPECT_EQ(vlr::SwatchAt(187, 315), 240);
    EXPECT_EQ(vlr::SwatchAt(188, 315), 0);
    EXPECT_EQ(vlr::SwatchAt(187, 316), 0);
    EXPECT_EQ(vlr::SwatchRow(13), 1);
    EXPECT_EQ(vlr::SwatchColumn(13), 0);
    EXPECT_EQ(vlr::SwatchRow(240), 19);
    EXPECT_EQ(vlr::SwatchColumn(240), 11);
}

TEST(SwatchGrid, CentringTruncatesTowardsZero) {
    EXPECT_EQ(vlr::CentredOffset(200, 192), 4);
    EXPECT_EQ(vlr::CentredOffset(201, 192), 4);
    EXPECT_EQ(vlr::CentredOffset(191, 192), 0);
    EXPECT_EQ(vlr::CentredOffset(185, 192), -3);
}

}  // namespace
