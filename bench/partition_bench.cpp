// The multiscale partition on synthetic images (noise and a few hundred discs)
// of 1024 x 1024 and 2048 x 2048 pixels, 8 and 16 bit, 20 scales. Counters:
// ns_px_scale = wall time per pixel per scale of one polarity (for the
// two-thread case: of the pair, both polarities), peak_MB = the process's
// peak resident size so far (ru_maxrss; run one case alone, e.g. with
// --benchmark_filter, for its own peak), images_MB = the part of it held by
// the caller's source and destination images; the rest is the partition's.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

#include "filter/lMMS_Part.h"

namespace {

constexpr int kScales = 20;

vx_image* synthetic_image(int side, int top)
{
    vx_image* v = init_vx_image(side, side, 1);
    int* px = v->scales[0].pixels;
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> noise(0, top / 10);
    for (int i = 0; i < side * side; ++i)
        px[i] = noise(rng);
    std::uniform_int_distribution<int> centre(0, side - 1);
    std::uniform_int_distribution<int> radius(3, side / 24);
    std::uniform_int_distribution<int> level(0, top - top / 10);
    for (int d = 0; d < 300; ++d) {
        const int cx = centre(rng), cy = centre(rng), r = radius(rng), g = level(rng);
        for (int y = std::max(0, cy - r); y < std::min(side, cy + r + 1); ++y)
            for (int x = std::max(0, cx - r); x < std::min(side, cx + r + 1); ++x)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r)
                    px[y * side + x] = g + noise(rng);
    }
    update_image_struct(&v->scales[0]);
    return v;
}

void partition(vx_image* src, vx_image* dst, int mode, unsigned flags)
{
    functions tmpl = unit_disk_template;
    lMMS_Part_progress(src, dst, mode, kScales, 1, &tmpl, 8, flags, nullptr, nullptr);
}

// Arguments: side, top grey value, flags, mode (1 bright, 2 dark, 3 both on
// two threads).
void BM_Partition(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    const int top = static_cast<int>(state.range(1));
    const unsigned flags = static_cast<unsigned>(state.range(2));
    const int mode = static_cast<int>(state.range(3));
    vx_image* src = synthetic_image(side, top);
    vx_image* bright = mode != 2 ? init_vx_image(side, side, kScales) : nullptr;
    vx_image* dark = mode != 1 ? init_vx_image(side, side, kScales) : nullptr;
    // Map the destinations before timing: their first writes would otherwise
    // charge the caller's allocation to the partition.
    for (vx_image* v : {bright, dark})
        for (int k = 0; v != nullptr && k < kScales; ++k)
            erase_image(&v->scales[k], 1);
    // The partition prints a line per scale; keep them out of the report.
    std::FILE* saved = stdout;
    stdout = std::fopen("/dev/null", "w");
    double ns = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (mode == 3) {
            std::thread t([&] { partition(src, dark, 2, flags); });
            partition(src, bright, 1, flags);
            t.join();
        } else {
            partition(src, mode == 1 ? bright : dark, mode, flags);
        }
        const auto stop = std::chrono::steady_clock::now();
        ns += std::chrono::duration<double, std::nano>(stop - start).count();
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    }
    std::fclose(stdout);
    stdout = saved;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["ns_px_scale"] =
        ns / (static_cast<double>(state.iterations()) * side * side * kScales);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    const int destinations = mode == 3 ? 2 : 1;
    state.counters["images_MB"] =
        static_cast<double>(side) * side * sizeof(int) * (1 + destinations * kScales) / (1 << 20);
    delete_vximage(dark);
    delete_vximage(bright);
    delete_vximage(src);
}

void partition_cases(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"side", "top", "flags", "mode"});
    for (const int side : {1024, 2048})
        for (const int top : {255, 65535})
            for (const int flags : {0, 3})
                for (const int mode : {1, 2, 3})
                    b->Args({side, top, flags, mode});
}

BENCHMARK(BM_Partition)
    ->Apply(partition_cases)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
