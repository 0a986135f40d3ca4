// The main window with its status bar, the about window and the new-project
// dialog, saved as screenshots.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>

#include "gui/analysis/tests/analysis_test_support.h"
#include "gui/analysis/vx_analyse_control.h"
#include "gui/analysis/vx_main_window.h"
#include "gui/analysis/vx_new_project_dialog.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/vx_dual_tree_progress.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/vx_test.h"

namespace {

class ScreenshotTest : public ::testing::Test {
protected:
    vx_test::TempDir app;
    std::unique_ptr<vx_main_window> window;

    void SetUp() override
    {
        vx_test::write_file(app.file("Attributes.rule"), "DECLS:\n#DECLS\n");
        window = std::make_unique<vx_main_window>(QString::fromStdString(app.path().string()),
                                                  "/work", nullptr, "Main Apllication Window");
    }
};

}  // namespace

TEST_F(ScreenshotTest, MainWindowWithItsStatusBar)
{
    window->resize(640, 360);
    const QImage picture = vx_gui_test::save_screenshot(*window, "vx_main_window");
    ASSERT_EQ(picture.size(), QSize(640, 360));
    QStatusBar* status = window->statusBar();
    auto* label = status->findChild<QLabel*>("Update Rule Label");
    auto* edit = status->findChild<QPushButton*>("Edit Basic Update Rule");
    const QPoint origin = status->mapTo(window.get(), QPoint(0, 0));
    EXPECT_GT(vx_gui_test::dark_pixels(picture, label->geometry().translated(origin)), 50);
    EXPECT_GT(vx_gui_test::dark_pixels(picture, edit->geometry().translated(origin)), 20);
    EXPECT_GT(vx_gui_test::dark_pixels(picture, window->menuBar()->geometry()), 20);
}

TEST_F(ScreenshotTest, TheAboutWindowIsMadeOnceWithItsLinesAndPicture)
{
    const int before = QApplication::topLevelWidgets().size();
    window->about_dialog();
    window->about_dialog();
    ASSERT_EQ(QApplication::topLevelWidgets().size(), before + 1);
    QWidget* about = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget != window.get())
            about = widget;
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->maximumSize(), about->sizeHint());
    const QList<QLabel*> labels = about->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 2);
    EXPECT_TRUE(QRegularExpression("^\n   Vx Analyse  \n"
                                   "   Object Oriented Multiscale Image Analysis  \n"
                                   "   Version \\d+\\.\\d+\\.\\d+  \n\n"
                                   "   Build: [A-Z][a-z]{2} [ 1-3]\\d \\d{4} at: "
                                   "\\d\\d:\\d\\d:\\d\\d\n$")
                    .match(labels[0]->text())
                    .hasMatch())
        << labels[0]->text().toStdString();

    const QImage picture = vx_gui_test::save_screenshot(*about, "about_window");
    ASSERT_EQ(picture.size(), about->size());
    QFile file(":/vxgui/about.ppm");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QImage ppm = QImage::fromData(file.readAll(), "PPM");
    ASSERT_EQ(ppm.size(), QSize(253, 227));
    const QPoint corner = labels[1]->geometry().center() - QPoint(253 / 2, 227 / 2);
    for (const QPoint p : {QPoint(10, 10), QPoint(126, 113), QPoint(240, 200)})
        EXPECT_EQ(picture.pixel(corner + p), ppm.pixel(p)) << p.x() << "," << p.y();
}

TEST_F(ScreenshotTest, TheNewProjectDialogWithAnImageAndBarsHalfWay)
{
    const QImage image = analysis_test::picture(
        120, 90, {{0, 0, 120, 90, 40}, {10, 10, 50, 30, 220}, {70, 40, 40, 40, 130}});
    const QString file = QString::fromStdString(app.file("scene.png"));
    ASSERT_TRUE(image.save(file));
    auto* paths = window->findChild<VxBasePaths*>("Global Base Paths");
    auto* control = new vx_analyse_control("vx_analyse_control for new_project_dialog", 3, nullptr);
    QPointer<vx_new_project_dialog> dialog =
        new vx_new_project_dialog(paths, control, nullptr, "New Project", 0);
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
