// SOFM training of 5,000 rows of 30 dimensions on a 142 x 142 map (the
// trainer's size for 5,000 rows, near 4 units per row), one pass with
// Gaussian neighbourhood and the cluster map; and reading a table of 100,000
// rows of 8 number and 2 text columns. Counters: peak_MB = the process's
// peak resident size during the step, step_MB = that peak above the
// resident size before it.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>

#include "automation/sofm/vxsofm.h"
#include "automation/tables/vxtable.h"
#include "bench/bench_support.h"

namespace {

// Rows around eight centres in 0..1 per dimension.
vector_array* clustered_rows(int rows, int dim)
{
    vector_array* in = init_vector_array(dim, rows, 0.0);
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> centre(0.0, 1.0);
    std::normal_distribution<double> spread(0.0, 0.05);
    std::vector<double> centres(static_cast<size_t>(8 * dim));
    for (double& c : centres)
        c = centre(rng);
    for (int i = 0; i < rows; ++i)
        for (int k = 0; k < dim; ++k)
            in->vectors[i].values[k] =
                centres[static_cast<size_t>((i % 8) * dim + k)] + spread(rng);
    return in;
}

void BM_SofmTraining(benchmark::State& state)
{
    const int rows = 5000;
    const int dim = 30;
    const int side = 142;
    step_memory memory;
    for (auto _ : state) {
        state.PauseTiming();
        vector_array* in = clustered_rows(rows, dim);
        memory.start();
        state.ResumeTiming();
        {
            quiet_stdout quiet;
            vxsofm map(side, side, in, 0.5, 1.0, rows, 1, 0);
            map.sofm_run(0);
        }
        state.PauseTiming();
        memory.stop();
        delete_vector_array(in);
        state.ResumeTiming();
    }
    state.counters["units"] = side * side;
    memory.report(state);
}
BENCHMARK(BM_SofmTraining)->Unit(benchmark::kSecond)->Iterations(1);

std::string table_file(int rows)
{
    const std::string path = "/tmp/automation_bench." + std::to_string(getpid()) + ".csv";
    FILE* f = std::fopen(path.c_str(), "w");
    std::fprintf(f, "Class,name,area,contrast,roundness,x,y,grey,variance,file\n");
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> value(-1000.0, 1000.0);
    for (int r = 0; r < rows; ++r) {
        std::fprintf(f, "%d,region_%d", r % 5, r);
        for (int c = 0; c < 7; ++c)
            std::fprintf(f, ",%f", value(rng));
        std::fprintf(f, ",img%04d.png\n", r % 1000);
    }
    std::fclose(f);
    return path;
}

void BM_TableRead(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    const std::string path = table_file(rows);
    step_memory memory;
    for (auto _ : state) {
        memory.start();
        VxTable table(path.c_str(), ',');
        benchmark::DoNotOptimize(table.getRows());
        memory.stop();
    }
    std::remove(path.c_str());
    state.counters["rows"] = rows;
    memory.report(state);
}
BENCHMARK(BM_TableRead)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
