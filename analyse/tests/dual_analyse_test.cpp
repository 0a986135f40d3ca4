#include "analyse/display/dual_analyse.h"

#include <gtest/gtest.h>

#include <vector>

#include "testsupport/region_tree_builder.h"

namespace {

using vx_test::node;
using vx_test::pixels;

// A bright and a dark tree over one 10 x 1 image whose grey value is 10 x
// column, with an empty dual analysis.
struct DualAnalyse : testing::Test {
    const region_tree_handle bright{init_region_tree(10, 1, 3)};
    const region_tree_handle dark{init_region_tree(10, 1, 3)};
    const image_handle grey{create_image(10, 1, 0)};
    const image_handle output{create_image(10, 1, 0)};
    dual_analyse_handle dva;

    void SetUp() override
    {
        for (int p = 0; p < 10; ++p)
            grey->pixels[p] = 10 * p;
    }
    void start()
    {
        vx_test::number(bright.get());
        vx_test::number(dark.get());
        vx_test::give_grey(bright.get(), pixels(grey.get()));
        dva.reset(init_dual_analyse(bright.get(), dark.get()));
    }
    std::vector<int> codes() { return pixels(dva->overlay); }
};

TEST_F(DualAnalyse, NewRecordHasNullArraysOfRegionsPlusOneAndZeroImages)
{
    node(bright->root, {0, 1});
    node(dark->root, {2});
    node(dark->root, {3});
    start();
    EXPECT_EQ(dva->bright_size, 3);
    EXPECT_EQ(dva->dark_size, 4);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(dva->bright_nodes[i], nullptr);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(dva->dark_nodes[i], nullptr);
    for (image* img : {dva->overlay, dva->aux_image1, dva->aux_image2}) {
        EXPECT_EQ(img->width, 10);
        EXPECT_EQ(img->height, 1);
        EXPECT_EQ(pixels(img), std::vector<int>(10, 0));
    }
    EXPECT_EQ(dva->active_bright, 0);
    EXPECT_EQ(dva->active_dark, 0);
    delete_dual_analyse(nullptr);
}

TEST_F(DualAnalyse, WithoutActiveRegionsTheFilledOutputIsTheGreyImage)
{
    node(bright->root, {0, 1});
    start();
    dva->overlay->pixels[4] = 99;  // stale output values are cleared
    contour_update_dual_analyse(dva.get());
    EXPECT_EQ(codes(), std::vector<int>(10, 0));
    update_dual_analyse_output(output.get(), grey.get(), dva.get());
    EXPECT_EQ(pixels(output.get()), pixels(grey.get()));
    EXPECT_EQ(pixels(dva->overlay), pixels(grey.get()));
}

TEST_F(DualAnalyse, DarkRegionAloneShowsContourCodeOneAndInteriorSeven)
{
    tregionnode* d = node(dark->root, {3, 4, 5}, {2, 6}, {4});
    start();
    dva->dark_nodes[d->label] = d;
    contour_update_dual_analyse(dva.get());
    EXPECT_EQ(codes(), (std::vector<int>{0, 0, 1, 7, 1, 7, 1, 0, 0, 0}));
    EXPECT_EQ(dva->active_dark, 1);
    update_dual_analyse_output(output.get(), grey.get(), dva.get());
    EXPECT_EQ(output->pixels[2], 256 + 20);
    EXPECT_EQ(output->pixels[3], 1792 + 30);
    EXPECT_EQ(output->pixels[0], 0);
}

TEST_F(DualAnalyse, BrightRegionOnADarkRegionGivesCodesTwoAndFive)
{
    tregionnode* d = node(dark->root, {3, 4, 5}, {2, 6});
    tregionnode* b = node(bright->root, {3, 4, 5}, {2, 6});
    start();
    dva->dark_nodes[d->label] = d;
    dva->bright_nodes[b->label] = b;
    contour_update_dual_analyse(dva.get());
    EXPECT_EQ(codes(), (std::vector<int>{0, 0, 2, 5, 5, 5, 2, 0, 0, 0}));
}

// Contours and interiors of both polarities meeting on one row:
// dark D1 interior 2..7 with contour 1 and 8; a later dark D2 whose contour
// (3) overwrites D1's interior and whose interior (1) leaves D1's contour;
// bright B1 interior 5..8 with contour 4 and 9; bright B2 interior 0; bright
// B3 with inner contour 0 (over B2's interior) and outer contour 1.
TEST_F(DualAnalyse, ContoursAndInteriorsOfBothPolaritiesMeet)
{
    tregionnode* d1 = node(dark->root, {2, 3, 4, 5, 6, 7}, {1, 8});
    tregionnode* d2 = node(dark->root, {1}, {3});
    tregionnode* b1 = node(bright->root, {5, 6, 7, 8}, {4, 9});
    tregionnode* b2 = node(bright->root, {0});
    tregionnode* b3 = node(bright->root, {}, {1}, {0});
    start();
    for (tregionnode* n : {d1, d2})
        dva->dark_nodes[n->label] = n;
    for (tregionnode* n : {b1, b2, b3})
        dva->bright_nodes[n->label] = n;
    contour_update_dual_analyse(dva.get());
    const std::vector<int> expected{1, 2, 7, 1, 3, 5, 5, 5, 4, 1};
    EXPECT_EQ(codes(), expected);
    EXPECT_EQ(dva->active_dark, 2);
    EXPECT_EQ(dva->active_bright, 3);

    update_dual_analyse_output(output.get(), grey.get(), dva.get());
    for (int p = 0; p < 10; ++p)
        EXPECT_EQ(output->pixels[p], expected[p] * 256 + 10 * p) << p;
    EXPECT_EQ(pixels(dva->overlay), pixels(output.get()));

    // The contour display shows codes up to 4 in steps of 255 and only the
    // grey value inside regions.
    contour_update_dual_analyse(dva.get());
    update_dual_analyse_contour_output(output.get(), grey.get(), dva.get());
    EXPECT_EQ(pixels(output.get()), (std::vector<int>{255, 2 * 255 + 10, 20, 255 + 30, 3 * 255 + 40,
                                                      50, 60, 70, 4 * 255 + 80, 255 + 90}));
}

TEST_F(DualAnalyse, DeactivatedRegionsLeaveTheOverlay)
{
    tregionnode* d = node(dark->root, {3, 4}, {2, 5});
    start();
    dva->dark_nodes[d->label] = d;
    contour_update_dual_analyse(dva.get());
    dva->dark_nodes[d->label] = nullptr;
    contour_update_dual_analyse(dva.get());
    EXPECT_EQ(codes(), std::vector<int>(10, 0));
    EXPECT_EQ(dva->active_dark, 0);
}

TEST_F(DualAnalyse, PositionsOutsideTheOverlayAreSkipped)
{
    tregionnode* d = node(dark->root, {3, 10, -1}, {-7, 2, 1000});
    tregionnode* b = node(bright->root, {5, 12}, {11});
    start();
    dva->dark_nodes[d->label] = d;
    dva->bright_nodes[b->label] = b;
    contour_update_dual_analyse(dva.get());
    EXPECT_EQ(codes(), (std::vector<int>{0, 0, 1, 7, 0, 6, 0, 0, 0, 0}));
}

TEST_F(DualAnalyse, RecordTakesTheSizeOfTheBrightAttributeImage)
{
    start();
    const region_tree_handle small(init_region_tree(4, 3, 2));
    // no attribute image: the tree's size
    const dual_analyse_handle other(init_dual_analyse(small.get(), dark.get()));
    EXPECT_EQ(other->overlay->width, 4);
    EXPECT_EQ(other->overlay->height, 3);
    EXPECT_EQ(other->bright_size, 2);
}

TEST(SingleAnalyse, OutputsCombineTheOverlayCodesOfOneTree)
{
    const image_handle grey(create_image(8, 1, 10));
    const image_handle output(create_image(8, 1, 0));
    const image_handle overlay(create_image(8, 1, 0));
    single_analyse sa{};
    sa.overlay = overlay.get();
    const std::vector<int> codes{0, 1, 2, 3, 4, 5, 6, 7};
    for (int p = 0; p < 8; ++p)
        sa.overlay->pixels[p] = codes[p];
    update_single_analyse_output(output.get(), grey.get(), &sa);
    for (int p = 0; p < 8; ++p)
        EXPECT_EQ(output->pixels[p], codes[p] * 256 + 10);
    for (int p = 0; p < 8; ++p)
        sa.overlay->pixels[p] = codes[p];
    update_single_analyse_contour_output(output.get(), grey.get(), &sa);
    EXPECT_EQ(pixels(output.get()), (std::vector<int>{10, 266, 522, 778, 1034, 10, 10, 10}));
    EXPECT_EQ(pixels(sa.overlay), pixels(output.get()));
}

TEST(DisplayImages, InversionAndFourierRamp)
{
    const image_handle img(create_image(3, 1, 0));
    img->pixels[1] = 255;
    img->pixels[2] = 300;
    invert_va_output(img.get());
    EXPECT_EQ(pixels(img.get()), (std::vector<int>{255, 0, -45}));

    const image_handle ramp(va_init_fourier_display(300, 2));
    EXPECT_EQ(ramp->width, 300);
    EXPECT_EQ(ramp->pixels[255], 255);
    EXPECT_EQ(ramp->pixels[256], 0);
    EXPECT_EQ(ramp->pixels[300 + 1], (300 + 1) % 256);
    create_va_output();
    va_adapt_colormap();
}

}  // namespace
