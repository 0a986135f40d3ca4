#pragma once

// Grey images of flat discs on a flat background, whose regions and
// attributes are known by construction.

#include <vector>

#include "analyse/trees/region_types.h"
#include "imagecore/image.h"

namespace disc_test {

struct disc {
    int x;
    int y;
    int r;
    int value;

    bool contains(int px, int py) const
    {
        return (px - x) * (px - x) + (py - y) * (py - y) <= r * r;
    }

    int area(int width, int height) const
    {
        int n = 0;
        for (int py = 0; py < height; ++py)
            for (int px = 0; px < width; ++px)
                n += contains(px, py);
        return n;
    }

    // Whether the region is this disc as the partition draws it: the
    // watershed line may take a pixel of its rim or give it one of the
    // background, no more than a tenth.
    bool is_region_of(const tregionnode* node, int width, int height) const
    {
        int inside = 0;
        for (int k = 0; k < node->size; ++k)
            inside += contains(node->pixels[k] % width, node->pixels[k] / width);
        const int n = area(width, height);
        return 10 * inside >= 9 * n && 10 * (node->size - inside) <= n;
    }
};

inline image* draw(int width, int height, int background, const std::vector<disc>& discs)
{
    image* g = create_image(width, height, background);
    for (const disc& d : discs)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (d.contains(x, y))
                    g->pixels[y * width + x] = d.value;
    update_image_struct(g);
    return g;
}

}  // namespace disc_test
