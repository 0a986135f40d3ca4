#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analyse/files/treeio.h"
#include "analyse/fourier/fourier_coefficients.h"
#include "analyse/fourier/lFouriercontour.h"
#include "analyse/tests/rule_test_support.h"
#include "analyse/trees/lRegion_Graph.h"
#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_walk.h"
#include "testsupport/vx_test.h"

namespace {

// The six result arrays of fftcoeffs for one contour.
struct coefficients {
    int n;
    std::vector<double> desc_re, desc_im, fft_re, fft_im, mag, phase;

    coefficients(const std::vector<int>& contour, int width, int samples = 0)
        : n(samples > 0 ? samples : pow_of_2_samples(static_cast<int>(contour.size()))),
          desc_re(n),
          desc_im(n),
          fft_re(n),
          fft_im(n),
          mag(n),
          phase(n)
    {
        fftcoeffs(contour.data(), width, static_cast<int>(contour.size()), n, desc_re.data(),
                  desc_im.data(), fft_re.data(), fft_im.data(), mag.data(), phase.data());
    }
};

// Signed frequency of low-to-high position i: 0, -1, 1, -2, 2, ...
int frequency(int i)
{
    return i % 2 == 0 ? i / 2 : -(i + 1) / 2;
}

std::vector<int> circle_contour(int cx, int cy, double radius, int points, int width)
{
    std::vector<int> c;
    for (int k = 0; k < points; ++k) {
        const double t = 2 * M_PI * k / points;
        c.push_back(static_cast<int>(std::lround(cy + radius * std::sin(t))) * width +
                    static_cast<int>(std::lround(cx + radius * std::cos(t))));
    }
    return c;
}

struct rebuilt {
    std::vector<double> b_re, b_im, a_re, a_im;
    explicit rebuilt(int n) : b_re(n), b_im(n), a_re(n), a_im(n) {}
};

rebuilt reduce(coefficients& c, int keep)
{
    rebuilt out(c.n);
    coeff_reduce(c.n, keep, c.desc_re.data(), c.desc_im.data(), c.fft_re.data(), c.fft_im.data(),
                 out.b_re.data(), out.b_im.data(), out.a_re.data(), out.a_im.data());
    return out;
}

TEST(FourierCoefficients, ResampledContourRunsBackwardsAndComesBackWhole)
{
    // Four positions at 8 samples: contour indices 0, 0, 1, 1, 2, 2, 3, 3,
    // stored from the last sample down.
    const int width = 10;
    const std::vector<int> contour = {12, 13, 23, 22};
    coefficients c(contour, width, 8);
    EXPECT_DOUBLE_EQ(c.fft_re[0], 8 * 2.5);
    EXPECT_DOUBLE_EQ(c.fft_im[0], 8 * 1.5);

    rebuilt out(8);
    coeff_reduce(8, 7, c.fft_re.data(), c.fft_im.data(), c.desc_re.data(), c.desc_im.data(),
                 out.b_re.data(), out.b_im.data(), out.a_re.data(), out.a_im.data());
    for (int k = 0; k < 8; ++k) {
        const int p = contour[k * 4 / 8];
        EXPECT_NEAR(out.a_re[7 - k], p % width, 1e-9) << k;
        EXPECT_NEAR(out.a_im[7 - k], p / width, 1e-9) << k;
    }
}

TEST(FourierCoefficients, SquareHasOnlyEveryFourthFrequency)
{
    // A 5 x 5 square's 16 contour positions turn into themselves under a
    // quarter turn shifted by 4 positions: only frequencies -1 + 4m remain.
    const std::vector<int> square = rule_test::rectangle_contour(3 * 16 + 3, 5, 5, 16);
    coefficients c(square, 16);
    ASSERT_EQ(c.n, 32);
    EXPECT_EQ(c.mag[0], 0.0);
    EXPECT_DOUBLE_EQ(c.mag[1], 1.0);
    for (int i = 2; i < c.n; ++i) {
        const int f = frequency(i);
        if (((f + 1) % 4 + 4) % 4 != 0) {
            EXPECT_NEAR(c.mag[i], 0.0, 1e-9) << "frequency " << f;
        }
    }
    EXPECT_GT(c.mag[6], 0.05);  // frequency 3: the corners
    EXPECT_LT(c.mag[6], 0.2);
    // The raw spectrum's frequency 0 is n times the centre.
    EXPECT_NEAR(c.fft_re[0] / c.n, 5.0, 1e-9);
    EXPECT_NEAR(c.fft_im[0] / c.n, 5.0, 1e-9);
}

TEST(FourierCoefficients, CircleIsOneFrequencyAndReducesToACircle)
{
    const int width = 100;
    const std::vector<int> circle = circle_contour(50, 40, 20.0, 64, width);
    coefficients c(circle, width);
    ASSERT_EQ(c.n, 128);
    EXPECT_DOUBLE_EQ(c.mag[1], 1.0);
    for (int i = 2; i < c.n; ++i)
        EXPECT_LT(c.mag[i], 0.03) << i;
    EXPECT_NEAR(c.fft_re[0] / c.n, 50.0, 0.5);
    EXPECT_NEAR(c.fft_im[0] / c.n, 40.0, 0.5);

    // Keeping frequencies 0 and -1: the normalised set gives a circle of
    // radius 30 about the origin, the raw set one of the contour's radius
    // about its centre.
    rebuilt out = reduce(c, 1);
    for (int k = 0; k < c.n; ++k) {
        EXPECT_NEAR(std::hypot(out.a_re[k], out.a_im[k]), 30.0, 1e-6) << k;
        EXPECT_NEAR(std::hypot(out.b_re[k] - 50.0, out.b_im[k] - 40.0), 20.0, 0.5) << k;
    }
    for (int i = 2; i < c.n; ++i) {
        const int j = low_2_high_freq_order_idx(c.n, i);
        EXPECT_EQ(c.fft_re[j], 0.0);
        EXPECT_EQ(c.desc_im[j], 0.0);
    }
}

TEST(FourierCoefficients, SelectKeepsThePositionsZeroOneAndTheChosenOne)
{
    auto kept = [](int n, int sel) {
        std::vector<double> a_re(n, 1.0), a_im(n, 1.0), b_re(n, 1.0), b_im(n, 1.0);
        std::vector<double> o1(n), o2(n), o3(n), o4(n);
        coeff_select(n, sel, a_re.data(), a_im.data(), b_re.data(), b_im.data(), o1.data(),
                     o2.data(), o3.data(), o4.data());
        std::vector<int> indices;
        for (int j = 0; j < n; ++j) {
            EXPECT_EQ(a_re[j], b_im[j]);
            if (a_re[j] != 0.0)
                indices.push_back(j);
        }
        return indices;
    };
    EXPECT_EQ(kept(16, 5), (std::vector<int>{0, 13, 15}));
    EXPECT_EQ(kept(16, 2), (std::vector<int>{0, 1, 15}));
    EXPECT_EQ(kept(16, 0), (std::vector<int>{0}));
    EXPECT_EQ(kept(8, 100), (std::vector<int>{0, 7}));
    EXPECT_EQ(kept(8, -5), (std::vector<int>{}));
}

TEST(FourierCoefficients, ReduceBoundsAndBadSampleCounts)
{
    const std::vector<int> square = rule_test::rectangle_contour(0, 4, 4, 8);
    coefficients c(square, 8, 16);
    const std::vector<double> before = c.fft_re;
    reduce(c, 1 << 30);
    EXPECT_EQ(c.fft_re, before);
    rebuilt none = reduce(c, -7);
    for (int j = 0; j < 16; ++j)
        EXPECT_EQ(c.fft_re[j], 0.0);
    EXPECT_EQ(none.b_re[3], 0.0);

    coefficients empty({}, 8, 4);
    for (double v : empty.fft_re)
        EXPECT_EQ(v, 0.0);

    EXPECT_VX_FATAL(coefficients(square, 8, 12), 1, "not power of two");
    std::vector<double> a(12, 1.0);
    EXPECT_VX_FATAL(coeff_reduce(12, 1, a.data(), a.data(), a.data(), a.data(), a.data(), a.data(),
                                 a.data(), a.data()),
                    1, "not power of two");
}

// Reads node `node` of the file with room for `capacity` positions,
// capturing the messages.
int read_contour(const std::string& path, std::vector<int>& positions, int capacity, int node,
                 std::string* output)
{
    FILE* f = std::fopen(path.c_str(), "r");
    positions.assign(capacity + 1, -7);
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    const int n = getcontour(f, positions.data(), capacity, node);
    std::fflush(stdout);
    *output = testing::internal::GetCapturedStdout();
    if (n >= 0)
        std::fclose(f);
    return n;
}

TEST(ContourFromTreeFile, ReadsOneNodesOuterContour)
{
    // Two basins left and right of a line in column 2.
    const vx_image_handle v(init_vx_image(5, 3, 2));
    for (int s = 0; s < 2; ++s)
        for (int p = 0; p < 15; ++p)
            v->scales[s].pixels[p] = p % 5 == 2 ? 0 : 1;
    const region_tree_handle tree(Region_Graph(v.get(), 8));
    const tregionnode* second = last_son(tree->root);
    const std::vector<int> expected(second->contour, second->contour + second->contour_size);
    ASSERT_FALSE(expected.empty());
    vx_test::TempDir dir;
    const std::string path = dir.file("old.tree");
    ASSERT_EQ(write_region_tree(tree.get(), path.c_str()), 1);

    std::vector<int> positions;
    std::string output;
    const int size = static_cast<int>(expected.size());
    ASSERT_EQ(read_contour(path, positions, size, 2, &output), size);
    EXPECT_EQ(std::vector<int>(positions.begin(), positions.begin() + size), expected);
    EXPECT_EQ(positions[size], -7);
    EXPECT_EQ(output, "");

    EXPECT_EQ(read_contour(path, positions, size - 1, 2, &output), -1);
    EXPECT_EQ(positions[size - 1], -7);
    EXPECT_EQ(output, "Contour of Node 2 has " + std::to_string(size) + " positions, room for " +
                          std::to_string(size - 1) + "\n");
    EXPECT_EQ(read_contour(path, positions, size, 0, &output), -1);
    EXPECT_EQ(output, "No Node 0 Tag found\n");
    EXPECT_EQ(read_contour(path, positions, size, 3, &output), -1);
    EXPECT_EQ(output, "No Node 3 Tag found\n");

    const std::string text = vx_test::read_file(path);
    const std::string cut = dir.file("cut.tree");
    vx_test::write_file(cut, text.substr(0, text.find("Contour:", text.find("Node: 2")) + 9));
    EXPECT_EQ(read_contour(cut, positions, size, 2, &output), -1);
    EXPECT_EQ(output, "Contour of Node 2 ends after 0 of " + std::to_string(size) + " positions\n");
    vx_test::write_file(cut, text.substr(0, text.find("Contour:", text.find("Node: 2"))));
    EXPECT_EQ(read_contour(cut, positions, size, 2, &output), -1);
    EXPECT_EQ(output, "No Contour: Tag found\n");
    vx_test::write_file(cut, text.substr(0, text.find("Contour Size:", text.find("Node: 2"))));
    EXPECT_EQ(read_contour(cut, positions, size, 2, &output), -1);
    EXPECT_EQ(output, "No Contour Size Tag found for Node 2.\n");
}

}  // namespace
