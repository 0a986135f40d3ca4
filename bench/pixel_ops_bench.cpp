#include <benchmark/benchmark.h>

#include <cstdlib>

#include "imagecore/histogram.h"
#include "imagecore/image.h"
#include "imagecore/label.h"
#include "imagecore/queue.h"

namespace {

// Random blobs: about half the pixels set, many small components.
image* noise_image(int side, int levels)
{
    image* img = create_image(side, side, 0);
    std::srand(7);
    for (int i = 0; i < side * side; ++i)
        img->pixels[i] = std::rand() % levels;
    return img;
}

void BM_LabelImageLocal(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    image* src = noise_image(side, 2);
    image* work = create_copy_image(src);
    work->label_queue = init_iqueue(side * side);
    for (auto _ : state) {
        copy_image(work, src);
        benchmark::DoNotOptimize(label_image_local(work, 8));
    }
    state.SetItemsProcessed(state.iterations() * side * side);
    delete_iqueue(work->label_queue);
    delete_image(work);
    delete_image(src);
}
BENCHMARK(BM_LabelImageLocal)->Arg(512)->Arg(2048);

void BM_CalibrateRoundTrip(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    image* img = noise_image(side, 4096);
    for (auto _ : state) {
        histogramm* h = init_histogramm(img);
        calibrate_image(img, h);
        recalibrate_image(img, h);
        delete_histogramm(h);
    }
    state.SetItemsProcessed(state.iterations() * side * side);
    delete_image(img);
}
BENCHMARK(BM_CalibrateRoundTrip)->Arg(512)->Arg(2048);

}  // namespace
