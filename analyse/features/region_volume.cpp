#include "analyse/features/region_volume.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "analyse/detail/position_walk.h"
#include "analyse/features/detail/grey_statistics.h"

int region_volume(const image* grey, int n, const int* positions)
{
    int64_t sum = 0;
    for_each_position(positions, n, image_pixel_count(grey),
                      [&](int p) { sum += static_cast<int64_t>(grey->pixels[p]) - grey->min; });
    return saturate_to_int(sum);
}

int region_contrast_volume(const image* a, int n, const int* positions, const image* b)
{
    int64_t sum = 0;
    for_each_position(
        positions, n, std::min(image_pixel_count(a), image_pixel_count(b)),
        [&](int p) { sum += std::llabs(static_cast<int64_t>(a->pixels[p]) - b->pixels[p]); });
    return saturate_to_int(sum);
}
