// The scale browser on the bright tree of one 2048 x 2048 image at 20
// scales: 19 steps of "Up" from the finest scale to the coarsest, each
// drawing the contours and labels of the regions alive at that scale over
// the base image and repainting the shown display. The tree is computed once
// beforehand (the dark tree with 2 scales only).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QWidget>
#include <filesystem>
#include <memory>
#include <string>

#include "analyse/trees/region_types.h"
#include "bench/bench_repository.h"
#include "bench/bench_support.h"
#include "bench/qt_bench_main.h"
#include "gui/analysis/vx_analyse_control.h"
#include "gui/analysis/vx_analyse_scales.h"
#include "gui/foundation/qimage_frame.h"

namespace {

constexpr int side = 2048;

struct browsed_tree {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("vx_scales_bench." + std::to_string(getpid()));
    std::unique_ptr<vx_analyse_control> control;
    std::unique_ptr<vx_analyse_scales> browser;

    browsed_tree()
    {
        quiet_stdout quiet;
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
        const std::string picture = (dir / "picture.pgm").string();
        write_blob_picture(picture, side, 29u);
        control = std::make_unique<vx_analyse_control>(picture.c_str(), kScales, 2,
                                                       "vx_analyse_control for bench", 3, nullptr);
        control->pdisplay()->convertGreyEuclidean();
        if (control->compute_scales()) {
            browser = std::make_unique<vx_analyse_scales>(control.get(), 1, nullptr,
                                                          "Browse Bright Scales", 0);
            browser->show();
        }
    }
    ~browsed_tree()
    {
        browser.reset();
        control.reset();
        std::error_code ignored;
        std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
        std::filesystem::remove_all(dir, ignored);
    }
};

// Made by the first run and kept for the others; its widgets go before the
// application does.
std::unique_ptr<browsed_tree> kept;

browsed_tree& data()
{
    if (!kept)
        kept = std::make_unique<browsed_tree>();
    return *kept;
}

void BM_ScaleSteps(benchmark::State& state)
{
    vx_analyse_scales* browser = data().browser.get();
    if (browser == nullptr) {
        state.SkipWithError("no tree");
        return;
    }
    quiet_stdout quiet;
    for (auto _ : state) {
        for (int step = 1; step < kScales; ++step)
            browser->scale_up();
        state.PauseTiming();
        browser->set_scale(QStringLiteral("0"));
        state.ResumeTiming();
    }
    state.counters["regions"] = data().control->openingtree()->regions;
    state.counters["steps"] = kScales - 1;
}
BENCHMARK(BM_ScaleSteps)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return vx_qt_benchmark_main(argc, argv, [] { kept.reset(); });
}
