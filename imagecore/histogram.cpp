#include "imagecore/histogram.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "imagecore/fatal.h"
#include "imagecore/heap_array.h"

namespace {

// A table indexed by value - min pays off while the value range is not much
// larger than the pixel count; wider ranges (packed colours, stray extreme
// values) are handled by sorting instead, with the same results.
bool dense_range(long long range, long long npixels)
{
    return range <= INT_MAX && range <= 2 * npixels + 65536;
}

histogramm* new_histogramm(int ncolors, int min, int max, int npixels)
{
    auto* h = static_cast<histogramm*>(std::calloc(1, sizeof(histogramm)));
    if (h == nullptr)
        vx_out_of_memory(exit_code::histogram_out_of_memory, "Cannot alloc Histogramm struct");
    const size_t slots = ncolors > 0 ? static_cast<size_t>(ncolors) : 1;
    h->values = static_cast<int*>(std::calloc(slots, sizeof(int)));
    if (h->values == nullptr)
        vx_out_of_memory(exit_code::histogram_out_of_memory, "Cannot alloc LUT for New Histogramm");
    h->counts = static_cast<int*>(std::calloc(slots, sizeof(int)));
    if (h->counts == nullptr)
        vx_out_of_memory(exit_code::histogram_out_of_memory, "Cannot alloc New Histogramm");
    h->ncolors = ncolors;
    h->min = min;
    h->max = max;
    h->npixels = npixels;
    return h;
}

histogramm* count_in_table(const int* pixels, int npixels, int min, int max)
{
    const int range = static_cast<int>(static_cast<long long>(max) - min + 1);
    int* t = static_cast<int*>(std::calloc(static_cast<size_t>(range), sizeof(int)));
    if (t == nullptr)
        vx_out_of_memory(exit_code::histogram_table_out_of_memory,
                         "Cannot alloc Temporary Histogramm with %d colors", range);
    const heap_array<int> table(t);
    for (int i = 0; i < npixels; ++i)
        ++t[static_cast<unsigned>(pixels[i]) - static_cast<unsigned>(min)];
    int ncolors = 0;
    for (int v = 0; v < range; ++v)
        ncolors += t[v] != 0;
    histogramm* h = new_histogramm(ncolors, min, max, npixels);
    int k = 0;
    for (int v = 0; v < range; ++v) {
        if (t[v] == 0)
            continue;
        h->values[k] = static_cast<int>(static_cast<long long>(min) + v);
        h->counts[k] = t[v];
        ++k;
    }
    return h;
}

histogramm* count_by_sorting(const int* pixels, int npixels, int min, int max)
{
    int* sorted = static_cast<int*>(std::malloc(sizeof(int) * static_cast<size_t>(npixels)));
    if (sorted == nullptr)
        vx_out_of_memory(exit_code::histogram_table_out_of_memory,
                         "Cannot alloc Temporary Histogramm with %d colors", npixels);
    const heap_array<int> copy(sorted);
    std::copy(pixels, pixels + npixels, sorted);
    std::sort(sorted, sorted + npixels);
    int ncolors = 1;
    for (int i = 1; i < npixels; ++i)
        ncolors += sorted[i] != sorted[i - 1];
    histogramm* h = new_histogramm(ncolors, min, max, npixels);
    int k = -1;
    for (int i = 0; i < npixels; ++i) {
        if (i == 0 || sorted[i] != sorted[i - 1])
            h->values[++k] = sorted[i];
        ++h->counts[k];
    }
    return h;
}

}  // namespace

histogramm* init_histogramm(image* img)
{
    const int npixels = img->width * img->height;
    if (npixels <= 0)
        return new_histogramm(0, 0, 0, 0);
    const auto [lo, hi] = std::minmax_element(img->pixels, img->pixels + npixels);
    const long long range = static_cast<long long>(*hi) - *lo + 1;
    if (dense_range(range, npixels))
        return count_in_table(img->pixels, npixels, *lo, *hi);
    return count_by_sorting(img->pixels, npixels, *lo, *hi);
}

void delete_histogramm(histogramm* h)
{
    if (h == nullptr)
        return;
    std::free(h->values);
    std::free(h->counts);
    std::free(h);
}

void calibrate_image(image* img, const histogramm* h)
{
    const int npixels = img->width * img->height;
    int* pixels = img->pixels;
    const long long range = static_cast<long long>(h->max) - h->min + 1;
    if (h->ncolors > 0 && dense_range(range, npixels)) {
        // Lookup table from value - min to index; -1 marks values not counted.
        const heap_array<int> index =
            make_heap_array<int>(static_cast<size_t>(range), exit_code::histogram_out_of_memory,
                                 "Cannot alloc LUT for New Histogramm");
        std::fill(index.get(), index.get() + range, -1);
        for (int k = 0; k < h->ncolors; ++k)
            index[static_cast<unsigned>(h->values[k]) - static_cast<unsigned>(h->min)] = k;
        for (int i = 0; i < npixels; ++i) {
            const int p = pixels[i];
            const int k = p < h->min || p > h->max
                              ? -1
                              : index[static_cast<unsigned>(p) - static_cast<unsigned>(h->min)];
            if (k < 0)
                vx_fatal(exit_code::not_in_histogram, "Color %d not in Histogram", p);
            pixels[i] = k;
        }
        return;
    }
    const int* first = h->values;
    const int* last = h->values + h->ncolors;
    for (int i = 0; i < npixels; ++i) {
        const int* at = std::lower_bound(first, last, pixels[i]);
        if (at == last || *at != pixels[i])
            vx_fatal(exit_code::not_in_histogram, "Color %d not in Histogram", pixels[i]);
        pixels[i] = static_cast<int>(at - first);
    }
}

void recalibrate_image(image* img, const histogramm* h)
{
    const int npixels = img->width * img->height;
    int* pixels = img->pixels;
    for (int i = 0; i < npixels; ++i) {
        const int k = pixels[i];
        if (k < 0 || k >= h->ncolors)
            vx_fatal(exit_code::not_in_histogram, "Index %d not in Histogram", k);
        pixels[i] = h->values[k];
    }
}

int get_histo_org_num(const histogramm* h, int value)
{
    const int* first = h->values;
    const int* last = h->values + h->ncolors;
    const int* at = std::lower_bound(first, last, value);
    return at != last && *at == value ? h->counts[at - first] : 0;
}

int array_mean(const int* values, int n)
{
    if (n <= 0)
        return 0;
    long long sum = 0;
    for (int i = 0; i < n; ++i)
        sum += values[i];
    return static_cast<int>(sum / n);
}

int array_variance(const int* values, int n, int mean)
{
    if (n <= 0)
        return 0;
    // Each square fits 64 unsigned bits; the sum saturates, as does the result.
    unsigned long long sum = 0;
    for (int i = 0; i < n; ++i) {
        const long long d = static_cast<long long>(values[i]) - mean;
        const unsigned long long distance = static_cast<unsigned long long>(d < 0 ? -d : d);
        const unsigned long long square = distance * distance;
        sum = square > ULLONG_MAX - sum ? ULLONG_MAX : sum + square;
    }
    return static_cast<int>(std::min<unsigned long long>(sum / static_cast<unsigned>(n), INT_MAX));
}
