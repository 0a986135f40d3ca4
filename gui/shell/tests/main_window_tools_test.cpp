// The main window opening its tools: an analysis from a project file or a
// finished computation, and the SOFM trainer on a chosen table; ending the
// session while an analysis is open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <filesystem>
#include <memory>
#include <vector>

#include "gui/analysis/tests/main_dialog_test_support.h"
#include "gui/foundation/tests/sofm_test_support.h"
#include "gui/shell/vx_main_window.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/vx_test.h"

using namespace analysis_test;
using vx_gui_test::dialogs;

namespace {

const VxDialogRequest& last_request()
{
    return dialogs().requests().back();
}

// A shown main window over an application directory with an update rule.
std::unique_ptr<vx_main_window> main_window(const vx_test::TempDir& app, const QString& work)
{
    vx_test::write_file(app.file("Attributes.rule"), "DECLS:\n#DECLS\n");
    auto window = vx_test::capturing_stdout([&] {
        return std::make_unique<vx_main_window>(QString::fromStdString(app.path().string()), work,
                                                nullptr, "Main Apllication Window");
    });
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return window;
}

std::vector<QWidget*> analysis_dialogs()
{
    std::vector<QWidget*> found;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == "Analyse Image")
            found.push_back(widget);
    return found;
}

class SofmTrainerTest : public ::testing::Test {
protected:
    vx_test::TempDir dir;
    std::string table(int rows, int inputs)
    {
        sofm_test::write_table(dir.file("table.csv"), rows, inputs);
        return dir.file("table.csv");
    }
};

}  // namespace

TEST_F(MainDialogTest, WriteVxpAndCtrlOReopenTheAnalysisWithItsHits)
{
    open(square_on_black());
    query(square_rule);
    dialogs().answer(qfile("p.vxp"));
    press("Write VXP");
    EXPECT_EQ(last_request().caption, "Set Project File");
    EXPECT_EQ(last_request().startPath, "./*.vxp");
    EXPECT_EQ(last_request().filter, "Corvella Projects (*.vxp)");
    const auto lines = vx_test::lines_of(vx_test::read_file(file("p.vxp")));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "BrightTree: p.bright.tree");
    EXPECT_EQ(lines[3], "Imagename: picture.png");
    EXPECT_EQ(vx_test::read_file(file("p.dark.tree")).substr(0, 5), "RTHR2");
    query(square_rule);
    EXPECT_EQ(control->activeBrightNodes(), 1);

    vx_test::TempDir app;
    std::unique_ptr<vx_main_window> window = main_window(app, qfile(""));
    dialogs().answer(qfile("p.vxp"));
    vx_test::printed_by([&] { QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier); });
    EXPECT_EQ(last_request().caption, "Choose a Project to open");
    EXPECT_EQ(last_request().filter, "Corvella Projects (*.vxp)");
    ASSERT_EQ(analysis_dialogs().size(), 2u);
    QPointer<QWidget> loaded =
        analysis_dialogs()[0] == dialog ? analysis_dialogs()[1] : analysis_dialogs()[0];
    query(square_rule, loaded);
    EXPECT_EQ(loaded->findChild<qimage_frame*>()->toolTip(), "1 Bright Regions\n0 Dark Regions");

    // A project whose tree is gone: a pop-up and no dialog.
    std::filesystem::remove(file("p.dark.tree"));
    dialogs().answer(qfile("p.vxp"));
    dialogs().press("Acknowlege");
    vx_test::printed_by([&] { QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier); });
    EXPECT_EQ(last_request().title, "Project not loaded");
    EXPECT_EQ(analysis_dialogs().size(), 2u);

    window.reset();
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(loaded.isNull());
}

TEST_F(MainDialogTest, QuitAndClosingAskOnceWhileAnAnalysisIsOpen)
{
    vx_test::TempDir app;
    QPointer<vx_main_window> window = main_window(app, qfile("")).release();
    open(square_on_black());
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    dialogs().press("&No");
    QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
    dialogs().press("&No");
    EXPECT_FALSE(window->close());
    vx_gui_test::flush_deferred_deletes();
    ASSERT_FALSE(window.isNull());
    ASSERT_EQ(dialogs().requests().size(), 2u);
    EXPECT_EQ(last_request().title, "End Corvella");

    dialogs().press("&Yes");
    QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(window.isNull());
}

TEST_F(MainDialogTest, StartingTheDialogKeepsTheWorkingImageOfTheComputation)
{
    vx_test::TempDir app;
    std::unique_ptr<vx_main_window> window = main_window(app, qfile(""));
    write(file("Attributes.rule"), "RULES: TD: #RULES\n");
    auto* computedControl =
        new vx_analyse_control("vx_analyse_control for new_project_dialog", 3, nullptr);
    image* deep = create_image(20, 20, 100);
    deep->kind = IMAGE_GREY16;
    deep->pixels[10 * 20 + 10] = 1100;
    vx_test::printed_by([&] {
        computedControl->update_image(deep);
        ASSERT_TRUE(computedControl->compute_scales());
        window->start_main_dialog(computedControl);
    });
    control = computedControl;
    ASSERT_EQ(analysis_dialogs().size(), 1u);
    EXPECT_EQ(control->pdisplay()->window(), analysis_dialogs()[0]);
    EXPECT_EQ(control->image()->pixels[10 * 20 + 10], 1100);
    window.reset();
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(control.isNull());
}

TEST_F(SofmTrainerTest, AnalyseSofmOfTheMainWindowOpensTheTrainerOnTheChosenTable)
{
    vx_test::write_file(dir.file("Attributes.rule"), "DECLS:\n#DECLS\n");
    const QString app = QString::fromStdString(dir.path().string());
    testing::internal::CaptureStdout();
    QPointer<vx_main_window> window = new vx_main_window(app, app, nullptr, "Main");
    testing::internal::GetCapturedStdout();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));

    const std::string file = table(20, 2);
    dialogs().answer(QString());
    dialogs().answer(QString::fromStdString(file));
    QTest::keyClick(window, Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(vx_gui_test::top_level_widget("SOMAnalysis"), nullptr) << "cancelled";
    testing::internal::CaptureStdout();
    QTest::keyClick(window, Qt::Key_M, Qt::ControlModifier);
    testing::internal::GetCapturedStdout();
    const VxDialogRequest& asked = dialogs().requests()[1];
    EXPECT_EQ(asked.objectName, "open file dialog");
    EXPECT_EQ(asked.caption, "Select Table or Som");
    EXPECT_EQ(asked.filter, "Table or SOM (*.csv *.som)");
    QPointer<QWidget> trainer = vx_gui_test::top_level_widget("SOMAnalysis");
    ASSERT_NE(trainer, nullptr);
    EXPECT_EQ(trainer->windowTitle(), QString::fromStdString("SOM for" + file));

    // The trainer does not follow the main window's finito().
    window->quit();
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(window.isNull());
    ASSERT_FALSE(trainer.isNull());
    testing::internal::CaptureStdout();
    trainer->close();
    vx_gui_test::flush_deferred_deletes();
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(trainer.isNull());
    EXPECT_EQ(sofm_test::column_list(), nullptr);
}
