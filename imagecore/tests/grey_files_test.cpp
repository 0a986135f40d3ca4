#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "imagecore/files/bg16.h"
#include "imagecore/files/image_loader.h"
#include "imagecore/files/pgm.h"
#include "imagecore/handles.h"
#include "testsupport/full_disk.h"
#include "testsupport/vx_test.h"

namespace {

image* image_of(int width, int height, std::initializer_list<int> values)
{
    image* img = create_image(width, height, 0);
    int i = 0;
    for (int v : values)
        img->pixels[i++] = v;
    return img;
}

std::string bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}

}  // namespace

TEST(Bg16, WritesExactBytesAndReadsThemBack)
{
    vx_test::TempDir dir;
    const std::string path = dir.file("a.16bg");
    const image_handle img(image_of(2, 1, {-1, 300}));
    ASSERT_EQ(write16BitGreyPGM(path.c_str(), img.get()), 0);
    EXPECT_EQ(vx_test::read_file(path),
              "16BG" + bytes({2, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0x2C, 0x01}));

    image* back = nullptr;
    ASSERT_EQ(load16BitGreyPGM(path.c_str(), &back), 0);
    EXPECT_EQ(back->kind, IMAGE_GREY16);
    EXPECT_TRUE(compare_images(img.get(), back));
    EXPECT_EQ(back->min, -1);
    EXPECT_EQ(back->max, 300);
    delete_image(back);
}

TEST(Bg16, RefusesDamagedFiles)
{
    vx_test::TempDir dir;
    const std::string header = "16BG" + bytes({2, 0, 0, 0, 2, 0, 0, 0});
    const struct {
        const char* what;
        std::string content;
    } cases[] = {
        {"wrong magic", "P5\n2 1\n255\nab"},
        {"empty", ""},
        {"header cut", "16BG" + bytes({2, 0, 0})},
        {"pixels cut", header + bytes({1, 0, 2, 0, 3, 0})},
        {"zero width", "16BG" + bytes({0, 0, 0, 0, 1, 0, 0, 0})},
        {"negative height", "16BG" + bytes({1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0})},
        {"overflowing size", "16BG" + bytes({0, 0, 1, 0, 0, 0, 1, 0, 0, 0})},
    };
    for (const auto& c : cases) {
        const std::string path = dir.file("bad.16bg");
        vx_test::write_file(path, c.content);
        image sentinel{};
        image* img = &sentinel;
        EXPECT_EQ(load16BitGreyPGM(path.c_str(), &img), 1) << c.what;
        EXPECT_EQ(img, nullptr) << c.what;
    }
    EXPECT_VX_FATAL(
        {
            image* img = nullptr;
            load16BitGreyPGM(dir.file("missing").c_str(), &img);
        },
        10, "Could not open file .*missing\nBAILING OOUT!");
}

TEST(Pgm, P5WriteScalesToFullRangeAndReadsBack)
{
    vx_test::TempDir dir;
    const std::string path = dir.file("a.pgm");
    const image_handle img(image_of(3, 1, {-10, 0, 10}));
    ASSERT_EQ(write_pgm_p5(path.c_str(), img.get()), 0);
    EXPECT_EQ(vx_test::read_file(path), "P5\n3 1\n255\n" + bytes({0, 127, 255}));

    int* pixels = nullptr;
    int w = 0, h = 0;
    ASSERT_EQ(read_pgm_p5(path.c_str(), &pixels, &w, &h), 0);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 1);
    EXPECT_EQ(pixels[0], 0);
    EXPECT_EQ(pixels[1], 127);
    EXPECT_EQ(pixels[2], 255);
    std::free(pixels);

    erase_image(img.get(), 77);
    ASSERT_EQ(write_pgm_p5(path.c_str(), img.get()), 0);
    EXPECT_EQ(vx_test::read_file(path), "P5\n3 1\n255\n" + bytes({0, 0, 0}));
}

