#pragma once

// Partitions and trees built by hand for the region-tree tests.

#include <string>
#include <vector>

#include "imagecore/vx_image.h"

namespace vx_test {

// A partition from one picture per scale, finest first: '.' line, any other
// character basin.
inline vx_image* partition_from(const std::vector<std::vector<std::string>>& scales)
{
    const int w = static_cast<int>(scales[0][0].size());
    const int h = static_cast<int>(scales[0].size());
    vx_image* v = init_vx_image(w, h, static_cast<int>(scales.size()));
    for (size_t s = 0; s < scales.size(); ++s)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                v->scales[s].pixels[y * w + x] = scales[s][y][x] == '.' ? 0 : 1;
    return v;
}

// Scale 2 one basin; scale 1 split by a vertical line; scale 0 splits the
// right part again by a horizontal line.
inline const std::vector<std::vector<std::string>> kThreeScales = {
    {"11.111", "11.111", "11....", "11.111"},
    {"11.111", "11.111", "11.111", "11.111"},
    {"111111", "111111", "111111", "111111"},
};

}  // namespace vx_test
