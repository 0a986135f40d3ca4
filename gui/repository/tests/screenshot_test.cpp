// The SOFM trainer with a trained map and the class export dialog, saved as
// screenshots.
#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <memory>

#include "gui/foundation/tests/sofm_test_support.h"
#include "gui/repository/tests/new_repository_test_support.h"
#include "gui/repository/vx_class_export_dialog.h"
#include "testsupport/gui/gui_test.h"

using namespace sofm_test;

TEST(Screenshot, TheTrainerShowsItsTrainedMapInGrey)
{
    vx_test::TempDir dir;
    write_table(dir.file("regions.csv"), 400, 4);
    std::unique_ptr<VxGUISOM> trainer(open(dir.file("regions.csv")));
    edit(trainer.get(), "Width")->setText("48");
    edit(trainer.get(), "Height")->setText("32");
    click(trainer.get(), "Start");
    click(trainer.get(), "Distance Map");  // the cluster labels
    click(trainer.get(), "Distance Map");  // the distance map
    // Four times larger, so that the cells show.
    frame(trainer.get())->setZoomWindow(4, 0, 0);
    frame(trainer.get())->resizeDisplayFrame(4 * 48, 4 * 32);
    frame(trainer.get())->setZoomWindow(4, 0, 0);
    frame(trainer.get())->updateZoomWindow();

    const QImage picture = vx_gui_test::save_screenshot(*trainer, "VxGUISOM");
    ASSERT_EQ(picture.size(), trainer->size());
    const std::vector<int> cells = words(trainer.get());
    const QPoint origin = frame(trainer.get())->mapTo(trainer.get(), QPoint(0, 0));
    for (const QPoint cell : {QPoint(0, 0), QPoint(47, 0), QPoint(20, 15), QPoint(47, 31)}) {
        const int grey = cells[static_cast<size_t>(cell.y() * 48 + cell.x())];
        EXPECT_EQ(picture.pixel(origin + cell * 4 + QPoint(2, 2)), qRgb(grey, grey, grey))
            << cell.x() << "," << cell.y();
    }
    QWidget* start = button(trainer.get(), "Start");
    EXPECT_GT(vx_gui_test::dark_pixels(picture, start->geometry()), 20);
}

TEST(Screenshot, TheTrainerWhileTrainingShowsItsStepAMapTwentyTimesAndOnlyStop)
{
    vx_test::TempDir dir;
    write_table(dir.file("regions.csv"), 300, 4);
    std::unique_ptr<VxGUISOM> trainer(open(dir.file("regions.csv")));
    edit(trainer.get(), "Width")->setText("20");
    edit(trainer.get(), "Height")->setText("20");
    edit(trainer.get(), "DispalySteps")->setText("10");
    // Where the parts lie when the picture is taken.
    const auto area = [&](QWidget* widget) {
        return QRect(widget->mapTo(trainer.get(), QPoint(0, 0)), widget->size());
    };
    QImage picture;
    QSize shown;
    QRect map, line, start, stop;
    QTimer::singleShot(0, [&] {
        picture = vx_gui_test::save_screenshot(*trainer, "VxGUISOM_training");
        shown = trainer->size();
        map = QRect(area(frame(trainer.get())).topLeft(), QSize(400, 400));
        line = area(trainer->findChild<QLabel*>("Step Line"));
        start = area(button(trainer.get(), "Start"));
        stop = area(button(trainer.get(), "Stop"));
        button(trainer.get(), "Stop")->click();
    });
    click(trainer.get(), "Start");
    ASSERT_EQ(picture.size(), shown);

    // The map's cells as 20 x 20 blocks; the line and Stop dark, Start grey.
    for (const QPoint cell : {QPoint(0, 0), QPoint(19, 0), QPoint(7, 12), QPoint(19, 19)})
        EXPECT_EQ(picture.pixel(map.topLeft() + cell * 20 + QPoint(10, 10)),
                  picture.pixel(map.topLeft() + cell * 20 + QPoint(1, 1)))
            << cell.x() << "," << cell.y();
    EXPECT_NE(picture.pixel(map.topLeft() + QPoint(10, 10)),
              picture.pixel(map.bottomRight() - QPoint(10, 10)));
    EXPECT_GT(vx_gui_test::dark_pixels(picture, line), 20);
    EXPECT_GT(vx_gui_test::dark_pixels(picture, stop), 20);
    EXPECT_EQ(vx_gui_test::dark_pixels(picture, start), 0);
}

TEST(Screenshot, TheClassExportDialogNamesItsClasses)
{
    char c0[] = "Irrelevant", c1[] = "Cells", c2[] = "Nuclei", c3[] = "Debris";
    char* names[] = {c0, c1, c2, c3};
    VxClassExportDialog dialog(4, names, "Export File", "Table (*.csv)", ".csv", nullptr,
                               "Regions By Class", 0);
    const QImage picture = vx_gui_test::save_screenshot(dialog, "VxClassExportDialog");
    ASSERT_EQ(picture.size(), dialog.size());
    const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 2);
    EXPECT_GT(vx_gui_test::dark_pixels(picture, labels[0]->geometry()), 30);
    EXPECT_GT(vx_gui_test::dark_pixels(picture, labels[1]->geometry()), 10);
}

using NewRepositoryScreenshot = new_repository_test::DialogTest;

TEST_F(NewRepositoryScreenshot, TheDialogShowsItsLogAfterARun)
{
    chooseTwoPictures(3);
    compute();
    const QImage picture = vx_gui_test::save_screenshot(*dialog, "vx_new_repository_dialog");
    ASSERT_EQ(picture.size(), QSize(500, 500));
    auto* logWindow = dialog->findChild<QPlainTextEdit*>("Log Window");
    EXPECT_GT(vx_gui_test::dark_pixels(picture, logWindow->geometry()), 200);
    QWidget* compute = button("Compute");
    EXPECT_GT(vx_gui_test::dark_pixels(picture, compute->geometry()), 20);
    auto* bar = dialog->findChildren<QProgressBar*>().last();
    EXPECT_EQ(bar->value(), 2);
}
