// The windows of a large photograph on a real screen (run under Xvfb with a
// window manager, on the screen CMake gives it) with the program's 14-point
// font: every window lies on the screen with its frame, and every control
// named here can be scrolled into its window's view there. Screenshots of
// "Create RAVAZ" and "Analyse Image" go to screenshots/screen_<window>.png.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <filesystem>
#include <string>

#include "app/font_rule.h"
#include "gui/analysis/vx_analyse_contour_fds.h"
#include "gui/analysis/vx_analyse_control.h"
#include "gui/analysis/vx_analyse_scales.h"
#include "gui/analysis/vx_new_project_dialog.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/sofm/vx_gui_som.h"
#include "gui/foundation/tests/sofm_test_support.h"
#include "gui/shell/vx_main_window.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/vx_test.h"

using vx_gui_test::dialogs;
using vx_test::printed_by;

namespace {

constexpr int photo_width = 2000;
constexpr int photo_height = 1500;

// A grey photograph of coins: a shaded plate with bright discs on it.
QImage coins_photograph()
{
    QImage photo(photo_width, photo_height, QImage::Format_Grayscale8);
    for (int y = 0; y < photo_height; ++y) {
        uchar* row = photo.scanLine(y);
        for (int x = 0; x < photo_width; ++x) {
            const int cx = x % 250 - 125;
            const int cy = y % 250 - 125;
            const bool coin = cx * cx + cy * cy < 70 * 70;
            row[x] = static_cast<uchar>(coin ? 200 - (cx + cy) / 8 : 40 + (x + y) / 70);
        }
    }
    return photo;
}

QRect free_area(QWidget* window)
{
    return window->screen()->availableGeometry();
}

// The window, once the window manager has framed and placed it, lies on
// the screen's free area, frame included.
void expect_on_screen(QWidget* window)
{
    ASSERT_NE(window, nullptr);
    // Sizes the layouts ask for.
    QApplication::processEvents();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window)) << window->windowTitle().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([window] { return window->frameGeometry() != window->geometry(); }))
        << window->windowTitle().toStdString() << " has no frame";
    const bool inside = QTest::qWaitFor(
        [window] { return free_area(window).contains(window->frameGeometry()); }, 2000);
    EXPECT_TRUE(inside) << window->windowTitle().toStdString() << " at "
                        << window->frameGeometry().x() << "," << window->frameGeometry().y()
                        << " size " << window->frameGeometry().width() << "x"
                        << window->frameGeometry().height();
}

// The widget of that object name, else the button of that text.
QWidget* control_named(QWidget* window, const char* name)
{
    if (auto* found = window->findChild<QWidget*>(QString::fromLatin1(name)))
        return found;
    for (QPushButton* button : window->findChildren<QPushButton*>())
        if (button->text() == QLatin1String(name))
            return button;
    return nullptr;
}

// The control lies, once scrolled to, inside its window's view and on the
// screen.
void expect_reachable(QWidget* window, const char* name)
{
    QWidget* control = control_named(window, name);
    ASSERT_NE(control, nullptr) << name;
    QRect view = window->geometry();
    for (QWidget* up = control->parentWidget(); up != nullptr; up = up->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(up)) {
            area->ensureWidgetVisible(control, 0, 0);
            view = QRect(area->viewport()->mapToGlobal(QPoint(0, 0)), area->viewport()->size());
            break;
        }
    QApplication::processEvents();
    const QRect at(control->mapToGlobal(QPoint(0, 0)), control->size());
    EXPECT_TRUE(view.contains(at)) << name;
    EXPECT_TRUE(free_area(window).contains(at)) << name;
}

QWidget* window_named(const QString& name)
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->objectName() == name)
            return widget;
    return nullptr;
}

void click(QWidget* window, const char* name)
{
    auto* button = qobject_cast<QPushButton*>(control_named(window, name));
    ASSERT_NE(button, nullptr) << name;
    printed_by([button] { QTest::mouseClick(button, Qt::LeftButton); });
}

