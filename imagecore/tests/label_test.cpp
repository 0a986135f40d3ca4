#include <cstdlib>
#include <string>
#include <vector>

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
    image* img = from_rows(rows);
    img->label_queue = init_iqueue(img->width * img->height);
    EXPECT_EQ(label_image_local(img, 4), 6);
    EXPECT_EQ(pixels_of(img), (std::vector<int>{0, 0, 1, 0, 0, 2,  //
                                                0, 3, 0, 0, 0, 2,  //
                                                0, 0, 0, 0, 0, 0,  //
                                                4, 4, 0, 0, 5, 0}));
    // Labelling again sees the labels as foreground; 8-neighbours join the
    // diagonal pair.
    EXPECT_EQ(label_image_local(img, 8), 5);
    EXPECT_EQ(img->pixels[2], 1);
    EXPECT_EQ(img->pixels[7], 1);
    EXPECT_EQ(img->pixels[5], 2);
    EXPECT_EQ(img->pixels[18], 3);
    EXPECT_EQ(img->pixels[22], 4);
    delete_iqueue(img->label_queue);
    delete_image(img);
}

TEST(Label, WorksWithoutAnAttachedOrSystemQueue)
{
    ASSERT_EQ(ptSystemQueue, nullptr);
    image* img = from_rows({"#.#", "...", "#.#"});
    EXPECT_EQ(label_image(img, 8), 5);
    EXPECT_EQ(img->pixels[8], 4);
    binarize_image(img, 1);
    EXPECT_EQ(label_image_local(img, 4), 5);
    delete_image(img);
}

TEST(Label, IterateReportsSeedAlreadyLabelled)
{
    image* img = from_rows({"22.", "2.2"});
    EXPECT_EQ(label_queued(img, nullptr, 4, 2, 0, 0), -1);
    EXPECT_EQ(label_queued(img, nullptr, 4, 7, 2, 0), 3);
    EXPECT_EQ(pixels_of(img), (std::vector<int>{7, 7, 0, 7, 0, 2}));
    EXPECT_EQ(label_queued(img, nullptr, 4, 7, 2, 99), 0);
    delete_image(img);
}
