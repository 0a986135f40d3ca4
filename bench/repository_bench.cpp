// The tree files of a repository of 16 grey images of 512 x 512 at 20
// scales, computed one image per computeRepositoryStep: both trees of an
// image at the same time on two threads.
//
// Counters: seconds per image; the time per image during which both threads
// ran (process CPU time of a step minus its wall time, as only the two tree
// threads compute) and its share of the step; when the first and the second
// thread sent their last graph step (from the progress, to about 50 ms);
// tree-file bytes per image; the peak resident memory of the process.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_repository.h"
#include "bench/bench_support.h"
#include "imagecore/files/pgm.h"
#include "imagecore/image.h"
#include "testsupport/file_repository.h"

namespace {

double cpu_seconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           1e-6 * (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

// Times at which the last graph step of each polarity arrived.
struct step_ends {
    clock_type::time_point start;
    double bright = 0;
    double dark = 0;

    static void receive(int kind, int, void* context)
    {
        auto* ends = static_cast<step_ends*>(context);
        if (kind == 11)
            ends->bright = seconds_since(ends->start);
        else if (kind == 12)
            ends->dark = seconds_since(ends->start);
    }
};

void BM_RepositoryStep(benchmark::State& state)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("vx_repository_bench." + std::to_string(getpid()));
    const std::string images = (dir / "images").string();
    const std::string trees = (dir / "trees").string();
    std::filesystem::create_directories(images);
    std::filesystem::create_directories(trees);
    repository_pictures pictures(images);

    double wall = 0;
    double overlap = 0;
    double first_end = 0;
    double second_end = 0;
    int steps = 0;
    for (auto _ : state) {
        quiet_stdout quiet;
        vx_test::FileRepository repository(pictures.list.data(), kImages, trees.c_str(),
                                           images.c_str(), 3);
        repository.computeRepositoryInit(kScales);
        repository.forceOverwrite(true);
        for (int i = 0; i < kImages; ++i) {
            step_ends ends;
            ends.start = clock_type::now();
            const double cpu = cpu_seconds();
            repository.computeRepositoryStep(&ends, step_ends::receive);
            const double step_wall = seconds_since(ends.start);
            wall += step_wall;
            overlap += std::max(0.0, cpu_seconds() - cpu - step_wall);
            first_end += std::min(ends.bright, ends.dark);
            second_end += std::max(ends.bright, ends.dark);
            ++steps;
        }
    }

    std::uintmax_t tree_bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(trees))
        tree_bytes += entry.file_size();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["s_per_image"] = wall / steps;
    state.counters["overlap_s_per_image"] = overlap / steps;
    state.counters["overlap_share"] = overlap / wall;
    state.counters["first_thread_done_s"] = first_end / steps;
    state.counters["second_thread_done_s"] = second_end / steps;
    state.counters["tree_bytes_per_image"] = static_cast<double>(tree_bytes) / kImages;
    state.counters["peak_rss_MB"] = usage.ru_maxrss / 1024.0;
    std::filesystem::remove_all(dir);
}

}  // namespace

BENCHMARK(BM_RepositoryStep)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
