#pragma once

#include <climits>
#include <cstddef>
#include <cstring>
#include <utility>

// a - b for a >= b (a gradient); saturates where the full int range makes it
// overflow.
inline int rise(int a, int b)
{
    const long long d = static_cast<long long>(a) - b;
    return d > INT_MAX ? INT_MAX : static_cast<int>(d);
}

// pixels[i] := combine(join of the pixel and its neighbours inside the image,
// the pixel's value before, i), row by row and in place: the vertical join
// first, then the horizontal one, so that the inner loops run over
// contiguous rows without bounds tests. With 8 neighbours the side columns
// contribute their vertical join, with 4 only their own pixel. `rows` holds
// 3 * width ints.
template <class Order, class Combine>
void join_in_place(int* pixels, int width, int height, bool conn8, int* rows, Combine combine)
{
    int* above = rows;  // the rows above and at y as they were
    int* current = rows + width;
    int* v = rows + 2 * static_cast<size_t>(width);
    for (int y = 0; y < height; ++y) {
        const size_t base = static_cast<size_t>(y) * width;
        int* c = pixels + base;
        std::memcpy(current, c, sizeof(int) * static_cast<size_t>(width));
        for (int x = 0; x < width; ++x)
            v[x] = current[x];
        if (y > 0) {
            for (int x = 0; x < width; ++x)
                v[x] = Order::join(v[x], above[x]);
        }
        if (y + 1 < height) {
            const int* down = c + width;
            for (int x = 0; x < width; ++x)
                v[x] = Order::join(v[x], down[x]);
        }
        const int* side = conn8 ? v : current;
        if (width == 1) {
            c[0] = combine(v[0], current[0], base);
        } else if (width > 1) {
            c[0] = combine(Order::join(v[0], side[1]), current[0], base);
            for (int x = 1; x + 1 < width; ++x)
                c[x] = combine(Order::join(v[x], Order::join(side[x - 1], side[x + 1])), current[x],
                               base + x);
            c[width - 1] = combine(Order::join(v[width - 1], side[width - 2]), current[width - 1],
                                   base + width - 1);
        }
        std::swap(above, current);
    }
}
