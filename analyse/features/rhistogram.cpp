#include "analyse/features/rhistogram.h"

#include <cstdlib>

#include "analyse/detail/position_walk.h"
#include "analyse/features/detail/grey_statistics.h"
#include "imagecore/fatal.h"
#include "imagecore/report.h"

rhistogram* init_rhistogram(const image* grey, int n, const int* positions)
{
    auto* h = static_cast<rhistogram*>(std::calloc(1, sizeof(rhistogram)));
    if (h == nullptr)
        vx_out_of_memory(exit_code::region_features_out_of_memory,
                         "Not enough memory for Region Histogram Struct -> PANIC");
    const int npix = image_pixel_count(grey);
    bool any = false;
    for_each_position(positions, n, npix, [&](int p) {
        const int v = grey->pixels[p];
        if (!any || v < h->min)
            h->min = v;
        if (!any || v > h->max)
            h->max = v;
        any = true;
    });
    if (!any)
        return h;
    const int64_t nbins = static_cast<int64_t>(h->max) - h->min + 1;
    h->counts = alloc_histogram_bins(nbins);
    h->nbins = saturate_to_int(nbins);
    int64_t sum = 0;
    for_each_position(positions, n, npix, [&](int p) {
        const int v = grey->pixels[p];
        if (h->counts[v - h->min]++ == 0)
            ++h->nonempty;
        sum += v;
        ++h->npixels;
    });
    h->mean = rounded_mean(sum, h->npixels);
    return h;
}

namespace {

histogram_sums sum_bins(const rhistogram* h)
{
    histogram_sums sums(h->npixels, h->mean);
    for (int i = 0; i < h->nbins; ++i)
        if (h->counts[i] > 0)
            sums.add(h->min + i, h->counts[i]);
    return sums;
}

}  // namespace

double rhistogram_entropy(const rhistogram* h)
{
    return sum_bins(h).entropy();
}

double rhistogram_variance(const rhistogram* h)
{
    return sum_bins(h).variance();
}

void delete_rhistogram(rhistogram* h)
{
    if (h == nullptr) {
        vx_report("No valid Histogram ");
        return;
    }
    std::free(h->counts);
    std::free(h);
}
