#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "filter/handles.h"
#include "filter/lMMS_Part.h"
#include "filter/mms_part_control.h"
#include "filter/tests/naive_morphology.h"
#include "testsupport/vx_test.h"

namespace {

constexpr functions kDisk = {1, 1.0, 0.0, 0, 0};

vx_image* source_of(const naive::grid& g, int w, int h)
{
    vx_image* v = init_vx_image(w, h, 1);
    std::copy(g.begin(), g.end(), v->scales[0].pixels);
    update_image_struct(&v->scales[0]);
    return v;
}

naive::grid scale_of(const vx_image* v, int k)
{
    return naive::to_grid(&v->scales[k]);
}

// The partition of g, one grid per scale.
std::vector<naive::grid> partition(const naive::grid& g, int w, int h, int mode, int nscales,
                                   unsigned flags, int conn = 8)
{
    vx_image* src = source_of(g, w, h);
    vx_image* dst = init_vx_image(w, h, nscales);
    functions tmpl = kDisk;
    EXPECT_EQ(lMMS_Part(src, dst, mode, nscales, 1, &tmpl, conn, flags), 1);
    std::vector<naive::grid> out;
    for (int k = 0; k < nscales; ++k)
        out.push_back(scale_of(dst, k));
    delete_vximage(dst);
    delete_vximage(src);
    return out;
}

TEST(Partition, ConstantImageIsOneBasinWithoutLineAtEveryScale)
{
    const naive::grid g(12 * 9, 77);
    for (const int mode : {1, 2}) {
        for (unsigned flags = 0; flags < 8; ++flags) {
            for (const naive::grid& s : partition(g, 12, 9, mode, 4, flags))
                EXPECT_EQ(s, naive::grid(g.size(), 1)) << "mode " << mode << " flags " << flags;
        }
    }
}

// Bright objects of an image are the dark objects of its negation, with the
// two hole-filling bits exchanged.
TEST(Partition, BrightModeIsDarkModeOfTheNegation)
{
    std::mt19937 rng(3);
    for (const unsigned flags : {0u, 1u, 2u, 3u, 4u, 6u}) {
        for (const int conn : {4, 8}) {
            const int w = 37, h = 29;
            naive::grid g = naive::random_image(rng, w, h, 255);
            naive::grid neg(g.size());
            for (size_t i = 0; i < g.size(); ++i)
                neg[i] = -g[i];
            const unsigned swapped = (flags & 4u) | ((flags & 1u) << 1) | ((flags & 2u) >> 1);
            const auto bright = partition(g, w, h, 1, 5, flags, conn);
            const auto dark = partition(neg, w, h, 2, 5, swapped, conn);
            EXPECT_EQ(bright, dark) << "flags " << flags << " conn " << conn;
        }
    }
}

TEST(Partition, ScalesCoarsenUntilASmallBlobIsNoLongerABasin)
{
    // A dark background with a 3x3 and a 9x9 bright square.
    const int w = 24, h = 16;
    naive::grid g(w * h, 10);
    g[0] = 11;  // no uniform rows of the first pixel's value to trim
    for (int y = 2; y < 5; ++y)
        for (int x = 2; x < 5; ++x)
            g[y * w + x] = 200;
    for (int y = 4; y < 13; ++y)
        for (int x = 12; x < 21; ++x)
            g[y * w + x] = 150;
    const auto scales = partition(g, w, h, 1, 6, 0);
    const auto lines_around = [&](const naive::grid& s, int x0, int y0, int size) {
        int zeros = 0;
        for (int x = x0 - 1; x <= x0 + size; ++x)
            zeros += (s[(y0 - 1) * w + x] == 0) + (s[(y0 + size) * w + x] == 0);
        return zeros;
    };
    // The finest scale separates both squares from the background.
    EXPECT_GT(lines_around(scales[0], 2, 2, 3), 0);
    EXPECT_GT(lines_around(scales[0], 12, 4, 9), 0);
    // The diamond of size 3 no longer fits the small square; the large one stays.
    EXPECT_EQ(lines_around(scales[2], 2, 2, 3), 0);
    EXPECT_GT(lines_around(scales[2], 12, 4, 9), 0);
}

TEST(Partition, UniformTopAndBottomRowsAreTrimmedAndPlacedBack)
{
    std::mt19937 rng(5);
    const int w = 21, ch = 13, top = 3, bottom = 2;
    naive::grid content = naive::random_image(rng, w, ch, 255);
    content[0] = 1;  // the content's first row differs from the trimmed value
    naive::grid g(static_cast<size_t>(w) * (top + ch + bottom), 0);
    std::copy(content.begin(), content.end(), g.begin() + top * w);
    testing::internal::CaptureStdout();
    const auto trimmed = partition(content, w, ch, 1, 3, 3);
    EXPECT_EQ(testing::internal::GetCapturedStdout().find("Horizontal Offset"), std::string::npos);
    testing::internal::CaptureStdout();
    const auto full = partition(g, w, top + ch + bottom, 1, 3, 3);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Horizontal Offset 63, Value 0\n"),
              std::string::npos);
    for (int k = 0; k < 3; ++k) {
        const naive::grid& s = full[k];
        const auto row = [&](int y) {
            return naive::grid(s.begin() + y * w, s.begin() + (y + 1) * w);
        };
        EXPECT_EQ(row(0), naive::grid(w, 1));
        EXPECT_EQ(row(1), naive::grid(w, 1));
        EXPECT_EQ(row(2), naive::grid(w, 0));
        for (int y = 0; y + 1 < ch; ++y)
            EXPECT_EQ(row(top + y),
                      naive::grid(trimmed[k].begin() + y * w, trimmed[k].begin() + (y + 1) * w));
        EXPECT_EQ(row(top + ch - 1), naive::grid(w, 0));
        EXPECT_EQ(row(top + ch), naive::grid(w, 1));
        EXPECT_EQ(row(top + ch + 1), naive::grid(w, 1));
    }
}

