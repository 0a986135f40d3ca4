#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <memory>
#include <vector>

#include "frame_test_support.h"
#include "gui/foundation/qimage_frame.h"

using frame_test::move;
using frame_test::press;
using frame_test::wheel;

namespace {

// Opens the last reported position to the tests.
class probe_frame : public qimage_frame {
public:
    using qimage_frame::qimage_frame;
    using qimage_frame::zoomedMouseXpos;
    using qimage_frame::zoomedMouseYpos;
};

// A w x h frame of distinct raw colours.
struct numbered_frame {
    numbered_frame(int w, int h)
        : words(numbered(w * h)), frame(w, h, words.data(), nullptr, nullptr, 0)
    {}
    static std::vector<int> numbered(int n)
    {
        std::vector<int> words(static_cast<size_t>(n));
        for (int k = 0; k < n; ++k)
            words[static_cast<size_t>(k)] = k * 4099 & 0xFFFFFF;
        return words;
    }
    std::vector<int> words;
    probe_frame frame;
};

QList<QVariant> at(int x, int y)
{
    return {x, y};
}

}  // namespace

TEST(FrameMouse, PressesReportTheImagePixelUnderTheZoomedPoint)
{
    numbered_frame f(100, 80);
    f.frame.setZoomWindow(3, 2, 1);
    QSignalSpy left(&f.frame, &qimage_frame::leftButtonClickAt);
    QSignalSpy leftCtl(&f.frame, &qimage_frame::leftButtonCtlClickAt);
    QSignalSpy mid(&f.frame, &qimage_frame::midButtonClickAt);
    QSignalSpy midCtl(&f.frame, &qimage_frame::midButtonCtlClickAt);
    QSignalSpy right(&f.frame, &qimage_frame::rightButtonClickAt);
    QSignalSpy rightCtl(&f.frame, &qimage_frame::rightButtonCtlClickAt);
    const QPoint point(7, 4);  // column 2 + 7 / 3, row 1 + 4 / 3
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::MiddleButton, Qt::RightButton}) {
        press(f.frame, point, button);
        press(f.frame, point, button, Qt::ControlModifier | Qt::ShiftModifier);
    }
    for (QSignalSpy* spy : {&left, &leftCtl, &mid, &midCtl, &right, &rightCtl}) {
        ASSERT_EQ(spy->count(), 1);
        EXPECT_EQ(spy->at(0), at(4, 2));
    }
    EXPECT_EQ(f.frame.zoomedMouseXpos(), 4);
    EXPECT_EQ(f.frame.zoomedMouseYpos(), 2);

    // Nothing beside the viewport, even where the window's columns would
    // still lie in the image, and nothing while the mouse is disabled.
    press(f.frame, QPoint(150, 4), Qt::LeftButton);
    f.frame.setZoomOnWheel(false);
    press(f.frame, point, Qt::LeftButton);
    EXPECT_EQ(left.count(), 1);
}

TEST(FrameMouse, RightDragsPanOneImagePixelPerPointerPixel)
{
    numbered_frame f(100, 80);
    f.frame.setZoomWindow(2, 0, 0);
    QSignalSpy right(&f.frame, &qimage_frame::rightButtonClickAt);
    press(f.frame, QPoint(50, 40), Qt::RightButton);
    EXPECT_EQ(right.at(0), at(25, 20));
    move(f.frame, QPoint(40, 35), Qt::RightButton);
    EXPECT_EQ(f.frame.DisplayFrameLeft(), 10);
    EXPECT_EQ(f.frame.DisplayFrameTop(), 5);
    EXPECT_EQ(frame_test::screen_of(f.frame).pixel(0, 0),
              0xFF000000u | static_cast<QRgb>(f.words[5 * 100 + 10]));

    // A right press beside the image stores only the pan origin.
    numbered_frame g(20, 20);
    g.frame.resizeFrame(60, 30);
    g.frame.setZoomWindow(2);  // window 30 x 15
    QSignalSpy clicks(&g.frame, &qimage_frame::rightButtonClickAt);
    press(g.frame, QPoint(50, 10), Qt::RightButton);
    EXPECT_EQ(clicks.count(), 0);
    move(g.frame, QPoint(10, 6), Qt::RightButton);
    EXPECT_EQ(g.frame.DisplayFrameTop(), 4);
}

