#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "imagecore/files/image_loader.h"
#include "imagecore/handles.h"
#include "testsupport/vx_test.h"

namespace {

// Writes a PNG of any layout through libpng; `samples` are the packed row
// bytes as libpng expects them.
void write_test_png(const std::string& path, int width, int height, int colour_type, int depth,
                    const std::vector<unsigned char>& samples,
                    const std::vector<png_color>& palette = {})
{
    FILE* f = std::fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                 depth, colour_type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    png_write_info(png, info);
    const size_t row_bytes = samples.size() / static_cast<size_t>(height);
    for (int y = 0; y < height; ++y)
        png_write_row(png, samples.data() + row_bytes * static_cast<size_t>(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
}

image* load(const std::string& path, int expected_result = 0)
{
    image* img = nullptr;
    EXPECT_EQ(loadPNG(path.c_str(), &img), expected_result) << path;
    return img;
}

int rgb(int r, int g, int b)
{
    return r + g * 256 + b * 65536;
}

}  // namespace

TEST(Png, ReadsEveryColourLayout)
{
    vx_test::TempDir dir;
    const std::string path = dir.file("in.png");

    write_test_png(path, 2, 1, PNG_COLOR_TYPE_RGBA, 8, {10, 20, 30, 255, 1, 2, 3, 0});
    image* img = load(path);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(img->kind, IMAGE_RGB);
    EXPECT_EQ(img->pixels[0], rgb(10, 20, 30));
    EXPECT_EQ(img->pixels[1], rgb(1, 2, 3));
    delete_image(img);

    write_test_png(path, 2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {7, 100, 250, 0});
    img = load(path);
    EXPECT_EQ(img->kind, IMAGE_GREY);
    EXPECT_EQ(img->pixels[0], 7);
    EXPECT_EQ(img->pixels[1], 250);
    delete_image(img);

    // 16-bit samples keep their high byte.
    write_test_png(path, 1, 2, PNG_COLOR_TYPE_GRAY, 16, {0x12, 0x34, 0xFF, 0x01});
    img = load(path);
    EXPECT_EQ(img->pixels[0], 0x12);
    EXPECT_EQ(img->pixels[1], 0xFF);
    delete_image(img);

    write_test_png(path, 1, 1, PNG_COLOR_TYPE_RGB, 16, {1, 0, 2, 0, 3, 0});
    img = load(path);
    EXPECT_EQ(img->pixels[0], rgb(1, 2, 3));
    delete_image(img);

    // Sub-8-bit grey is scaled to 0..255, not left as raw indices or zeros.
    write_test_png(path, 4, 1, PNG_COLOR_TYPE_GRAY, 2, {0x1B});
    img = load(path);
    EXPECT_EQ(img->pixels[0], 0);
    EXPECT_EQ(img->pixels[1], 85);
    EXPECT_EQ(img->pixels[2], 170);
    EXPECT_EQ(img->pixels[3], 255);
    delete_image(img);

    // A 1-bit palette image becomes its palette colours.
    write_test_png(path, 3, 1, PNG_COLOR_TYPE_PALETTE, 1, {0xA0}, {{200, 0, 5}, {1, 2, 3}});
    img = load(path);
    EXPECT_EQ(img->kind, IMAGE_RGB);
    EXPECT_EQ(img->pixels[0], rgb(1, 2, 3));
    EXPECT_EQ(img->pixels[1], rgb(200, 0, 5));
    EXPECT_EQ(img->pixels[2], rgb(1, 2, 3));
    delete_image(img);
}

TEST(Png, WritersRoundTrip)
{
    vx_test::TempDir dir;
    const std::string path = dir.file("out.png");
    const image_handle img(create_image(3, 2, 0));
    const int colours[6] = {rgb(10, 20, 30), rgb(255, 255, 255), 0,
                            rgb(1, 0, 0),    rgb(0, 1, 0),       rgb(0, 0, 1)};
    for (int i = 0; i < 6; ++i)
        img->pixels[i] = colours[i];
    ASSERT_EQ(writePNGRaw(path.c_str(), img.get()), 0);
    image* back = load(path);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->kind, IMAGE_RGB);
    EXPECT_TRUE(compare_images(img.get(), back));
    delete_image(back);

    const int palette[3] = {rgb(9, 8, 7), rgb(6, 5, 4), rgb(3, 2, 1)};
    const image_handle indices(create_image(3, 1, 0));
    indices->pixels[0] = 2;
    indices->pixels[1] = 0;
    indices->pixels[2] = 1;
    ASSERT_EQ(writePNGPaletted(path.c_str(), indices.get(), palette), 0);
    back = load(path);
    EXPECT_EQ(back->pixels[0], palette[2]);
    EXPECT_EQ(back->pixels[1], palette[0]);
    EXPECT_EQ(back->pixels[2], palette[1]);
    delete_image(back);

    // Grey output clamps values outside 0..255.
    indices->pixels[0] = -5;
    indices->pixels[1] = 128;
    indices->pixels[2] = 1000;
    ASSERT_EQ(writePNGgrey(path.c_str(), indices.get()), 0);
    back = load(path);
    EXPECT_EQ(back->pixels[0], 0);
    EXPECT_EQ(back->pixels[1], rgb(128, 128, 128));
    EXPECT_EQ(back->pixels[2], rgb(255, 255, 255));
    delete_image(back);
}

TEST(Png, FailuresAreReportedNotLoaded)
{
    vx_test::TempDir dir;
    const std::string path = dir.file("bad.png");

    vx_test::write_file(path, "just some text, no picture at all\n");
    EXPECT_EQ(load(path, 21), nullptr);
    EXPECT_EQ(load(dir.file("missing.png"), 42), nullptr);

    std::vector<unsigned char> samples(64 * 64 * 3);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<unsigned char>(i * 7919 >> 3);
    write_test_png(path, 64, 64, PNG_COLOR_TYPE_RGB, 8, samples);
    const std::string whole = vx_test::read_file(path);
    for (size_t cut : {size_t{8}, size_t{20}, size_t{40}, whole.size() / 2, whole.size() - 13}) {
        vx_test::write_file(path, whole.substr(0, cut));
        EXPECT_EQ(load(path, 42), nullptr) << cut;
    }

    // A header claiming 60000 x 30000 pixels in a file of a few bytes.
    std::string huge = whole.substr(0, 33);
    huge[16] = 0, huge[17] = 0, huge[18] = '\xEA', huge[19] = '\x60';
    huge[20] = 0, huge[21] = 0, huge[22] = '\x75', huge[23] = '\x30';
    const unsigned long crc =
        crc32(0, reinterpret_cast<const unsigned char*>(huge.data()) + 12, 17);
    for (int k = 0; k < 4; ++k)
        huge[29 + k] = static_cast<char>(crc >> (24 - 8 * k));
    vx_test::write_file(path, huge + whole.substr(33));
    EXPECT_EQ(load(path, 42), nullptr);

    const image_handle empty(create_image(0, 3, 0));
    EXPECT_EQ(writePNGRaw(dir.file("empty.png").c_str(), empty.get()), 42);
    const image_handle one(create_image(1, 1, 0));
    EXPECT_EQ(writePNGRaw(dir.file("no/such/dir.png").c_str(), one.get()), 42);
}
