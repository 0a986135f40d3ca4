#include <climits>
#include <cstdlib>
#include <vector>

#include "imagecore/handles.h"
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
    const image_handle img(image_of(3, 2, {0, 3, -2, 7, 0, 1}));
    binarize_image(img.get(), 1);
    EXPECT_EQ(pixels_of(img.get()), (std::vector<int>{0, 1, 1, 1, 0, 1}));

    const image_handle t(image_of(4, 1, {1, 5, 9, 5}));
    gt(t.get(), 5, 2);
    EXPECT_EQ(pixels_of(t.get()), (std::vector<int>{0, 0, 2, 0}));
    erase_image(t.get(), 0);
    t->pixels[0] = -1;
    lt(t.get(), 0, 8);
    EXPECT_EQ(pixels_of(t.get()), (std::vector<int>{8, 0, 0, 0}));
}

TEST(ImageOps, ArithmeticWrapsAndMismatchedSizesAreRefused)
{
    const image_handle a(image_of(2, 2, {1, 2, 3, INT_MAX}));
    const image_handle b(image_of(2, 2, {4, 5, 6, 1}));
    image_add(a.get(), b.get(), 2);
    EXPECT_EQ(pixels_of(a.get()), (std::vector<int>{9, 12, 15, INT_MIN + 1}));
    image_multiply(a.get(), b.get(), -1);
    EXPECT_EQ(pixels_of(a.get()), (std::vector<int>{-36, -60, -90, INT_MAX}));
    image_add_const(a.get(), 1);
    image_multiply_const(a.get(), 2);
    EXPECT_EQ(a->pixels[0], -70);
    invert_image(a.get());
    EXPECT_EQ(a->pixels[0], 70);

    const image_handle wide(create_image(4, 1, 1));
    image_add(a.get(), wide.get(), 1);
    EXPECT_EQ(a->pixels[0], 70);
    EXPECT_EQ(binarizedMerge(a.get(), wide.get(), 1), nullptr);

    erase_image(a.get(), 0);
    b->pixels[1] = 0;
    a->pixels[1] = 0;
    a->pixels[2] = -4;
    const image_handle merged(binarizedMerge(a.get(), b.get(), 9));
    EXPECT_EQ(pixels_of(merged.get()), (std::vector<int>{9, 0, 9, 9}));
    EXPECT_EQ(merged->min, 0);
    EXPECT_EQ(merged->max, 9);
}

TEST(ImageOps, RgbMeanBecomesGrey)
{
    const image_handle img(
        image_of(2, 1, {10 + 20 * 256 + 33 * 65536, 255 + 255 * 256 + 255 * 65536}));
    img->kind = IMAGE_RGB;
    MeanRGB2Grey(img.get());
    EXPECT_EQ(pixels_of(img.get()), (std::vector<int>{21, 255}));
    EXPECT_EQ(img->kind, IMAGE_GREY);
}

TEST(ImageOps, BoundedCopiesRoundTrip)
{
    const image_handle small(image_of(2, 2, {1, 2, 3, 4}));
    const image_handle large(create_image(4, 5, 0));
    copy_image_bounded_in(small.get(), large.get(), 7);
    EXPECT_EQ(pixels_of(large.get()), (std::vector<int>{0, 0, 0, 0,  //
                                                        7, 1, 2, 7,  //
                                                        7, 3, 4, 7,  //
                                                        0, 0, 0, 0,  //
                                                        0, 0, 0, 0}));
    const image_handle back(create_image(2, 2, 0));
    copy_image_bounded_out(large.get(), back.get());
    EXPECT_EQ(compare_images(back.get(), small.get()), 1);

    // No room for the leading column: nothing is written.
    const image_handle tight(create_image(2, 2, 0));
    copy_image_bounded_in(small.get(), tight.get(), 7);
    EXPECT_EQ(pixels_of(tight.get()), (std::vector<int>{0, 0, 0, 0}));
}

TEST(ImageOps, CopyIntoKeepsAuxAndItsLengthTogether)
{
    const image_handle src(image_of(2, 2, {1, 2, 3, 4}));
    src->aux = static_cast<int*>(std::calloc(3, sizeof(int)));
    src->aux_len = 3;
    src->aux[2] = 42;
    const image_handle dst(create_image(3, 2, 0));
    copy_image_into(dst.get(), src.get());
    EXPECT_EQ(pixels_of(dst.get()), (std::vector<int>{1, 2, 3, 4, 0, 0}));
    ASSERT_EQ(dst->aux_len, 3);
    ASSERT_NE(dst->aux, src->aux);
    EXPECT_EQ(dst->aux[2], 42);

    const image_handle smaller(create_image(1, 2, 5));
    copy_image_into(smaller.get(), src.get());
    EXPECT_EQ(smaller->pixels[0], 5);
}

TEST(ImageOps, ScaleAndCrop)
{
    const image_handle img(image_of(3, 2, {1, 2, 3, 4, 5, 6}));
    const image_handle big(scale_image(img.get(), 2.0));
    ASSERT_EQ(big->width, 6);
    ASSERT_EQ(big->height, 4);
    EXPECT_EQ(big->pixels[0 * 6 + 1], 1);
    EXPECT_EQ(big->pixels[3 * 6 + 5], 6);
    EXPECT_EQ(big->max, 6);
    const image_handle half(scale_image(img.get(), 0.5));
    ASSERT_EQ(half->width, 1);
    ASSERT_EQ(half->height, 1);
    EXPECT_EQ(half->pixels[0], 1);
    EXPECT_EQ(scale_image(img.get(), 0.0), nullptr);
    EXPECT_EQ(scale_image(img.get(), -1.0), nullptr);
    EXPECT_EQ(scale_image(img.get(), 1e12), nullptr);

    const image_handle crop(crop_image(img.get(), 1, -4, 99, 1));
    ASSERT_EQ(crop->width, 2);
    ASSERT_EQ(crop->height, 1);
    EXPECT_EQ(pixels_of(crop.get()), (std::vector<int>{2, 3}));
    EXPECT_EQ(crop_image(img.get(), 2, 0, INT_MIN, 2), nullptr);
    EXPECT_EQ(crop_image(img.get(), 1, 1, 3, 1), nullptr);
    EXPECT_EQ(crop_image(img.get(), 5, 0, 9, 2), nullptr);
    // Factors that leave a side below one pixel give no image.
    EXPECT_EQ(scale_image(img.get(), 0.4), nullptr);
    const image_handle row(create_image(8, 1, 3));
    EXPECT_EQ(scale_image(row.get(), 0.5), nullptr);
}
