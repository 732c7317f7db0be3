#include "app/WindowLayout.h"

#include <gtest/gtest.h>

using namespace vastrel;

namespace {

TEST(WindowLayout, TheTableFollowsTheWindowOnlyAboveTheThresholds) {
    EXPECT_EQ(GridHeightForWindow(6635), std::nullopt); // 5000 is not more than 5000
    EXPECT_EQ(GridHeightForWindow(6636), 5001);
    EXPECT_EQ(GridHeightForWindow(10935), 9300);
    EXPECT_EQ(GridHeightForWindow(0), std::nullopt);
    EXPECT_EQ(GridWidthForWindow(5301), std::nullopt);
    EXPECT_EQ(GridWidthForWindow(5302), 5001);
    EXPECT_EQ(GridWidthForWindow(15217), 14916);
}

TEST(WindowLayout, ThePlaceholderTakesTheFreeWidthButNeverLessThanNothing) {
    // 1280 - 40 - (51 + 59 + 62) = 1068; the placeholder starts at 600
    EXPECT_EQ(PlaceholderWidth(1280, 51, 59, 62, 600), 468);
    EXPECT_EQ(PlaceholderWidth(1280, 51, 59, 62, 1068), 0);
    EXPECT_EQ(PlaceholderWidth(1280, 51, 59, 62, 1067), 1);
    EXPECT_EQ(PlaceholderWidth(300, 51, 59, 62, 600), 0);
    EXPECT_EQ(PlaceholderWidth(0, 51, 59, 62, 0), 0);
    // the inner width is rounded to whole pixels, halves to the even neighbour
    EXPECT_EQ(PlaceholderWidth(640.5, 0, 0, 0, 0), 600);
    EXPECT_EQ(PlaceholderWidth(641.5, 0, 0, 0, 0), 602);
}

} // namespace
