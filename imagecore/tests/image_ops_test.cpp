#include <climits>
#include <cstdlib>
#include <vector>

#include "imagecore/image.h"
#include "imagecore/image_arith.h"
#include "testsupport/vx_test.h"

namespace {

image* image_of(int width, int height, const std::vector<int>& values)
{
    image* img = create_image(width, height, 0);
    for (size_t i = 0; i < values.size(); ++i)
        img->pixels[i] = values[i];
    return img;
}

std::vector<int> pixels_of(const image* img)
{
    return std::vector<int>(img->pixels, img->pixels + img->width * img->height);
}

}  // namespace

TEST(ImageOps, BinarizeAndThresholds)
{
    image* img = image_of(3, 2, {0, 3, -2, 7, 0, 1});
    binarize_image(img, 1);
    EXPECT_EQ(pixels_of(img), (std::vector<int>{0, 1, 1, 1, 0, 1}));

    image* t = image_of(4, 1, {1, 5, 9, 5});
    gt(t, 5, 2);
    EXPECT_EQ(pixels_of(t), (std::vector<int>{0, 0, 2, 0}));
    erase_image(t, 0);
    t->pixels[0] = -1;
    lt(t, 0, 8);
    EXPECT_EQ(pixels_of(t), (std::vector<int>{8, 0, 0, 0}));
    delete_image(t);
    delete_image(img);
}

TEST(ImageOps, ArithmeticWrapsAndMismatchedSizesAreRefused)
{
    image* a = image_of(2, 2, {1, 2, 3, INT_MAX});
    image* b = image_of(2, 2, {4, 5, 6, 1});
    image_add(a, b, 2);
    EXPECT_EQ(pixels_of(a), (std::vector<int>{9, 12, 15, INT_MIN + 1}));
    image_multiply(a, b, -1);
    EXPECT_EQ(pixels_of(a), (std::vector<int>{-36, -60, -90, INT_MAX}));
    image_add_const(a, 1);
    image_multiply_const(a, 2);
    EXPECT_EQ(a->pixels[0], -70);
    invert_image(a);
    EXPECT_EQ(a->pixels[0], 70);

    image* wide = create_image(4, 1, 1);
    image_add(a, wide, 1);
    EXPECT_EQ(a->pixels[0], 70);
    EXPECT_EQ(binarizedMerge(a, wide, 1), nullptr);
    delete_image(wide);

    erase_image(a, 0);
    b->pixels[1] = 0;
    a->pixels[1] = 0;
    a->pixels[2] = -4;
    image* merged = binarizedMerge(a, b, 9);
    EXPECT_EQ(pixels_of(merged), (std::vector<int>{9, 0, 9, 9}));
    EXPECT_EQ(merged->min, 0);
    EXPECT_EQ(merged->max, 9);
    delete_image(merged);
    delete_image(b);
    delete_image(a);
}

TEST(ImageOps, RgbMeanBecomesGrey)
{
    image* img = image_of(2, 1, {10 + 20 * 256 + 33 * 65536, 255 + 255 * 256 + 255 * 65536});
    img->kind = IMAGE_RGB;
    MeanRGB2Grey(img);
    EXPECT_EQ(pixels_of(img), (std::vector<int>{21, 255}));
    EXPECT_EQ(img->kind, IMAGE_GREY);
    delete_image(img);
}

TEST(ImageOps, BoundedCopiesRoundTrip)
{
    image* small = image_of(2, 2, {1, 2, 3, 4});
    image* large = create_image(4, 5, 0);
    copy_image_bounded_in(small, large, 7);
    EXPECT_EQ(pixels_of(large), (std::vector<int>{0, 0, 0, 0,  //
                                                  7, 1, 2, 7,  //
                                                  7, 3, 4, 7,  //
                                                  0, 0, 0, 0,  //
                                                  0, 0, 0, 0}));
    image* back = create_image(2, 2, 0);
    copy_image_bounded_out(large, back);
    EXPECT_EQ(compare_images(back, small), 1);

    // No room for the leading column: nothing is written.
    image* tight = create_image(2, 2, 0);
    copy_image_bounded_in(small, tight, 7);
    EXPECT_EQ(pixels_of(tight), (std::vector<int>{0, 0, 0, 0}));
    delete_image(tight);
    delete_image(back);
    delete_image(large);
    delete_image(small);
}

TEST(ImageOps, CopyIntoKeepsAuxAndItsLengthTogether)
{
    image* src = image_of(2, 2, {1, 2, 3, 4});
    src->aux = static_cast<int*>(std::calloc(3, sizeof(int)));
    src->aux_len = 3;
    src->aux[2] = 42;
    image* dst = create_image(3, 2, 0);
    copy_image_into(dst, src);
    EXPECT_EQ(pixels_of(dst), (std::vector<int>{1, 2, 3, 4, 0, 0}));
    ASSERT_EQ(dst->aux_len, 3);
    ASSERT_NE(dst->aux, src->aux);
    EXPECT_EQ(dst->aux[2], 42);

    image* smaller = create_image(1, 2, 5);
    copy_image_into(smaller, src);
    EXPECT_EQ(smaller->pixels[0], 5);
    delete_image(smaller);
    delete_image(dst);
    delete_image(src);
}

TEST(ImageOps, ScaleAndCrop)
{
    image* img = image_of(3, 2, {1, 2, 3, 4, 5, 6});
    image* big = scale_image(img, 2.0);
    ASSERT_EQ(big->width, 6);
    ASSERT_EQ(big->height, 4);
    EXPECT_EQ(big->pixels[0 * 6 + 1], 1);
    EXPECT_EQ(big->pixels[3 * 6 + 5], 6);
    EXPECT_EQ(big->max, 6);
    image* half = scale_image(img, 0.5);
    ASSERT_EQ(half->width, 1);
    ASSERT_EQ(half->height, 1);
    EXPECT_EQ(half->pixels[0], 1);
    EXPECT_EQ(scale_image(img, 0.0), nullptr);
    EXPECT_EQ(scale_image(img, -1.0), nullptr);
    EXPECT_EQ(scale_image(img, 1e12), nullptr);

    image* crop = crop_image(img, 1, -4, 99, 1);
    ASSERT_EQ(crop->width, 2);
    ASSERT_EQ(crop->height, 1);
    EXPECT_EQ(pixels_of(crop), (std::vector<int>{2, 3}));
    EXPECT_EQ(crop_image(img, 2, 0, INT_MIN, 2), nullptr);
    EXPECT_EQ(crop_image(img, 1, 1, 3, 1), nullptr);
    EXPECT_EQ(crop_image(img, 5, 0, 9, 2), nullptr);
    // Factors that leave a side below one pixel give no image.
    EXPECT_EQ(scale_image(img, 0.4), nullptr);
    image* row = create_image(8, 1, 3);
    EXPECT_EQ(scale_image(row, 0.5), nullptr);
    delete_image(row);
    delete_image(crop);
    delete_image(half);
    delete_image(big);
    delete_image(img);
}
