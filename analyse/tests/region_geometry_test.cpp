#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "analyse/features/region_geometry.h"
#include "analyse/features/region_volume.h"
#include "imagecore/image.h"
#include "testsupport/region_tree_builder.h"

namespace {

// Positions of a w x h block with top left (x0, y0) in an image of width 10.
std::vector<int> block(int x0, int y0, int w, int h)
{
    std::vector<int> out;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            out.push_back(y * 10 + x);
    return out;
}

TEST(RegionGeometry, MomentsOfAPixelASquareAndABar)
{
    const region_node_handle pixel(vx_test::node(nullptr, {23}));
    second_area_moment(pixel.get(), 10, 10);
    EXPECT_EQ(pixel->centroidX, 3.0);
    EXPECT_EQ(pixel->centroidY, 2.0);
    EXPECT_DOUBLE_EQ(pixel->centroidXn, 0.3);
    EXPECT_DOUBLE_EQ(pixel->orientation, -M_PI / 4);
    EXPECT_EQ(pixel->paxis, 0);
    EXPECT_EQ(pixel->aaxis, 0);

    const region_node_handle square(vx_test::node(nullptr, block(4, 4, 3, 3)));
    second_area_moment(square.get(), 10, 10);
    EXPECT_EQ(square->centroidX, 5.0);
    EXPECT_DOUBLE_EQ(square->orientation, -M_PI / 4);
    EXPECT_EQ(square->paxis, 1);
    EXPECT_EQ(square->aaxis, 1);
    EXPECT_DOUBLE_EQ(square->paxisn, 1 / std::sqrt(200.0));

    // A bar of 8 x 2: truncated centre (4, 0); mxx 5.5, myy 0.5, mxy 0.25, so
    // a = 4.70 and b = 1.40: paxis = (int) sqrt(4 / 1 * 16 / 3.1417) = 4.
    const region_node_handle bar(vx_test::node(nullptr, block(1, 0, 8, 2)));
    second_area_moment(bar.get(), 10, 10);
    EXPECT_EQ(bar->centroidX, 4.0);
    EXPECT_EQ(bar->centroidY, 0.0);
    EXPECT_DOUBLE_EQ(bar->orientation, std::atan(0.1) / 2);
    EXPECT_EQ(bar->paxis, 4);
    EXPECT_EQ(bar->aaxis, 1);
    // Upright, the orientation turns by -pi/2.
    const region_node_handle upright(vx_test::node(nullptr, block(0, 1, 2, 8)));
    second_area_moment(upright.get(), 10, 10);
    EXPECT_DOUBLE_EQ(upright->orientation, -std::atan(0.1) / 2 - M_PI / 2);

    const region_node_handle empty(vx_test::node(nullptr, {}));
    empty->paxis = 7;
    second_area_moment(empty.get(), 10, 10);
    EXPECT_EQ(empty->paxis, 0);
}

TEST(RegionGeometry, BoxesOfPixelsAndContour)
{
    const region_node_handle n(vx_test::node(nullptr, {34, 12, 57}, {12, 58, 3}));
    boundingBox(n.get(), 10);
    EXPECT_EQ(n->minx, 2);
    EXPECT_EQ(n->maxx, 7);
    EXPECT_EQ(n->miny, 1);
    EXPECT_EQ(n->maxy, 5);
    int x0 = -1, y0 = -1, x1 = -1, y1 = -1;
    rfContourFerretBox(&x0, &y0, &x1, &y1, n.get(), 10);
    EXPECT_EQ(std::vector<int>({x0, y0, x1, y1}), std::vector<int>({2, 0, 8, 5}));

    const region_node_handle none(vx_test::node(nullptr, {}, {}));
    none->maxx = 99;
    boundingBox(none.get(), 10);
    x0 = 42;
    rfContourFerretBox(&x0, &y0, &x1, &y1, none.get(), 10);
    EXPECT_EQ(none->maxx, 99);
    EXPECT_EQ(x0, 42);
}

TEST(RegionGeometry, ContourCoverLeavesTheContoursUnsorted)
{
    const region_node_handle a(vx_test::node(nullptr, {}, {9, 3, 5, 1}));
    const region_node_handle b(vx_test::node(nullptr, {}, {5, 9, 7}));
    const region_node_handle far(vx_test::node(nullptr, {}, {100, 200}));
    EXPECT_DOUBLE_EQ(contour_cover(a.get(), a.get()), 1.0);
    EXPECT_DOUBLE_EQ(contour_cover(a.get(), b.get()), 2.0 / 3.0);
    EXPECT_EQ(contour_cover(a.get(), far.get()), 0.0);
    EXPECT_EQ(std::vector<int>(a->contour, a->contour + 4), std::vector<int>({9, 3, 5, 1}));
    const region_node_handle empty(vx_test::node(nullptr, {}, {}));
    EXPECT_EQ(contour_cover(a.get(), empty.get()), 0.0);
}

TEST(RegionGeometry, VolumesSaturateInsteadOfWrapping)
{
    const image_handle g(create_image(200, 200, 65535));
    const image_handle zero(create_image(200, 200, 0));
    update_image_struct(g.get());
    g->min = 0;
    std::vector<int> all(40000);
    for (int p = 0; p < 40000; ++p)
        all[p] = p;
    EXPECT_EQ(region_volume(g.get(), 40000, all.data()), INT_MAX);
    EXPECT_EQ(region_contrast_volume(g.get(), 40000, all.data(), zero.get()), INT_MAX);
    EXPECT_EQ(region_volume(g.get(), 10, all.data()), 655350);
    const int outside[] = {-5, 40000, 7};
    EXPECT_EQ(region_contrast_volume(zero.get(), 3, outside, g.get()), 65535);
    EXPECT_EQ(region_volume(g.get(), 0, all.data()), 0);
}

}  // namespace
