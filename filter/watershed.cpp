#include "filter/watershed.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "filter/detail/watershed_core.h"
#include "imagecore/fatal.h"
#include "imagecore/queue.h"
#include "imagecore/raster_labels.h"

namespace {

constexpr const char* kNoLevels = " Not enough Mem for Accumulation Histogramm in WATERSHED";
constexpr const char* kNoSorted = " Not enough Mem for Sorted image in WATERSHED ";

template <class T>
void ensure_size(std::vector<T>& v, size_t n, const char* message)
{
    try {
        if (v.size() < n)
            v.resize(n);
    } catch (const std::bad_alloc&) {
        vx_out_of_memory(exit_code::watershed_out_of_memory, "%s", message);
    }
}

}  // namespace

void ws_reserve(std::vector<int>& v, size_t n)
{
    // Label positions are ints like every pixel position of the system.
    if (n > static_cast<size_t>(INT_MAX))
        vx_out_of_memory(exit_code::watershed_out_of_memory, "%s", kNoSorted);
    ensure_size(v, n, kNoSorted);
}

ws_layout ws_make_layout(int width, int height, bool wrap)
{
    ws_layout l{};
    l.width = width;
    l.height = height;
    if (wrap) {
        l.stride = width;
        l.origin = static_cast<size_t>(width) + 1;
        l.cells = static_cast<size_t>(width) * height + 2 * l.origin;
    } else {
        l.stride = width + 2;
        l.origin = static_cast<size_t>(l.stride) + 1;
        l.cells = static_cast<size_t>(l.stride) * (static_cast<size_t>(height) + 2);
    }
    fill_neighbour_offsets(nb_order, l.stride, l.offset);
    return l;
}

