// Contour Fourier descriptors, the frequency orders, and the rule machine's
// Fourier coefficient symbols and conditions.
#include <algorithm>
#include <cmath>
#include <vector>

#include "analyse/fourier/contour_chaincode.h"
#include "analyse/fourier/lFouriercontour.h"
#include "analyse/tests/rule_test_support.h"
#include "analyse/trees/tree_walk.h"
#include "testsupport/region_tree_builder.h"

using namespace rule_test;

TEST(FourierOrders, IndicesOfEightEntries)
{
    const int low_high[] = {0, 7, 1, 6, 2, 5, 3, 4};
    const int high_low[] = {3, 4, 2, 5, 1, 6, 0, 7};
    double re[8], im[8], re_out[8], im_out[8];
    for (int i = 0; i < 8; ++i) {
        re[i] = i;
        im[i] = -i;
    }
    low_2_high_freq_order(8, re, im, re_out, im_out);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(low_2_high_freq_order_idx(8, i), low_high[i]);
        EXPECT_EQ(low_2_high_freq_order_idx_shift(i, 7), low_high[i]);
        EXPECT_EQ(re_out[i], low_high[i]);
        EXPECT_EQ(im_out[i], -low_high[i]);
    }
    high_2_low_freq_order(8, re, im, re_out, im_out);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(high_2_low_freq_order_idx(8, i), high_low[i]);
        EXPECT_EQ(re_out[i], high_low[i]);
    }
    testing::internal::CaptureStdout();
    EXPECT_EQ(restrict_rotate_right(5, 3), 6);
    EXPECT_EQ(restrict_rotate_right(4, 3), 2);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "idx 5, new 6, Hlp 4, numbits 3\nidx 4, new 2, Hlp 0, numbits 3\n");
}

