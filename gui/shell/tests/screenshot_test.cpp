// The main window with its status bar and the about window, saved as
// screenshots.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <memory>

#include "gui/shell/vx_main_window.h"
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
