#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <thread>

#include "gui/foundation/vx_dual_tree_progress.h"
#include "testsupport/gui/gui_test.h"

namespace {

struct Bars {
    QProgressBar* bright;
    QProgressBar* dark;
};

Bars bars(VxDualTreeProgress& progress)
{
    const QList<QProgressBar*> found = progress.findChildren<QProgressBar*>();
    return {found.at(0), found.at(1)};
}

}  // namespace

TEST(VxDualTreeProgress, CodesPickTheBarAndItsHalf)
{
    VxDualTreeProgress progress(20, nullptr, "Progress", 0);
    const Bars b = bars(progress);
    EXPECT_TRUE(progress.isVisible());
    EXPECT_EQ(progress.findChildren<QLabel*>().at(0)->text(), "Bright Steps");
    EXPECT_EQ(progress.findChildren<QLabel*>().at(1)->text(), "Dark Steps");
    EXPECT_EQ(b.bright->maximum(), 40);

    testing::internal::CaptureStdout();
    VxDualTreeProgress::getProgress(11, 4, &progress);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "handleComputationProgressBar _IN 5\nhandleComputationProgressBar OUT 5\n");
    EXPECT_EQ(b.bright->value(), 25);
    testing::internal::CaptureStdout();
    VxDualTreeProgress::getProgress(2, 0, &progress);
    EXPECT_EQ(b.dark->value(), 1);
    VxDualTreeProgress::getProgress(7, 3, &progress);
    VxDualTreeProgress::getProgress(0, 3, &progress);
    EXPECT_EQ(b.bright->value(), 25);
    EXPECT_EQ(b.dark->value(), 1);
    VxDualTreeProgress::getProgress(12, 90, &progress);
    EXPECT_EQ(b.dark->value(), 40);
    testing::internal::GetCapturedStdout();

    testing::internal::CaptureStdout();
    progress.setBright(7);
    progress.setProgress(1, 2);
    const std::string lines = testing::internal::GetCapturedStdout();
    EXPECT_EQ(lines.substr(0, 56), "Should Repaint Bright 7 of 40\n\nSignal Progress received\n");
    EXPECT_EQ(b.bright->value(), 3);

    progress.resetSteps(5);
    progress.reset();
    EXPECT_EQ(b.dark->maximum(), 10);
    EXPECT_EQ(b.dark->value(), b.dark->minimum() - 1);
}

TEST(VxDualTreeProgress, WorkerReportsWaitForTheGuiThreadAndShowTheLastSteps)
{
    VxDualTreeProgress progress(30, nullptr, "Progress", 0);
    const Bars b = bars(progress);
    auto tree = [&progress](int partition, int graph, int graphSteps) {
        for (int step = 0; step < 30; ++step)
            VxDualTreeProgress::getProgress(partition, step, &progress);
        for (int step = 0; step < graphSteps; ++step)
            VxDualTreeProgress::getProgress(graph, step, &progress);
    };
    testing::internal::CaptureStdout();
    std::thread bright(tree, 1, 11, 30);
    std::thread dark(tree, 2, 12, 12);
    bright.join();
    dark.join();
    testing::internal::GetCapturedStdout();

    EXPECT_EQ(b.bright->value(), b.bright->minimum() - 1);
    EXPECT_EQ(b.dark->value(), b.dark->minimum() - 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(b.bright->value(), 60);
    EXPECT_EQ(b.dark->value(), 42);
}
