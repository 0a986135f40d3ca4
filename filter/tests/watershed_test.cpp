#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "filter/handles.h"
#include "filter/tests/naive_morphology.h"
#include "filter/watershed.h"
#include "imagecore/queue.h"
#include "testsupport/vx_test.h"

namespace {

TEST(Watershed, TwoMinimaGiveTwoBasinsAndALineOnTheRidge)
{
    const naive::grid g = {1, 2, 5, 2, 1, 1, 2, 5, 2, 1, 1, 2, 5, 2, 1};
    const image_handle img(naive::to_image(g, 5, 3));
    const image_handle labels(watershed(img.get(), 0, 0, 4));
    EXPECT_EQ(naive::to_grid(labels.get()),
              (naive::grid{1, 1, 0, 2, 2, 1, 1, 0, 2, 2, 1, 1, 0, 2, 2}));
    EXPECT_EQ(naive::to_grid(img.get()), g);
    EXPECT_EQ(img->min, 1);
    EXPECT_EQ(img->max, 5);
}

TEST(Watershed, ConstantImageIsOneBasinWithoutLine)
{
    const image_handle img(create_image(7, 5, 42));
    const image_handle labels(watershed(img.get(), 0, 0, 8));
    EXPECT_EQ(naive::to_grid(labels.get()), naive::grid(35, 1));
}

// Random images with few and with many grey values (the second takes the
// sorting path for values spread beyond a table), and a 16-bit range.
TEST(Watershed, MatchesTheLiteralImmersionOnRandomImages)
{
    std::mt19937 rng(7);
    // The widest holds levels far sparser than a row, whose pixels the
    // flooding takes up while it is still marking the level.
    const int sizes[][2] = {{1, 1}, {1, 9}, {8, 1}, {2, 3}, {13, 9}, {31, 40}, {97, 61}};
    for (const auto& s : sizes) {
        for (const int top : {3, 255, 65535}) {
            for (const int n : {4, 8}) {
                const naive::grid g = naive::random_image(rng, s[0], s[1], top);
                image* img = naive::to_image(g, s[0], s[1]);
                image* labels = watershed(img, 0, 0, n);
                EXPECT_EQ(naive::to_grid(labels), naive::literal_watershed(g, s[0], s[1], n, false))
                    << s[0] << "x" << s[1] << " top " << top << " n " << n;
                delete_image(labels);
                delete_image(img);
            }
        }
    }
    // Values spread over the whole int range.
    naive::grid wide(12 * 10);
    for (int& v : wide)
        v = static_cast<int>(rng()) / 3 * 3;
    image* img = naive::to_image(wide, 12, 10);
    image* labels = watershed(img, 0, 0, 8);
    EXPECT_EQ(naive::to_grid(labels), naive::literal_watershed(wide, 12, 10, 8, false));
    delete_image(labels);
    delete_image(img);
}

// g with its outer frame set to its maximum - 1, as the limited watershed
// leaves it.
naive::grid framed(naive::grid g, int w, int h)
{
    const int frame = *std::max_element(g.begin(), g.end()) - 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (x == 0 || y == 0 || x == w - 1 || y == h - 1)
                g[y * w + x] = frame;
    return g;
}

TEST(LimitedWatershed, SetsTheFrameAndFloodsThePixelArray)
{
    std::mt19937 rng(11);
    for (const int n : {4, 8}) {
        naive::grid g = naive::random_image(rng, 15, 12, 255);
        const image_handle img(naive::to_image(g, 15, 12));
        const image_handle labels(limited_watershed(img.get(), 0, 0, n));
        g = framed(g, 15, 12);
        EXPECT_EQ(naive::to_grid(img.get()), g);
        EXPECT_EQ(naive::to_grid(labels.get()), naive::literal_watershed(g, 15, 12, n, true));
    }
}

// Single columns, whose diagonal neighbours in the pixel array are the pixel
// itself or its column neighbours, and a wide image of few and many values.
TEST(LimitedWatershed, MatchesTheLiteralImmersionFromOneColumnToWideImages)
{
    std::mt19937 rng(13);
    const int sizes[][2] = {{1, 9}, {2, 7}, {9, 1}, {97, 61}};
    for (const auto& s : sizes) {
        for (const int top : {3, 255}) {
            for (const int n : {4, 8}) {
                const naive::grid g = naive::random_image(rng, s[0], s[1], top);
                const image_handle img(naive::to_image(g, s[0], s[1]));
                const image_handle labels(limited_watershed(img.get(), 0, 0, n));
                EXPECT_EQ(naive::to_grid(labels.get()),
                          naive::literal_watershed(framed(g, s[0], s[1]), s[0], s[1], n, true))
                    << s[0] << "x" << s[1] << " top " << top << " n " << n;
            }
        }
    }
}

TEST(LiQueue, EndsTheProcessWhenFullOrEmpty)
{
    const iqueue_handle q(init_iqueue(2));
    liqueue_put(5, q.get());
    liqueue_put(6, q.get());
    EXPECT_VX_FATAL(liqueue_put(7, q.get()), 4711, "QUEUE PANIC!!! QUEUE FULL");
    EXPECT_EQ(liqueue_get(q.get()), 5);
    EXPECT_EQ(liqueue_get(q.get()), 6);
    EXPECT_VX_FATAL(liqueue_get(q.get()), 4711, "NO MORE ELEMS");
}

}  // namespace
