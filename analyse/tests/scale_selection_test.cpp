#include "analyse/display/scale_selection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analyse/display/region_blobs.h"
#include "analyse/display/significance_maxima.h"
#include "testsupport/region_tree_builder.h"

namespace {

using vx_test::node;
using vx_test::pixels;

tregionnode* aged(tregionnode* n, int birth, int age)
{
    n->birth = birth;
    n->age = age;
    return n;
}

// A 4 x 2 tree of three scales: A (top row, scales 1-2) with the sons A1 and
// A2 (scale 0), B (bottom row, all three scales) with the son B1 (scale 0).
// Pre-order labels: A 1, A1 2, A2 3, B 4, B1 5.
struct ScaleSelection : testing::Test {
    const region_tree_handle tree{init_region_tree(4, 2, 3)};
    const image_handle dst{create_image(4, 2, 0)};
    const image_handle labels{create_image(4, 2, -1)};

    void SetUp() override
    {
        tregionnode* a = aged(node(tree->root, {0, 1, 2, 3}, {0, 3}), 1, 2);
        aged(node(a, {0, 1}, {0}), 0, 1);
        aged(node(a, {2, 3}, {3}), 0, 1);
        tregionnode* b = aged(node(tree->root, {4, 5, 6}, {4, 7}), 0, 3);
        aged(node(b, {5, 6}, {5}), 0, 1);
        vx_test::number(tree.get());
        vx_test::give_grey(tree.get(), {9, 2, 3, 4, 5, 6, 7, 8});
    }
};

TEST_F(ScaleSelection, ContoursAndLabelsOfTheRegionsAliveAtAScale)
{
    select_scale(dst.get(), labels.get(), tree.get(), 0, 99, 2);
    EXPECT_EQ(pixels(dst.get()), (std::vector<int>{99, 2, 3, 99, 99, 6, 7, 99}));
    EXPECT_EQ(pixels(labels.get()), (std::vector<int>{2, 2, 3, 3, 4, 4, 4, -1}));
    EXPECT_EQ(dst->max, 9);

    select_scale(dst.get(), labels.get(), tree.get(), 1, 99, 2);
    EXPECT_EQ(pixels(dst.get()), (std::vector<int>{99, 2, 3, 99, 99, 6, 7, 99}));
    EXPECT_EQ(pixels(labels.get()), (std::vector<int>{1, 1, 1, 1, 4, 4, 4, -1}));
}

TEST_F(ScaleSelection, YoungModePassesRegionsOfAllScalesOnToTheirSons)
{
    select_scale(dst.get(), labels.get(), tree.get(), 0, 99, 1);
    EXPECT_EQ(pixels(dst.get()), (std::vector<int>{9, 2, 3, 9, 5, 9, 7, 8}));
    EXPECT_EQ(pixels(labels.get()), std::vector<int>(8, -1));
}

TEST_F(ScaleSelection, OtherModesOnlyCopyTheGreyImage)
{
    select_scale(dst.get(), labels.get(), tree.get(), 0, 99, 0);
    EXPECT_EQ(pixels(dst.get()), (std::vector<int>{9, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(dst->min, 2);
}

TEST_F(ScaleSelection, ContourImageIsCopiedIntoTheFirstPixelsOfDst)
{
    select_scale_contours(dst.get(), tree.get(), 1, 50);
    EXPECT_EQ(pixels(dst.get()), (std::vector<int>{50, 2, 3, 50, 50, 6, 7, 50}));
    const image_handle small(create_image(3, 1, 0));
    select_scale_contours(small.get(), tree.get(), 1, 50);
    EXPECT_EQ(pixels(small.get()), (std::vector<int>{50, 2, 3}));

    std::vector<int> raw(8, 0);
    regions_in_scale(raw.data(), tree->root, 2, 1);
    EXPECT_EQ(raw, (std::vector<int>{1, 0, 0, 1, 1, 0, 0, 1}));
}

// A 4 x 2 tree for the significance maxima: A (0.8) with the sons A1 (0.5,
// itself father of A11 at 0.2) and A2 (0.9, father of A21 at 0.1); B (0.3)
// with its son B1 (0.1), but B's min_width lies below its birth.
TEST(SignificanceMaxima, NodesAboveTheBestOfTheirBranchArePainted)
{
    const region_tree_handle tree(init_region_tree(4, 2, 3));
    const auto sig = [](tregionnode* n, double s) {
        n->significance = s;
        return n;
    };
    tregionnode* a = sig(node(tree->root, {0, 1, 2, 3}, {0}), 0.8);
    tregionnode* a1 = sig(node(a, {0, 1}, {1}), 0.5);
    sig(node(a1, {0}), 0.2);
    tregionnode* a2 = sig(node(a, {2, 3}, {2}), 0.9);
    sig(node(a2, {3}), 0.1);
    tregionnode* b = sig(node(tree->root, {4, 5, 6, 7}, {4}), 0.3);
    b->birth = 1;
    sig(node(b, {5}, {5}), 0.1);
    vx_test::number(tree.get());
    vx_test::give_grey(tree.get(), {0, 0, 0, 0, 0, 0, 0, 5});

    region_tree_eval(1, tree.get());
    // A beats A1; A1 then stays below the best 0.8; A2 beats A21.
    EXPECT_EQ(pixels(&tree->attr_image->scales[0]), (std::vector<int>{6, 0, 6, 0, 0, 0, 0, 5}));

    vx_test::give_grey(tree.get(), {0, 0, 0, 0, 0, 0, 0, 5});
    a->significance = std::nan("");
    region_tree_eval(2, tree.get());
    // A compares false with everything, so the best stays 0 and A1 as well as
    // A2 paint their pixels.
    EXPECT_EQ(pixels(&tree->attr_image->scales[0]), (std::vector<int>{6, 6, 6, 6, 0, 0, 0, 5}));
}

struct Blobs : testing::Test {
    const region_tree_handle tree{init_region_tree(20, 20, 2)};
    const image_handle dst{create_image(20, 20, 5)};
    std::vector<tregionnode*> active;

    tregionnode* blob(int size, double x, double y)
    {
        tregionnode* n = node(tree->root, {0});
        n->size = size;
        n->centroidX = x;
        n->centroidY = y;
        n->paxis = n->aaxis = 1;
        return n;
    }
    void start()
    {
        vx_test::number(tree.get());
        active.assign(static_cast<size_t>(tree->regions), nullptr);
    }
    int at(int x, int y) const { return dst->pixels[y * 20 + x]; }
};

TEST_F(Blobs, NoActiveRegionLeavesAnEmptyImage)
{
    blob(100, 10, 10);
    start();
    va_draw_blobs(dst.get(), tree.get(), active.data());
    EXPECT_EQ(pixels(dst.get()), std::vector<int>(400, 0));
}

TEST_F(Blobs, SmallerRegionsAreDrawnOverLargerOnesWithTheirRank)
{
    tregionnode* big = blob(100, 10.9, 10.9);  // radius 5, centre truncated to (10, 10)
    tregionnode* small = blob(12, 10, 10);     // radius 1
    tregionnode* twin1 = blob(12, 2, 17);
    tregionnode* twin2 = blob(12, 17, 2);
    blob(50, 2, 2);  // not active
    start();
    for (tregionnode* n : {big, small, twin1, twin2})
        active[static_cast<size_t>(n->label)] = n;
    va_draw_blobs(dst.get(), tree.get(), active.data());
    EXPECT_EQ(at(10, 10), 1);
    EXPECT_EQ(at(10, 14), 4);
    EXPECT_EQ(at(15, 10), 4);
    EXPECT_EQ(at(16, 10), 0);
    // Equal sizes keep label order.
    EXPECT_EQ(at(2, 17), 2);
    EXPECT_EQ(at(17, 2), 3);
    EXPECT_EQ(at(2, 2), 0);
}

}  // namespace
