#pragma once

#include "imagecore/neighbourhood.h"

// Neighbours of pixel positions visited in no particular order (queue
// passes), in ring_order: column and row without an integer division per
// pixel, and bounds tests only for pixels on the border.
struct pixel_grid {
    int width;
    int height;
    double inv_width;
    int offset[8];  // ring_order

    pixel_grid(int w, int h) : width(w), height(h), inv_width(1.0 / w)
    {
        fill_neighbour_offsets(ring_order, w, offset);
    }

    void locate(int p, int& x, int& y) const
    {
        // The product may miss the true row by one either way.
        y = static_cast<int>(p * inv_width);
        x = p - y * width;
        if (x < 0) {
            --y;
            x += width;
        } else if (x >= width) {
            ++y;
            x -= width;
        }
    }

    // Calls visit(q) for the neighbours q of p inside the image, in ring
    // order: all eight with Step 1, the 4-neighbourhood with Step 2. Spelled
    // out rather than through for_each_neighbour_inside: one more lambda here
    // and GCC no longer inlines for_each_neighbour_if into the level loop of
    // the reconstruction.
    template <int Step, class Visit>
    void for_each_neighbour(int p, Visit&& visit) const
    {
        int x;
        int y;
        locate(p, x, y);
        if (interior_pixel(x, y, width, height)) {
            for (int d = 0; d < 8; d += Step)
                visit(p + offset[d]);
            return;
        }
        for (int d = 0; d < 8; d += Step)
            if (neighbour_inside(ring_order, d, x, y, width, height))
                visit(p + offset[d]);
    }

    // As for_each_neighbour, but reads all neighbours first (value = read(q))
    // and visits (visit(q, value)) only those whose value passes take(value):
    // the reads overlap, and inside the image a branch per pixel replaces one
    // per neighbour that no predictor guesses on noisy images.
    template <int Step, class Read, class Take, class Visit>
    void for_each_neighbour_if(int p, Read&& read, Take&& take, Visit&& visit) const
    {
        int x;
        int y;
        locate(p, x, y);
        if (interior_pixel(x, y, width, height)) {
            decltype(read(p)) value[8];
            unsigned selected = 0;
            for (int d = 0; d < 8; d += Step) {
                value[d] = read(p + offset[d]);
                selected |= static_cast<unsigned>(take(value[d])) << d;
            }
            while (selected != 0) {
                const int d = __builtin_ctz(selected);
                selected &= selected - 1;
                visit(p + offset[d], value[d]);
            }
            return;
        }
        for_each_neighbour<Step>(p, [&](int q) {
            const auto value = read(q);
            if (take(value))
                visit(q, value);
        });
    }
};
