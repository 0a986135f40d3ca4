// The image display widget on a 2048 x 2048 image in mode 1 with palette 4:
// a full zoomed redraw, and 10,000 single-pixel updates as a painting tool
// makes them. The widget is never shown, so no painting is measured.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "bench/bench_support.h"
#include "bench/gui_bench_main.h"
#include "gui/foundation/qimage_frame.h"

namespace {

constexpr int side = 2048;

// Palette 4 indices, a third of them under an overlay.
std::vector<int> overlaid_words()
{
    std::mt19937 random(11);
    std::vector<int> words(static_cast<size_t>(side) * side);
    for (int& w : words) {
        w = static_cast<int>(random() % 2048);
        if (random() % 3 == 0)
            w |= static_cast<int>((random() % 256) << 16 | (random() % 256) << 24);
    }
    return words;
}

void BM_FullZoomedRedraw(benchmark::State& state)
{
    std::vector<int> words = overlaid_words();
    quiet_stdout quiet;
    qimage_frame frame(side, side, words.data(), nullptr, nullptr, 0);
    frame.setDisplayMode(1);
    frame.setZoomWindow(static_cast<int>(state.range(0)), side / 4, side / 4);
    for (auto _ : state)
        frame.display_image_zoomed();
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_FullZoomedRedraw)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_TenThousandSinglePixelUpdates(benchmark::State& state)
{
    std::vector<int> words = overlaid_words();
    quiet_stdout quiet;
    qimage_frame frame(side, side, words.data(), nullptr, nullptr, 0);
    frame.setDisplayMode(1);
    frame.setZoomWindow(static_cast<int>(state.range(0)), 0, 0);
    const int window = frame.DisplayFrameWidth();
    std::mt19937 random(5);
    std::vector<int> xs(10000);
    std::vector<int> ys(10000);
    for (size_t i = 0; i < xs.size(); ++i) {
        xs[i] = static_cast<int>(random() % static_cast<unsigned>(window));
        ys[i] = static_cast<int>(random() % static_cast<unsigned>(window));
    }
    for (auto _ : state)
        for (size_t i = 0; i < xs.size(); ++i)
            frame.display_pixel_orig_zoomed(xs[i], ys[i]);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(xs.size()));
}
BENCHMARK(BM_TenThousandSinglePixelUpdates)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return run_gui_benchmarks(argc, argv);
}
