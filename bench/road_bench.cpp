// The single-image road stage by stage, single-threaded and on all cores,
// in one run: the partition of each polarity, the region graph, the attribute
// pass with the default update rule, one query, and the whole road (both
// trees on two threads, attributes of both, one query on the bright tree).
//
// Images: noise with flat discs of random size and level, 8 or 16 bit; the
// scaling cases tile one 512 x 512 picture so that every size has the same
// statistics. Argument `workers` is the tree worker setting (0: the
// library's default). Counters: ns_px_scale = wall time per pixel per scale
// (the road: of the whole road), workers = the setting in force, peak_MB =
// the process's peak resident size during the step, step_MB = that peak
// above the resident size before the step. Run with
// --benchmark_repetitions=3 and read the _min rows; for a case's own peak
// memory run it alone in a process (--benchmark_filter), since memory the
// earlier cases freed stays with the process.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "analyse/features/dynamic_region_update.h"
#include "analyse/query/query_analysis.h"
#include "analyse/trees/lRegion_Graph.h"
#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_builders.h"
#include "bench/bench_support.h"
#include "filter/lMMS_Part.h"
#include "filter/tree_workers.h"

namespace {

constexpr int kTile = 512;

// The partition arguments of every tree the road builds.
constexpr unsigned kFlags = 3;

image* tiled_grey(int side, int top)
{
    image* tile = synthetic_grey(kTile, top);
    image* g = create_image(side, side, 0);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            g->pixels[y * side + x] = tile->pixels[(y % kTile) * kTile + x % kTile];
    delete_image(tile);
    update_image_struct(g);
    return g;
}

vx_image* as_vx_image(const image* grey)
{
    return init_vximage_from_single_image(grey, 1, 0);
}

// Sets the worker count for one case and gives the old one back after it.
class workers_setting {
public:
    explicit workers_setting(int count) : saved_(get_tree_workers()) { set_tree_workers(count); }
    ~workers_setting() { set_tree_workers(saved_); }
    workers_setting(const workers_setting&) = delete;
    workers_setting& operator=(const workers_setting&) = delete;

private:
    int saved_;
};

void report(benchmark::State& state, double pixels, int scales, const step_memory& memory)
{
    state.counters["ns_px_scale"] =
        benchmark::Counter(pixels * scales, benchmark::Counter::kIsIterationInvariantRate |
                                                benchmark::Counter::kInvert);
    state.counters["workers"] = get_tree_workers();
    memory.report(state);
}

// Arguments: side, scales, top grey value, flags, mode (1 bright, 2 dark),
// workers, tiled (1) or not.
void BM_Partition(benchmark::State& state)
{
    quiet_stdout quiet;
    const int side = static_cast<int>(state.range(0));
    const int scales = static_cast<int>(state.range(1));
    const int top = static_cast<int>(state.range(2));
    const unsigned flags = static_cast<unsigned>(state.range(3));
    const int mode = static_cast<int>(state.range(4));
    const workers_setting workers(static_cast<int>(state.range(5)));
    image* grey = state.range(6) != 0 ? tiled_grey(side, top) : synthetic_grey(side, top);
    vx_image* src = as_vx_image(grey);
    vx_image* dst = init_vx_image(side, side, scales);
    // Map the destination before timing: its first writes would otherwise
    // charge the caller's allocation to the partition.
    for (int k = 0; k < scales; ++k)
        erase_image(&dst->scales[k], 1);
    step_memory memory;
    for (auto _ : state) {
        state.PauseTiming();
        memory.start();
        state.ResumeTiming();
        functions tmpl = unit_disk_template;
        lMMS_Part_progress(src, dst, mode, scales, 1, &tmpl, 8, flags, nullptr, nullptr);
        state.PauseTiming();
        memory.stop();
        state.ResumeTiming();
    }
    report(state, static_cast<double>(side) * side, scales, memory);
    delete_vximage(dst);
    delete_vximage(src);
    delete_image(grey);
}

constexpr int kScales = 20;

struct road_image {
    image* grey = nullptr;
    vx_image* partition = nullptr;  // bright, as the region graph gets it
    region_tree* bright = nullptr;  // numbered, with its attribute image
};

// The image, bright partition and bright tree of each size, built once.
road_image& cached(int side, int top)
{
    static std::map<std::pair<int, int>, road_image> cache;
    road_image& r = cache[{side, top}];
    if (r.grey == nullptr) {
        quiet_stdout quiet;
        r.grey = synthetic_grey(side, top);
        vx_image* src = as_vx_image(r.grey);
        r.partition = init_vx_image(side, side, kScales);
        functions tmpl = unit_disk_template;
        lMMS_Part(src, r.partition, 1, kScales, 1, &tmpl, 8, kFlags);
        delete_vximage(src);
        r.bright = compute_tree_no_update(r.grey, kScales, 1, kFlags);
        r.bright->attr_image = init_vximage_from_single_image(r.grey, 2, 1);
    }
    return r;
}

// Arguments: side, workers.
void BM_RegionGraph(benchmark::State& state)
{
    quiet_stdout quiet;
    const int side = static_cast<int>(state.range(0));
    const workers_setting workers(static_cast<int>(state.range(1)));
    const road_image& r = cached(side, 255);
    vx_image* work = nullptr;
    step_memory memory;
    int regions = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // The graph relabels its partition in place: each run gets a copy.
        delete_vximage(work);
        work = init_vximage(r.partition, 0);
        memory.start();
        state.ResumeTiming();
        region_tree* tree = Region_Graph(work, 8);
        state.PauseTiming();
        memory.stop();
        regions = tree->regions;
        delete_regiontree(tree);
        state.ResumeTiming();
    }
    delete_vximage(work);
    report(state, static_cast<double>(side) * side, kScales, memory);
    state.counters["regions"] = regions;
}

