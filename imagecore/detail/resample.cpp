#include "imagecore/detail/resample.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "imagecore/fatal.h"
#include "imagecore/heap_array.h"

bool scaled_size(int width, int height, double factor, int* out_width, int* out_height)
{
    if (!(factor > 0) || !std::isfinite(factor))
        return false;
    const double w = factor * width;
    const double h = factor * height;
    if (!(w < INT_MAX) || !(h < INT_MAX))
        return false;
    *out_width = static_cast<int>(w);
    *out_height = static_cast<int>(h);
    return *out_width >= 1 && *out_height >= 1 && vx_pixel_count(*out_width, *out_height) >= 0;
}

void resample_nearest(const int* in, int width, int height, int* out, int out_width, int out_height,
                      double factor)
{
    const heap_array<int> columns =
        make_heap_array<int>(static_cast<size_t>(out_width), exit_code::image_out_of_memory,
                             " Not enough Mem for new image vector in UTILS");
    for (int c = 0; c < out_width; ++c)
        columns[c] = std::min(static_cast<int>(c / factor), width - 1);
    for (int r = 0; r < out_height; ++r) {
        const int sr = std::min(static_cast<int>(r / factor), height - 1);
        const int* row = in + static_cast<long>(sr) * width;
        int* target = out + static_cast<long>(r) * out_width;
        for (int c = 0; c < out_width; ++c)
            target[c] = row[columns[c]];
    }
}
