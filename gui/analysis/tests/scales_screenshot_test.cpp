// The scale browser with a picked region, and the Fourier-descriptor view
// of that region in grey, saved as screenshots.
#include <gtest/gtest.h>

#include "gui/analysis/tests/scales_test_support.h"
#include "gui/analysis/vx_analyse_contour_fds.h"
#include "testsupport/gui/gui_test.h"

using namespace analysis_test;

namespace {

TEST_F(ScalesTest, ScreenshotsOfTheBrowserAndItsFourierDescriptorView)
{
    auto b = open();
    press(*b, Qt::LeftButton, 22, 12);
    const QImage shot = vx_gui_test::save_screenshot(*b, "vx_analyse_scales");
    ASSERT_EQ(shot.size(), b->size());
    int r = 0, g = 0, blue = 0;
    b->display->getColor(1530, &r, &g, &blue);
    const QPoint frame = b->display->mapTo(b.get(), QPoint(0, 0));
    // In the picked square, on the plate's contour, on black; the buttons.
    EXPECT_EQ(shot.pixel(frame + QPoint(22, 12)), qRgb(r, g, blue));
    EXPECT_EQ(shot.pixel(frame + QPoint(3, 20)), qRgb(r, g, blue));
    EXPECT_EQ(shot.pixel(frame + QPoint(1, 1)), qRgb(0, 0, 0));
    EXPECT_GT(vx_gui_test::dark_pixels(shot, QRect(0, 0, frame.x(), 40)), 50);

    vx_test::printed_by([&] { b->analyse_fds(); });
    ASSERT_FALSE(b->fdWindow.isNull());
    vx_analyse_contour_fds& view = *b->fdWindow;
    for (const char* background : {"No Image", "Grey"})
        for (QPushButton* button : view.findChildren<QPushButton*>())
            if (button->text() == background)
                QTest::mouseClick(button, Qt::LeftButton);
    const QImage fds = vx_gui_test::save_screenshot(view, "vx_analyse_contour_fds");
    ASSERT_EQ(fds.size(), view.size());
    const QPoint origin = view.findChild<qimage_frame*>()->mapTo(&view, QPoint(0, 0));
    int contour = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 48; ++x) {
            const int grey = qRed(fds.pixel(origin + QPoint(x, y)));
            EXPECT_EQ(fds.pixel(origin + QPoint(x, y)), qRgb(grey, grey, grey));
            EXPECT_TRUE(grey == 100 || grey == 10 || grey == 255 || grey == 170) << x << "," << y;
            contour += grey == 170;
        }
    EXPECT_GT(contour, 20);
    b->close();
    vx_gui_test::flush_deferred_deletes();
}

}  // namespace
