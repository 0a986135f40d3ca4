#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "filter/elementary.h"
#include "filter/gradients.h"
#include "filter/handles.h"
#include "filter/reconstruction.h"
#include "filter/tests/naive_morphology.h"

namespace {

struct shape {
    int w;
    int h;
};

// Sizes including single rows and columns and images too small to have an
// inside.
constexpr shape kShapes[] = {{1, 1}, {1, 7}, {9, 1}, {2, 2}, {3, 3}, {17, 11}, {40, 33}, {64, 64}};

// (top value, connectivity)
class MorphologyVsNaive : public ::testing::TestWithParam<std::tuple<int, int>> {
protected:
    int top() const { return std::get<0>(GetParam()); }
    int conn() const { return std::get<1>(GetParam()); }
    std::mt19937 rng{static_cast<unsigned>(top() * 10 + conn())};
};

TEST_P(MorphologyVsNaive, ElementaryErosionDilationAndMaskedErosion)
{
    for (const shape s : kShapes) {
        const naive::grid g = naive::random_image(rng, s.w, s.h, top());
        const naive::grid m = naive::random_image(rng, s.w, s.h, top());
        const image_handle src(naive::to_image(g, s.w, s.h));
        const image_handle mask(naive::to_image(m, s.w, s.h));
        const image_handle dst(create_image(s.w, s.h, -1));
        n_erosion_buff(src.get(), dst.get(), conn());
        EXPECT_EQ(naive::to_grid(dst.get()), naive::neighbourhood(g, s.w, s.h, conn(), true));
        n_dilation_buff(src.get(), dst.get(), conn());
        EXPECT_EQ(naive::to_grid(dst.get()), naive::neighbourhood(g, s.w, s.h, conn(), false));
        n_masked_erosion_buff(src.get(), dst.get(), mask.get(), conn());
        naive::grid expected = naive::neighbourhood(g, s.w, s.h, conn(), true);
        for (size_t i = 0; i < expected.size(); ++i)
            expected[i] = std::max(expected[i], m[i]);
        EXPECT_EQ(naive::to_grid(dst.get()), expected);
        EXPECT_EQ(naive::to_grid(src.get()), g);
    }
}

TEST_P(MorphologyVsNaive, ReconstructionByDilationAndErosion)
{
    for (const shape s : kShapes) {
        for (int round = 0; round < 3; ++round) {
            const naive::grid m = naive::random_image(rng, s.w, s.h, top());
            // Markers: an erosion of the mask (the partition's case) and a
            // sparse one, whose values must travel far.
            naive::grid low =
                naive::neighbourhood(naive::neighbourhood(m, s.w, s.h, 4, true), s.w, s.h, 4, true);
            naive::grid high = naive::neighbourhood(m, s.w, s.h, 8, false);
            if (round == 1) {
                std::fill(low.begin(), low.end(), 0);
                low[rng() % low.size()] = top();
                std::fill(high.begin(), high.end(), top());
                high[rng() % high.size()] = 0;
            }
            const image_handle mask(naive::to_image(m, s.w, s.h));
            image* marker = naive::to_image(low, s.w, s.h);
            fast_reconstruction_by_dilation(marker, mask.get(), conn());
            EXPECT_EQ(naive::to_grid(marker), naive::reconstruct(low, m, s.w, s.h, conn(), false))
                << s.w << "x" << s.h;
            delete_image(marker);
            marker = naive::to_image(high, s.w, s.h);
            fast_reconstruction_by_erosion(marker, mask.get(), conn());
            EXPECT_EQ(naive::to_grid(marker), naive::reconstruct(high, m, s.w, s.h, conn(), true))
                << s.w << "x" << s.h;
            EXPECT_EQ(naive::to_grid(mask.get()), m);
            delete_image(marker);
        }
    }
}

TEST_P(MorphologyVsNaive, HoleFilling)
{
    for (const shape s : kShapes) {
        const naive::grid g = naive::random_image(rng, s.w, s.h, top());
        const image_handle img(naive::to_image(g, s.w, s.h));
        fill_holes_by_reconstruction(img.get(), conn());
        EXPECT_EQ(naive::to_grid(img.get()), naive::fill_holes(g, s.w, s.h, conn()))
            << s.w << "x" << s.h;
    }
}

TEST_P(MorphologyVsNaive, GradientsAreDilationMinusImageAndImageMinusErosion)
{
    for (const shape s : kShapes) {
        const naive::grid g = naive::random_image(rng, s.w, s.h, top());
        const naive::grid dil = naive::neighbourhood(g, s.w, s.h, conn(), false);
        const naive::grid ero = naive::neighbourhood(g, s.w, s.h, conn(), true);
        const image_handle img(naive::to_image(g, s.w, s.h));
        const image_handle scratch(create_image(s.w, s.h, 0));
        pos_gradient(img.get(), scratch.get(), conn());
        for (size_t i = 0; i < g.size(); ++i) {
            ASSERT_EQ(img->pixels[i], dil[i] - g[i]);
            ASSERT_EQ(scratch->pixels[i], g[i]);
        }
        neg_gradient(scratch.get(), img.get(), conn());
        for (size_t i = 0; i < g.size(); ++i) {
            ASSERT_EQ(scratch->pixels[i], g[i] - ero[i]);
            ASSERT_EQ(img->pixels[i], ero[i]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, MorphologyVsNaive,
                         ::testing::Combine(::testing::Values(255, 65535),
                                            ::testing::Values(4, 8)));

TEST(Reconstruction, SeedRebuildsOnlyItsOwnPlateau)
{
    // Two plateaus of 9 separated by a valley of 0; the seed lies in the left one.
    const naive::grid m = {9, 9, 0, 9, 9, 9, 9, 0, 9, 9};
    naive::grid seed(m.size(), 0);
    seed[5] = 9;
    const image_handle mask(naive::to_image(m, 5, 2));
    const image_handle marker(naive::to_image(seed, 5, 2));
    fast_reconstruction_by_dilation(marker.get(), mask.get(), 8);
    EXPECT_EQ(naive::to_grid(marker.get()), (naive::grid{9, 9, 0, 0, 0, 9, 9, 0, 0, 0}));
}

TEST(HoleFilling, FillsAnEnclosedHoleButNotANotchOpenToTheBorder)
{
    const naive::grid g = {5, 5, 5, 5, 5, 5, 5, 1, 5, 5, 5, 5, 5, 5, 5,
                           5, 5, 5, 5, 5, 5, 5, 2, 5, 5, 5, 5, 5, 2, 2};
    const image_handle img(naive::to_image(g, 6, 5));
    fill_holes_by_reconstruction(img.get(), 4);
    naive::grid expected = g;
    expected[7] = 5;
    EXPECT_EQ(naive::to_grid(img.get()), expected);
}

// Reconstruction by dilation of the erosion of g under g, and by erosion of
// its dilation above g.
void expect_reconstructions_as_defined(const naive::grid& g, int w, int h, int conn)
{
    const naive::grid low = naive::neighbourhood(g, w, h, 8, true);
    const naive::grid high = naive::neighbourhood(g, w, h, 8, false);
    const image_handle mask(naive::to_image(g, w, h));
    image* marker = naive::to_image(low, w, h);
    fast_reconstruction_by_dilation(marker, mask.get(), conn);
    EXPECT_EQ(naive::to_grid(marker), naive::reconstruct(low, g, w, h, conn, false));
    delete_image(marker);
    marker = naive::to_image(high, w, h);
    fast_reconstruction_by_erosion(marker, mask.get(), conn);
    EXPECT_EQ(naive::to_grid(marker), naive::reconstruct(high, g, w, h, conn, true));
    delete_image(marker);
}

// Values spread beyond a table of levels take the first-in first-out paths.
TEST(HoleFilling, WideValueRangeMatchesTheDefinition)
{
    std::mt19937 rng(31);
    for (const int conn : {4, 8}) {
        naive::grid g = naive::random_image(rng, 30, 20, 255);
        for (int& v : g)
            v = v * 8000000 - 1000000000;
        const image_handle img(naive::to_image(g, 30, 20));
        fill_holes_by_reconstruction(img.get(), conn);
        EXPECT_EQ(naive::to_grid(img.get()), naive::fill_holes(g, 30, 20, conn));
        expect_reconstructions_as_defined(g, 30, 20, conn);
    }
}

// A little more than 65536 grey levels: too many to pack two to a word, few
// enough for a table of levels.
TEST(Reconstruction, JustOverSixteenBitsOfLevelsMatchesTheDefinition)
{
    std::mt19937 rng(37);
    for (const int conn : {4, 8}) {
        naive::grid g = naive::random_image(rng, 30, 20, 255);
        for (int& v : g)
            v = v * 258 - 30000;
        expect_reconstructions_as_defined(g, 30, 20, conn);
    }
}

TEST(SizeChecks, MismatchedImagesAreLeftAlone)
{
    const image_handle a(create_image(4, 3, 7));
    const image_handle b(create_image(3, 4, 1));
    n_erosion_buff(a.get(), b.get(), 8);
    fast_reconstruction_by_dilation(b.get(), a.get(), 8);
    pos_gradient(a.get(), b.get(), 8);
    EXPECT_EQ(naive::to_grid(b.get()), naive::grid(12, 1));
    EXPECT_EQ(naive::to_grid(a.get()), naive::grid(12, 7));
}

}  // namespace
