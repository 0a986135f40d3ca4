// Region graph over the multiscale partition of synthetic images at 20
// scales. Counters: nanoseconds per pixel per scale, nodes of the tree, and
// the process's peak resident memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "analyse/trees/lRegion_Graph.h"
#include "analyse/trees/regiontree.h"
#include "filter/lMMS_Part.h"
#include "imagecore/vx_image.h"

namespace {

constexpr int kScales = 20;

// Discs of many sizes and contrasts over a ramp with noise: a partition with
// regions at every scale.
vx_image* grey_image(int size)
{
    vx_image* v = init_vx_image(size, size, 1);
    std::srand(17);
    int* px = v->scales[0].pixels;
    for (int p = 0; p < size * size; ++p)
        px[p] = 60 + (p % size + p / size) / 32 + std::rand() % 16;
    for (int i = 0; i < size * size / 256; ++i) {
        const int cx = std::rand() % size;
        const int cy = std::rand() % size;
        const int r = 1 + std::rand() % 24;
        const int g = std::rand() % 120 - 60;
        for (int y = std::max(0, cy - r); y < std::min(size, cy + r + 1); ++y)
            for (int x = std::max(0, cx - r); x < std::min(size, cx + r + 1); ++x)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r)
                    px[y * size + x] = std::max(0, std::min(255, px[y * size + x] + g));
    }
    return v;
}

// The partition of each size, computed once.
const vx_image* partition(int size)
{
    static std::map<int, vx_image*> cache;
    vx_image*& p = cache[size];
    if (p == nullptr) {
        vx_image* grey = grey_image(size);
        p = init_vx_image(size, size, kScales);
        functions tmpl = unit_disk_template;
        lMMS_Part(grey, p, 1, kScales, 1, &tmpl, 8, 3);
        delete_vximage(grey);
    }
    return p;
}

void ignore(int, int, void*)
{}

void BM_RegionGraphProgress(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    const vx_image* source = partition(size);
    int regions = 0;
    // The graph relabels its partition in place: each run gets a fresh copy.
    const int saved = dup(STDOUT_FILENO);
    std::fflush(stdout);
    std::freopen("/dev/null", "w", stdout);
    for (auto _ : state) {
        state.PauseTiming();
        vx_image* work = init_vximage(source, 0);
        state.ResumeTiming();
        int context = 0;
        region_tree* tree = Region_Graph_progress(work, 8, 1, &context, ignore);
        regions = tree->regions;
        state.PauseTiming();
        delete_regiontree(tree);
        delete_vximage(work);
        state.ResumeTiming();
    }
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double per_pixel_scale = static_cast<double>(size) * size * kScales;
    state.counters["ns/px/scale"] =
        benchmark::Counter(per_pixel_scale, benchmark::Counter::kIsIterationInvariantRate |
                                                benchmark::Counter::kInvert);
    state.counters["regions"] = regions;
    state.counters["peak_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace

BENCHMARK(BM_RegionGraphProgress)
    ->Arg(1024)
    ->Arg(2048)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