TEST(FrameMouse, ALeftDragReportsEachNewImagePixelOnce)
{
    numbered_frame f(100, 80);
    f.frame.setZoomWindow(3, 0, 0);
    QSignalSpy moved(&f.frame, &qimage_frame::leftButtonMoveto);
    press(f.frame, QPoint(9, 9), Qt::LeftButton);
    move(f.frame, QPoint(9, 9), Qt::LeftButton);
    move(f.frame, QPoint(10, 11), Qt::LeftButton);  // the same image pixel
    move(f.frame, QPoint(12, 9), Qt::LeftButton);
    move(f.frame, QPoint(30, 30), Qt::NoButton);
    move(f.frame, QPoint(-1, 9), Qt::LeftButton);
    move(f.frame, QPoint(9, 500), Qt::LeftButton);
    ASSERT_EQ(moved.count(), 2);
    EXPECT_EQ(moved.at(0), at(3, 3));
    EXPECT_EQ(moved.at(1), at(4, 3));
    EXPECT_EQ(f.frame.zoomedMouseXpos(), 4);
}

TEST(FrameMouse, TheWheelZoomsUnlessCtrlIsHeldAlone)
{
    numbered_frame f(100, 80);
    QSignalSpy up(&f.frame, &qimage_frame::wheelCtlUp);
    QSignalSpy down(&f.frame, &qimage_frame::wheelCtlDown);
    QSignalSpy changed(&f.frame, &qimage_frame::changedZoomfactor);
    const QPoint centre(50, 40);
    wheel(f.frame, centre, 120, Qt::ControlModifier);
    wheel(f.frame, centre, -120, Qt::ControlModifier);
    EXPECT_EQ(up.count() + down.count(), 2);
    EXPECT_EQ(changed.count(), 0);

    // Each step signals the factor twice; at zoom 1 a backward step only
    // signals.
    wheel(f.frame, centre, 120, Qt::ControlModifier | Qt::ShiftModifier);
    wheel(f.frame, centre, 120, Qt::ControlModifier, Qt::LeftButton);
    EXPECT_EQ(f.frame.DisplayFrameWidth(), 33);
    wheel(f.frame, centre, -120, Qt::NoModifier);
    wheel(f.frame, centre, -120, Qt::NoModifier);
    wheel(f.frame, centre, -120, Qt::NoModifier);
    EXPECT_EQ(f.frame.DisplayFrameWidth(), 100);
    EXPECT_EQ(changed.count(), 9);
    EXPECT_EQ(changed.at(8).at(0).toInt(), 1);

    wheel(f.frame, QPoint(100, 10), 120, Qt::NoModifier);
    f.frame.setZoomOnWheel(false);
    wheel(f.frame, centre, 120, Qt::NoModifier);
    EXPECT_EQ(changed.count(), 9);
}

TEST(FrameMouse, TheReadoutShowsPositionAndColourAlsoWithTheMouseDisabled)
{
    auto f = std::make_unique<numbered_frame>(100, 80);
    f->frame.setZoomWindow(3, 2, 1);
    f->frame.updateZoomWindow();
    QWidget holder;
    QPointer<QLabel> label = f->frame.initCoordinateLabel(&holder);
    EXPECT_EQ(label->text(), "(xPos X yPos) (Color)");
    EXPECT_TRUE(f->frame.hasMouseTracking());
    f->frame.setZoomOnWheel(false);
    move(f->frame, QPoint(7, 4), Qt::NoButton);
    const int w = f->words[2 * 100 + 4];
    const QString text =
        QString::asprintf("(4 X 2) (%d, %d, %d)", (w >> 16) & 255, (w >> 8) & 255, w & 255);
    EXPECT_EQ(label->text(), text);
    move(f->frame, QPoint(7, 300), Qt::NoButton);
    EXPECT_EQ(label->text(), text);

    // A second label replaces the first; the frame deletes its label.
    QPointer<QLabel> second = f->frame.initCoordinateLabel(&holder);
    EXPECT_TRUE(label.isNull());
    f.reset();
    EXPECT_TRUE(second.isNull());
}
