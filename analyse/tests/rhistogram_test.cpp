#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "analyse/features/detail/grey_statistics.h"
#include "analyse/features/rhistogram.h"
#include "analyse/handles.h"
#include "imagecore/image.h"

namespace {

image* grey_of(const std::vector<int>& values)
{
    image* g = create_image(static_cast<int>(values.size()), 1, 0);
    for (size_t i = 0; i < values.size(); ++i)
        g->pixels[i] = values[i];
    update_image_struct(g);
    return g;
}

TEST(RegionHistogram, TwoEqualValuesAndOneValue)
{
    const image_handle g(grey_of({10, 20, 20}));
    const int both[] = {0, 1};
    rhistogram* h = init_rhistogram(g.get(), 2, both);
    EXPECT_EQ(h->min, 10);
    EXPECT_EQ(h->max, 20);
    EXPECT_EQ(h->nbins, 11);
    EXPECT_EQ(h->nonempty, 2);
    EXPECT_EQ(h->mean, 15);
    EXPECT_DOUBLE_EQ(rhistogram_variance(h), 25.0);
    EXPECT_DOUBLE_EQ(rhistogram_entropy(h), 1.0);
    delete_rhistogram(h);

    const int same[] = {1, 2};
    h = init_rhistogram(g.get(), 2, same);
    EXPECT_EQ(h->nbins, 1);
    EXPECT_EQ(h->counts[0], 2);
    EXPECT_EQ(rhistogram_variance(h), 0.0);
    const double entropy = rhistogram_entropy(h);
    EXPECT_EQ(entropy, 0.0);
    EXPECT_FALSE(std::signbit(entropy));
    delete_rhistogram(h);
}

TEST(RegionHistogram, PositionsOutsideTheImageAreLeftOut)
{
    const image_handle g(grey_of({3, 5, 7}));
    const int positions[] = {-1, 2, 3, INT_MAX, 0};
    rhistogram* h = init_rhistogram(g.get(), 5, positions);
    EXPECT_EQ(h->npixels, 2);
    EXPECT_EQ(h->mean, 5);
    EXPECT_DOUBLE_EQ(rhistogram_variance(h), 4.0);
    delete_rhistogram(h);
    h = init_rhistogram(g.get(), 1, positions);
    EXPECT_EQ(h->nbins, 0);
    EXPECT_EQ(h->counts, nullptr);
    EXPECT_EQ(rhistogram_entropy(h), 0.0);
    EXPECT_EQ(rhistogram_variance(h), 0.0);
    delete_rhistogram(h);
}

TEST(RegionHistogram, DeletingNullIsReported)
{
    testing::internal::CaptureStdout();
    delete_rhistogram(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "No valid Histogram ");
}

// The counter of the passes sees only the values present; it must agree with
// the full histogram, also on sparse 16-bit values and reused across sets.
TEST(RegionHistogram, PassCounterAgreesWithTheHistogram)
{
    std::srand(11);
    std::vector<int> values(4000);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = i % 2 != 0 ? std::rand() % 256 : 60000 + std::rand() % 5000;
    const image_handle g(grey_of(values));
    grey_counter counter(g.get());
    for (int start : {0, 1, 100}) {
        std::vector<int> positions;
        for (int p = start; p < 4000; p += 1 + start % 7)
            positions.push_back(p);
        const int n = static_cast<int>(positions.size());
        const rhistogram_handle h(init_rhistogram(g.get(), n, positions.data()));
        const grey_stats s = counter.measure(positions.data(), n);
        EXPECT_EQ(s.min, h->min);
        EXPECT_EQ(s.max, h->max);
        EXPECT_EQ(s.mean, h->mean);
        EXPECT_EQ(s.nonempty, h->nonempty);
        EXPECT_EQ(s.entropy, rhistogram_entropy(h.get()));
        EXPECT_EQ(s.variance, rhistogram_variance(h.get()));
    }
}

}  // namespace
