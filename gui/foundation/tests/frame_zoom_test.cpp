#include <gtest/gtest.h>

#include <QSignalSpy>
#include <vector>

#include "frame_test_support.h"
#include "gui/foundation/qimage_frame.h"
#include "testsupport/vx_test.h"

using frame_test::screen_of;

namespace {

// A 100 x 80 frame of distinct raw colours.
class FrameZoom : public ::testing::Test {
protected:
    std::vector<int> words = make_words();
    qimage_frame frame{100, 80, words.data(), nullptr, nullptr, 0};

    static std::vector<int> make_words()
    {
        std::vector<int> w(100 * 80);
        for (int k = 0; k < 100 * 80; ++k)
            w[static_cast<size_t>(k)] = k * 7919 & 0xFFFFFF;
        return w;
    }

    void expect_window(int width, int left, int top)
    {
        EXPECT_EQ(frame.DisplayFrameWidth(), width);
        EXPECT_EQ(frame.DisplayFrameLeft(), left);
        EXPECT_EQ(frame.DisplayFrameTop(), top);
    }

    // The screen shows the window that the frame reports.
    void expect_clean_redraw()
    {
        const frame_test::view v{100, 80, 100 / frame.DisplayFrameWidth(), frame.DisplayFrameLeft(),
                                 frame.DisplayFrameTop()};
        EXPECT_EQ(screen_of(frame), frame_test::plain_redraw(words, 100, 80, v, 2, {},
                                                             frame_test::background_of(frame)));
    }
};

}  // namespace

TEST_F(FrameZoom, TheWindowOriginIsClampedIntoTheImage)
{
    frame.setZoomWindow(4, -3, 10);
    expect_window(25, 0, 10);
    EXPECT_EQ(frame.DisplayFrameHeight(), 20);
    frame.setZoomWindow(4, 90, 70);
    expect_window(25, 75, 60);
    frame.setZoomWindow(2);
    expect_window(50, 50, 40);
    frame.setZoomWindow(3, 3);
    expect_window(50, 3, 3);
    frame.updateZoomWindow();
    expect_clean_redraw();

    // Below 1 nothing changes but the mouse is enabled; beyond the viewport
    // the factor is cut to its width - 1; text must be a whole number >= 1.
    frame.setZoomOnWheel(false);
    QSignalSpy clicks(&frame, &qimage_frame::leftButtonClickAt);
    frame.setZoomWindow(0, 50, 50);
    expect_window(50, 3, 3);
    frame_test::press(frame, QPoint(1, 1), Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    frame.setZoomWindow(500, 0, 0);
    EXPECT_EQ(frame.DisplayFrameWidth(), 1);  // zoom 99
    for (const char* bad : {"0", "-2", "abc", "2.5", ""})
        frame.setZoomfactor(bad);
    EXPECT_EQ(frame.DisplayFrameWidth(), 1);
    const QImage before = screen_of(frame);
    frame.setZoomfactor("4");
    EXPECT_EQ(screen_of(frame), before);  // not redrawn
    frame.updateZoomWindow();
    expect_window(25, 0, 0);
    expect_clean_redraw();
}

TEST_F(FrameZoom, AWindowWiderThanTheImageStartsAtItsLeftEdge)
{
    frame.resizeFrame(150, 80);
    frame.setZoomWindow(1, 20, 0);
    expect_window(150, 0, 0);
    frame.setZoomWindow(2, 20, 30);
    expect_window(75, 20, 30);
    frame.updateZoomWindow();
    EXPECT_EQ(screen_of(frame).pixel(149, 0), 0xFF000000u | static_cast<QRgb>(words[3094]));
}

TEST_F(FrameZoom, ZoomingCentresThePointedPixelAndSignalsTheFactor)
{
    QSignalSpy changed(&frame, &qimage_frame::changedZoomfactor);
    QSignalSpy text(&frame, &qimage_frame::ZoomfactorChanged);
    EXPECT_EQ(vx_test::printed_by([&] { frame.ZoomFactorDown(); }), "");  // at zoom 1: silent
    EXPECT_EQ(changed.count(), 0);

    frame.ZoomFactorUp(60, 40);
    expect_window(50, 35, 20);  // column 60 in the middle
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toInt(), 2);
    EXPECT_EQ(text.at(0).at(0).toString(), "2");
    expect_clean_redraw();
    frame.ZoomFactorUp();  // about the centre, column 35 + 25
    expect_window(33, 60 - 100 / 6, 27);
    expect_clean_redraw();
    frame.ZoomFactorDown();
    frame.ZoomFactorDown();
    expect_window(100, 0, 0);
    EXPECT_EQ(changed.count(), 4);
    expect_clean_redraw();
}

TEST_F(FrameZoom, MovesStopAtTheImageEdges)
{
    frame.setZoomWindow(2, 0, 0);  // 50 x 40
    frame.LeftMoveZoomFrame();
    frame.UpMoveZoomFrame();
    expect_window(50, 0, 0);
    for (int i = 0; i < 60; ++i) {
        frame.RightMoveZoomFrame();
        frame.DownMoveZoomFrame();
    }
    expect_window(50, 49, 39);  // a move needs a column to spare
    expect_clean_redraw();
    frame.LeftMoveZoomFrame();
    frame.UpMoveZoomFrame();
    expect_window(50, 48, 38);
    expect_clean_redraw();
}
