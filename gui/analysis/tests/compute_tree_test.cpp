#include <gtest/gtest.h>

#include <QProgressBar>
#include <QTimer>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "analyse/handles.h"
#include "analyse/trees/region_types.h"
#include "filter/functions.h"
#include "gui/analysis/tests/analysis_test_support.h"
#include "gui/analysis/vx_analyse_compute_tree.h"
#include "gui/foundation/vx_dual_tree_progress.h"
#include "testsupport/memory_limit.h"

using namespace analysis_test;

namespace {

// Bright and dark squares of several sizes on a mid grey: trees with a few
// levels at a few scales.
QImage nested_squares()
{
    return picture(48, 40,
                   {{0, 0, 48, 40, 120},
                    {4, 4, 16, 14, 210},
                    {8, 8, 5, 5, 60},
                    {26, 6, 18, 26, 30},
                    {30, 12, 6, 6, 250},
                    {6, 24, 9, 11, 180}});
}

int count(const std::string& text, const std::string& part)
{
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

void expect_same_tree(region_tree* a, region_tree* b)
{
    ASSERT_EQ(a->regions, b->regions);
    EXPECT_EQ(a->scales, b->scales);
    std::vector<tregionnode*> left;
    std::vector<tregionnode*> right;
    walk_preorder(a->root, [&](tregionnode* n) { left.push_back(n); });
    walk_preorder(b->root, [&](tregionnode* n) { right.push_back(n); });
    ASSERT_EQ(left.size(), right.size());
    for (size_t i = 0; i < left.size(); ++i) {
        const tregionnode* l = left[i];
        const tregionnode* r = right[i];
        EXPECT_EQ(l->label, r->label);
        EXPECT_EQ(l->birth, r->birth);
        EXPECT_EQ(l->age, r->age);
        EXPECT_EQ(l->nsons, r->nsons);
        EXPECT_EQ(std::vector<int>(l->pixels, l->pixels + l->size),
                  std::vector<int>(r->pixels, r->pixels + r->size));
        EXPECT_EQ(std::vector<int>(l->contour, l->contour + l->contour_size),
                  std::vector<int>(r->contour, r->contour + r->contour_size));
        EXPECT_EQ(l->meangrey, r->meangrey);
    }
}

class ComputeTreeTest : public AnalysisTest,
                        public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(ComputeTreeTest, ThreadedTreesEqualThoseComputedOnTheCallingThread)
{
    const auto [oscales, cscales] = GetParam();
    const std::string path = png(nested_squares());
    vx_analyse_control plain(path.c_str(), oscales, cscales, "plain", 3, nullptr);
    vx_analyse_control threaded(path.c_str(), oscales, cscales, "threaded", 3, nullptr);
    vx_test::printed_by([&] {
        plain.pdisplay()->convertGreyEuclidean();
        threaded.pdisplay()->convertGreyEuclidean();
        ASSERT_TRUE(plain.compute_scales());
        ASSERT_TRUE(threaded.compute_scale_progress(nullptr, nullptr));
    });
    // Each tree has as many scales as asked for.
    EXPECT_EQ(threaded.openingtree()->scales, oscales);
    EXPECT_EQ(threaded.closingtree()->scales, cscales);
    expect_same_tree(plain.openingtree(), threaded.openingtree());
    expect_same_tree(plain.closingtree(), threaded.closingtree());
    EXPECT_EQ(threaded.onodelistsize(), threaded.openingtree()->regions + 1);
    EXPECT_EQ(threaded.cnodelistsize(), threaded.closingtree()->regions + 1);
    EXPECT_EQ(threaded.activeDarkNodes(), 0);
}

INSTANTIATE_TEST_SUITE_P(EqualAndUnequalScales, ComputeTreeTest,
                         ::testing::Values(std::make_pair(3, 3), std::make_pair(2, 4)));

class ThreadedRunTest : public AnalysisTest {};

TEST_F(ThreadedRunTest, ProgressLinesAndBarsFollowTheWorkersSteps)
{
    const std::string path = png(nested_squares());
    vx_analyse_control control(path.c_str(), 3, 2, "bars", 3, nullptr);
    VxDualTreeProgress progress(3, nullptr, "New Project Progress", 0);
    const std::string printed = vx_test::printed_by(
        [&] { ASSERT_TRUE(control.compute_scale_progress(&progress, nullptr)); });

    EXPECT_NE(printed.find("THREADS\n"), std::string::npos);
    EXPECT_NE(printed.find("Threaded Computation Start at "), std::string::npos);
    EXPECT_NE(printed.find(" Computation and I/O took "), std::string::npos);
    // One report per partition scale and per graph scale of each tree.
    EXPECT_EQ(count(printed, "Signal Progress Set \n"), 3 + 3 + 2 + 2);

    const QList<QProgressBar*> bars = progress.findChildren<QProgressBar*>();
    ASSERT_EQ(bars.size(), 2);
    EXPECT_EQ(bars[0]->value(), 6);
    EXPECT_EQ(bars[1]->value(), 4);
}

TEST_F(ThreadedRunTest, EventsRunDuringTheComputationButCannotStartAnother)
{
    // Trees and a selection from an earlier computation.
    auto control_ptr = computed(nested_squares());
    vx_analyse_control& control = *control_ptr;
    write(control.brightrulesname(), "RULES: TD: #RULES\n");
    vx_test::printed_by([&] { control.apply_open_rule(); });
    ASSERT_GT(control.activeBrightNodes(), 0);
    VxDualTreeProgress progress(3, nullptr, "New Project Progress", 0);
    bool fired = false;
    QTimer::singleShot(0, &control, [&] {
        fired = true;
        EXPECT_TRUE(control.computing());
        // The old trees are gone, and so is the selection that pointed into
        // them.
        EXPECT_EQ(control.opennodelist(), nullptr);
        control.dva_update_output();
        EXPECT_FALSE(control.compute_scale_progress(&progress, nullptr));
        EXPECT_FALSE(control.compute_scales());
        control.load_image("elsewhere.png");
    });
    vx_test::printed_by([&] { ASSERT_TRUE(control.compute_scale_progress(&progress, nullptr)); });
    EXPECT_TRUE(fired);
    EXPECT_FALSE(control.computing());
    EXPECT_EQ(control.image()->width, 48);
    EXPECT_EQ(control.openingtree()->width, 48);
}

TEST_F(ThreadedRunTest, AControllerDeletedDuringTheComputationLeavesNothingBehind)
{
    const std::string path = png(nested_squares());
    auto* control = new vx_analyse_control(path.c_str(), 3, 3, "deleted", 3, nullptr);
    auto* progress = new VxDualTreeProgress(3, nullptr, "New Project Progress", 0);
    QTimer::singleShot(0, [&] {
        delete progress;
        delete control;
    });
    vx_test::printed_by([&] { EXPECT_FALSE(control->compute_scale_progress(progress, nullptr)); });
}

TEST_F(ThreadedRunTest, TreesThatRunOutOfMemoryLeaveNoTreesAndTheControllerGoesOn)
{
    if (vx_test::under_sanitizer)
        GTEST_SKIP() << "the sanitizers reserve more address space than the limit leaves";
    const std::string big =
        png(picture(2048, 2048, {{100, 100, 600, 400, 200}, {900, 900, 500, 700, 40}}), "big.png");
    const std::string small = png(nested_squares(), "small.png");
    vx_analyse_control control(big.c_str(), 3, 3, "scarce", 3, nullptr);
    EXPECT_EXIT(
        {
            vx_test::limit_address_space(size_t{256} << 20);
            bool failed = false;
            bool computed = false;
            vx_test::printed_by([&] {
                failed = !control.compute_scale_progress(nullptr, nullptr) &&
                         control.ranOutOfMemory() && control.openingtree() == nullptr &&
                         control.closingtree() == nullptr;
                control.load_image(small.c_str());
                computed =
                    control.compute_scale_progress(nullptr, nullptr) && !control.ranOutOfMemory();
            });
            std::_Exit(failed && computed ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// The worker's body on plain threads, both polarities at once, while this
// thread reads their steps: the check of the workers that ThreadSanitizer
// can follow without Qt's own synchronisation.
TEST(ComputeTreeWorker, TwoWorkersRunAtOnceWhileTheirStepsAreRead)
{
    struct worker : vx_analyse_compute_tree {
        using vx_analyse_compute_tree::run;
        using vx_analyse_compute_tree::vx_analyse_compute_tree;
    };
    const QImage squares = nested_squares();
    image_handle grey(create_image(squares.width(), squares.height(), 0));
    for (int y = 0; y < grey->height; ++y)
        for (int x = 0; x < grey->width; ++x)
            grey->pixels[y * grey->width + x] = qGray(squares.pixel(x, y));
    std::vector<vx_image_handle> images;
    std::vector<std::unique_ptr<worker>> workers;
    functions tmpl[2] = {unit_disk_template, unit_disk_template};
    for (int mode = 1; mode <= 2; ++mode) {
        images.emplace_back(init_vximage_from_single_image(grey.get(), 1, 0));
        images.emplace_back(init_vx_image(grey->width, grey->height, 3));
        workers.push_back(std::make_unique<worker>(
            images[images.size() - 2].get(), images.back().get(), &tmpl[mode - 1], 3, mode, 3));
    }
    vx_test::printed_by([&] {
        std::atomic<int> running{2};
        std::vector<std::thread> threads;
        for (auto& w : workers)
            threads.emplace_back([&w, &running] {
                w->run();
                --running;
            });
        int last[2] = {0, 0};
        while (running > 0)
            for (int k = 0; k < 2; ++k) {
                const int step = workers[k]->getStep();
                EXPECT_GE(step, last[k]);
                last[k] = step;
            }
        for (std::thread& t : threads)
            t.join();
    });
    for (auto& w : workers) {
        EXPECT_EQ(w->getStep(), 6);
        region_tree_handle tree(w->getTree());
        ASSERT_NE(tree, nullptr);
        EXPECT_EQ(tree->scales, 3);
    }
}

TEST(ComputeTreeWorker, CountsItsStepsAndFormatsProgressTexts)
{
    vx_analyse_compute_tree idle;
    idle.start();
    ASSERT_TRUE(idle.wait(10000));
    EXPECT_EQ(idle.getTree(), nullptr);
    EXPECT_EQ(idle.getStep(), 0);

    idle.setProgress(99, 4);
    EXPECT_EQ(idle.getStep(), 4);
    const std::string printed =
        vx_test::printed_by([&] { vx_analyse_compute_tree::sendProgressSignal(1, 6, &idle); });
    EXPECT_EQ(printed, "Signal Progress Set \n");
    EXPECT_EQ(idle.getStep(), 7);

    EXPECT_STREQ(set_progress_output("Bright", 3), "Bright, 3\n");
    EXPECT_STREQ(set_progress_output("Dark", -1), "Dark");
}

}  // namespace
