// "Analyse Image" over a bright square picked by its query, saved as a
// screenshot.
#include <gtest/gtest.h>

#include "gui/analysis/tests/main_dialog_test_support.h"
#include "testsupport/gui/gui_test.h"

using namespace analysis_test;

namespace {

TEST_F(MainDialogTest, ScreenshotOfTheDialogWithItsSquareSelected)
{
    open(picture(96, 64, {{0, 0, 96, 64, 40}, {24, 16, 8, 8, 200}}));
    query(square_rule);
    ASSERT_EQ(control->activeBrightNodes(), 1);
    const QImage shot = vx_gui_test::save_screenshot(*dialog, "vx_analyse_main_dialog");
    ASSERT_EQ(shot.size(), dialog->size());
    // Filled display: the square's inside on the green ramp (code 6), its
    // contour blue (code 1), the plate grey.
    const QPoint frame = display()->mapTo(dialog.data(), QPoint(0, 0));
    EXPECT_EQ(shot.pixel(frame + QPoint(27, 19)), qRgb(0, 200, 0));
    const int contour =
        active_nodes(control->opennodelist(), control->onodelistsize())[0]->contour[0];
    EXPECT_EQ(shot.pixel(frame + QPoint(contour % 96, contour / 96)), qRgb(0, 0, 255));
    EXPECT_EQ(shot.pixel(frame + QPoint(60, 40)), qRgb(40, 40, 40));
    for (const char* name : {"Write VXP", "Export Bright Table", "Apply Bright Query"})
        EXPECT_GT(vx_gui_test::dark_pixels(shot, child(name)->geometry()), 20) << name;
    EXPECT_GT(vx_gui_test::dark_pixels(shot, child<QLabel>("Processing")->geometry()), 50);
}

}  // namespace
