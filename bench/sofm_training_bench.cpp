// The SOFM trainer on 5000 table rows of 10 inputs, on the 142 x 142 map
// that the trainer's size rule gives them (4 x rows > 128 x 128): one
// training pass of the map refreshing its shown display every 15 steps, and
// the whole Start of the trainer window (vectors, the pass, the cluster
// map).
#include <benchmark/benchmark.h>

#include <QPushButton>
#include <QTest>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "analyse/handles.h"
#include "bench/bench_support.h"
#include "bench/qt_bench_main.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/sofm/vx_gui_som.h"
#include "gui/foundation/sofm/vxqtsofm.h"

namespace {

constexpr int rows = 5000;
constexpr int inputs = 10;
const int side = static_cast<int>(std::sqrt(4.0 * rows)) + 1;

// Rows around four centres.
double value(std::mt19937& random, int row, int k)
{
    std::normal_distribution<double> noise(0.0, 0.3);
    return (row % 4) * (k % 3 + 1) + noise(random);
}

vector_array* table_vectors()
{
    std::mt19937 random(3);
    vector_array* in = init_vector_array(inputs, rows, 0.0);
    for (int r = 0; r < rows; ++r)
        for (int k = 0; k < inputs; ++k)
            in->vectors[r].values[k] = value(random, r, k);
    return in;
}

std::string table_file()
{
    const std::string path =
        (std::filesystem::temp_directory_path() / "sofm_training_bench.csv").string();
    std::mt19937 random(3);
    FILE* f = std::fopen(path.c_str(), "w");
    for (int k = 0; k < inputs; ++k)
        std::fprintf(f, "a%d,", k);
    std::fprintf(f, "Class\n");
    for (int r = 0; r < rows; ++r) {
        for (int k = 0; k < inputs; ++k)
            std::fprintf(f, "%.4f,", value(random, r, k));
        std::fprintf(f, "%d\n", r % 4);
    }
    std::fclose(f);
    return path;
}

void BM_OneTrainingPass(benchmark::State& state)
{
    qimage_frame frame(nullptr, nullptr, 0);
    frame.show();
    (void)QTest::qWaitForWindowExposed(&frame);
    for (auto _ : state) {
        state.PauseTiming();
        vector_array_handle in(table_vectors());
        quiet_stdout quiet;
        vxqtsofm map(&frame, side, side, in.get(), 1.0, 1.0, rows, 1, 0);
        state.ResumeTiming();
        map.sofm_step(15);
        benchmark::DoNotOptimize(map.sofm()->weights->vectors[0].values[0]);
    }
    state.counters["units"] = side * side;
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_OneTrainingPass)->Unit(benchmark::kSecond)->Iterations(2);

void BM_StartOfTheTrainer(benchmark::State& state)
{
    const std::string table = table_file();
    for (auto _ : state) {
        state.PauseTiming();
        quiet_stdout quiet;
        VxGUISOM trainer(QString::fromStdString(table), "SOM for", nullptr, "SOMAnalysis");
        (void)QTest::qWaitForWindowExposed(&trainer);
        QPushButton* start = nullptr;
        for (QPushButton* b : trainer.findChildren<QPushButton*>())
            if (b->text() == "Start")
                start = b;
        state.ResumeTiming();
        start->click();
    }
    std::filesystem::remove(table);
}
BENCHMARK(BM_StartOfTheTrainer)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv)
{
    return vx_qt_benchmark_main(argc, argv);
}
