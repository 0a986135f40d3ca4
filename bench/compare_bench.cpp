// Comparison of a 1024 x 1024 region tree with ground truths of 1,000 and
// of 20,000 objects (squares on a grid, labels 1..255 in turn). The tree is
// a quadtree of the given depth, so that every pixel lies in exactly `depth`
// regions below the root: the cost should grow with pixels x depth alone.
// Counters: pixel_levels_per_s = object pixels x depth per second; peak_MB =
// the process's peak resident size during the step, step_MB = that peak
// above the resident size before it (the tree is built outside the step).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "analyse/trees/regiontree.h"
#include "automation/compare/vx_tree_regions_compare.h"
#include "bench/bench_support.h"
#include "imagecore/image.h"

namespace {

constexpr int kSize = 1024;

// The pixels of the square block of that side at (x0, y0).
int* block_pixels(int x0, int y0, int side)
{
    auto* pixels = static_cast<int*>(std::malloc(sizeof(int) * side * side));
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            pixels[y * side + x] = (y0 + y) * kSize + x0 + x;
    return pixels;
}

void add_quadrants(tregionnode* father, int x0, int y0, int side, int levels)
{
    if (levels == 0)
        return;
    const int half = side / 2;
    for (int q = 0; q < 4; ++q) {
        const int x = x0 + (q % 2) * half, y = y0 + (q / 2) * half;
        tregionnode* son =
            init_region_node(father, 0, half * half, block_pixels(x, y, half), nullptr);
        add_region_son(father, son);
        add_quadrants(son, x, y, half, levels - 1);
    }
}

region_tree* quadtree(int depth)
{
    region_tree* tree = init_region_tree(kSize, kSize, depth);
    add_quadrants(tree->root, 0, 0, kSize, depth);
    int counter = 0;
    tree_relabel(tree->root, &counter);
    tree->regions = counter;
    return tree;
}

// n squares on a grid, one pixel of background between them, offset from
// the quadrants so that each meets several regions.
image* ground_truth(int n, long* object_pixels)
{
    int columns = 1;
    while (columns * columns < n)
        ++columns;
    const int cell = kSize / columns;
    image* truth = create_image(kSize, kSize, 0);
    *object_pixels = 0;
    for (int k = 0; k < n; ++k) {
        const int x0 = (k % columns) * cell + 1, y0 = (k / columns) * cell + 1;
        for (int y = y0; y < y0 + cell - 1; ++y)
            for (int x = x0; x < x0 + cell - 1; ++x)
                truth->pixels[y * kSize + x] = 1 + k % 255;
        *object_pixels += static_cast<long>(cell - 1) * (cell - 1);
    }
    return truth;
}

void BM_CompareTreeGroundTruth(benchmark::State& state)
{
    const int objects = static_cast<int>(state.range(0));
    const int depth = static_cast<int>(state.range(1));
    region_tree* tree = quadtree(depth);
    long pixels = 0;
    image* truth = ground_truth(objects, &pixels);
    step_memory memory;
    for (auto _ : state) {
        memory.start();
        VxTreeRegionsCompare compare(tree, truth, nullptr, 0);
        benchmark::DoNotOptimize(compare.avgQualityAll(1.0));
        state.PauseTiming();
        memory.stop();
        if (compare.NumObjects() != objects)
            state.SkipWithError("wrong object count");
        state.ResumeTiming();
    }
    state.counters["regions"] = tree->regions;
    state.counters["pixel_levels_per_s"] = benchmark::Counter(
        static_cast<double>(pixels) * depth, benchmark::Counter::kIsIterationInvariantRate);
    memory.report(state);
    delete_image(truth);
    delete_regiontree(tree);
}
BENCHMARK(BM_CompareTreeGroundTruth)
    ->ArgsProduct({{1000, 20000}, {4, 8}})
    ->Unit(benchmark::kSecond)
    ->Iterations(3);

}  // namespace