TEST(Pgm, P5ReaderAcceptsCommentsAndBuildsOneScaleImage)
{
    vx_test::TempDir dir;
    const std::string path = dir.file("c.pgm");
    vx_test::write_file(path, "P5 # made by hand\n2\t2 # size\n200\n" + bytes({1, 2, 200, 4}));
    const vx_image_handle v(read_vx_image_pgm_p5(path.c_str()));
    ASSERT_NE(v.get(), nullptr);
    EXPECT_EQ(v->nscales, 1);
    EXPECT_EQ(v->flag, 0);
    EXPECT_EQ(v->width, 2);
    EXPECT_EQ(v->scales[0].height, 2);
    EXPECT_EQ(v->scales[0].pixels[2], 200);
    EXPECT_EQ(v->scales[0].max, 200);
    EXPECT_EQ(read_vx_image_pgm_p5(dir.file("missing").c_str()), nullptr);
}

TEST(Pgm, P5ReaderEndsOnMalformedFiles)
{
    vx_test::TempDir dir;
    const std::string path = dir.file("bad.pgm");
    auto read = [&](const std::string& content) {
        vx_test::write_file(path, content);
        int* pixels = nullptr;
        int w = 0, h = 0;
        read_pgm_p5(path.c_str(), &pixels, &w, &h);
    };
    EXPECT_VX_FATAL(read("P2\n1 1\n255\n1"), 19,
                    "No PGM P5 imagefile.  Cannot read format. Bailing out");
    EXPECT_VX_FATAL(read("P5\n1 1\n65535\n\1\1"), 19, "Only reading 256 Bit images");
    EXPECT_VX_FATAL(read("P5\n4 4\n255\nabc"), 19, "damaged or truncated");
    EXPECT_VX_FATAL(read("P5\n-4 4\n255\nabc"), 19, "damaged or truncated");
    EXPECT_VX_FATAL(read("P5\n99999999999 1\n255\n"), 19, "damaged or truncated");
    EXPECT_VX_FATAL(read("P5\n65536 65536\n255\n"), 19, "damaged or truncated");
    EXPECT_VX_FATAL(read("P5\n0 5\n255\n"), 19, "damaged or truncated");
}

TEST(Pgm, P3WritesPaletteColoursOnOneLine)
{
    vx_test::TempDir dir;
    const std::string path = dir.file("a.ppm");
    const image_handle img(image_of(2, 1, {1, 0}));
    const int palette[2] = {0, 10 + 200 * 256 + 3 * 65536};
    ASSERT_EQ(write_pgm_p3(path.c_str(), img.get(), palette), 0);
    EXPECT_EQ(vx_test::read_file(path), "P3\n2 1\n255\n10 200 3 0 0 0 ");
}

TEST(ImageWriters, AWriteThatFailsLeavesTheOlderImageWholeAndSaysSo)
{
    vx_test::TempDir dir;
    // Grey noise, which no writer packs into the kilobyte a file may have.
    const image_handle img(create_image(40, 30, 0));
    std::vector<int> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[static_cast<size_t>(i)] = i * 65793;
    unsigned seed = 12345;
    for (int i = 0; i < 40 * 30; ++i) {
        seed = seed * 1103515245u + 12345u;
        img->pixels[i] = static_cast<int>(seed >> 16 & 255u);
    }
    const std::string older = "an older image that must stay whole";
    struct writer {
        const char* name;
        int failed;  // what the writer returns when the file cannot be written
        std::function<int(const char*)> write;
    };
    const writer writers[] = {
        {"p5.pgm", -1, [&](const char* path) { return write_pgm_p5(path, img.get()); }},
        {"p3.pgm", -1,
         [&](const char* path) { return write_pgm_p3(path, img.get(), palette.data()); }},
        {"grey.16bg", -1, [&](const char* path) { return write16BitGreyPGM(path, img.get()); }},
        {"grey.png", 42, [&](const char* path) { return writePNGgrey(path, img.get()); }},
    };
    for (const writer& w : writers) {
        const std::string path = dir.file(w.name);
        vx_test::write_file(path, older);
        std::string printed;
        int result = 0;
        {
            const vx_test::FileSizeLimit full(1024);
            printed = vx_test::printed_by([&] { result = w.write(path.c_str()); });
        }
        EXPECT_EQ(result, w.failed) << w.name;
        EXPECT_NE(printed.find("Could not write file " + path), std::string::npos) << printed;
        EXPECT_EQ(vx_test::read_file(path), older) << w.name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 4)
        << "no temporary file is left";
}
