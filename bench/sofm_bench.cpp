// The SOFM trainer's defaults on a repository-sized table: 40,760 rows of 44
// attributes, the 404 x 404 map the trainer picks for them, as many steps
// as rows, Gaussian neighbourhood, learning rate 1, no normalisation, the
// display refreshed every 15 steps. Counters: train_s and cluster_s, the
// seconds of the training pass and of the cluster map; workers, the worker
// count (argument 0 is the default); peak_MB and step_MB as in
// automation_bench. The second argument shortens the training to that many
// steps (the neighbourhood still shrinks from the whole map to nothing), so
// that a slow build can be measured on a part and scaled. The third is the
// map's side, 0 for the trainer's (120 x 120 units are a multiple of 15,
// 121 x 121 are not).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <random>
#include <vector>

#include "automation/sofm/vxsofm.h"
#include "bench/bench_support.h"
#include "filter/tree_workers.h"

namespace {

constexpr int kRows = 40760;
constexpr int kDim = 44;
constexpr int kClusters = 12;
const int kSide = static_cast<int>(std::sqrt(4.0 * kRows)) + 1;

// Rows around a dozen centres; the columns differ in scale by five decades,
// as region attributes (areas, contrasts, shape ratios) do.
vector_array* attribute_rows()
{
    vector_array* in = init_vector_array(kDim, kRows, 0.0);
    std::mt19937 rng(44);
    std::uniform_real_distribution<double> centre(0.0, 1.0);
    std::normal_distribution<double> spread(0.0, 0.08);
    std::vector<double> centres(static_cast<size_t>(kClusters * kDim));
    for (double& c : centres)
        c = centre(rng);
    for (int i = 0; i < kRows; ++i) {
        const int cluster = static_cast<int>(rng() % kClusters);
        for (int k = 0; k < kDim; ++k) {
            const double scale = std::pow(10.0, k % 6 - 2);
            in->vectors[i].values[k] =
                scale * (centres[static_cast<size_t>(cluster * kDim + k)] + spread(rng));
        }
    }
    return in;
}

double seconds_since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_SofmTrainerDefaults(benchmark::State& state)
{
    const int workers = static_cast<int>(state.range(0));
    const int steps = static_cast<int>(state.range(1));
    const int side = state.range(2) > 0 ? static_cast<int>(state.range(2)) : kSide;
    set_tree_workers(workers);
    step_memory memory;
    double train = 0.0;
    double cluster = 0.0;
    for (auto _ : state) {
        vector_array* in = attribute_rows();
        memory.start();
        {
            quiet_stdout quiet;
            vxsofm map(side, side, in, 1.0, 1.0, steps, 1, 0);
            const auto start = std::chrono::steady_clock::now();
            while (map.sofm()->step < steps)
                map.sofm_step(15);
            train = seconds_since(start);
            const auto located = std::chrono::steady_clock::now();
            map.init_cluster_map();
            cluster = seconds_since(located);
            benchmark::DoNotOptimize(map.sofm()->cluster_center[1]);
        }
        memory.stop();
        delete_vector_array(in);
    }
    state.counters["train_s"] = train;
    state.counters["cluster_s"] = cluster;
    state.counters["workers"] = get_solo_workers();
    memory.report(state);
    set_tree_workers(0);
}
BENCHMARK(BM_SofmTrainerDefaults)
    ->Args({1, kRows, 0})
    ->Args({0, kRows, 0})
    ->Args({8, kRows, 0})
    ->Args({1, kRows / 10, 0})
    ->Args({0, kRows / 10, 0})
    ->Args({1, kRows / 10, 120})
    ->Args({1, kRows / 10, 121})
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace
