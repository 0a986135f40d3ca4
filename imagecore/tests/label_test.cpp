#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "imagecore/handles.h"
#include "imagecore/image.h"
#include "imagecore/image_arith.h"
#include "imagecore/label.h"
#include "imagecore/queue.h"
#include "testsupport/vx_test.h"

namespace {

// Builds an image from rows of characters: '.' is 0, a digit its value,
// any other character 1.
image* from_rows(const std::vector<std::string>& rows)
{
    const int h = static_cast<int>(rows.size());
    const int w = static_cast<int>(rows[0].size());
    image* img = create_image(w, h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const char c = rows[y][x];
            img->pixels[y * w + x] = c == '.' ? 0 : (c >= '0' && c <= '9' ? c - '0' : 1);
        }
    return img;
}

std::vector<int> pixels_of(const image* img)
{
    return std::vector<int>(img->pixels, img->pixels + img->width * img->height);
}

}  // namespace

TEST(Label, ComponentsInRasterOrderWithFourAndEightNeighbours)
{
    const std::vector<std::string> rows = {
        "..#..#",
        ".#...#",
        "......",
        "##..#.",
    };
    const image_handle img(from_rows(rows));
    img->label_queue = init_iqueue(img->width * img->height);
    EXPECT_EQ(label_image_local(img.get(), 4), 6);
    EXPECT_EQ(pixels_of(img.get()), (std::vector<int>{0, 0, 1, 0, 0, 2,  //
                                                      0, 3, 0, 0, 0, 2,  //
                                                      0, 0, 0, 0, 0, 0,  //
                                                      4, 4, 0, 0, 5, 0}));
    // Labelling again sees the labels as foreground; 8-neighbours join the
    // diagonal pair.
    EXPECT_EQ(label_image_local(img.get(), 8), 5);
    EXPECT_EQ(img->pixels[2], 1);
    EXPECT_EQ(img->pixels[7], 1);
    EXPECT_EQ(img->pixels[5], 2);
    EXPECT_EQ(img->pixels[18], 3);
    EXPECT_EQ(img->pixels[22], 4);
    delete_iqueue(img->label_queue);
}

TEST(Label, WorksWithoutAnAttachedOrSystemQueue)
{
    ASSERT_EQ(ptSystemQueue, nullptr);
    const image_handle img(from_rows({"#.#", "...", "#.#"}));
    EXPECT_EQ(label_image(img.get(), 8), 5);
    EXPECT_EQ(img->pixels[8], 4);
    binarize_image(img.get(), 1);
    EXPECT_EQ(label_image_local(img.get(), 4), 5);
}

TEST(Label, IterateReportsSeedAlreadyLabelled)
{
    const image_handle img(from_rows({"22.", "2.2"}));
    EXPECT_EQ(label_queued(img.get(), nullptr, 4, 2, 0, 0), -1);
    EXPECT_EQ(label_queued(img.get(), nullptr, 4, 7, 2, 0), 3);
    EXPECT_EQ(pixels_of(img.get()), (std::vector<int>{7, 7, 0, 7, 0, 2}));
    EXPECT_EQ(label_queued(img.get(), nullptr, 4, 7, 2, 99), 0);
}

TEST(Label, NarrowImagesKeepTheirColumnsApart)
{
    const image_handle column(from_rows({"#", "#", ".", "#"}));
    EXPECT_EQ(label_image(column.get(), 4), 3);
    EXPECT_EQ(pixels_of(column.get()), (std::vector<int>{1, 1, 0, 2}));

    // At width 2 a row end must not reach the next row's start.
    const image_handle two(from_rows({".#", "#.", ".#"}));
    EXPECT_EQ(label_image(two.get(), 4), 4);
    EXPECT_EQ(pixels_of(two.get()), (std::vector<int>{0, 1, 2, 0, 0, 3}));
    EXPECT_EQ(label_image(two.get(), 8), 2);
}

