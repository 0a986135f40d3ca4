#include <cmath>
#include <cstdlib>

#include "imagecore/grey_mapping.h"
#include "imagecore/handles.h"
#include "imagecore/palette.h"
#include "testsupport/vx_test.h"

namespace {

int rgb(int r, int g, int b)
{
    return r + g * 256 + b * 65536;
}

}  // namespace

TEST(Palette, ScrambledPalettesFollowTheirFormulas)
{
    int* p = initGreyColorScrambledPalette(300);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[255], 16777215);
    EXPECT_EQ(p[256], rgb(140, 6, 127));
    EXPECT_EQ(p[299],
              rgb((299 % 3) * 127 + 312 % 128, (302 * 301) % 128 + 127, ((299 * 299) & 127) + 127));
    // All n + 256 entries are label colours: labels at or above n show.
    const auto label = [](long long i) {
        return rgb(static_cast<int>((i % 3) * 127 + (i + 13) % 128),
                   static_cast<int>(((i + 3) * (i + 2)) % 128 + (i & 1) * 127),
                   static_cast<int>(((i * i) & 127) + 127));
    };
    EXPECT_EQ(p[300], label(300));
    EXPECT_EQ(p[555], label(555));
    std::free(p);

    p = initColorScrambledPalette(300);
    EXPECT_EQ(p[0], 0);
    // Signed remainder for 128 < i < 256: (-126 * 2) % 128 = -124.
    EXPECT_EQ(p[130],
              (130 % 3) * 127 + 143 % 128 + ((133 * 132) % 128) * 256 + (-124 + 127) * 65536);
    EXPECT_NE(p[309], 0);
    EXPECT_EQ(p[310], 0);
    std::free(p);

    // Large label counts stay defined (the products exceed int).
    p = initGreyColorScrambledPalette(50000);
    const long long i = 49999;
    EXPECT_EQ(p[49999], rgb(static_cast<int>((i % 3) * 127 + (i + 13) % 128),
                            static_cast<int>(((i + 3) * (i + 2)) % 128 + 127),
                            static_cast<int>(((i * i) & 127) + 127)));
    std::free(p);
    EXPECT_EQ(initGreyColorScrambledPalette(-1), nullptr);
    EXPECT_EQ(initColorScrambledPalette(2147483647), nullptr);
}

TEST(Palette, GreyConversionsOfColourImages)
{
    const image_handle img(create_image(3, 1, 0));
    img->kind = IMAGE_RGB;
    img->pixels[0] = rgb(90, 90, 90);
    img->pixels[1] = rgb(255, 0, 0);
    img->pixels[2] = rgb(10, 20, 60);
    const image_handle copy(create_copy_image(img.get()));
    convertGreyEuclidean(img.get());
    EXPECT_EQ(img->kind, IMAGE_GREY);
    EXPECT_EQ(img->pixels[0], 90);
    EXPECT_EQ(img->pixels[1], 147);
    EXPECT_EQ(img->pixels[2], static_cast<int>(std::sqrt(4100.0) / 443.40500673763256 * 256));
    convertGreyEuclidean(img.get());  // now grey: left alone
    EXPECT_EQ(img->pixels[1], 147);
    convertGreyNormalized(copy.get());
    EXPECT_EQ(copy->pixels[1], 85);
    EXPECT_EQ(copy->pixels[2], 30);
}

TEST(Palette, ColourSpaces)
{
    double a[3], b[3];
    HSV2RGB(a, 480, 0.5, 200);
    HSV2RGB(b, 120, 0.5, 200);
    for (int k = 0; k < 3; ++k)
        EXPECT_DOUBLE_EQ(a[k], b[k]);
    EXPECT_DOUBLE_EQ(b[0], 100);
    EXPECT_DOUBLE_EQ(b[1], 200);
    HSV2RGB(a, -60, 1, 1);
    EXPECT_DOUBLE_EQ(a[0], 1);
    EXPECT_DOUBLE_EQ(a[1], 0);
    EXPECT_DOUBLE_EQ(a[2], 1);

    double hsv[3];
    RGB2HSV(hsv, 0, 0.5, 1);
    EXPECT_DOUBLE_EQ(hsv[0], 210);
    EXPECT_DOUBLE_EQ(hsv[1], 1);
    EXPECT_DOUBLE_EQ(hsv[2], 1);
    RGB2HSV(hsv, 0, 0, 0);
    EXPECT_DOUBLE_EQ(hsv[1], 0);

    EXPECT_EQ(rgb2int(1, 0.5, 0), rgb(255, 127, 0));
}

TEST(Palette, BandsSplitMergeAndExport)
{
    image* packed = create_image(2, 1, 0);
    packed->pixels[0] = static_cast<int>(0xF0C08040u);
    packed->pixels[1] = rgb(1, 2, 3);
    image *r, *g, *b, *a;
    splitRGBAlpha2Bands(packed, &r, &g, &b, &a);
    EXPECT_EQ(r->pixels[0], 0x40);
    EXPECT_EQ(g->pixels[0], 0x80);
    EXPECT_EQ(b->pixels[0], 0xC0);
    EXPECT_EQ(a->pixels[0], 0xF0);
    EXPECT_EQ(a->pixels[1], 0);
    image* merged = nullptr;
    mergeRGBAlpha2Bands(r, g, b, a, &merged);
    ASSERT_NE(merged, nullptr);
    EXPECT_TRUE(compare_images(merged, packed));
    delete_image(merged);

    vx_test::TempDir dir;
    EXPECT_EQ(exportBands(dir.file("x").c_str(), r, g, b, a), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.file("x.AlphaBand.png")));

    image* small = create_image(1, 1, 0);
    mergeRGBAlpha2Bands(r, g, small, a, &merged);
    EXPECT_EQ(merged, nullptr);
    for (image* img : {packed, r, g, b, a, small})
        delete_image(img);
}

TEST(GreyMapping, LevelsStayInsideTheGreyRange)
{
    EXPECT_EQ(getLinearGrey256(0, 10, 5), 127);
    EXPECT_EQ(getLinearGrey256(0, 10, -1), 0);
    EXPECT_EQ(getLinearGrey256(0, 10, 10), 255);
    EXPECT_EQ(getLinearGrey256(0, 10, NAN), 0);
    EXPECT_EQ(getLogGrey256(0, 10, 5.9), 127);
    EXPECT_EQ(getSquareGrey256(0, 10, 5, 1000), 9);
    EXPECT_EQ(getSquareGrey256(0, 1e9, 9e8, 1), 255);
    EXPECT_EQ(getSquareGrey256(0, 10, 5, -3), 0);

    const double values[4] = {1, 2, 3, 5};
    int* linear = equalize_double_array_256(values, 4, 1, 0);
    EXPECT_EQ(linear[0], 0);
    EXPECT_EQ(linear[1], 63);
    EXPECT_EQ(linear[3], 255);
    std::free(linear);

    const double with_nonpositive[4] = {-1, 0, 1, std::exp(2.0)};
    int* logs = equalize_double_array_256(with_nonpositive, 4, 1, 2);
    EXPECT_EQ(logs[0], 0);
    EXPECT_EQ(logs[1], 0);
    EXPECT_EQ(logs[2], 0);
    // The log range starts at log(max - min + 1), above log(e^2) = 2.
    EXPECT_EQ(logs[3], static_cast<int>(2 / std::log(std::exp(2.0) + 2) * 255));
    std::free(logs);
    std::free(equalize_double_array_256(values, 0, 1, 1));
}
