// The sketch tool's "Attributes" on a 1024 x 1024 template holding 200
// separate patches of 30 x 30 pixels (a grid of 20 x 10), with the default
// update rule: the patches become regions, each gets its node and attribute
// vector, and the table of all of them is built.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "bench/bench_support.h"
#include "bench/qt_bench_main.h"
#include "gui/analysis/vx_draw_region.h"
#include "gui/foundation/vx_base_paths.h"
#include "imagecore/handles.h"

namespace {

constexpr int side = 1024;
constexpr int columns = 20;
constexpr int rows = 10;
constexpr int patch = 30;

void BM_SketchAttributes(benchmark::State& state)
{
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("vx_sketch_bench." + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const QString rule = QString::fromStdString((dir / "Attributes.rule").string());
    std::ofstream(rule.toStdString()) << kDefaultUpdateRule;
    const QString folder = QString::fromStdString(dir.string());
    VxBasePaths paths(folder, rule, QString(), folder, folder, nullptr, "Bench Paths", 0);

    // A grey ramp with some texture, and the patches of the sketch.
    image_handle grey(create_image(side, side, 0));
    image_handle sketch(create_image(side, side, 0));
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            grey->pixels[y * side + x] = (x / 4 + y / 8 + (x * y) % 7) % 256;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            for (int y = 0; y < patch; ++y)
                for (int x = 0; x < patch; ++x)
                    sketch->pixels[(r * 100 + 10 + y) * side + c * 50 + 10 + x] = 1;

    quiet_stdout quiet;
    VxDrawRegion tool(&paths, grey.get(), nullptr, "Sketch bench", 0);
    tool.setSketch(sketch.get());
    for (auto _ : state)
        tool.computeAttributes();
    state.counters["patches"] = rows * columns;

    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}
BENCHMARK(BM_SketchAttributes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return vx_qt_benchmark_main(argc, argv);
}
