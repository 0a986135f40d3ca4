// The set-up form of a labelling, the classification view of two pictures
// and a labelling view with a labelled region, saved as screenshots.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/repository/tests/labeling_test_support.h"
#include "gui/repository/vx_init_labeled_repository_dialog.h"

using namespace labeling_test;

TEST_F(ViewTest, ScreenshotsOfTheSetUpTheViewAndALabellingView)
{
    const QString work = q(l.d.dir.path().string());
    VxBasePaths paths(work, work + "/Attributes.rule", QString(), work, work, nullptr,
                      "Global Base Paths", 0);
    std::unique_ptr<VxInitLabeledRepositoryDialog> setUp(vx_test::capturing_stdout([&] {
        return new VxInitLabeledRepositoryDialog(&paths, nullptr, "Init Labeled Repository", 0);
    }));
    setUp->findChild<QLineEdit*>("Repository")->setText(q(l.vxr));
    setUp->findChild<QLineEdit*>("Classes")->setText("3");
    const QImage form = vx_gui_test::save_screenshot(*setUp, "VxInitLabeledRepositoryDialog");
    ASSERT_EQ(form.size(), setUp->size());
    for (QPushButton* button : setUp->findChildren<QPushButton*>())
        EXPECT_GT(vx_gui_test::dark_pixels(form, button->geometry()), 15)
            << button->text().toStdString();

    const QImage shot = vx_gui_test::save_screenshot(*view, "VxClassificationView");
    ASSERT_EQ(shot.size(), view->size());
    // Each thumbnail shows its picture: the bright blob white, the rest
    // darker (an empty button is white all over).
    for (int button = 0; button < 2; ++button) {
        const QRect area(thumbnail(button)->mapTo(view.data(), QPoint(0, 0)),
                         thumbnail(button)->size());
        int white = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                white += qGray(shot.pixel(x, y)) >= 250;
        EXPECT_GT(white, 1500) << button;
        EXPECT_LT(white, 15000) << button;
    }
    auto* status = view->findChild<QStatusBar*>();
    EXPECT_GT(vx_gui_test::dark_pixels(shot, status->geometry()), 30);

    // The bright blob of picture 0 picked and labelled in class 1.
    VxSelectRegionsFromTree* labelling = open(0);
    auto* frame = labelling->findChild<qimage_frame*>();
    QTest::mouseClick(frame, Qt::RightButton, Qt::ControlModifier, QPoint(5, 6));
    const QImage picked = vx_gui_test::save_screenshot(*labelling, "VxSelectRegionsFromTree");
    ASSERT_EQ(picked.size(), labelling->size());
    const QPoint origin = frame->mapTo(labelling, QPoint(0, 0));
    // The picked region shows in the browser's pick colour.
    int r = 0, g = 0, b = 0;
    frame->getColor(1530, &r, &g, &b);
    EXPECT_EQ(picked.pixel(origin + QPoint(5, 6)), qRgb(r, g, b));
    for (QPushButton* button : labelling->findChildren<QPushButton*>()) {
        if (button->text() == "Validate" || button->text() == "Clear Class") {
            EXPECT_GT(vx_gui_test::dark_pixels(picked, button->geometry()), 15);
        }
    }
}