TEST(Partition, ProgressReportsKindAndEachFinishedScale)
{
    std::mt19937 rng(9);
    const naive::grid g = naive::random_image(rng, 16, 16, 255);
    const vx_image_handle src(source_of(g, 16, 16));
    for (const int mode : {1, 2}) {
        const vx_image_handle with(init_vx_image(16, 16, 4));
        const vx_image_handle without(init_vx_image(16, 16, 4));
        std::vector<std::pair<int, int>> calls;
        functions tmpl = kDisk;
        const auto record = [](int kind, int step, void* context) {
            static_cast<std::vector<std::pair<int, int>>*>(context)->emplace_back(kind, step);
        };
        EXPECT_EQ(
            lMMS_Part_progress(src.get(), with.get(), mode, 4, 1, &tmpl, 8, 3, &calls, record), 1);
        const std::vector<std::pair<int, int>> expected = {
            {mode, 0}, {mode, 1}, {mode, 2}, {mode, 3}};
        EXPECT_EQ(calls, expected);
        EXPECT_EQ(
            lMMS_Part_progress(src.get(), without.get(), mode, 4, 1, &tmpl, 8, 3, nullptr, nullptr),
            1);
        const vx_image_handle plain(init_vx_image(16, 16, 4));
        EXPECT_EQ(lMMS_Part(src.get(), plain.get(), mode, 4, 1, &tmpl, 8, 3), 1);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(scale_of(with.get(), k), scale_of(plain.get(), k));
            EXPECT_EQ(scale_of(without.get(), k), scale_of(plain.get(), k));
        }
    }
}

TEST(Partition, GrowingTemplateLeavesTheCallersRadiusAlone)
{
    std::mt19937 rng(13);
    const naive::grid g = naive::random_image(rng, 20, 14, 255);
    const vx_image_handle src(source_of(g, 20, 14));
    const vx_image_handle dst(init_vx_image(20, 14, 5));
    functions tmpl = kDisk;
    EXPECT_EQ(lMMS_Part(src.get(), dst.get(), 1, 5, 1, &tmpl, 8, 4), 1);
    EXPECT_EQ(tmpl.radius, 1.0);
    // A second image with the same record gives the same result as the first.
    const vx_image_handle again(init_vx_image(20, 14, 5));
    EXPECT_EQ(lMMS_Part(src.get(), again.get(), 1, 5, 1, &tmpl, 8, 4), 1);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(scale_of(dst.get(), k), scale_of(again.get(), k));
}

