#include "analyse/display/imagereconstruction.h"

#include <gtest/gtest.h>

#include <vector>

#include "analyse/trees/regiontree.h"
#include "testsupport/region_tree_builder.h"

namespace {

using vx_test::node;
using vx_test::pixels;

// A 4 x 2 tree: A (top row) with the sons A1 and A2, and B (bottom row).
struct Reconstruction : testing::Test {
    const region_tree_handle tree{init_region_tree(4, 2, 3)};
    const image_handle img{create_image(4, 2, 77)};
    tregionnode* a = node(tree->root, {0, 1, 2, 3});
    tregionnode* a1 = node(a, {0, 1});
    tregionnode* a2 = node(a, {2, 3});
    tregionnode* b = node(tree->root, {4, 5, 6, 7});

    void SetUp() override { vx_test::number(tree.get()); }
};

TEST_F(Reconstruction, CountsTheNodesOrLeavesThatHoldEachPixel)
{
    reconstruct_image_from_tree(img.get(), tree.get());
    EXPECT_EQ(pixels(img.get()), (std::vector<int>{3, 3, 3, 3, 2, 2, 2, 2}));
    reconstruct_image_from_leafs(img.get(), tree.get());
    EXPECT_EQ(pixels(img.get()), std::vector<int>(8, 1));
}

TEST_F(Reconstruction, RegionsGreaterThanEndTheirBranchAtTheFirstSmallNode)
{
    reconstruct_image_from_regions_greater_then(img.get(), tree.get(), 3);
    EXPECT_EQ(pixels(img.get()), std::vector<int>(8, 2));
    a2->size = 5;  // below a small father it is never reached
    reconstruct_image_from_regions_greater_then(img.get(), tree.get(), 4);
    EXPECT_EQ(pixels(img.get()), std::vector<int>(8, 1));
    reconstruct_image_from_regions_greater_then(img.get(), tree.get(), 8);
    EXPECT_EQ(pixels(img.get()), std::vector<int>(8, 0));
}

TEST_F(Reconstruction, RegionsBetweenNeverTestTheRoot)
{
    reconstruct_image_from_regions_between(img.get(), tree.get(), 1, 3);
    EXPECT_EQ(pixels(img.get()), (std::vector<int>{1, 1, 1, 1, 0, 0, 0, 0}));
    reconstruct_image_from_regions_between(img.get(), tree.get(), 7, 9);
    EXPECT_EQ(pixels(img.get()), std::vector<int>(8, 0));
}

int size_within(tregionnode* n, region_selector* s)
{
    return n->size >= s->low && n->size <= s->high;
}

TEST_F(Reconstruction, SelectorOffersEveryNodeBelowTheRoot)
{
    region_selector selector{2, 4, size_within};
    reconstruct_image_by_selector(img.get(), tree.get(), &selector);
    EXPECT_EQ(pixels(img.get()), (std::vector<int>{2, 2, 2, 2, 1, 1, 1, 1}));
    selector = {8, 8, size_within};
    reconstruct_image_by_selector(img.get(), tree.get(), &selector);
    EXPECT_EQ(pixels(img.get()), std::vector<int>(8, 0));
}

TEST_F(Reconstruction, PositionsOutsideTheImageAreSkipped)
{
    node(b, {6, 8, -1, 4000});
    vx_test::number(tree.get());
    reconstruct_image_from_leafs(img.get(), tree.get());
    EXPECT_EQ(pixels(img.get()), (std::vector<int>{1, 1, 1, 1, 0, 0, 1, 0}));
}

TEST_F(Reconstruction, PruningUnlinksReleasedRegionsAndRenumbersTheTree)
{
    node(b, {4, 5, 6});
    node(b, {7});
    vx_test::number(tree.get());
    ASSERT_EQ(tree->regions, 7);
    cut_regions_smaler_than_value(3, tree.get());
    // Left: root, A, B and B's three-pixel son.
    EXPECT_EQ(tree->regions, 4);
    EXPECT_EQ(a->sons, nullptr);
    EXPECT_EQ(a->nsons, 0);
    EXPECT_EQ(b->nsons, 1);
    EXPECT_EQ(tree->nodes[0], nullptr);
    EXPECT_EQ(tree->nodes[1], a);
    EXPECT_EQ(tree->nodes[2], b);
    ASSERT_NE(tree->nodes[3], nullptr);
    EXPECT_EQ(tree->nodes[3]->size, 3);
    EXPECT_EQ(tree->nodes[3]->label, 3);
    EXPECT_EQ(count_regions(tree->root), 4);
}

TEST_F(Reconstruction, PruningPassesTheRootsBorrowedVectorOnToTheNextSon)
{
    vx_test::describe(a, 4, 0.5, "top");
    vx_test::describe(b, 2, 0.5, "bottom");
    tree->root->attribs = a->attribs;
    b->size = 5;
    cut_regions_smaler_than_value(5, tree.get());  // releases A with its vector
    EXPECT_EQ(tree->root->attribs, b->attribs);
    EXPECT_EQ(tree->regions, 2);
    EXPECT_EQ(tree->nodes[1], b);
}

TEST_F(Reconstruction, PruningKeepsARootSmallerThanTheBound)
{
    vx_test::describe(a, 4, 0.5, "top");
    tree->root->attribs = a->attribs;
    cut_regions_smaler_than_value(100, tree.get());
    EXPECT_EQ(tree->root->attribs, nullptr);
    EXPECT_EQ(tree->regions, 1);
    EXPECT_EQ(tree->root->sons, nullptr);
    EXPECT_EQ(tree->root->nsons, 0);
    reconstruct_image_from_tree(img.get(), tree.get());
    EXPECT_EQ(pixels(img.get()), std::vector<int>(8, 1));
}

}  // namespace
