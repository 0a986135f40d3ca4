#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "frame_test_support.h"
#include "gui/foundation/detail/display_palettes.h"
#include "gui/foundation/qimage_frame.h"
#include "testsupport/vx_test.h"

using frame_test::screen_of;
using vx_test::printed_by;

namespace {

int word(int index, int alpha, int grey)
{
    return static_cast<int>(static_cast<uint32_t>(index) | static_cast<uint32_t>(alpha) << 16 |
                            static_cast<uint32_t>(grey) << 24);
}

}  // namespace

TEST(FrameRedraw, EveryModeMatchesThePlainRedrawUnderZoomAndBesideTheImage)
{
    std::mt19937 random(3);
    const int w = 13;
    const int h = 9;
    std::vector<int> words(w * h);
    for (int& v : words)
        v = word(static_cast<int>(random() % 2048),
                 random() % 2 ? 0 : static_cast<int>(random() % 256),
                 static_cast<int>(random() % 256));
    qimage_frame frame(w, h, words.data(), nullptr, nullptr, 0);
    frame.resizeFrame(31, 20);  // beyond the image at zoom 1
    const std::vector<unsigned char> palette4 = display_palettes::grey_value_palette4();
    for (const int mode : {1, 2, 7})
        for (const frame_test::view v : {frame_test::view{31, 20, 1, 0, 0}, {31, 20, 3, 2, 1}}) {
            frame.setZoomWindow(v.zoom, v.left, v.top);
            frame.setDisplayMode(mode);
            EXPECT_EQ(screen_of(frame), frame_test::plain_redraw(words, w, h, v, mode, palette4,
                                                                 frame_test::background_of(frame)))
                << mode << " " << v.zoom;
        }
}

TEST(FrameRedraw, OverlaysBlendByShiftsInTheFullRedrawAndBy255ForOnePixel)
{
    // A grey above 127 catches a sign-extended top byte.
    std::vector<int> words = {word(5, 255, 128), word(100, 128, 200), word(40, 0, 255),
                              word(0, 255, 255)};
    qimage_frame frame(4, 1, words.data(), nullptr, nullptr, 0);
    frame.createGreyValueDisplayPalette2();
    frame.setDisplayMode(1);
    const int full[] = {127, 150, 40, 254};
    const int single[] = {128, 149, 40, 255};
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(screen_of(frame).pixel(x, 0), qRgb(full[x], full[x], full[x])) << x;
    for (int x = 0; x < 4; ++x)
        frame.display_pixel_orig_zoomed(x, 0);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(screen_of(frame).pixel(x, 0), qRgb(single[x], single[x], single[x])) << x;

    // Only mode 1 draws single pixels.
    frame.setDisplayMode(2);
    const QImage raw = screen_of(frame);
    frame.display_pixel_orig_zoomed(1, 0);
    frame.updatePixelZoomRawDisplay(1, 0);
    frame.updatePixelZoomRGBDisplay(1, 0);
    EXPECT_EQ(screen_of(frame), raw);
}

TEST(FrameRedraw, SinglePixelUpdatesStayInsideImageAndWindow)
{
    std::vector<int> words(6 * 4, 3);
    qimage_frame frame(6, 4, words.data(), nullptr, nullptr, 0);
    frame.setZoomWindow(2, 2, 1);  // window 3 x 2 from (2, 1)
    frame.setDisplayMode(1);
    std::fill(words.begin(), words.end(), 200);
    const QImage before = screen_of(frame);
    for (const QPoint p : {QPoint(-1, 1), QPoint(6, 1), QPoint(1, 1), QPoint(5, 1), QPoint(2, 3),
                           QPoint(2, 0), QPoint(3, 4)})
        frame.display_pixel_orig_zoomed(p.x(), p.y());
    EXPECT_EQ(screen_of(frame), before);
    frame.display_pixel_orig_zoomed(4, 2);  // the window's last pixel: block (4..5, 2..3)
    const QImage after = screen_of(frame);
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(after.pixel(i, j),
                      i >= 4 && j >= 2 ? qRgb(200, 200, 200) : before.pixel(i, j));
}

