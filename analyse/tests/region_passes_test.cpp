#include <gtest/gtest.h>

#include <cmath>

#include "analyse/features/region_query_update.h"
#include "analyse/features/regiontree_update.h"
#include "testsupport/region_tree_builder.h"

namespace {

using vx_test::born;
using vx_test::node;

TEST(PlainPass, SmallTreeByHand)
{
    vx_test::grey_tree t;
    t.b->left = 6;
    t.b->right = 2;
    t.b2->left = 4;
    t.b2->ahead = 4;
    ASSERT_EQ(update_regiontree_by_image(t.grey, t.tree, 2), 1);
    EXPECT_EQ(t.tree->update, 0);
    EXPECT_EQ(t.tree->attr_image->nscales, 4);

    // Root against the minimum 10: |g - 10| sums to 60.
    const tregionnode* root = t.tree->root;
    EXPECT_EQ(root->volume, 60);
    EXPECT_DOUBLE_EQ(root->contrast, 7.5);
    EXPECT_EQ(root->areafraction, 4.0);
    EXPECT_EQ(root->min_width, 2);
    EXPECT_EQ(root->max_width, 4);
    EXPECT_DOUBLE_EQ(root->roundness, 144.0 / (12.59 * 8));

    // a: one grey value.
    EXPECT_EQ(t.a->volume, 0);
    EXPECT_EQ(t.a->meangrey, 10);
    EXPECT_EQ(t.a->greyentropy, 0.0);
    EXPECT_FALSE(std::signbit(t.a->greyentropy));
    EXPECT_EQ(t.a->homogeneity, 1.0);
    EXPECT_EQ(t.a->decompentropy, 1.0);
    EXPECT_EQ(t.a->decomp_homogeneity, 0.0);
    EXPECT_DOUBLE_EQ(t.a->life_quotient, 0.75);
    EXPECT_DOUBLE_EQ(t.a->area_quotient, 0.5);
    EXPECT_DOUBLE_EQ(t.a->areafraction_quotient, 1.0);

    // b: 20, 20, 20, 40: mean 25, variance about it (3 * 25 + 225) / 4.
    EXPECT_EQ(t.b->volume, 60);
    EXPECT_EQ(t.b->meangrey, 25);
    EXPECT_DOUBLE_EQ(t.b->variance, 75.0);
    EXPECT_DOUBLE_EQ(t.b->stddev, std::sqrt(75.0));
    EXPECT_NEAR(t.b->greyentropy, 0.811278, 1e-6);
    EXPECT_DOUBLE_EQ(t.b->contrast, 15.0);
    EXPECT_DOUBLE_EQ(t.b->convexity, 1.0 - 2.0 / 6.0);
    EXPECT_DOUBLE_EQ(t.b->roundness, 12.59 * 4 / 64);
    EXPECT_DOUBLE_EQ(t.b->areafraction, 2.0);
    EXPECT_DOUBLE_EQ(t.b->birth_quotient, 1.0 - 2.0 / 5.0);
    // Two sons of half the area each.
    EXPECT_DOUBLE_EQ(t.b->decompentropy, 1.0);
    EXPECT_EQ(t.b->decomp_homogeneity, 0.0);

    // b2: 20 and 40.
    EXPECT_EQ(t.b2->volume, 40);
    EXPECT_DOUBLE_EQ(t.b2->variance, 100.0);
    EXPECT_DOUBLE_EQ(t.b2->greyentropy, 1.0);
    EXPECT_DOUBLE_EQ(t.b2->contrast_quotient, 20.0 / 15.0);
    EXPECT_DOUBLE_EQ(t.b2->areafraction_quotient, 1.0);
    EXPECT_DOUBLE_EQ(t.b2->convexity_quotient, 1.0 / (1.0 - 2.0 / 6.0));

    // Against the maximum 40 the root holds the volume below it.
    ASSERT_EQ(update_regiontree_by_image(t.grey, t.tree, 1), 1);
    EXPECT_EQ(t.tree->root->volume, 180);
}

TEST(PlainPass, DecompositionEntropyOfTwoSonsOfFortyPercent)
{
    // A father of 5 pixels whose middle one (a line pixel) belongs to neither
    // son: area quotients 0.4 and 0.4.
    const image_handle grey(create_image(5, 1, 7));
    const region_tree_handle tree(init_region_tree(5, 1, 2));
    tregionnode* father = born(node(tree->root, {0, 1, 2, 3, 4}), 1);
    node(father, {0, 1});
    node(father, {3, 4});
    ASSERT_EQ(update_regiontree_by_image(grey.get(), tree.get(), 2), 1);
    EXPECT_NEAR(father->decompentropy, 1.0575, 5e-5);
    EXPECT_NEAR(father->decomp_homogeneity, -0.0575, 5e-5);
}

TEST(PlainPass, RootOfAHundredByFifty)
{
    const image_handle grey(create_image(100, 50, 3));
    const region_tree_handle tree(init_region_tree(100, 50, 2));
    ASSERT_EQ(update_regiontree_by_image(grey.get(), tree.get(), 2), 1);
    EXPECT_EQ(tree->root->min_width, 50);
    EXPECT_EQ(tree->root->max_width, 100);
    EXPECT_NEAR(tree->root->roundness, 1.4297, 5e-5);
    EXPECT_EQ(tree->root->convexity, 1.0);
    EXPECT_EQ(tree->root->areafraction, 0.0);
}

TEST(QueryPass, ResetsMarksAndMeasuresAgainstTheImage)
{
    vx_test::grey_tree t;
    t.a->td_mark = 3;
    t.b1->bu_mark = 3;
    t.b2->significance = 1.0;
    t.tree->root->area_quotient = 0.5;
    region_tree_query_update(t.tree, t.grey, 0);
    EXPECT_EQ(t.tree->root->volume, 60);
    EXPECT_EQ(t.tree->root->area_quotient, 0.0);
    EXPECT_EQ(t.a->td_mark, 0);
    EXPECT_EQ(t.b1->bu_mark, 0);
    EXPECT_EQ(t.b2->significance, 0.0);
    EXPECT_EQ(t.b->meangrey, 25);
    EXPECT_DOUBLE_EQ(t.b->variance, 75.0);
    EXPECT_DOUBLE_EQ(t.b2->area_quotient, 0.5);
    EXPECT_DOUBLE_EQ(t.b->decompentropy, 1.0);
    EXPECT_EQ(t.a->decompentropy, 1.0);

    // An image of another size is refused: the root keeps its pixel count.
    const image_handle wide(create_image(8, 2, 0));
    testing::internal::CaptureStdout();
    region_tree_query_update(t.tree, wide.get(), 0);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("does not fit"), std::string::npos);
    EXPECT_EQ(t.tree->root->size, 8);
}

}  // namespace