TEST(Label, LargeComponentsNeedNoDeepStackAndNoBigQueue)
{
    const int side = 2000;
    const image_handle img(create_image(side, side, 1));
    // A one-pixel serpentine keeps the component long and the queue short.
    for (int y = 1; y < side; y += 2)
        for (int x = 0; x < side; ++x)
            if (x != ((y / 2) % 2 == 0 ? side - 1 : 0))
                img->pixels[y * side + x] = 0;
    img->label_queue = init_iqueue(16);
    EXPECT_EQ(label_image_local(img.get(), 4), 2);
    EXPECT_EQ(img->pixels[(side - 2) * side + 5], 1);
    delete_iqueue(img->label_queue);

    label(img->pixels, img->nb_offsets, 4, 5, 1, 0, side, side);
    EXPECT_EQ(img->pixels[(side - 1) * side], 5);

    erase_image(img.get(), 3);
    fill_iterate(img->pixels, img->nb_offsets, 8, 9, side * side / 2, side, side);
    EXPECT_EQ(img->pixels[0], 9);
    EXPECT_EQ(img->pixels[side * side - 1], 9);

    const iqueue_handle small(init_iqueue(4));
    EXPECT_EQ(
        label_iterate_local(img->pixels, img->nb_offsets, 4, 2, 9, 0, side, side, small.get()),
        side * side);
}

TEST(Label, FillStopsAtTheValueAndNotAtOtherPixels)
{
    const std::vector<std::string> diamond = {
        "..5..", ".5.5.", "5.2.5", ".5.5.", "..5..",
    };
    image* img = from_rows(diamond);
    fill_iterate_local(img, 4, 5, 0, nullptr);
    EXPECT_EQ(img->pixels[1], 5);
    EXPECT_EQ(img->pixels[12], 2);
    fill_iterate_local(img, 4, 5, 12, nullptr);
    EXPECT_EQ(img->pixels[12], 5);
    EXPECT_EQ(img->pixels[7], 5);
    EXPECT_EQ(img->pixels[4], 0);
    // A seed on the wall itself fills nothing.
    fill_iterate_local(img, 4, 5, 2, nullptr);
    EXPECT_EQ(img->pixels[4], 0);
    delete_image(img);

    // Eight neighbours pass between diagonal wall pixels.
    img = from_rows(diamond);
    fill_iterate_local(img, 8, 5, 0, nullptr);
    EXPECT_EQ(img->pixels[12], 5);
    EXPECT_EQ(img->pixels[24], 5);
    delete_image(img);
}

TEST(Label, CoverageRelabelsForegroundByCoveringRegions)
{
    image* labels = from_rows({
        "1122.",
        "1122.",
        "..33.",
        "4....",
    });
    image* img = from_rows({
        "#..#.",
        "...##",
        "#....",
        "...##",
    });
    int* table = coverage_label_image(labels, img, 4, 5);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table[1], 1);
    EXPECT_EQ(table[2], 2);
    EXPECT_EQ(table[3], 0);
    EXPECT_EQ(table[4], 0);
    EXPECT_EQ(pixels_of(img), (std::vector<int>{1,  0, 0, 2,  0,  //
                                                0,  0, 0, 2,  2,  //
                                                -1, 0, 0, 0,  0,  //
                                                0,  0, 0, -1, -1}));
    EXPECT_EQ(labels->pixels[0], 1);
    EXPECT_EQ(labels->pixels[12], 3);
    std::free(table);

    const image_handle other(create_image(4, 4, 0));
    EXPECT_EQ(coverage_label_image(labels, other.get(), 4, 5), nullptr);
    delete_image(img);
    delete_image(labels);
}

// Labelling in two raster passes gives the labels of one flood per
// component, started from the components' first pixels in raster order.
TEST(Label, ComponentsAreNumberedAsFloodsFromTheirFirstPixels)
{
    std::mt19937 rng(5);
    const int shapes[][2] = {{1, 9}, {9, 1}, {2, 7}, {31, 23}, {64, 40}};
    for (const auto& s : shapes) {
        for (const int percent : {20, 50, 80}) {
            for (const int n : {4, 8}) {
                const image_handle img(create_image(s[0], s[1], 0));
                const int count = s[0] * s[1];
                for (int i = 0; i < count; ++i)
                    img->pixels[i] = static_cast<int>(rng() % 100) < percent ? 1 + i % 3 : 0;
                const image_handle flooded(create_copy_image(img.get()));
                int offsets[8];
                set_nb_offsets(offsets, s[0]);
                for (int i = 0; i < count; ++i)
                    if (flooded->pixels[i] != 0)
                        flooded->pixels[i] = -1;
                int next = 1;
                for (int i = 0; i < count; ++i)
                    if (flooded->pixels[i] == -1)
                        label_iterate_local(flooded->pixels, offsets, n, next++, -1, i, s[0], s[1],
                                            nullptr);
                EXPECT_EQ(label_image_local(img.get(), n), next);
                EXPECT_EQ(std::vector<int>(img->pixels, img->pixels + count),
                          std::vector<int>(flooded->pixels, flooded->pixels + count))
                    << s[0] << "x" << s[1] << " " << percent << "% n " << n;
            }
        }
    }
}