TEST(FrameRedraw, AnIndexBeyondThePaletteIsReportedPerScreenPixelAndKeepsIt)
{
    std::vector<int> words = {1, 2, 3, 4};
    qimage_frame frame(2, 2, words.data(), nullptr, nullptr, 0);
    frame.resizeFrame(4, 4);
    frame.setZoomWindow(2, 0, 0);
    frame.setDisplayMode(1);
    const QImage before = screen_of(frame);
    words[3] = 2048 | 0x7F000000;  // palette 4 has 2048 entries
    const std::string line = "No color Number 2048 in palette\n";
    EXPECT_EQ(printed_by([&] { frame.display_image_zoomed(); }), line + line + line + line);
    EXPECT_EQ(printed_by([&] { frame.display_pixel_orig_zoomed(1, 1); }), line);
    EXPECT_EQ(screen_of(frame), before);

    qimage_frame bare(nullptr, nullptr, 0);  // no palette: every pixel
    bare.reset_qimage(2, 1, words.data(), nullptr, 0);
    EXPECT_EQ(printed_by([&] { bare.setDisplayMode(1); }),
              "No color Number 1 in palette\nNo color Number 2 in palette\n");
}

TEST(FrameRedraw, TheUnzoomedDrawPutsEachPixelAtItsOwnPlace)
{
    std::vector<int> words = {0x102030, 0x405060, 7, 0x01000001};
    qimage_frame frame(2, 2, words.data(), nullptr, nullptr, 0);
    frame.resizeFrame(5, 3);
    frame.setZoomWindow(2, 0, 0);
    frame.updateZoomWindow();
    const QImage zoomed = screen_of(frame);
    EXPECT_EQ(printed_by([&] { frame.display_image(); }), "display Image\n");
    QImage screen = screen_of(frame);
    EXPECT_EQ(screen.pixel(1, 0), qRgb(0x40, 0x50, 0x60));
    EXPECT_EQ(screen.pixel(0, 1), qRgb(0, 0, 7));  // not sheared by the wider viewport
    EXPECT_EQ(screen.pixel(2, 0), zoomed.pixel(2, 0));

    // Mode 1 looks the whole word up, without overlay; a word with its top
    // bit set is an index far beyond the palette, never one before it.
    words[0] = 300;
    words[1] = 5;
    words[2] = -1;
    printed_by([&] { frame.setDisplayMode(1); });
    const QImage before = screen_of(frame);
    EXPECT_EQ(printed_by([&] { frame.display_image(); }),
              "No color Number -1 in palette\nNo color Number 16777217 in palette\n"
              "display Image\n");
    screen = screen_of(frame);
    EXPECT_EQ(screen.pixel(0, 0), qRgb(0, 0, 255));  // constant blue of palette 4
    EXPECT_EQ(screen.pixel(0, 1), before.pixel(0, 1));
    EXPECT_EQ(screen.pixel(1, 1), before.pixel(1, 1));

    // Other modes draw nothing; mode 1 without a palette the low byte as blue.
    frame.setDisplayMode(5);
    const QImage other = screen_of(frame);
    printed_by([&] { frame.display_image(); });
    EXPECT_EQ(screen_of(frame), other);
    qimage_frame bare(nullptr, nullptr, 0);
    bare.reset_qimage(2, 2, words.data(), nullptr, 0);
    bare.setDisplayMode(1);
    printed_by([&] { bare.display_image(); });
    EXPECT_EQ(screen_of(bare).pixel(0, 0), qRgb(0, 0, 300 & 255));

    EXPECT_EQ(printed_by([&] { frame.update_image("test"); }), "update_image for test\n");
    frame.setTip("View ");
    EXPECT_EQ(frame.toolTip(), "View Size W: 5 H: 3");
}