TEST(FourierDescriptor, SampleCountsAndSmallHelpers)
{
    EXPECT_EQ(pow_of_2_samples(100), 128);
    EXPECT_EQ(pow_of_2_samples(128), 256);
    EXPECT_EQ(pow_of_2_samples(1), 2);
    EXPECT_EQ(pow_of_2_samples(0), 1);
    testing::internal::CaptureStdout();
    EXPECT_LT(pow_of_2_samples(0x7fffffff), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Fatal binary error in pow of 2 samples Clen = 2147483647, Samples = -2147483648\n");

    double mag[] = {0.9, 2.0};
    double phase[] = {1.0, M_PI / 2};
    polar_2_cart(2, mag, phase);
    EXPECT_EQ(mag[0], 0.0);
    EXPECT_EQ(phase[0], 0.0);
    EXPECT_NEAR(mag[1], 0.0, 1e-12);
    EXPECT_NEAR(phase[1], 2.0, 1e-12);

    const double a[] = {1, 2, 3}, b[] = {4, 6, 3};
    EXPECT_DOUBLE_EQ(euclidian_similarity(a, b, 3), 5.0);
    EXPECT_DOUBLE_EQ(euclidian_similarity(a, b, 0), 0.0);
    EXPECT_DOUBLE_EQ(hypotenuse(3, 4), 5.0);
}

TEST(FourierDescriptor, NormalisedAndFreeOfPosition)
{
    const std::vector<int> square = rectangle_contour(2 * 32 + 3, 6, 6, 32);
    const std::vector<int> moved = rectangle_contour(20 * 32 + 17, 6, 6, 32);
    const std::vector<int> wide = rectangle_contour(2 * 32 + 3, 12, 4, 32);
    double d1[8], d2[8], d3[8];
    get_fourier_descriptor(square.data(), static_cast<int>(square.size()), 8, d1, 32);
    get_fourier_descriptor(moved.data(), static_cast<int>(moved.size()), 8, d2, 32);
    get_fourier_descriptor(wide.data(), static_cast<int>(wide.size()), 8, d3, 32);
    EXPECT_EQ(d1[0], 0.0);
    EXPECT_DOUBLE_EQ(d1[1], 1.0);
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(d1[i], d2[i], 1e-9) << i;
    EXPECT_GT(euclidian_similarity(d1, d3, 8), 0.1);

    // More coefficients than contour positions take more samples.
    double many[40];
    get_fourier_descriptor(square.data(), static_cast<int>(square.size()), 40, many, 32);
    EXPECT_DOUBLE_EQ(many[1], 1.0);

    // Too short a contour has no descriptor.
    double none[3] = {7, 7, 7};
    get_fourier_descriptor(square.data(), 1, 3, none, 32);
    EXPECT_EQ(none[0], 0.0);
    EXPECT_EQ(none[2], 0.0);
}

TEST(FourierDescriptor, ATracedDiscIsACircleWhicheverWayItsContourRuns)
{
    const region_tree_handle tree(vx_test::traced_disc(100, 100, 50, 50, 30));
    const tregionnode* disc = first_son(tree->root);
    std::vector<int> contour(disc->contour, disc->contour + disc->contour_size);
    double traced[5], reversed[5];
    get_fourier_descriptor(contour.data(), disc->contour_size, 5, traced, 100);
    std::reverse(contour.begin(), contour.end());
    get_fourier_descriptor(contour.data(), disc->contour_size, 5, reversed, 100);
    for (const double* fd : {traced, reversed}) {
        EXPECT_EQ(fd[0], 0.0);
        EXPECT_DOUBLE_EQ(fd[1], 1.0);
        for (int k = 2; k < 5; ++k)
            EXPECT_LT(fd[k], 0.01) << "fdc_" << k;
    }
}

TEST(FourierDescriptor, FftboundsDrawsSamplesAndReconstructions)
{
    const image_handle img(create_image(32, 32, 0));
    const std::vector<int> c = rectangle_contour(2 * 32 + 2, 6, 6, 32);
    char* text = nullptr;
    size_t size = 0;
    FILE* report = open_memstream(&text, &size);
    fftbounds(img.get(), c.data(), static_cast<int>(c.size()), 16, 4, report);
    std::fclose(report);
    const std::string out(text, size);
    std::free(text);
    EXPECT_EQ(out.rfind("Magnitude      Phase\n 0: ", 0), 0u) << out;
    int fives = 0, tens = 0, minus_tens = 0;
    for (int p = 0; p < 32 * 32; ++p) {
        fives += img->pixels[p] == 5;
        tens += img->pixels[p] == 10;
        minus_tens += img->pixels[p] == -10;
    }
    EXPECT_GT(fives + minus_tens, 0);
    EXPECT_GT(tens, 0);
}

TEST(ChainCode, OrdersNeighboursAndEndsOnStrayPositions)
{
    const int w = 10;
    // A row of four positions, shuffled, and one position far from it.
    int c[] = {10, 12, 11, 13, 50};
    testing::internal::CaptureStdout();
    contour_chaincode_order(c, 5, w, 4);
    const std::string out = testing::internal::GetCapturedStdout();
    const int expected[] = {10, 11, 12, 13, 50};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(c[i], expected[i]) << i;
    EXPECT_NE(out.find("Pos 1: 11, 1\n"), std::string::npos) << out;

    int offsets[8];
    set_chaincode_offsets(offsets, w);
    testing::internal::CaptureStdout();
    EXPECT_EQ(nextchainpos(12, 11, offsets, 4, 1), 1);
    EXPECT_EQ(nextchainpos(50, 11, offsets, 4, 6), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout().substr(0, 17), "Dir 1, Sdir 1 \nDi");
}

TEST(RuleFourier, CoefficientSymbolsFollowTheRegion)
{
    parsed p;
    parse_text(p, "DECLS: FDC := 3; seen := fdc_1; #DECLS RULES: TD: fdc_1 = 1 #RULES");
    ASSERT_EQ(p.result, 0) << p.output;
    EXPECT_NE(p.output.find("Using FDC 3\n"), std::string::npos);
    EXPECT_EQ(p.prog->num_fdc, 3);
    EXPECT_DOUBLE_EQ(p.value("numfdc"), 3);
    machine m(p.prog);
    const region_node_handle r = make_region(36, rectangle_contour(2 * 16 + 2, 6, 6, 16));
    EXPECT_EQ(m.run(r.get()), 1);
    // The declarations saw the previous region's (none) coefficients.
    EXPECT_DOUBLE_EQ(p.value("seen"), 0);
    EXPECT_DOUBLE_EQ(p.value("fdc_1"), 1);
    EXPECT_EQ(p.value("fdc_0"), 0);
    m.run(r.get());
    EXPECT_DOUBLE_EQ(p.value("seen"), 1);
}

TEST(RuleFourier, EarlyDeclaredCoefficientNeverWalksOffTheList)
{
    parsed p;
    parse_text(p, "DECLS: fdc_2 := 7; FDC := 3; #DECLS");
    ASSERT_EQ(p.result, 0) << p.output;
    machine m(p.prog);
    const region_node_handle r = make_region(36, rectangle_contour(2 * 16 + 2, 6, 6, 16));
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    m.run(r.get());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    // Only fdc_0 and fdc_1 follow "numfdc"; fdc_2 keeps its own value.
    EXPECT_DOUBLE_EQ(p.value("fdc_1"), 1);
    EXPECT_DOUBLE_EQ(p.value("fdc_2"), 7);
}

TEST(RuleFourier, ChangedCoefficientCountEndsTheProcess)
{
    EXPECT_VX_FATAL(
        {
            parsed p;
            parse_text(p, "DECLS: FDC := 2; numfdc := 5; #DECLS", 16, false);
            machine m(p.prog);
            const region_node_handle r = make_region(36, rectangle_contour(2 * 16 + 2, 6, 6, 16));
            m.run(r.get());
        },
        100, "Dont Mess with the number of FDCs in update fds in symboltable");
}

TEST(RuleFourier, DescriptorConditions)
{
    parsed p;
    parse_text(p, "RULES: TD: FDs: 2 0.1 0 1 5 #FDs BU: FDs: 2.5 0.1 3 4 #FDs #RULES");
    ASSERT_EQ(p.result, 0) << p.output;
    EXPECT_NE(p.output.find("More Descriptors as indicated in TD FDS\n"), std::string::npos);
    EXPECT_NE(p.output.find("Needing Integer Value of FDS\n!"), std::string::npos);
    ASSERT_NE(p.prog->td_fds, nullptr);
    EXPECT_EQ(p.prog->td_fds->filled, 2);
    EXPECT_EQ(p.prog->bu_fds, nullptr);

    machine m(p.prog);
    const region_node_handle square = make_region(36, rectangle_contour(2 * 16 + 2, 6, 6, 16));
    const region_node_handle point = make_region(1, {40});
    EXPECT_EQ(m.run(square.get()), 1);
    EXPECT_EQ(m.run(point.get()), 0);
    // The bottom-up block had no integral count: no condition.
    EXPECT_EQ(m.run(point.get(), false), 1);

    testing::internal::CaptureStdout();
    print_fds(p.prog->td_fds);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "FDS has 2 Values and Threshold 0.100000 \n0.000000\n1.000000\n");
}
