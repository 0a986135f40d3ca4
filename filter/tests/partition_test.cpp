#include <gtest/gtest.h>

#include <random>
#include <thread>
#include <utility>
#include <vector>

#include "filter/filter.h"
#include "filter/handles.h"
#include "filter/lMMS_Part.h"
#include "filter/mms_part_control.h"
#include "filter/tests/naive_morphology.h"
#include "filter/tree_workers.h"
#include "testsupport/vx_test.h"

namespace {

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
    functions tmpl = unit_disk_template;
    EXPECT_EQ(lMMS_Part(src, dst, mode, nscales, 1, &tmpl, conn, flags), 1);
    std::vector<naive::grid> out;
    for (int k = 0; k < nscales; ++k)
        out.push_back(scale_of(dst, k));
    delete_vximage(dst);
    delete_vximage(src);
    return out;
}

// The partition written out from its definition with the plain operators:
// the marker (k + 1 elementary 4-neighbour filterings, or the library's
// template filter of radius 1 + k), its reconstruction, the holes filled,
// the gradient and the literal immersion, binarised.
std::vector<naive::grid> defined_content_partition(const naive::grid& g, int w, int h, int mode,
                                                   int nscales, unsigned flags, int conn)
{
    const bool bright = mode == 1;
    const auto negate = [](naive::grid v) {
        for (int& x : v)
            x = -x;
        return v;
    };
    std::vector<naive::grid> out;
    naive::grid marker = g;
    for (int k = 0; k < nscales; ++k) {
        if (flags & MMS_GROWING_TEMPLATE) {
            const image_handle m(naive::to_image(g, w, h));
            functions tmpl = unit_disk_template;
            tmpl.radius += k;
            const filter_handle f(init_f_filter());
            f->op = bright ? FILTER_EROSION : FILTER_DILATION;
            f->iterations = 1;
            init_f_template(&tmpl, f.get());
            run_filter(m.get(), f.get());
            marker = naive::to_grid(m.get());
        } else {
            marker = naive::neighbourhood(marker, w, h, 4, bright);
        }
        naive::grid t = naive::reconstruct(marker, g, w, h, conn, !bright);
        if (flags & (bright ? MMS_FILL_HOLES_BRIGHT : MMS_FILL_HOLES_DARK))
            t = bright ? naive::fill_holes(t, w, h, conn)
                       : negate(naive::fill_holes(negate(t), w, h, conn));
        const naive::grid e = naive::neighbourhood(t, w, h, conn, !bright);
        for (size_t i = 0; i < t.size(); ++i)
            t[i] = bright ? e[i] - t[i] : t[i] - e[i];
        naive::grid s = naive::literal_watershed(t, w, h, conn == 4 ? 4 : 8, false);
        for (int& v : s)
            v = v != 0;
        out.push_back(s);
    }
    return out;
}

// The same with uniform leading and trailing rows of the first pixel's value
// trimmed and placed back: the leading ones a region closed by a line next
// to the content, the trailing ones one closed by the content's last row.
std::vector<naive::grid> defined_partition(const naive::grid& g, int w, int h, int mode,
                                           int nscales, unsigned flags, int conn)
{
    const auto uniform = [&](int y) {
        return std::all_of(g.begin() + y * w, g.begin() + (y + 1) * w,
                           [&](int v) { return v == g[0]; });
    };
    int top = 0;
    while (top < h && uniform(top))
        ++top;
    int bottom = 0;
    while (top < h && uniform(h - 1 - bottom))
        ++bottom;
    if (top == h)
        top = bottom = 0;
    const int content = h - top - bottom;
    const naive::grid inner(g.begin() + top * w, g.begin() + (top + content) * w);
    std::vector<naive::grid> out;
    for (naive::grid s : defined_content_partition(inner, w, content, mode, nscales, flags, conn)) {
        if (bottom > 0)
            std::fill(s.end() - w, s.end(), 0);
        naive::grid full(static_cast<size_t>(w) * h, 1);
        std::copy(s.begin(), s.end(), full.begin() + top * w);
        if (top > 0)
            std::fill(full.begin() + (top - 1) * w, full.begin() + top * w, 0);
        out.push_back(full);
    }
    return out;
}

// Every polarity, flag and depth, with 4 and 8 neighbours, on images down to one and two pixels
// wide and with uniform rows to trim, with one worker and with several.
TEST(Partition, MatchesItsDefinitionWithAnyNumberOfWorkers)
{
    std::mt19937 rng(41);
    const int saved = get_tree_workers();
    const int shapes[][2] = {{1, 6}, {2, 7}, {6, 3}, {3, 5}, {23, 17}};
    for (const auto& shape : shapes) {
        const int w = shape[0], h = shape[1];
        // 8 and 16 bit, and values too far apart for tables of levels.
        for (const int top : {255, 65535, 0}) {
            naive::grid g = naive::random_image(rng, w, h, top == 0 ? 255 : top);
            if (top == 0)
                for (int& v : g)
                    v = v * 8000000 - 1000000000;
            // Rows to trim above and below: two of the first pixel's value.
            std::fill(g.begin(), g.begin() + w, 7);
            std::fill(g.end() - w, g.end(), 7);
            for (const int mode : {1, 2}) {
                for (unsigned flags = 0; flags < 8; ++flags) {
                    const int conn = flags % 2 == 0 ? 8 : 4;
                    const int nscales = flags & MMS_GROWING_TEMPLATE ? 2 : 4;
                    const auto expected = defined_partition(g, w, h, mode, nscales, flags, conn);
                    for (const int workers : {1, 3}) {
                        set_tree_workers(workers);
                        EXPECT_EQ(partition(g, w, h, mode, nscales, flags, conn), expected)
                            << w << "x" << h << " top " << top << " mode " << mode << " flags "
                            << flags << " workers " << workers;
                    }
                }
            }
        }
    }
    set_tree_workers(saved);
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

TEST(Partition, ProgressReportsKindAndEachFinishedScaleInOrderOnTheCallingThread)
{
    std::mt19937 rng(9);
    const naive::grid g = naive::random_image(rng, 16, 16, 255);
    const vx_image_handle src(source_of(g, 16, 16));
    const int saved = get_tree_workers();
    for (const int mode : {1, 2}) {
        set_tree_workers(mode == 1 ? 1 : 4);
        const vx_image_handle with(init_vx_image(16, 16, 4));
        const vx_image_handle without(init_vx_image(16, 16, 4));
        std::vector<std::pair<int, int>> calls;
        functions tmpl = unit_disk_template;
        static std::thread::id caller;
        caller = std::this_thread::get_id();
        const auto record = [](int kind, int step, void* context) {
            EXPECT_EQ(std::this_thread::get_id(), caller);
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
    set_tree_workers(saved);
}

TEST(Partition, GrowingTemplateLeavesTheCallersRadiusAlone)
{
    std::mt19937 rng(13);
    const naive::grid g = naive::random_image(rng, 20, 14, 255);
    const vx_image_handle src(source_of(g, 20, 14));
    const vx_image_handle dst(init_vx_image(20, 14, 5));
    functions tmpl = unit_disk_template;
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
    functions tmpl = unit_disk_template;
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
    functions tmpl = unit_disk_template;
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