namespace {

// Label-array positions of all pixels, ascending by grey value and in raster
// order within a value, with the start of each level in level_start (one
// entry per distinct value, plus the end).
void sort_by_level(const int* px, int lo, int hi, const ws_layout& l, int* sorted, ws_workspace& ws)
{
    const size_t n = static_cast<size_t>(l.width) * l.height;
    const long long range = static_cast<long long>(hi) - lo + 1;
    std::vector<size_t>& level_start = ws.level_start;
    level_start.clear();
    if (range <= static_cast<long long>(n) + 65536) {
        // Counting sort over a table of the value range.
        ensure_size(ws.count, static_cast<size_t>(range) + 1, kNoLevels);
        int* count = ws.count.data();
        std::fill(count, count + range + 1, 0);
        for (size_t i = 0; i < n; ++i)
            ++count[px[i] - lo + 1];
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
                sorted[count[px[i] - lo]++] = static_cast<int>(pos);
        }
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

constexpr int kAhead = 8;
constexpr int kBurst = 8;

inline void prefetch_neighbourhood(const int* lab, int p, int stride)
{
    __builtin_prefetch(lab + p - stride);
    __builtin_prefetch(lab + p);
    __builtin_prefetch(lab + p + stride);
}

// Label that a queued pixel p takes from its neighbours; the masked ones are
// queued behind it, at fifo[top] downwards. Taken one neighbour after the
// other, the immersion's rules give p the basin label of its neighbours when
// they hold exactly one, a line (0) when they hold two or more, or none but a
// line; in no case does the line flag carried over from earlier pixels count.
// So the labels are taken all at once: the lowest and highest label around
// and whether a line is there, without data-dependent branches.
template <int N>
inline void settle(int* lab, const int* off, int p, int* fifo, size_t& top)
{
    unsigned lowest = UINT_MAX;  // of label - 1: lines and working values wrap above INT_MAX
    int highest = WS_OUTSIDE;
    bool line = false;
    for (int d = 0; d < N; ++d) {
        const int q = p + off[d];
        const int lq = lab[q];
        lowest = std::min(lowest, static_cast<unsigned>(lq) - 1u);
        highest = std::max(highest, lq);
        line |= lq == 0;
        const bool masked = lq == WS_MASK;
        lab[q] = masked ? WS_IN_QUEUE : lq;
        fifo[top] = q;
        top -= masked;
    }
    const bool basin = lowest <= static_cast<unsigned>(INT_MAX);
    const int one_basin = lowest + 1u == static_cast<unsigned>(highest) ? highest : 0;
    lab[p] = basin ? one_basin : line ? 0 : WS_IN_QUEUE;
}

// The lowest level: nothing is labelled yet, so every pixel of it starts or
// joins a new basin, and the basins are its connected components numbered in
// raster order of their first pixels: labelled in two raster passes
// (imagecore/raster_labels.h) without the scattered reads of one flood per
// component.
template <int N>
int label_components(int* lab, const int* off, const int* first, const int* last, int* parent)
{
    int labels = 0;
    for (const int* s = first; s != last; ++s) {
        const int p = *s;
        int label = label_from_met_neighbours(lab[p + off[NB_WEST]], lab[p + off[NB_NORTH_WEST]],
                                              lab[p + off[NB_NORTH]], lab[p + off[NB_NORTH_EAST]],
                                              N == 8, parent);
        if (label <= 0) {
            label = ++labels;
            parent[label] = label;
        }
        lab[p] = label;
    }
    const int basins = number_label_roots(parent, labels);
    for (const int* s = first; s != last; ++s)
        lab[*s] = parent[lab[*s]];
    return basins;
}

// The immersion proper, with the neighbourhood size as a constant so that the
// neighbour loops unroll.
template <int N>
void flood(const ws_layout& l, const ws_arrays& a, const std::vector<size_t>& level_start)
{
    int* lab = a.lab;
    const int* sorted = a.sorted;
    int* fifo = a.fifo;
    const int* off = l.offset;
    const size_t npix = static_cast<size_t>(l.width) * l.height;
    // No neighbour lies further than a row and a column away in the array.
    const int reach = l.stride + 1;
    int basins = 0;
    for (size_t level = 0; level + 1 < level_start.size(); ++level) {
        const int* first = sorted + level_start[level];
        const int* last = sorted + level_start[level + 1];
        if (level == 0) {
            basins = label_components<N>(lab, off, first, last, fifo);
            continue;
        }
        // The pixels reached from labelled ones queue at the front of fifo
        // in raster order, those masked when they are taken at its back
        // (fifo has room for one more than all pixels, which no level
        // exceeds). A reached pixel is taken as soon as the pixels of the
        // level within reach of it have been marked, which leaves every label
        // as if the whole level were marked first, while its neighbourhood is
        // still cached.
        size_t head = 0;
        size_t tail = 0;
        size_t back = npix;
        size_t top = npix;
        for (const int* s = first; s != last; ++s) {
            // The pixels of a level lie all over the image: fetch the
            // neighbourhoods of those a few steps ahead while this one is done.
            if (last - s > kAhead)
                prefetch_neighbourhood(lab, s[kAhead], l.stride);
            const int p = *s;
            bool reached = false;
            for (int d = 0; d < N; ++d)
                reached |= lab[p + off[d]] >= 0;
            lab[p] = reached ? WS_IN_QUEUE : WS_MASK;
            fifo[tail] = p;
            tail += reached;
            // In bursts, so that the end of the burst, not each pixel, is
            // what the branch predictor misses.
            if ((last - s) % kBurst == 0) {
                while (head != tail && fifo[head] + reach <= p)
                    settle<N>(lab, off, fifo[head++], fifo, top);
            }
        }
        while (head != tail)
            settle<N>(lab, off, fifo[head++], fifo, top);
        while (back != top) {
            if (back - top > kAhead)
                prefetch_neighbourhood(lab, fifo[back - kAhead], l.stride);
            settle<N>(lab, off, fifo[back--], fifo, top);
        }
        // Every pixel of the level that was reached went through the queue.
        if (tail + (npix - top) == static_cast<size_t>(last - first))
            continue;
        for (const int* s = first; s != last; ++s) {
            if (lab[*s] != WS_MASK)
                continue;
            ++basins;
            head = tail = 0;
            lab[*s] = basins;
            fifo[tail++] = *s;
            while (head != tail) {
                const int p = fifo[head++];
                for (int d = 0; d < N; ++d) {
                    const int q = p + off[d];
                    const int lq = lab[q];
                    const bool masked = lq == WS_MASK;
                    lab[q] = masked ? basins : lq;
                    fifo[tail] = q;
                    tail += masked;
                }
            }
        }
    }
}

image* labels_of(const ws_layout& l, const ws_workspace& ws)
{
    image* labels = create_image(l.width, l.height, 0);
    for (int y = 0; y < l.height; ++y)
        std::memcpy(labels->pixels + static_cast<size_t>(y) * l.width,
                    ws.lab.data() + l.origin + static_cast<size_t>(y) * l.stride,
                    sizeof(int) * static_cast<size_t>(l.width));
    update_image_struct(labels);
    return labels;
}

}  // namespace

ws_layout ws_flood_into(const int* pixels, int width, int height, int lo, int hi, int n, bool wrap,
                        const ws_arrays& a, ws_workspace& tables)
{
    const ws_layout l = ws_make_layout(width, height, wrap);
    const size_t npix = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::fill(a.lab, a.lab + l.cells, WS_OUTSIDE);
    for (int y = 0; y < l.height; ++y) {
        int* row = a.lab + l.origin + static_cast<size_t>(y) * l.stride;
        std::fill(row, row + l.width, WS_INIT);
    }
    tables.level_start.clear();
    if (npix > 0)
        sort_by_level(pixels, lo, hi, l, a.sorted, tables);
    if (n == 4)
        flood<4>(l, a, tables.level_start);
    else
        flood<8>(l, a, tables.level_start);
    return l;
}

ws_layout ws_flood(image* img, int n, bool wrap, ws_workspace& ws)
{
    update_image_struct(img);
    const size_t npix = static_cast<size_t>(img->width) * static_cast<size_t>(img->height);
    ws_reserve(ws.lab, ws_make_layout(img->width, img->height, wrap).cells);
    ws_reserve(ws.sorted, npix);
    // One spare entry: the flooding stores every neighbour and only then
    // decides whether it counts.
    ws_reserve(ws.fifo, npix + 1);
    return ws_flood_into(img->pixels, img->width, img->height, img->min, img->max, n, wrap,
                         ws_arrays{ws.lab.data(), ws.sorted.data(), ws.fifo.data()}, ws);
}

image* watershed(image* img, int, int, int n)
{
    ws_workspace ws;
    const ws_layout l = ws_flood(img, n, false, ws);
    return labels_of(l, ws);
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
    ws_workspace ws;
    const ws_layout l = ws_flood(img, n, true, ws);
    return labels_of(l, ws);
}

void liqueue_put(int value, iqueue* q)
{
    if (iqueue_put(value, q))
        return;
    const int head = q->values[q->read_pos];
    vx_fatal(exit_code::watershed_queue_full,
             "QUEUE PANIC!!! QUEUE FULL before Queue at %d %d\n head %d \n", value, q->read_pos,
             head);
}

int liqueue_get(iqueue* q)
{
    int value;
    if (!iqueue_get(&value, q))
        vx_fatal(exit_code::watershed_queue_empty, "QUEUE PANIC!!! NO MORE ELEMS");
    return value;
}
