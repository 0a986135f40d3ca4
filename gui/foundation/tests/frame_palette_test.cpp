#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "frame_test_support.h"
#include "gui/foundation/qimage_frame.h"
#include "imagecore/image.h"
#include "imagecore/palette.h"
#include "testsupport/vx_test.h"

namespace {

struct rgb {
    int r = -1, g = -1, b = -1;
    bool operator==(const rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

rgb entry(const qimage_frame& frame, int i)
{
    rgb c;
    frame.getColor(i, &c.r, &c.g, &c.b);
    return c;
}

constexpr rgb untouched{};

}  // namespace

TEST(FramePalettes, GreyValuePalettesHoldTheirBlocksInOrder)
{
    struct probe {
        int index;
        rgb colour;
    };
    const rgb white{255, 255, 255}, black{0, 0, 0}, cyan{0, 255, 255}, red{255, 0, 0},
        green{0, 255, 0}, blue{0, 0, 255};
    qimage_frame frame(2, 2, nullptr);
    const auto check = [&](std::initializer_list<probe> probes) {
        for (const probe& p : probes)
            EXPECT_EQ(entry(frame, p.index), p.colour) << p.index;
    };
    frame.createGreyValueDisplayPalette1();
    check({{255, white},
           {256, black},
           {511, cyan},
           {767, {255, 0, 255}},
           {1023, {255, 255, 0}},
           {1279, red},
           {1408, {0, 128, 0}},
           {1791, green},
           {1792, untouched},
           {-1, untouched}});
    frame.createGreyValueDisplayPalette2();
    check({{1279, blue}, {1535, red}, {1791, green}});
    frame.createGreyValueDisplayPalette3();
    check({{1279, blue}, {1792, untouched}});

    EXPECT_EQ(vx_test::printed_by([&] {
                  frame.createGreyValueDisplayPalette4();
              }).rfind("Clean Old Palette\nCreate new palette ", 0),
              0u);
    check({{255, white},
           {256, blue},
           {511, blue},
           {512, green},
           {768, red},
           {1024, cyan},
           {1280, black},
           {1535, red},
           {1791, green},
           {2047, blue},
           {2048, untouched}});
}

TEST(FramePalettes, ExtraColoursOfPalette1AreComputedWithoutOverflow)
{
    qimage_frame frame(2, 2, nullptr);
    EXPECT_EQ(frame.createGreyValueDisplayPalette1(50000), 1792);
    EXPECT_EQ(entry(frame, 1279), (rgb{0, 0, 255}));
    EXPECT_EQ(entry(frame, 1792), (rgb{0, 0, 0}));
    EXPECT_EQ(entry(frame, 1792 + 19), (rgb{212, 87, 106}));
    // 49999 * 49999 leaves 32 bits.
    EXPECT_EQ(entry(frame, 1792 + 49999), (rgb{212, 87, 106}));
    EXPECT_EQ(entry(frame, 1792 + 50000), untouched);
}

TEST(FramePalettes, RandomPaletteTakesTheImageCoresColoursUnchanged)
{
    qimage_frame frame(2, 2, nullptr);
    const std::string printed = vx_test::printed_by([&] { frame.createRandomDisplayPalette(5); });
    EXPECT_EQ(printed.rfind("Clean Old Palette\nCreate Random Palette ", 0), 0u);
    EXPECT_NE(printed.find(" of size 6\n"), std::string::npos);

    int* colours = initColorScrambledPalette(5);
    for (int i = 0; i <= 5; ++i) {
        // The low byte (the image core's red) is the entry's blue.
        const rgb expected{(colours[i] >> 16) & 255, (colours[i] >> 8) & 255, colours[i] & 255};
        EXPECT_EQ(entry(frame, i), expected) << i;
    }
    std::free(colours);
    EXPECT_EQ(entry(frame, 6), untouched);
}

TEST(FramePalettes, ACallersPaletteIsNeverChangedOrFreed)
{
    std::array<unsigned char, 8> mine = {1, 2, 3, 0, 4, 5, 6, 0};
    const auto before = mine;
    std::vector<int> words = {0, 1, 1, 0};
    qimage_frame frame(2, 2, words.data(), nullptr, nullptr, 0);
    frame.set_palette(mine.data(), 2);
    frame.setColor(0, 9, 9, 9);
    EXPECT_EQ(entry(frame, 0), untouched);
    EXPECT_EQ(frame_test::screen_of(frame).pixel(1, 0), qRgb(6, 5, 4));
    frame.createGreyValueDisplayPalette4();  // drops, but does not free, the caller's
    frame.set_palette(nullptr, 0);
    frame.setColor(0, 7, 7, 7);
    EXPECT_EQ(entry(frame, 0), (rgb{7, 7, 7}));
    EXPECT_EQ(mine, before);

    qimage_frame imageless(nullptr, mine.data(), 2);
    imageless.createRandomDisplayPalette(3);
    EXPECT_EQ(mine, before);
}

TEST(FramePalettes, PackedColoursOfTheImageCoreShowRedAndBlueExchanged)
{
    // A kind-2 record holds red in its low byte; the frame reads words as
    // 0x00RRGGBB, so the image core's red shows as blue.
    image* packed = create_image(2, 1, 0);
    packed->kind = IMAGE_RGB;
    packed->pixels[0] = 255;         // the image core's pure red
    packed->pixels[1] = 0x00FF0000;  // the frame's pure red
    qimage_frame frame(packed, nullptr);
    const QImage screen = frame_test::screen_of(frame);
    EXPECT_EQ(screen.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(screen.pixel(1, 0), qRgb(255, 0, 0));
    delete_image(packed);
}
