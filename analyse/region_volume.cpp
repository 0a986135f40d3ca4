#include <cstdint>
#include <cstdlib>

#include "analyse/grey_statistics.h"
#include "analyse/regionfeatures.h"

namespace {

unsigned pixel_count(const image* img)
{
    return static_cast<unsigned>(img->width) * static_cast<unsigned>(img->height);
}

}  // namespace

int region_volume(const image* grey, int n, const int* positions)
{
    const unsigned npix = pixel_count(grey);
    int64_t sum = 0;
    for (int k = 0; k < n; ++k) {
        const int p = positions[k];
        if (static_cast<unsigned>(p) < npix)
            sum += static_cast<int64_t>(grey->pixels[p]) - grey->min;
    }
    return saturate_to_int(sum);
}

int region_contrast_volume(const image* a, int n, const int* positions, const image* b)
{
    const unsigned npix = pixel_count(a) < pixel_count(b) ? pixel_count(a) : pixel_count(b);
    int64_t sum = 0;
    for (int k = 0; k < n; ++k) {
        const int p = positions[k];
        if (static_cast<unsigned>(p) < npix)
            sum += std::llabs(static_cast<int64_t>(a->pixels[p]) - b->pixels[p]);
    }
    return saturate_to_int(sum);
}