// Arguments: side, workers.
void BM_Attributes(benchmark::State& state)
{
    quiet_stdout quiet;
    const int side = static_cast<int>(state.range(0));
    const workers_setting workers(static_cast<int>(state.range(1)));
    road_image& r = cached(side, 255);
    const temp_rule update("update.rule", kDefaultUpdateRule);
    step_memory memory;
    for (auto _ : state) {
        state.PauseTiming();
        memory.start();
        state.ResumeTiming();
        benchmark::DoNotOptimize(dynamic_region_tree_update(
            r.bright, &r.bright->attr_image->scales[0], update.path.c_str(), 1));
        state.PauseTiming();
        memory.stop();
        state.ResumeTiming();
    }
    report(state, static_cast<double>(side) * side, kScales, memory);
    state.counters["regions"] = r.bright->regions;
}

// Arguments: side.
void BM_Query(benchmark::State& state)
{
    quiet_stdout quiet;
    const int side = static_cast<int>(state.range(0));
    road_image& r = cached(side, 255);
    const temp_rule update("update.rule", kDefaultUpdateRule);
    const temp_rule query("query.rule", kQueryRule);
    image* grey = &r.bright->attr_image->scales[0];
    dynamic_region_tree_update(r.bright, grey, update.path.c_str(), 1);
    step_memory memory;
    int hits = 0;
    for (auto _ : state) {
        state.PauseTiming();
        memory.start();
        state.ResumeTiming();
        hits = file_based_query_analysis(query.path.c_str(), r.bright, grey);
        state.PauseTiming();
        memory.stop();
        state.ResumeTiming();
    }
    report(state, static_cast<double>(side) * side, kScales, memory);
    state.counters["hits"] = hits;
}

// Image to query result: the two trees on two threads, then on this thread
// the attribute runs of both and one query on the bright tree. Arguments:
// side, top grey value, workers.
void BM_Road(benchmark::State& state)
{
    quiet_stdout quiet;
    const int side = static_cast<int>(state.range(0));
    const int top = static_cast<int>(state.range(1));
    const workers_setting workers(static_cast<int>(state.range(2)));
    image* grey = synthetic_grey(side, top);
    const temp_rule update("update.rule", kDefaultUpdateRule);
    const temp_rule query("query.rule", kQueryRule);
    step_memory memory;
    int regions = 0;
    int hits = 0;
    for (auto _ : state) {
        state.PauseTiming();
        memory.start();
        state.ResumeTiming();
        region_tree* trees[2] = {nullptr, nullptr};
        std::thread dark([&] { trees[1] = compute_tree_no_update(grey, kScales, 2, kFlags); });
        trees[0] = compute_tree_no_update(grey, kScales, 1, kFlags);
        dark.join();
        regions = 0;
        for (int mode = 1; mode <= 2; ++mode) {
            region_tree* tree = trees[mode - 1];
            tree->attr_image = init_vximage_from_single_image(grey, 2, 1);
            dynamic_region_tree_update(tree, &tree->attr_image->scales[0], update.path.c_str(),
                                       mode);
            regions += tree->regions;
        }
        hits = file_based_query_analysis(query.path.c_str(), trees[0],
                                         &trees[0]->attr_image->scales[0]);
        state.PauseTiming();
        memory.stop();
        delete_regiontree(trees[0]);
        delete_regiontree(trees[1]);
        state.ResumeTiming();
    }
    report(state, static_cast<double>(side) * side, kScales, memory);
    state.counters["regions"] = regions;
    state.counters["hits"] = hits;
    delete_image(grey);
}

double minimum(const std::vector<double>& v)
{
    return *std::min_element(v.begin(), v.end());
}

// Worker settings of the cases: one thread, and all cores (the machine's
// thread count, for one computation alone).
int all_cores()
{
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

void partition_cases(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"side", "scales", "top", "flags", "mode", "workers", "tiled"});
    for (const int workers : {1, all_cores()})
        for (const int top : {255, 65535})
            for (const int mode : {1, 2})
                b->Args({512, 10, top, 3, mode, workers, 0});
    for (const int side : {1024, 2048})
        for (const int workers : {1, all_cores()})
            for (const int mode : {1, 2})
                b->Args({side, kScales, 255, 3, mode, workers, 0});
    for (const int side : {512, 1024, 2048, 4096})
        for (const int workers : {1, all_cores()})
            for (const int mode : {1, 2})
                b->Args({side, 10, 255, 3, mode, workers, 1});
}

void stage_cases(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"side", "workers"});
    for (const int side : {1024, 2048})
        for (const int workers : {1, all_cores()})
            b->Args({side, workers});
}

void road_cases(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"side", "top", "workers"});
    for (const int side : {1024, 2048})
        for (const int workers : {1, 0})
            b->Args({side, 255, workers});
    b->Args({1024, 65535, 0});
}

}  // namespace

BENCHMARK(BM_Partition)
    ->Apply(partition_cases)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime()
    ->ComputeStatistics("min", minimum);
BENCHMARK(BM_RegionGraph)
    ->Apply(stage_cases)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime()
    ->ComputeStatistics("min", minimum);
BENCHMARK(BM_Attributes)
    ->Apply(stage_cases)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime()
    ->ComputeStatistics("min", minimum);
BENCHMARK(BM_Query)
    ->ArgNames({"side"})
    ->Arg(1024)
    ->Arg(2048)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime()
    ->ComputeStatistics("min", minimum);
BENCHMARK(BM_Road)
    ->Apply(road_cases)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime()
    ->ComputeStatistics("min", minimum);