TEST(Partition, OneScaleUsesTheInitialTemplate)
{
    std::mt19937 rng(17);
    const naive::grid g = naive::random_image(rng, 18, 12, 255);
    const auto one = partition(g, 18, 12, 2, 1, 4);
    const auto three = partition(g, 18, 12, 2, 3, 4);
    EXPECT_EQ(one[0], three[0]);
}

TEST(Partition, RefusesADestinationThatDoesNotFit)
{
    const naive::grid g(10 * 8, 3);
    const vx_image_handle src(source_of(g, 10, 8));
    functions tmpl = kDisk;
    functions unknown = {9, 1.0, 0.0, 0, 0};
    const vx_image_handle fits(init_vx_image(10, 8, 3));
    EXPECT_VX_FATAL(lMMS_Part(src.get(), fits.get(), 1, 3, 1, &unknown, 8, 0), 42,
                    "mms_part_reconstruction Cannot alloc source image memory");
    const vx_image_handle narrow(init_vx_image(9, 8, 3));
    const vx_image_handle few(init_vx_image(10, 8, 2));
    EXPECT_EQ(lMMS_Part(src.get(), narrow.get(), 1, 3, 1, &tmpl, 8, 0), 0);
    EXPECT_EQ(lMMS_Part_progress(src.get(), few.get(), 2, 3, 1, &tmpl, 8, 0, nullptr, nullptr), 0);
    for (int k = 0; k < 2; ++k)
        EXPECT_EQ(scale_of(few.get(), k), naive::grid(80, 0));
    EXPECT_EQ(scale_of(narrow.get(), 0), naive::grid(72, 0));
}

}  // namespace

namespace {

TEST(Partition, DebugExportWritesOneFilePerScale)
{
    std::mt19937 rng(19);
    const naive::grid g = naive::random_image(rng, 12, 10, 255);
    const vx_image_handle src(source_of(g, 12, 10));
    const vx_image_handle dst(init_vx_image(12, 10, 2));
    const vx_image_handle plain(init_vx_image(12, 10, 2));
    vx_test::TempDir dir;
    std::string base = dir.file("dbg");
    mms_debug_export debug{base.data(), 2};
    functions tmpl = kDisk;
    ASSERT_EQ(lMMS_Part(src.get(), dst.get(), 2, 2, 1, &tmpl, 8, 1, &debug), 1);
    ASSERT_EQ(lMMS_Part(src.get(), plain.get(), 2, 2, 1, &tmpl, 8, 1), 1);
    EXPECT_EQ(vx_test::read_file(base + ".000.png").substr(1, 3), "PNG");
    EXPECT_EQ(vx_test::read_file(base + ".001.png").substr(1, 3), "PNG");
    EXPECT_TRUE(vx_test::read_file(base + ".002.png").empty());
    EXPECT_EQ(scale_of(dst.get(), 1), scale_of(plain.get(), 1));
}

TEST(Partition, StepwiseTwinMatchesTheWholeComputation)
{
    std::mt19937 rng(29);
    naive::grid g = naive::random_image(rng, 22, 15, 255);
    g[0] = 1000;  // nothing to trim
    for (const int mode : {1, 2}) {
        for (const int elementary : {1, 0}) {
            vx_image* src = source_of(g, 22, 15);
            const vx_image_handle dst(init_vx_image(22, 15, 3));
            const mms_part_control_handle c(init_mms_part(src, dst.get(), 0, 3));
            ASSERT_NE(c.get(), nullptr);
            c->mode = mode;
            c->elementary = elementary;
            EXPECT_EQ(mms_part_step(c.get()), 1);
            EXPECT_STREQ(c->text, mode == 1 ? "Scale 1: Bright Objects" : "Scale 1: Dark Objects");
            EXPECT_EQ(mms_part_step(c.get()), 2);
            EXPECT_EQ(mms_part_step(c.get()), 3);
            EXPECT_EQ(mms_part_step(c.get()), 3);
            const auto whole = partition(g, 22, 15, mode, 3, elementary ? 3u : 7u);
            for (int k = 0; k < 3; ++k)
                EXPECT_EQ(scale_of(dst.get(), k), whole[k]) << "mode " << mode << " scale " << k;
            delete_vximage(src);
        }
    }
    vx_image* src = source_of(g, 22, 15);
    const vx_image_handle few(init_vx_image(22, 15, 2));
    EXPECT_EQ(init_mms_part(src, few.get(), 0, 3), nullptr);
    delete_vximage(src);
}

}  // namespace