// The screenshot of the window: of the window's size, the picture's top
// left corner in the display frame, and text on the named button.
void shoot(QWidget* window, const char* name, const QImage& photo, const char* button)
{
    const QImage shot = vx_gui_test::save_screenshot(*window, QStringLiteral("screen_") + name);
    EXPECT_EQ(shot.size(), window->size()) << name;
    const QPoint frame = window->findChild<qimage_frame*>()->mapTo(window, QPoint(0, 0));
    for (const QPoint at : {QPoint(5, 5), QPoint(200, 100), QPoint(125, 125)})
        EXPECT_EQ(qGray(shot.pixel(frame + at)), qGray(photo.pixel(at))) << name;
    QWidget* control = control_named(window, button);
    const QRect area(control->mapTo(window, QPoint(0, 0)), control->size());
    EXPECT_GT(vx_gui_test::dark_pixels(shot, area), 20) << name;
}

class RealScreen : public ::testing::Test {
protected:
    vx_test::TempDir dir;
    const std::filesystem::path previous = std::filesystem::current_path();
    QPointer<vx_main_window> window;

    RealScreen()
    {
        std::filesystem::current_path(dir.path());
        QFont font = QApplication::font();
        printed_by([&] {
            if (vx_enlarge_small_font(font))
                QApplication::setFont(font);
        });
        vx_test::write_file(dir.file("Attributes.rule"), "DECLS:\n#DECLS\n");
        const QString here = vx_gui_test::q(dir.path().string());
        window = vx_test::capturing_stdout(
            [&] { return new vx_main_window(here, here, nullptr, "Main Apllication Window"); });
        window->show();
    }
    ~RealScreen() override
    {
        printed_by([this] {
            delete window;
            vx_gui_test::flush_deferred_deletes();
            vx_gui_test::flush_deferred_deletes();
        });
        std::filesystem::current_path(previous);
    }
};

}  // namespace

TEST_F(RealScreen, TheWindowsOfALargePhotographKeepTheirControlsOnTheScreen)
{
    ASSERT_GE(QApplication::font().pointSize(), 14);
    const QImage photo = coins_photograph();
    ASSERT_TRUE(photo.save(vx_gui_test::q(dir.file("coins.png"))));

    // "Create RAVAZ" with the photograph loaded.
    printed_by([this] { window->new_project(); });
    QWidget* create = window_named("New Project");
    ASSERT_NE(create, nullptr);
    dialogs().answer(vx_gui_test::q(dir.file("coins.png")));
    click(create, "Infiledialog");
    QApplication::processEvents();
    ASSERT_EQ(create->findChild<qimage_frame*>()->ImageWidth(), photo_width);
    expect_on_screen(create);
    shoot(create, "create_ravaz", photo, "Start");
    for (const char* name : {"Infiledialog", "Start", "Remove Noise Selection", "Reload Image",
                             "Save", "Resize Image View Bigger", "New Project Progress"})
        expect_reachable(create, name);

    // Start: "Analyse Image" on the trees.
    click(create, "Start");
    vx_gui_test::flush_deferred_deletes();
    QWidget* analysis = window_named("Analyse Image");
    ASSERT_NE(analysis, nullptr);
    expect_on_screen(analysis);
    shoot(analysis, "analyse_image", photo, "Write VXP");
    for (const char* name : {"Quit", "Apply Bright Query", "Apply Dark Query", "Bright Rule Edit",
                             "Dark Rule Edit", "Write VXP", "Export Dark Table", "Dark Blobs"})
        expect_reachable(analysis, name);

    // The windows it opens.
    click(analysis, "Browse Bright");
    click(analysis, "Draw Bright");
    click(analysis, "Bright Blobs");
    for (const char* name : {"Browse Bright Scales", "HALLO"}) {
        QWidget* opened = window_named(name);
        ASSERT_NE(opened, nullptr) << name;
        expect_on_screen(opened);
    }
    expect_reachable(window_named("Browse Bright Scales"), "Export View");
    expect_reachable(window_named("HALLO"), "Load Sketch");

    // The Fourier descriptors of a large region: a coin's father.
    auto* scales = static_cast<vx_analyse_scales*>(window_named("Browse Bright Scales"));
    printed_by([scales] {
        scales->midButtonClickAt(125, 125);
        for (int i = 0; i < 8; ++i)
            scales->scale_up();
        scales->analyse_fds();
    });
    vx_analyse_contour_fds* fds = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* view = qobject_cast<vx_analyse_contour_fds*>(widget); view && view->isVisible())
            fds = view;
    ASSERT_NE(fds, nullptr);
    expect_on_screen(fds);
    expect_reachable(fds, "Coeffs");
    for (int i = 0; i < 8; ++i)
        fds->up_coeffs();
    click(fds, "Coeffs");
    QApplication::processEvents();
    // Every number on a line of its own.
    auto* coefficients = fds->findChild<QPlainTextEdit*>("Coefficients");
    ASSERT_GT(coefficients->blockCount(), 5);
    // The numbers lie in view beside the button that lists them.
    EXPECT_TRUE(fds->geometry().contains(
        QRect(coefficients->mapToGlobal(QPoint(0, 0)), coefficients->size())));
    for (QTextBlock line = coefficients->document()->firstBlock(); line.isValid();
         line = line.next())
        EXPECT_EQ(line.layout()->lineCount(), 1) << line.text().toStdString();
    EXPECT_EQ(coefficients->horizontalScrollBar()->maximum(), 0);
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowTitle() == "Bright Blobs")
            expect_on_screen(widget);
    printed_by([this] { window->rules_howto(); });
    expect_on_screen(window_named("Rules HOWTO"));
}

