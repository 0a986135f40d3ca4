// The analysis of one 1024 x 1024 image at 20 scales, as the analysis
// windows drive it.
//
// BM_ApplyQuery: "Apply Query" on the bright tree: the rule file parsed and
// run, the hits made the active regions and the display image redrawn
// twice (apply_open_rule). The trees are computed once beforehand.
//
// BM_ApplyQueryThroughDialog: the same through the analysis dialog's
// bright "Apply Query": the rule editor's text saved to the rule file
// first, then applied and drawn into the dialog's display.
//
// BM_TreeComputation/<threads>/<workers>: both trees computed anew, on the
// calling thread (1, compute_scales) or on two worker threads polled by the
// calling thread (2, compute_scale_progress), attributes and selection
// included, with one tree worker each or the default count (0). Run it on
// two cores (taskset -c 0,1) to compare the two.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QWidget>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/bench_repository.h"
#include "bench/bench_support.h"
#include "bench/qt_bench_main.h"
#include "filter/tree_workers.h"
#include "gui/analysis/vx_analyse_control.h"
#include "gui/analysis/vx_analyse_main_dialog.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/vx_base_paths.h"

namespace {

constexpr int side = 1024;

// A directory of its own holding the picture, the update rule that the
// controller writes and the bright rule.
struct analysis_data {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("vx_control_bench." + std::to_string(getpid()));
    std::string picture = (dir / "picture.pgm").string();

    analysis_data()
    {
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
        write_blob_picture(picture, side, 29u);
        FILE* rule = std::fopen("Bright_Objects.rule", "w");
        std::fputs(
            "DECLS: c := 4 * 3.14159 * area / pow(perimeter, 2.0); #DECLS\n"
            "RULES: TD: area > 200 && area < 20000 BU: c > 0.6 #RULES\n",
            rule);
        std::fclose(rule);
    }
    ~analysis_data()
    {
        std::error_code ignored;
        std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
        std::filesystem::remove_all(dir, ignored);
    }

    // A new analysis of the picture in grey, as the new-project dialog
    // starts it.
    std::unique_ptr<vx_analyse_control> control() const
    {
        auto made = std::make_unique<vx_analyse_control>(
            picture.c_str(), kScales, kScales, "vx_analyse_control for bench", 3, nullptr);
        made->pdisplay()->convertGreyEuclidean();
        return made;
    }
};

analysis_data& data()
{
    static analysis_data made;
    return made;
}

void BM_ApplyQuery(benchmark::State& state)
{
    quiet_stdout quiet;
    const std::unique_ptr<vx_analyse_control> control = data().control();
    if (!control->compute_scales()) {
        state.SkipWithError("no trees");
        return;
    }
    QWidget window;
    control->init_display(&window);
    control->displaymode(1);
    for (auto _ : state)
        control->apply_open_rule();
    state.counters["hits"] = control->activeBrightNodes();
    state.counters["regions"] = control->onodelistsize() - 1;
}
BENCHMARK(BM_ApplyQuery)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ApplyQueryThroughDialog(benchmark::State& state)
{
    quiet_stdout quiet;
    std::unique_ptr<vx_analyse_control> control = data().control();
    if (!control->compute_scales()) {
        state.SkipWithError("no trees");
        return;
    }
    const QString here = QString::fromStdString(data().dir.string());
    VxBasePaths paths(here, here + "/Attributes.rule", QString(), here, here, nullptr,
                      "Global Base Paths", 0);
    vx_analyse_control* analysis = control.get();
    vx_analyse_main_dialog dialog(&paths, control.release(), nullptr, "Analyse Image", 0);
    dialog.show();
    for (auto _ : state)
        dialog.apply_bright_objects_rule();
    state.counters["hits"] = analysis->activeBrightNodes();
}
BENCHMARK(BM_ApplyQueryThroughDialog)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TreeComputation(benchmark::State& state)
{
    quiet_stdout quiet;
    const std::unique_ptr<vx_analyse_control> control = data().control();
    const bool threaded = state.range(0) == 2;
    set_tree_workers(static_cast<int>(state.range(1)));
    for (auto _ : state) {
        const bool computed = threaded ? control->compute_scale_progress(nullptr, nullptr)
                                       : control->compute_scales();
        if (!computed)
            state.SkipWithError("no trees");
    }
    set_tree_workers(0);
}
BENCHMARK(BM_TreeComputation)
    ->Args({1, 1})
    ->Args({2, 1})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Iterations(2)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return vx_qt_benchmark_main(argc, argv);
}
