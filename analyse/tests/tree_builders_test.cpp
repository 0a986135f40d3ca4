#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "analyse/handles.h"
#include "analyse/tests/disc_image.h"
#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_builders.h"
#include "analyse/trees/tree_walk.h"

namespace {

using disc_test::disc;

std::vector<tregionnode*> nodes_covering(region_tree* tree, const image* g, const disc& d)
{
    std::vector<tregionnode*> out;
    walk_preorder(tree->root, [&](tregionnode* n) {
        if (n->father != nullptr && d.is_region_of(n, g->width, g->height))
            out.push_back(n);
    });
    return out;
}

const std::vector<disc> kDiscs = {{16, 16, 6, 150}, {44, 26, 9, 90}};

TEST(TreeBuilders, BrightDiscsBecomeRegionsWithTheirContrast)
{
    const image_handle g(disc_test::draw(64, 48, 50, kDiscs));
    const region_tree_handle tree(compute_tree(g.get(), 6, 1, 0));
    ASSERT_NE(tree.get(), nullptr);
    EXPECT_EQ(tree->update, 0);
    ASSERT_NE(tree->attr_image, nullptr);
    EXPECT_EQ(tree->attr_image->nscales, 6);
    // Reference 1 for bright trees: the root holds the volume below the maximum.
    int64_t below = 0;
    for (int p = 0; p < 64 * 48; ++p)
        below += 150 - g->pixels[p];
    EXPECT_EQ(tree->root->volume, below);
    for (const disc& d : kDiscs) {
        const std::vector<tregionnode*> hits = nodes_covering(tree.get(), g.get(), d);
        ASSERT_EQ(hits.size(), 1u) << "disc of radius " << d.r;
        EXPECT_NEAR(hits[0]->contrast, d.value - 50.0, 0.1 * (d.value - 50.0));
        EXPECT_EQ(hits[0]->contrast, static_cast<double>(hits[0]->volume) / hits[0]->size);
    }
}

TEST(TreeBuilders, WithoutUpdateTheTreeIsNumberedInPreorder)
{
    const image_handle g(disc_test::draw(64, 48, 50, kDiscs));
    const region_tree_handle tree(compute_tree_no_update(g.get(), 4, 1, 0));
    ASSERT_NE(tree.get(), nullptr);
    EXPECT_EQ(tree->attr_image, nullptr);
    int expected = 0;
    walk_preorder(tree->root, [&expected](tregionnode* n) { EXPECT_EQ(n->label, expected++); });
    EXPECT_EQ(expected, tree->regions);
}

TEST(TreeBuilders, DarkTreeOfTheMultiscaleImage)
{
    const image_handle g(disc_test::draw(64, 48, 200, {{20, 20, 7, 40}}));
    const vx_image_handle v(init_vximage_from_single_image(g.get(), 1, 0));
    region_tree* tree = compute_dark_tree(v.get(), 5, 0);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->attr_image->nscales, 1);
    // Reference 3 - 2 = 1: the volume below the maximum.
    int64_t below = 0;
    int64_t above = 0;
    for (int p = 0; p < 64 * 48; ++p) {
        below += 200 - g->pixels[p];
        above += g->pixels[p] - 40;
    }
    EXPECT_EQ(tree->root->volume, below);
    EXPECT_EQ(nodes_covering(tree, g.get(), {20, 20, 7, 40}).size(), 1u);
    delete_regiontree(tree);

    // Reference 3 - 1 = 2: the volume above the minimum.
    tree = compute_bright_tree(v.get(), 5, 0);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->root->volume, above);
    EXPECT_TRUE(nodes_covering(tree, g.get(), {20, 20, 7, 40}).empty());
    delete_regiontree(tree);
}

}  // namespace
