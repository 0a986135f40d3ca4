#include <gtest/gtest.h>

#include "filter/handles.h"
#include "filter/markerbased_watershed.h"
#include "filter/tests/naive_morphology.h"

namespace {

// Three basins in a row: minima at columns 1, 5 and 9, ridges at 3 and 7.
const naive::grid kValleys = {2, 1, 2, 5, 2, 1, 2, 5, 2, 1, 2, 2, 1, 2, 5, 2, 1,
                              2, 5, 2, 1, 2, 2, 1, 2, 5, 2, 1, 2, 5, 2, 1, 2};
constexpr int kW = 11, kH = 3;

TEST(MarkerbasedWatershed, MarksTheBasinsUnderTheMarkers)
{
    const image_handle img(naive::to_image(kValleys, kW, kH));
    naive::grid m(kW * kH, 0);
    m[kW + 5] = 7;  // one marker pixel in the middle basin
    const image_handle marker(naive::to_image(m, kW, kH));
    image* labels = markerbased_watershed(marker.get(), img.get(), 0, 0, 4, 1);
    naive::grid row = {0, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0};
    for (int y = 0; y < kH; ++y)
        EXPECT_EQ(naive::grid(labels->pixels + y * kW, labels->pixels + (y + 1) * kW), row);
    EXPECT_EQ(marker->pixels[kW + 5], 1);
    delete_image(labels);
    labels = complemented_markerbased_watershed(marker.get(), img.get(), 0, 0, 4, 1);
    row = {1, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1};
    EXPECT_EQ(naive::grid(labels->pixels, labels->pixels + kW), row);
    delete_image(labels);
    labels = markerbased_watershed(marker.get(), img.get(), 0, 0, 4, 0);
    EXPECT_EQ(labels->pixels[5], -1);
    EXPECT_GT(labels->pixels[1], 0);
    EXPECT_EQ(labels->pixels[3], 0);
    delete_image(labels);
    const image_handle narrow(create_image(kW - 1, kH, 0));
    EXPECT_EQ(markerbased_watershed(narrow.get(), img.get(), 0, 0, 4, 1), nullptr);
}

TEST(WsLabels, ForegroundAndBackgroundSelection)
{
    const naive::grid basins = {1, 1, 0, 2, 2, 0, 3, 3, 1, 1, 0, 2, 2, 0, 3, 3};
    naive::grid m(16, 0);
    m[7] = 1;
    m[8] = 1;
    const image_handle marker(naive::to_image(m, 8, 2));
    image* labels = naive::to_image(basins, 8, 2);
    EXPECT_EQ(ws_label_foreground(marker.get(), labels, 0, 4), 2);
    EXPECT_EQ(naive::to_grid(labels),
              (naive::grid{2, 2, 0, 0, 0, 0, 1, 1, 2, 2, 0, 0, 0, 0, 1, 1}));
    delete_image(labels);
    labels = naive::to_image(basins, 8, 2);
    EXPECT_EQ(ws_label_background(marker.get(), labels, 0, 4), 2);
    EXPECT_EQ(naive::to_grid(labels),
              (naive::grid{0, 0, 0, 2, 2, 0, 0, 0, 0, 0, 0, 2, 2, 0, 0, 0}));
    delete_image(labels);
    labels = naive::to_image(basins, 8, 2);
    ws_label_background(marker.get(), labels, 1, 4);
    EXPECT_EQ(labels->pixels[3], 1);
    delete_image(labels);
}

TEST(IncludedRegion, OnlyABasinEnclosedByOneOtherHasAnEncloser)
{
    // Basin 2 lies inside basin 1; basin 3 touches basins 1 and 4.
    const naive::grid g = {1, 1, 1, 1, 1, 1, 0, 4, 4, 1, 0, 0, 0, 1, 1, 0, 4, 4, 1, 0, 2,
                           0, 1, 1, 0, 4, 4, 1, 0, 2, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0,
                           3, 3, 0, 1, 1, 1, 1, 1, 0, 3, 3, 0, 1, 1, 1, 1, 1, 0, 0, 0, 0};
    naive::grid labels = g;
    EXPECT_EQ(included_ws_region(2 * 9 + 2, labels.data(), 9, 7, nullptr), 1);
    EXPECT_EQ(included_ws_region(3 * 9 + 2, labels.data(), 9, 7, nullptr), 1);
    EXPECT_EQ(included_ws_region(4 * 9 + 7, labels.data(), 9, 7, nullptr), 0);
    EXPECT_EQ(included_ws_region(0, labels.data(), 9, 7, nullptr), 0);  // touches the border
    EXPECT_EQ(included_ws_region(1 * 9 + 1, labels.data(), 9, 7, nullptr), 0);  // a line pixel
    EXPECT_EQ(labels, g);
}

}  // namespace
