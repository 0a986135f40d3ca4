#include <climits>
#include <cstring>
#include <type_traits>
#include <vector>

#include "filter/grey_order.h"
#include "filter/pixel_grid.h"
#include "filter/reconstruction.h"
#include "filter/reconstruction_core.h"

namespace {

constexpr int kUnseen = -2;
constexpr int kEnd = -1;

// Flooding from the border in level order (ascending for grey_down, where
// holes are dark): a pixel first reached from a pixel of level L takes
// meet(its value, L) and is final. Each pixel is queued once, in the bucket
// of its level; buckets are FIFO lists threaded through `next`, which also
// marks the pixels already reached.
template <class Order>
void flood_from_border(int* pixels, int width, int height, bool conn8, int lo, int hi,
                       std::vector<int>& scratch)
{
    constexpr bool ascending = std::is_same<Order, grey_down>::value;
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    const size_t levels = static_cast<size_t>(static_cast<long long>(hi) - lo + 1);
    if (scratch.size() < n + 2 * levels)
        scratch.resize(n + 2 * levels);
    int* next = scratch.data();
    int* head = next + n;
    int* tail = head + levels;
    std::fill(next, next + n, kUnseen);
    std::fill(head, head + 2 * levels, kEnd);
    const auto bucket = [lo, hi](int v) {
        return static_cast<size_t>(ascending ? static_cast<long long>(v) - lo
                                             : static_cast<long long>(hi) - v);
    };
    const auto push = [&](int p) {
        const size_t b = bucket(pixels[p]);
        next[p] = kEnd;
        if (tail[b] == kEnd)
            head[b] = p;
        else
            next[tail[b]] = p;
        tail[b] = p;
    };
    for (int x = 0; x < width; ++x) {
        push(x);
        push(static_cast<int>(n) - width + x);
    }
    for (int y = 1; y + 1 < height; ++y) {
        push(y * width);
        push(y * width + width - 1);
    }
    int offset[8];
    for (int d = 0; d < 8; ++d)
        offset[d] = ring_dy[d] * width + ring_dx[d];
    const int step = conn8 ? 1 : 2;
    const pixel_grid g(width, height);
    for (size_t b = 0; b < levels; ++b) {
        while (head[b] != kEnd) {
            const int p = head[b];
            head[b] = next[p];
            if (head[b] == kEnd)
                tail[b] = kEnd;
            const int level = pixels[p];
            int x;
            int y;
            g.locate(p, x, y);
            const bool inner = g.inner(x, y);
            for (int d = 0; d < 8; d += step) {
                if (!inner) {
                    const int nx = x + ring_dx[d];
                    const int ny = y + ring_dy[d];
                    if (nx < 0 || ny < 0 || nx >= width || ny >= height)
                        continue;
                }
                const int q = p + offset[d];
                if (next[q] != kUnseen)
                    continue;
                pixels[q] = Order::meet(pixels[q], level);
                push(q);
            }
        }
    }
}

}  // namespace

template <class Order>
void fill_holes(int* pixels, int width, int height, bool conn8, std::vector<int>& scratch,
                std::vector<int>& stack)
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
        flood_from_border<Order>(pixels, width, height, conn8, lo, hi, scratch);
        return;
    }
    // Values spread too far for a table of levels: the marker that equals the
    // image on the border and its extreme inside, rebuilt against the image.
    if (scratch.size() < n)
        scratch.resize(n);
    int* marker = scratch.data();
    std::memcpy(marker, pixels, sizeof(int) * n);
    const int inside = Order::meet(lo, hi);
    for (int y = 1; y + 1 < height; ++y)
        for (int x = 1; x + 1 < width; ++x)
            marker[static_cast<size_t>(y) * width + x] = inside;
    reconstruct<Order>(marker, pixels, width, height, conn8, stack);
    std::memcpy(pixels, marker, sizeof(int) * n);
}

template void fill_holes<grey_up>(int*, int, int, bool, std::vector<int>&, std::vector<int>&);
template void fill_holes<grey_down>(int*, int, int, bool, std::vector<int>&, std::vector<int>&);

void fill_holes_by_reconstruction(image* img, int conn)
{
    std::vector<int> scratch;
    std::vector<int> stack;
    fill_holes<grey_down>(img->pixels, img->width, img->height, is_conn8(conn), scratch, stack);
}
