#include <algorithm>
#include <climits>
#include <cstring>
#include <type_traits>
#include <vector>

#include "filter/detail/grey_order.h"
#include "filter/detail/pixel_grid.h"
#include "filter/detail/reconstruction_core.h"
#include "filter/reconstruction.h"

namespace {

// While a border flooding runs, each pixel holds its rank in the flooding
// order, below kReached and kBorder: one array read per neighbour tells both
// its value and whether it was reached.
constexpr int kReached = 1 << 30;
constexpr int kBorder = 1 << 29;
constexpr long long kRanks = kBorder;

inline void prefetch_rows(const int* pixels, int p, int width)
{
    __builtin_prefetch(pixels + p - width);
    __builtin_prefetch(pixels + p);
    __builtin_prefetch(pixels + p + width);
}

// Flooding from the border in level order (ascending for grey_down, where
// holes are dark): a pixel first reached from a pixel of level L takes
// meet(its value, L) and is final. A pixel reached from below its own value
// waits in the bucket of that value, so every bucket holds at most the pixels
// of its value and has its place in one array sorted by value; a pixel
// reached at or above its value is flooded at once through a queue.
template <class Order, int Step>
void flood_from_border(int* pixels, const pixel_grid& g, int lo, int hi, int* items, int* queue,
                       std::vector<int>& tables)
{
    const int width = g.width;
    const int height = g.height;
    constexpr bool ascending = std::is_same<Order, grey_down>::value;
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    const size_t levels = static_cast<size_t>(static_cast<long long>(hi) - lo + 1);
    tables.resize(2 * levels + 1);
    int* start = tables.data();     // levels + 1 bucket starts
    int* end = start + levels + 1;  // levels bucket ends (write positions)
    std::fill(start, start + levels + 1, 0);
    for (size_t i = 0; i < n; ++i) {
        const int r = ascending ? pixels[i] - lo : hi - pixels[i];
        pixels[i] = r;
        ++start[r + 1];
    }
    for (size_t v = 0; v < levels; ++v) {
        start[v + 1] += start[v];
        end[v] = start[v];
    }
    // Border pixels, all reached at the start, are marked kBorder: only
    // their neighbourhoods need bounds tests.
    const auto wait = [&](int p) {
        items[end[pixels[p]]++] = p;
        pixels[p] |= kReached | kBorder;
    };
    for (int x = 0; x < width; ++x) {
        wait(x);
        wait(static_cast<int>(n) - width + x);
    }
    for (int y = 1; y + 1 < height; ++y) {
        wait(y * width);
        wait(y * width + width - 1);
    }
    for (size_t v = 0; v < levels; ++v) {
        const int level = static_cast<int>(v);
        size_t head = 0;
        size_t tail = 0;
        const int* waiting = items + start[v];
        const size_t nwaiting = static_cast<size_t>(end[v] - start[v]);
        for (size_t k = 0;; ++k) {
            int p;
            // Fetch the neighbourhood of a pixel a few places ahead: the
            // buckets jump across the image, which may not be cached.
            if (k < nwaiting) {
                if (k + 16 < nwaiting)
                    prefetch_rows(pixels, waiting[k + 16], width);
                p = waiting[k];
            } else if (head != tail) {
                if (head + 16 < tail)
                    prefetch_rows(pixels, queue[head + 16], width);
                p = queue[head++];
            } else {
                break;
            }
            const auto visit = [&](int q) {
                const int r = pixels[q];
                if (r & kReached)
                    return;
                if (r > level) {
                    items[end[r]++] = q;
                    pixels[q] = r | kReached;
                } else {
                    pixels[q] = level | kReached;
                    queue[tail++] = q;
                }
            };
            if (pixels[p] & kBorder) {
                g.for_each_neighbour<Step>(p, visit);
            } else {
                for (int d = 0; d < 8; d += Step)
                    visit(p + g.offset[d]);
            }
        }
    }
    for (size_t i = 0; i < n; ++i) {
        const int r = pixels[i] & (kBorder - 1);
        pixels[i] = ascending ? r + lo : hi - r;
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
    int* items = b.items;
    int* queue = b.queue;
    if (items == nullptr || queue == nullptr) {
        b.own.resize(2 * n);
        items = b.own.data();
        queue = items + n;
    }
    int lo;
    int hi;
    value_range(pixels, n, lo, hi);
    const long long range = static_cast<long long>(hi) - lo;
    if (range <= static_cast<long long>(n) + 65536 && range < kRanks) {
        const pixel_grid g(width, height);
        if (conn8)
            flood_from_border<Order, 1>(pixels, g, lo, hi, items, queue, b.levels);
        else
            flood_from_border<Order, 2>(pixels, g, lo, hi, items, queue, b.levels);
        return;
    }
    // Values spread too far for a table of levels: the marker that equals the
    // image on the border and its extreme inside, rebuilt against the image.
    int* marker = items;
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
