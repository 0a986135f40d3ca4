// The new-project dialog, saved as a screenshot.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include "gui/analysis/tests/analysis_test_support.h"
#include "gui/analysis/vx_analyse_control.h"
#include "gui/analysis/vx_new_project_dialog.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/vx_dual_tree_progress.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/vx_test.h"

namespace {

class ScreenshotTest : public ::testing::Test {
protected:
    vx_test::TempDir app;
    const QString here = QString::fromStdString(app.path().string());
    VxBasePaths shared{here,    here + "/Attributes.rule", QString(), "/work", "/work",
                       nullptr, "Global Base Paths",       0};
};

}  // namespace

TEST_F(ScreenshotTest, TheNewProjectDialogWithAnImageAndBarsHalfWay)
{
    const QImage image = analysis_test::picture(
        120, 90, {{0, 0, 120, 90, 40}, {10, 10, 50, 30, 220}, {70, 40, 40, 40, 130}});
    const QString file = QString::fromStdString(app.file("scene.png"));
    ASSERT_TRUE(image.save(file));
    auto* control = new vx_analyse_control("vx_analyse_control for new_project_dialog", 3, nullptr);
    QPointer<vx_new_project_dialog> dialog =
        new vx_new_project_dialog(&shared, control, nullptr, "New Project", 0);
    vx_gui_test::dialogs().answer(file);
    vx_test::printed_by([&] {
        dialog->load_image_dialog();
        auto* bars = dialog->findChild<VxDualTreeProgress*>("New Project Progress");
        bars->resetSteps(4);
        bars->setBright(3);
        bars->setDark(5);
        dialog->setStepIndicator("Dark tree: scale 5 of 8");
    });

    const QImage picture = vx_gui_test::save_screenshot(*dialog, "vx_new_project_dialog");
    ASSERT_EQ(picture.size(), dialog->size());
    const QPoint frame = control->pdisplay()->geometry().topLeft();
    for (const QPoint p : {QPoint(2, 2), QPoint(30, 20), QPoint(90, 60), QPoint(119, 89)})
        EXPECT_EQ(picture.pixel(frame + p), image.pixel(p)) << p.x() << "," << p.y();
    for (const char* name : {"Start", "Infiledialog", "Remove Noise Selection"}) {
        auto* button = dialog->findChild<QPushButton*>(name);
        EXPECT_GT(vx_gui_test::dark_pixels(picture, button->geometry()), 20) << name;
    }
    EXPECT_GT(
        vx_gui_test::dark_pixels(picture, dialog->findChild<QLabel*>("Step Indicator")->geometry()),
        50);
    dialog->close();
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(dialog.isNull());
}
