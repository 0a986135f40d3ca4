#include <algorithm>
#include <climits>
#include <cstring>
#include <type_traits>
#include <vector>

#include "filter/grey_order.h"
#include "filter/pixel_grid.h"
#include "filter/reconstruction.h"
#include "filter/reconstruction_core.h"

namespace {

inline void prefetch_rows(const int* pixels, const unsigned char* seen, int p, int width)
{
    __builtin_prefetch(pixels + p - width);
    __builtin_prefetch(pixels + p);
    __builtin_prefetch(pixels + p + width);
    __builtin_prefetch(seen + p - width);
    __builtin_prefetch(seen + p + width);
}

// Flooding from the border in level order (ascending for grey_down, where
// holes are dark): a pixel first reached from a pixel of level L takes
// meet(its value, L) and is final. A pixel reached from below its own value
// waits in the bucket of that value, so every bucket holds at most the pixels
// of its value and has its place in one array sorted by value; a pixel
// reached at or above its value is flooded at once through a queue.
template <class Order, int Step>
void flood_from_border(int* pixels, const pixel_grid& g, int lo, int hi, fill_buffers& b)
{
    const int width = g.width;
    const int height = g.height;
    constexpr bool ascending = std::is_same<Order, grey_down>::value;
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    const size_t levels = static_cast<size_t>(static_cast<long long>(hi) - lo + 1);
    const auto bucket = [lo, hi](int v) {
        return static_cast<size_t>(ascending ? static_cast<long long>(v) - lo
                                             : static_cast<long long>(hi) - v);
    };
    b.items.resize(2 * n + 2 * levels + 1);
    b.seen.assign(n, 0);
    int* items = b.items.data();
    int* queue = items + n;
    int* start = queue + n;    // levels + 1 bucket starts
    int* end = start + levels + 1;  // levels bucket ends (write positions)
    std::fill(start, start + levels + 1, 0);
    for (size_t i = 0; i < n; ++i)
        ++start[bucket(pixels[i]) + 1];
    for (size_t v = 0; v < levels; ++v) {
        start[v + 1] += start[v];
        end[v] = start[v];
    }
    // Reached pixels are marked 1, border pixels (all reached at the start)
    // kBorder: only their neighbourhoods need bounds tests.
    constexpr unsigned char kBorder = 2;
    unsigned char* seen = b.seen.data();
    const auto wait = [&](int p) {
        seen[p] |= 1;
        items[end[bucket(pixels[p])]++] = p;
    };
    for (int x = 0; x < width; ++x) {
        seen[x] = seen[n - width + x] = kBorder;
        wait(x);
        wait(static_cast<int>(n) - width + x);
    }
    for (int y = 1; y + 1 < height; ++y) {
        seen[y * width] = seen[y * width + width - 1] = kBorder;
        wait(y * width);
        wait(y * width + width - 1);
    }
    for (size_t v = 0; v < levels; ++v) {
        size_t head = 0;
        size_t tail = 0;
        const int* waiting = items + start[v];
        const size_t nwaiting = static_cast<size_t>(end[v] - start[v]);
        for (size_t k = 0;; ++k) {
            int p;
            // Fetch the neighbourhood of a pixel a few places ahead: the
            // buckets jump across the image, which may not be cached.
            if (k < nwaiting) {
                if (k + 8 < nwaiting)
                    prefetch_rows(pixels, seen, waiting[k + 8], width);
                p = waiting[k];
            } else if (head != tail) {
                if (head + 8 < tail)
                    prefetch_rows(pixels, seen, queue[head + 8], width);
                p = queue[head++];
            } else {
                break;
            }
            const int level = pixels[p];
            const auto visit = [&](int q) {
                if (seen[q])
                    return;
                if (Order::before(pixels[q], level)) {
                    wait(q);
                } else {
                    seen[q] = 1;
                    pixels[q] = level;
                    queue[tail++] = q;
                }
            };
            if (seen[p] & kBorder) {
                g.for_each_neighbour<Step>(p, visit);
            } else {
                for (int d = 0; d < 8; d += Step)
                    visit(p + g.offset[d]);
            }
        }
    }
}

}  // namespace

template <class Order>
void fill_holes(int* pixels, int width, int height, bool conn8, fill_buffers& b)
{
    // With fewer than three rows or columns every pixel is a border pixel.
    if (width < 3 || height < 3)
        return;
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    int lo = pixels[0];
    int hi = pixels[0];
    for (size_t i = 1; i < n; ++i) {
        lo = pixels[i] < lo ? pixels[i] : lo;
        hi = pixels[i] > hi ? pixels[i] : hi;
    }
    if (static_cast<long long>(hi) - lo <= static_cast<long long>(n) + 65536) {
        const pixel_grid g(width, height);
        if (conn8)
            flood_from_border<Order, 1>(pixels, g, lo, hi, b);
        else
            flood_from_border<Order, 2>(pixels, g, lo, hi, b);
        return;
    }
    // Values spread too far for a table of levels: the marker that equals the
    // image on the border and its extreme inside, rebuilt against the image.
    if (b.items.size() < n)
        b.items.resize(n);
    int* marker = b.items.data();
    std::memcpy(marker, pixels, sizeof(int) * n);
    const int inside = Order::meet(lo, hi);
    for (int y = 1; y + 1 < height; ++y)
        for (int x = 1; x + 1 < width; ++x)
            marker[static_cast<size_t>(y) * width + x] = inside;
    reconstruct<Order>(marker, pixels, width, height, conn8, b.reconstruction);
    std::memcpy(pixels, marker, sizeof(int) * n);
}

template void fill_holes<grey_up>(int*, int, int, bool, fill_buffers&);
template void fill_holes<grey_down>(int*, int, int, bool, fill_buffers&);

void fill_holes_by_reconstruction(image* img, int conn)
{
    fill_buffers b;
    fill_holes<grey_down>(img->pixels, img->width, img->height, is_conn8(conn), b);
}
