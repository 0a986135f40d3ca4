#include "filter/watershed.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "imagecore/fatal.h"
#include "imagecore/queue.h"

namespace {

// Working values of the flooding; basins are > 0, lines 0.
constexpr int kInit = -1;
constexpr int kMask = -2;
constexpr int kInQueue = -3;
// Cells around the image: never a basin, a line or a pixel to flood.
constexpr int kOutside = -4;

// The label array is surrounded by kOutside cells so that the flooding reads
// every neighbour without a bounds test. `stride` is its row length and
// `origin` the position of pixel (0, 0).
struct ws_layout {
    int width;
    int height;
    int stride;
    size_t origin;
    size_t cells;
    int offset[8];  // N, E, S, W, NE, SE, SW, NW
};

// Rows and columns of outside cells around the image.
ws_layout framed_layout(int width, int height)
{
    ws_layout l{};
    l.width = width;
    l.height = height;
    l.stride = width + 2;
    l.origin = static_cast<size_t>(l.stride) + 1;
    l.cells = static_cast<size_t>(l.stride) * (static_cast<size_t>(height) + 2);
    return l;
}

// The plain pixel array with width + 1 outside cells before and after it:
// exactly the neighbours that leave the array are outside.
ws_layout linear_layout(int width, int height)
{
    ws_layout l{};
    l.width = width;
    l.height = height;
    l.stride = width;
    l.origin = static_cast<size_t>(width) + 1;
    l.cells = static_cast<size_t>(width) * height + 2 * l.origin;
    return l;
}

void set_offsets(ws_layout& l)
{
    const int s = l.stride;
    const int offsets[8] = {-s, 1, s, -1, 1 - s, s + 1, s - 1, -s - 1};
    std::memcpy(l.offset, offsets, sizeof(offsets));
}

void* checked_alloc(size_t count, size_t size, const char* message)
{
    return vx_calloc(count, size, 4712, message);
}

constexpr const char* kNoLevels = " Not enough Mem for Accumulation Histogramm in WATERSHED";
constexpr const char* kNoSorted = " Not enough Mem for Sorted image in WATERSHED ";

// Label-array positions of all pixels, ascending by grey value and in raster
// order within a value, with the start of each level in `level_start`
// (one entry per distinct value, plus the end).
void sort_by_level(const image* img, const ws_layout& l, int* sorted,
                   std::vector<size_t>& level_start)
{
    const int* px = img->pixels;
    const size_t n = static_cast<size_t>(l.width) * l.height;
    const long long range = static_cast<long long>(img->max) - img->min + 1;
    level_start.clear();
    if (range <= static_cast<long long>(n) + 65536) {
        // Counting sort over a table of the value range.
        auto* count = static_cast<int*>(checked_alloc(static_cast<size_t>(range) + 1,
                                                      sizeof(int), kNoLevels));
        for (size_t i = 0; i < n; ++i)
            ++count[px[i] - img->min + 1];
        for (long long v = 0; v < range; ++v) {
            if (count[v + 1] != 0)
                level_start.push_back(static_cast<size_t>(count[v]));
            count[v + 1] += count[v];
        }
        level_start.push_back(n);
        size_t i = 0;
        for (int y = 0; y < l.height; ++y) {
            size_t pos = l.origin + static_cast<size_t>(y) * l.stride;
            for (int x = 0; x < l.width; ++x, ++i, ++pos)
                sorted[count[px[i] - img->min]++] = static_cast<int>(pos);
        }
        std::free(count);
        return;
    }
    // Values spread too far for a table: a stable sort of the positions.
    std::vector<int> order(n);
    for (size_t i = 0; i < n; ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [px](int a, int b) { return px[a] < px[b]; });
    for (size_t k = 0; k < n; ++k) {
        const int i = order[k];
        if (k == 0 || px[i] != px[order[k - 1]])
            level_start.push_back(k);
        sorted[k] = static_cast<int>(l.origin + static_cast<size_t>(i / l.width) * l.stride +
                                     static_cast<size_t>(i % l.width));
    }
    level_start.push_back(n);
}

// The immersion proper, with the neighbourhood size as a constant so that the
// neighbour loops unroll.
template <int N>
void flood(int* lab, const ws_layout& l, const int* sorted, const std::vector<size_t>& level_start,
           int* fifo)
{
    const int* off = l.offset;
    int basins = 0;
    bool line_flag = false;
    for (size_t level = 0; level + 1 < level_start.size(); ++level) {
        const int* first = sorted + level_start[level];
        const int* last = sorted + level_start[level + 1];
        size_t head = 0;
        size_t tail = 0;
        for (const int* s = first; s != last; ++s) {
            const int p = *s;
            lab[p] = kMask;
            for (int d = 0; d < N; ++d) {
                if (lab[p + off[d]] >= 0) {
                    lab[p] = kInQueue;
                    fifo[tail++] = p;
                    break;
                }
            }
        }
        while (head != tail) {
            const int p = fifo[head++];
            int lp = lab[p];
            for (int d = 0; d < N; ++d) {
                const int q = p + off[d];
                const int lq = lab[q];
                if (lq > 0) {
                    if (lp == kInQueue) {
                        lp = lq;
                    } else if (lp > 0 && lp != lq) {
                        lp = 0;
                        line_flag = false;
                    } else if (lp == 0 && line_flag) {
                        lp = lq;
                    }
                } else if (lq == kMask) {
                    lab[q] = kInQueue;
                    fifo[tail++] = q;
                } else if (lq == 0 && lp == kInQueue) {
                    lp = 0;
                    line_flag = true;
                }
            }
            lab[p] = lp;
        }
        for (const int* s = first; s != last; ++s) {
            if (lab[*s] != kMask)
                continue;
            ++basins;
            head = tail = 0;
            lab[*s] = basins;
            fifo[tail++] = *s;
            while (head != tail) {
                const int p = fifo[head++];
                for (int d = 0; d < N; ++d) {
                    const int q = p + off[d];
                    if (lab[q] == kMask) {
                        lab[q] = basins;
                        fifo[tail++] = q;
                    }
                }
            }
        }
    }
}

image* run_watershed(image* img, ws_layout l, int n)
{
    set_offsets(l);
    update_image_struct(img);
    // Label positions are ints like every pixel position of the system.
    if (l.cells > static_cast<size_t>(INT_MAX))
        vx_fatal(4712, "%s", kNoSorted);
    const size_t npix = static_cast<size_t>(img->width) * static_cast<size_t>(img->height);
    auto* lab = static_cast<int*>(checked_alloc(l.cells, sizeof(int), kNoSorted));
    std::fill(lab, lab + l.cells, kOutside);
    for (int y = 0; y < l.height; ++y) {
        int* row = lab + l.origin + static_cast<size_t>(y) * l.stride;
        std::fill(row, row + l.width, kInit);
    }
    auto* sorted = static_cast<int*>(checked_alloc(npix, sizeof(int), kNoSorted));
    // Every pixel enters the queue at most once per call, so a plain array of
    // the pixel count never overflows.
    auto* fifo = static_cast<int*>(checked_alloc(npix, sizeof(int), kNoSorted));
    std::vector<size_t> level_start;
    if (npix > 0)
        sort_by_level(img, l, sorted, level_start);
    if (n == 4)
        flood<4>(lab, l, sorted, level_start, fifo);
    else
        flood<8>(lab, l, sorted, level_start, fifo);
    std::free(fifo);
    std::free(sorted);
    image* labels = create_image(img->width, img->height, 0);
    for (int y = 0; y < l.height; ++y)
        std::memcpy(labels->pixels + static_cast<size_t>(y) * l.width,
                    lab + l.origin + static_cast<size_t>(y) * l.stride,
                    sizeof(int) * static_cast<size_t>(l.width));
    std::free(lab);
    update_image_struct(labels);
    return labels;
}

}  // namespace

image* watershed(image* img, int, int, int n)
{
    return run_watershed(img, framed_layout(img->width, img->height), n);
}

image* limited_watershed(image* img, int, int, int n)
{
    update_image_struct(img);
    const int frame = img->max == INT_MIN ? INT_MIN : img->max - 1;
    const int w = img->width;
    const int h = img->height;
    for (int y = 0; y < h; ++y) {
        int* row = img->pixels + static_cast<size_t>(y) * w;
        if (y == 0 || y == h - 1) {
            std::fill(row, row + w, frame);
        } else if (w > 0) {
            row[0] = frame;
            row[w - 1] = frame;
        }
    }
    return run_watershed(img, linear_layout(w, h), n);
}

void liqueue_put(int value, iqueue* q)
{
    if (iqueue_put(value, q))
        return;
    const int head = q->values[q->read_pos];
    vx_fatal(4711, "QUEUE PANIC!!! QUEUE FULL before Queue at %d %d\n head %d \n", value,
             q->read_pos, head);
}

int liqueue_get(iqueue* q)
{
    int value;
    if (!iqueue_get(&value, q))
        vx_fatal(4711, "QUEUE PANIC!!! NO MORE ELEMS");
    return value;
}
