#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <memory>
#include <vector>

#include "frame_test_support.h"
#include "gui/foundation/qimage_frame.h"
#include "imagecore/image.h"
#include "testsupport/vx_test.h"

using frame_test::screen_of;

TEST(FrameContent, RecordsComeInByCopyAndGoOutAsAHeaderOverTheWords)
{
    std::vector<int> words(6, 9);
    qimage_frame frame(3, 2, words.data(), nullptr, nullptr, 0);
    image* header = frame.get_t_image();
    image* made = create_image(3, 2, 0);
    EXPECT_EQ(header->pixels, words.data());
    EXPECT_EQ(header->width * 10 + header->height, 32);
    EXPECT_EQ(header->kind, IMAGE_GREY);
    EXPECT_EQ(header->connect, -1);
    EXPECT_EQ(header->aux, nullptr);
    EXPECT_EQ(std::vector<int>(header->nb_offsets, header->nb_offsets + 8),
              std::vector<int>(made->nb_offsets, made->nb_offsets + 8));

    // set_image copies into the shown words; another size is refused.
    made->pixels[4] = 0x123456;
    frame.set_image(made);
    EXPECT_EQ(words[4], 0x123456);
    EXPECT_EQ(screen_of(frame).pixel(1, 1), qRgb(0x12, 0x34, 0x56));
    image* wide = create_image(4, 2, 1);
    image* tall = create_image(3, 5, 1);
    EXPECT_EQ(vx_test::printed_by([&] {
                  frame.set_image(wide);
                  frame.set_image(tall);
              }),
              "Image Width 4; Must be 3\nImage Height 5; Must be 2\n");
    EXPECT_EQ(words[4], 0x123456);

    // reset_qimage gives the frame the record's size and a copy of its own.
    frame.setZoomWindow(2, 0, 0);
    EXPECT_NE(vx_test::printed_by([&] { frame.reset_qimage(tall); }).find("Reset Image\n"),
              std::string::npos);
    EXPECT_EQ(frame.ImageHeight(), 5);
    EXPECT_EQ(frame.DisplayFrameWidth(), 3);
    EXPECT_NE(frame.get_t_image()->pixels, tall->pixels);
    EXPECT_EQ(frame.minimumSize(), QSize(3, 5));
    for (image* img : {made, wide, tall})
        delete_image(img);

    qimage_frame ramp(7, 3, nullptr);  // word k = 4k mod 256
    EXPECT_EQ(screen_of(ramp).pixel(0, 2), qRgb(0, 0, 56));
}

TEST(FrameContent, ResetWithWordsAndAPaletteShowsThemPaletted)
{
    qimage_frame frame(nullptr, nullptr, 0);
    int palette[2] = {0x00102030, 0x00405060};
    int words[4] = {1, 0, 0, 1 | 255 << 16};
    frame.reset_qimage(2, 2, words, palette, 2);
    words[0] = 0;  // the frame holds a copy
    frame.display_image_zoomed();
    const QImage screen = screen_of(frame);
    EXPECT_EQ(screen.pixel(0, 0), qRgb(0x40, 0x50, 0x60));
    EXPECT_EQ(screen.pixel(1, 0), qRgb(0x10, 0x20, 0x30));
    EXPECT_EQ(screen.pixel(1, 1), qRgb(0, 0, 0));  // alpha 255, overlay grey 0

    std::vector<int> mine = {0, 0, 1, 1};
    frame.display_image(mine.data());
    EXPECT_EQ(frame.get_t_image()->pixels, mine.data());
    EXPECT_EQ(screen_of(frame).pixel(0, 1), qRgb(0x40, 0x50, 0x60));
}

TEST(FrameResizing, TheViewportGrowsByStepsAndNeverShrinksBelowTheImage)
{
    std::vector<int> words(10 * 8, 0x00FF00);
    qimage_frame frame(10, 8, words.data(), nullptr, nullptr, 0);
    EXPECT_EQ(vx_test::printed_by([&] { frame.bigger(); }),
              "do Resize\n 1\n 2\n 3\n Resize done\n ");
    EXPECT_EQ(frame.minimumSize(), QSize(30, 28));
    const QImage screen = screen_of(frame);
    EXPECT_EQ(screen.pixel(9, 3), qRgb(0, 255, 0));
    EXPECT_EQ(screen.pixel(12, 3), frame_test::background_of(frame));
    frame.setResizeStep(5);
    for (int i = 0; i < 5; ++i)
        frame.smaller();
    EXPECT_EQ(frame.minimumSize(), QSize(10, 8));

    // At zoom 2 a side that would show beyond the image while the other
    // shows less is trimmed to one pixel short of it.
    frame.resizeFrame(20, 10);
    frame.setZoomWindow(2);  // window 10 x 5
    frame.resizeFrameStep(4, 2);
    EXPECT_EQ(frame.minimumSize(), QSize(19, 12));
    frame.resizeFrame(16, 20);
    frame.setZoomWindow(2);  // window 8 x 10
    frame.resizeFrameStep(2, 4);
    EXPECT_EQ(frame.minimumSize(), QSize(18, 15));
    frame.resizeFrameStep(2, 2);
    EXPECT_EQ(frame.minimumSize(), QSize(20, 17));
    EXPECT_EQ(frame.DisplayFrameWidth(), 10);
}

TEST(FrameResizing, FittingLeavesTheMarginAndTheOtherWidgetOut)
{
    QWidget container;
    container.resize(300, 300);
    auto* frame = new qimage_frame(10, 8, &container);
    auto* button = new QPushButton("x", &container);
    frame->resize(200, 150);
    button->resize(60, 30);
    frame->setZoomWindow(2);
    frame->fitDisplayFrame(10, button);
    EXPECT_EQ(frame->minimumSize(), QSize(130, 110));
    EXPECT_EQ(frame->DisplayFrameWidth(), 130);  // zoom 1

    // The container holds the frame and the frame is itself: no side left.
    frame->fitDisplayFrame(10, &container);
    frame->fitDisplayFrame(10, nullptr);
    frame->fitDisplayFrame(-100, button);
    frame->resizeDisplayFrame(0, 3);
    EXPECT_EQ(frame->minimumSize(), QSize(130, 110));
    frame->resizeDisplayFrame(4, 3);  // may be smaller than the image
    EXPECT_EQ(frame->minimumSize(), QSize(4, 3));
}

TEST(FrameLifetime, ClosedComesLastAndBorrowedBuffersStayTheCallers)
{
    std::vector<int> words(16, 3);
    std::vector<int> other(16, 5);
    QWidget holder;
    auto* frame = new qimage_frame(4, 4, words.data(), nullptr, nullptr, 0);
    QSignalSpy closed(frame, &qimage_frame::closed);
    QPointer<QLabel> label = frame->initCoordinateLabel(&holder);
    frame->display_image(other.data());
    delete frame;
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(label.isNull());
    EXPECT_EQ(words, std::vector<int>(16, 3));

    // A label deleted before its frame is not deleted again.
    qimage_frame second(2, 2, nullptr);
    delete second.initCoordinateLabel(&holder);
}
