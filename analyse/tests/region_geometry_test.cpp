#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "analyse/features/region_geometry.h"
#include "analyse/features/region_volume.h"
#include "imagecore/image.h"

namespace {

// A calloc'ed node over the given pixels and contour.
struct node_holder {
    tregionnode* node = static_cast<tregionnode*>(std::calloc(1, sizeof(tregionnode)));

    explicit node_holder(std::vector<int> pixels, std::vector<int> contour = {})
    {
        node->size = static_cast<int>(pixels.size());
        node->pixels = copy(pixels);
        node->contour_size = static_cast<int>(contour.size());
        node->contour = copy(contour);
    }
    ~node_holder()
    {
        std::free(node->pixels);
        std::free(node->contour);
        std::free(node);
    }
    node_holder(const node_holder&) = delete;
    node_holder& operator=(const node_holder&) = delete;

    static int* copy(const std::vector<int>& v)
    {
        if (v.empty())
            return nullptr;
        auto* out = static_cast<int*>(std::malloc(v.size() * sizeof(int)));
        for (size_t i = 0; i < v.size(); ++i)
            out[i] = v[i];
        return out;
    }
};

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
    node_holder pixel({23});
    second_area_moment(pixel.node, 10, 10);
    EXPECT_EQ(pixel.node->centroidX, 3.0);
    EXPECT_EQ(pixel.node->centroidY, 2.0);
    EXPECT_DOUBLE_EQ(pixel.node->centroidXn, 0.3);
    EXPECT_DOUBLE_EQ(pixel.node->orientation, -M_PI / 4);
    EXPECT_EQ(pixel.node->paxis, 0);
    EXPECT_EQ(pixel.node->aaxis, 0);

    node_holder square(block(4, 4, 3, 3));
    second_area_moment(square.node, 10, 10);
    EXPECT_EQ(square.node->centroidX, 5.0);
    EXPECT_DOUBLE_EQ(square.node->orientation, -M_PI / 4);
    EXPECT_EQ(square.node->paxis, 1);
    EXPECT_EQ(square.node->aaxis, 1);
    EXPECT_DOUBLE_EQ(square.node->paxisn, 1 / std::sqrt(200.0));

    // A bar of 8 x 2: truncated centre (4, 0); mxx 5.5, myy 0.5, mxy 0.25, so
    // a = 4.70 and b = 1.40: paxis = (int) sqrt(4 / 1 * 16 / 3.1417) = 4.
    node_holder bar(block(1, 0, 8, 2));
    second_area_moment(bar.node, 10, 10);
    EXPECT_EQ(bar.node->centroidX, 4.0);
    EXPECT_EQ(bar.node->centroidY, 0.0);
    EXPECT_DOUBLE_EQ(bar.node->orientation, std::atan(0.1) / 2);
    EXPECT_EQ(bar.node->paxis, 4);
    EXPECT_EQ(bar.node->aaxis, 1);
    // Upright, the orientation turns by -pi/2.
    node_holder upright(block(0, 1, 2, 8));
    second_area_moment(upright.node, 10, 10);
    EXPECT_DOUBLE_EQ(upright.node->orientation, -std::atan(0.1) / 2 - M_PI / 2);

    node_holder empty({});
    empty.node->paxis = 7;
    second_area_moment(empty.node, 10, 10);
    EXPECT_EQ(empty.node->paxis, 0);
}

TEST(RegionGeometry, BoxesOfPixelsAndContour)
{
    node_holder n({34, 12, 57}, {12, 58, 3});
    boundingBox(n.node, 10);
    EXPECT_EQ(n.node->minx, 2);
    EXPECT_EQ(n.node->maxx, 7);
    EXPECT_EQ(n.node->miny, 1);
    EXPECT_EQ(n.node->maxy, 5);
    int x0 = -1, y0 = -1, x1 = -1, y1 = -1;
    rfContourFerretBox(&x0, &y0, &x1, &y1, n.node, 10);
    EXPECT_EQ(std::vector<int>({x0, y0, x1, y1}), std::vector<int>({2, 0, 8, 5}));

    node_holder none({}, {});
    none.node->maxx = 99;
    boundingBox(none.node, 10);
    x0 = 42;
    rfContourFerretBox(&x0, &y0, &x1, &y1, none.node, 10);
    EXPECT_EQ(none.node->maxx, 99);
    EXPECT_EQ(x0, 42);
}

TEST(RegionGeometry, ContourCoverLeavesTheContoursUnsorted)
{
    node_holder a({}, {9, 3, 5, 1});
    node_holder b({}, {5, 9, 7});
    node_holder far({}, {100, 200});
    EXPECT_DOUBLE_EQ(contour_cover(a.node, a.node), 1.0);
    EXPECT_DOUBLE_EQ(contour_cover(a.node, b.node), 2.0 / 3.0);
    EXPECT_EQ(contour_cover(a.node, far.node), 0.0);
    EXPECT_EQ(std::vector<int>(a.node->contour, a.node->contour + 4), std::vector<int>({9, 3, 5, 1}));
    node_holder empty({}, {});
    EXPECT_EQ(contour_cover(a.node, empty.node), 0.0);
}

TEST(RegionGeometry, VolumesSaturateInsteadOfWrapping)
{
    image* g = create_image(200, 200, 65535);
    image* zero = create_image(200, 200, 0);
    update_image_struct(g);
    g->min = 0;
    std::vector<int> all(40000);
    for (int p = 0; p < 40000; ++p)
        all[p] = p;
    EXPECT_EQ(region_volume(g, 40000, all.data()), INT_MAX);
    EXPECT_EQ(region_contrast_volume(g, 40000, all.data(), zero), INT_MAX);
    EXPECT_EQ(region_volume(g, 10, all.data()), 655350);
    const int outside[] = {-5, 40000, 7};
    EXPECT_EQ(region_contrast_volume(zero, 3, outside, g), 65535);
    EXPECT_EQ(region_volume(g, 0, all.data()), 0);
    delete_image(zero);
    delete_image(g);
}

}  // namespace
