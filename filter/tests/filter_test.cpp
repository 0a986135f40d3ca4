#include <gtest/gtest.h>

#include <random>

#include "filter/elementary.h"
#include "filter/filter.h"
#include "filter/handles.h"
#include "filter/reconstruction.h"
#include "filter/tests/naive_morphology.h"

namespace {

f_filter* disk_filter(double radius, int op, int iterations)
{
    f_filter* f = init_f_filter();
    const functions disk = {1, radius, 0, 0, 0};
    init_f_template(&disk, f);
    f->op = static_cast<unsigned char>(op);
    f->iterations = iterations;
    return f;
}

// run_filter on a copy of g.
naive::grid filtered(const naive::grid& g, int w, int h, f_filter* f)
{
    const image_handle img(naive::to_image(g, w, h));
    EXPECT_EQ(run_filter(img.get(), f), img.get());
    naive::grid out = naive::to_grid(img.get());
    return out;
}

TEST(RunFilter, RadiusOneDiskIsTheElementaryFourNeighbourhood)
{
    std::mt19937 rng(21);
    const filter_handle erode(disk_filter(1.0, FILTER_EROSION, 1));
    const filter_handle dilate(disk_filter(1.0, FILTER_DILATION, 2));
    for (const int top : {255, 65535}) {
        for (const auto& s :
             {std::pair{1, 1}, std::pair{1, 6}, std::pair{7, 1}, std::pair{23, 17}}) {
            const naive::grid g = naive::random_image(rng, s.first, s.second, top);
            EXPECT_EQ(filtered(g, s.first, s.second, erode.get()),
                      naive::neighbourhood(g, s.first, s.second, 4, true));
            const naive::grid once = naive::neighbourhood(g, s.first, s.second, 4, false);
            EXPECT_EQ(filtered(g, s.first, s.second, dilate.get()),
                      naive::neighbourhood(once, s.first, s.second, 4, false));
        }
    }
}

TEST(RunFilter, RankSelectionAndItsClampedIndex)
{
    // A single row of five under a flat 5 x 5 square: the template sees all.
    const naive::grid g = {9, 3, 7, 1, 5};
    const filter_handle f(init_f_filter());
    const functions square = {6, 2.0, 0, 0, 0};
    init_f_template(&square, f.get());
    f->op = FILTER_RANK_EROSION;
    f->iterations = 1;
    f->quantile = 0.5;
    EXPECT_EQ(filtered(g, 5, 1, f.get())[2], 5);
    f->quantile = 1.7;
    EXPECT_EQ(filtered(g, 5, 1, f.get())[2], 9);
    f->quantile = -0.3;
    EXPECT_EQ(filtered(g, 5, 1, f.get())[2], 1);
    f->quantile = 1.0;  // ranking off: the plain erosion
    EXPECT_EQ(filtered(g, 5, 1, f.get()), (naive::grid{3, 1, 1, 1, 1}));
}

TEST(RunFilter, GeodesicDilationUntilStableIsTheReconstruction)
{
    std::mt19937 rng(22);
    const int w = 30, h = 20;
    const naive::grid mask = naive::random_image(rng, w, h, 255);
    const naive::grid marker =
        naive::neighbourhood(naive::neighbourhood(mask, w, h, 4, true), w, h, 4, true);
    const filter_handle f(disk_filter(1.0, FILTER_DILATION, 0));
    const image_handle m(naive::to_image(mask, w, h));
    f->mask = m.get();
    f->use_mask = 1;
    EXPECT_EQ(filtered(marker, w, h, f.get()), naive::reconstruct(marker, mask, w, h, 4, false));
}

TEST(RunFilter, ConstantImageSettlesAndAWeightedErosionIsStopped)
{
    const filter_handle flat(disk_filter(2.0, FILTER_EROSION, 0));
    EXPECT_EQ(filtered(naive::grid(12, 4), 4, 3, flat.get()), naive::grid(12, 4));
    // The sphere's centre weight lowers every pixel on every pass.
    const filter_handle sphere(init_f_filter());
    const functions s = {2, 1.0, 0, 0, 0};
    init_f_template(&s, sphere.get());
    sphere->op = FILTER_EROSION;
    sphere->iterations = 0;
    testing::internal::CaptureStdout();
    const naive::grid out = filtered(naive::grid(12, 4), 4, 3, sphere.get());
    EXPECT_NE(testing::internal::GetCapturedStdout().find("no stable result"), std::string::npos);
    EXPECT_EQ(out, naive::grid(12, 4 - 8));  // width + height + 1 passes
}

TEST(RunFilter, MeanExtremaAndMaskedSelection)
{
    const naive::grid g = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    const filter_handle f(init_f_filter());
    const functions square = {6, 1.0, 0, 0, 0};
    init_f_template(&square, f.get());
    f->iterations = 1;
    f->op = FILTER_MEAN;  // all weights 0: divisor 1, sum 0
    EXPECT_EQ(filtered(g, 3, 3, f.get()), naive::grid(9, 0));
    f->values[4] = 2;  // weight 2 on the centre only: the image itself
    const filter_handle centre(create_copy_template(f.get()));
    EXPECT_EQ(filtered(g, 3, 3, centre.get()), g);
    f->values[4] = 0;
    const filter_handle extreme(create_copy_template(f.get()));
    extreme->op = FILTER_DILATION_FROM_MIN;
    EXPECT_EQ(filtered(g, 3, 3, extreme.get()), (naive::grid{5, 6, 6, 8, 9, 9, 8, 9, 9}));
    extreme->op = FILTER_EROSION_FROM_MAX;
    const image_handle mask(naive::to_image({0, 0, 0, 0, 1, 0, 0, 0, 0}, 3, 3));
    extreme->mask = mask.get();
    extreme->use_mask = 1;
    EXPECT_EQ(filtered(g, 3, 3, extreme.get()), (naive::grid{1, 1, 2, 1, 5, 2, 4, 4, 5}));
}

TEST(RunFilter, MinimumVarianceTakesTheCalmestNeighbourhood)
{
    // A step edge: left half 10, right half 50. Pixels next to the edge take
    // the mean of the side they belong to, and every variance settles at 0.
    const int w = 10, h = 8;
    naive::grid g(w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            g[y * w + x] = x < 5 ? 10 : 50;
    const image_handle mask(create_double_image(w, h, 1.0));
    mask->pixels = static_cast<int*>(calloc(w * h, sizeof(int)));
    const filter_handle f(init_f_filter());
    f->op = FILTER_MIN_VARIANCE;
    f->iterations = 1;
    init_rotate_template(f.get(), 8, 1);
    f->mask = mask.get();
    EXPECT_EQ(filtered(g, w, h, f.get()), g);
    for (int i = 0; i < w * h; ++i)
        ASSERT_EQ(mask->dpixels[i], 0.0);
    // Once a pixel's variance is 0 its stored mean is kept.
    EXPECT_EQ(filtered(naive::grid(w * h, 3), w, h, f.get()), g);
    f->mask = nullptr;
    const image_handle img(naive::to_image(g, w, h));
    EXPECT_EQ(run_filter(img.get(), f.get()), nullptr);
}

TEST(RunFilter, RefusesWhatItCannotRun)
{
    const image_handle img(create_image(4, 4, 2));
    const filter_handle f(disk_filter(1.0, 0, 1));
    EXPECT_EQ(run_filter(img.get(), f.get()), nullptr);
    f->op = FILTER_EROSION;
    f->use_mask = 1;
    EXPECT_EQ(run_filter(img.get(), f.get()), nullptr);
    const image_handle small(create_image(3, 4, 0));
    f->mask = small.get();
    EXPECT_EQ(run_filter(img.get(), f.get()), nullptr);
    EXPECT_EQ(naive::to_grid(img.get()), naive::grid(16, 2));
}

TEST(OpeningClosing, StepsAndRestoredSettings)
{
    std::mt19937 rng(23);
    const int w = 25, h = 19;
    const naive::grid g = naive::random_image(rng, w, h, 255);
    const filter_handle f(disk_filter(1.0, FILTER_RANK_DILATION, 1));
    const image_handle img(naive::to_image(g, w, h));
    ASSERT_EQ(run_opening(f.get(), img.get(), nullptr, 0.0, 0, FILTER_DILATION), img.get());
    EXPECT_EQ(naive::to_grid(img.get()),
              naive::neighbourhood(naive::neighbourhood(g, w, h, 4, true), w, h, 4, false));
    EXPECT_EQ(f->op, FILTER_RANK_DILATION);
    EXPECT_EQ(f->use_mask, 0);
    // Opening by reconstruction: the dilation repeated under the original.
    const image_handle original(naive::to_image(g, w, h));
    copy_image(img.get(), original.get());
    ASSERT_EQ(run_opening(f.get(), img.get(), original.get(), 0.0, 3, FILTER_DILATION), img.get());
    EXPECT_EQ(naive::to_grid(img.get()),
              naive::reconstruct(naive::neighbourhood(g, w, h, 4, true), g, w, h, 4, false));
    EXPECT_EQ(f->iterations, 1);
    copy_image(img.get(), original.get());
    ASSERT_EQ(run_closing(f.get(), img.get(), original.get(), 0.0, 3, FILTER_EROSION), img.get());
    EXPECT_EQ(naive::to_grid(img.get()),
              naive::reconstruct(naive::neighbourhood(g, w, h, 4, false), g, w, h, 4, true));
}

}  // namespace
