// The attribute pass with the default update rule, one query, and the whole
// single-image road (both trees on two threads, attributes of both, one
// query) on synthetic images of 1024 x 1024 and 2048 x 2048 pixels, 8 and 16
// bit, 20 scales. Arguments: side, top grey value. Counters: regions of the
// tree(s), ns_region_px = wall time per pixel summed over all regions (the
// work the pass cannot avoid), peak_MB = the process's peak resident size
// during the step, step_MB = that peak above the resident size before the
// step.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <utility>

#include "analyse/features/dynamic_region_update.h"
#include "analyse/query/query_analysis.h"
#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_builders.h"
#include "analyse/trees/tree_walk.h"
#include "bench/bench_support.h"

namespace {

constexpr int kScales = 20;

// One polarity's tree of the image, numbered in pre-order, without
// attributes; generation flags 3 as the analysis of one image uses them.
region_tree* build_tree(image* grey, int mode)
{
    return compute_tree_no_update(grey, kScales, mode, 3);
}

void attach_attribute_image(region_tree* tree, const image* grey)
{
    delete_vximage(tree->attr_image);
    tree->attr_image = init_vximage_from_single_image(grey, 2, 1);
}

struct test_image {
    image* grey;
    region_tree* bright;
};

// The image and bright tree of each size and depth, built once.
test_image& cached(int side, int top)
{
    static std::map<std::pair<int, int>, test_image> cache;
    test_image& t = cache[{side, top}];
    if (t.grey == nullptr) {
        t.grey = synthetic_grey(side, top);
        t.bright = build_tree(t.grey, 1);
        attach_attribute_image(t.bright, t.grey);
    }
    return t;
}

int64_t region_pixels(const region_tree* tree)
{
    int64_t n = 0;
    walk_preorder(tree->root, [&n](tregionnode* r) {
        if (r->father != nullptr)
            n += r->size;
    });
    return n;
}

template <class Step>
void measure(benchmark::State& state, int64_t work, Step step)
{
    step_memory memory;
    for (auto _ : state) {
        state.PauseTiming();
        memory.start();
        state.ResumeTiming();
        step();
        state.PauseTiming();
        memory.stop();
        state.ResumeTiming();
    }
    memory.report(state);
    if (work > 0)
        state.counters["ns_region_px"] = benchmark::Counter(
            static_cast<double>(work),
            benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_AttributePass(benchmark::State& state)
{
    quiet_stdout quiet;
    test_image& t = cached(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const temp_rule rule("update.rule", kDefaultUpdateRule);
    measure(state, region_pixels(t.bright), [&] {
        benchmark::DoNotOptimize(dynamic_region_tree_update(
            t.bright, &t.bright->attr_image->scales[0], rule.path.c_str(), 1));
    });
    state.counters["regions"] = t.bright->regions;
}

void BM_Query(benchmark::State& state)
{
    quiet_stdout quiet;
    test_image& t = cached(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const temp_rule update("update.rule", kDefaultUpdateRule);
    const temp_rule query("query.rule", kQueryRule);
    image* grey = &t.bright->attr_image->scales[0];
    dynamic_region_tree_update(t.bright, grey, update.path.c_str(), 1);
    int hits = 0;
    measure(state, region_pixels(t.bright),
            [&] { hits = file_based_query_analysis(query.path.c_str(), t.bright, grey); });
    state.counters["regions"] = t.bright->regions;
    state.counters["hits"] = hits;
}

// Image to query result: the two trees on two threads, then on this thread
// the attribute runs of both and one query on the bright tree.
void BM_SingleImageRoad(benchmark::State& state)
{
    quiet_stdout quiet;
    test_image& t = cached(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const temp_rule update("update.rule", kDefaultUpdateRule);
    const temp_rule query("query.rule", kQueryRule);
    int regions = 0;
    int hits = 0;
    measure(state, 0, [&] {
        region_tree* trees[2] = {nullptr, nullptr};
        std::thread dark([&] { trees[1] = build_tree(t.grey, 2); });
        trees[0] = build_tree(t.grey, 1);
        dark.join();
        regions = 0;
        for (int mode = 1; mode <= 2; ++mode) {
            region_tree* tree = trees[mode - 1];
            attach_attribute_image(tree, t.grey);
            dynamic_region_tree_update(tree, &tree->attr_image->scales[0], update.path.c_str(),
                                       mode);
            regions += tree->regions;
        }
        hits = file_based_query_analysis(query.path.c_str(), trees[0],
                                         &trees[0]->attr_image->scales[0]);
        delete_regiontree(trees[0]);
        delete_regiontree(trees[1]);
    });
    state.counters["regions"] = regions;
    state.counters["hits"] = hits;
}

void sizes(benchmark::internal::Benchmark* b)
{
    for (int side : {1024, 2048})
        for (int top : {255, 65535})
            b->Args({side, top});
    b->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_AttributePass)->Apply(sizes)->Iterations(3);
BENCHMARK(BM_Query)->Apply(sizes)->Iterations(3);
BENCHMARK(BM_SingleImageRoad)->Apply(sizes)->Iterations(1);