TEST_F(RealScreen, TheRepositoryDialogsAndTheTrainerLieOnTheScreen)
{
    printed_by([this] {
        window->create_repository();
        window->query_repository();
    });
    // The query list grows with its rows.
    QWidget* query = window_named("Query Repository");
    auto* rule = query->findChild<QLineEdit*>("Query Rule");
    for (int i = 0; i < 10; ++i) {
        rule->setText(vx_gui_test::q(dir.file("q" + std::to_string(i) + ".rule")));
        QTest::keyClick(rule, Qt::Key_Return);
    }
    for (const char* name : {"Create Repository", "Query Repository"})
        expect_on_screen(window_named(name));
    expect_reachable(window_named("Create Repository"), "Log Window");
    expect_reachable(window_named("Query Repository"), "Start Query");

    sofm_test::write_table(dir.file("table.csv"), 5000, 4);
    QPointer<VxGUISOM> trainer = sofm_test::open(dir.file("table.csv"));
    expect_on_screen(trainer);
    expect_reachable(trainer, "Save SOM Name");
    printed_by([&] { delete trainer; });
}

TEST_F(RealScreen, TheNewRepositoryDialogStaysWhereTheUserPutItWhileItComputes)
{
    printed_by([this] { window->create_repository(); });
    QWidget* dialog = window_named("Create Repository");
    expect_on_screen(dialog);

    // The user drags it elsewhere: the window manager moves it.
    const QPoint to = free_area(dialog).topLeft() + QPoint(200, 100);
    QProcess::execute(QStringLiteral("xdotool"),
                      {QStringLiteral("windowmove"), QString::number(dialog->winId()),
                       QString::number(to.x()), QString::number(to.y())});
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->geometry().topLeft() == to; }));
    const QRect placed = dialog->frameGeometry();

    dialog->findChild<QLineEdit*>("ResultNameEdit")->setText(vx_gui_test::q(dir.file("rep.vxr")));
    click(dialog, "Compute");
    // The window manager has mapped it again by then, busy and done.
    QTest::qWait(1000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->frameGeometry() == placed; }))
        << "at " << dialog->frameGeometry().x() << "," << dialog->frameGeometry().y()
        << " instead of " << placed.x() << "," << placed.y();
}
