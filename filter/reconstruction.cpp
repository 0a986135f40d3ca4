#include "filter/reconstruction.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

#include "filter/detail/grey_order.h"
#include "filter/detail/pixel_grid.h"
#include "filter/detail/reconstruction_core.h"
#include "filter/detail/same_image_size.h"

namespace {

// The pixels whose value may still spread, first in first out (a stack
// revisits pixels once per grey level they pass through, which on images of
// many levels costs far more). It grows as needed: no pixel is ever dropped.
// Pushes are conditional stores without branches, so room for one pixel's
// neighbours is made before visiting them.
class work_queue {
public:
    explicit work_queue(std::vector<int>& storage) : items_(storage)
    {
        if (items_.size() < 16)
            items_.resize(16);
    }

    void make_room(size_t more)
    {
        if (tail_ + more <= items_.size())
            return;
        if (head_ > items_.size() / 2) {
            std::copy(items_.begin() + head_, items_.begin() + tail_, items_.begin());
            tail_ -= head_;
            head_ = 0;
        }
        if (tail_ + more > items_.size())
            items_.resize(2 * items_.size() + more);
    }
    void push_if(int p, bool condition)
    {
        items_[tail_] = p;
        tail_ += condition;
    }
    bool pop(int& p)
    {
        if (head_ == tail_)
            return false;
        p = items_[head_++];
        return true;
    }
    const int* begin() const { return items_.data() + head_; }
    size_t size() const { return tail_ - head_; }
    // The pixel `ahead` places behind the next one, or -1.
    int peek(size_t ahead) const { return head_ + ahead < tail_ ? items_[head_ + ahead] : -1; }

private:
    std::vector<int>& items_;
    size_t head_ = 0;
    size_t tail_ = 0;
};

// Join of each pixel of row `row` with its neighbours in the adjacent row
// `other` (the row above in the forward scan, below in the backward one).
template <class Order>
void join_adjacent_row(const int* row, const int* other, int* out, int width, bool conn8)
{
    if (other == nullptr) {
        std::memcpy(out, row, sizeof(int) * static_cast<size_t>(width));
        return;
    }
    for (int x = 0; x < width; ++x)
        out[x] = Order::join(row[x], other[x]);
    if (conn8 && width > 1) {
        out[0] = Order::join(out[0], other[1]);
        for (int x = 1; x + 1 < width; ++x)
            out[x] = Order::join(out[x], Order::join(other[x - 1], other[x + 1]));
        out[width - 1] = Order::join(out[width - 1], other[width - 2]);
    }
}

// Forward raster step: marker := meet(mask, join(marker, W, N [, NW, NE])).
template <class Order>
void set_max_np(int* marker, const int* mask, int width, int height, bool conn8, int* buf)
{
    for (int y = 0; y < height; ++y) {
        int* m = marker + static_cast<size_t>(y) * width;
        const int* k = mask + static_cast<size_t>(y) * width;
        join_adjacent_row<Order>(m, y > 0 ? m - width : nullptr, buf, width, conn8);
        int prev = Order::floor_value;
        for (int x = 0; x < width; ++x) {
            prev = Order::meet(k[x], Order::join(buf[x], prev));
            m[x] = prev;
        }
    }
}

// Whether neighbour q can still take a value from a pixel of value v.
template <class Order>
inline bool can_raise(int mq, int kq, int v)
{
    return Order::before(mq, v) && Order::before(mq, kq);
}

// Backward raster step: marker := meet(mask, join(marker, E, S [, SW, SE]));
// queues the pixels from which a later neighbour can still be raised.
template <class Order>
void set_max_nn(int* marker, const int* mask, int width, int height, bool conn8, int* buf,
                work_queue& work)
{
    for (int y = height - 1; y >= 0; --y) {
        const size_t base = static_cast<size_t>(y) * width;
        int* m = marker + base;
        const int* k = mask + base;
        const bool has_down = y + 1 < height;
        const int* md = m + width;
        const int* kd = k + width;
        join_adjacent_row<Order>(m, has_down ? md : nullptr, buf, width, conn8);
        int prev = Order::floor_value;
        for (int x = width - 1; x >= 0; --x) {
            const int v = Order::meet(k[x], Order::join(buf[x], prev));
            m[x] = v;
            prev = v;
            bool queue = x + 1 < width && can_raise<Order>(m[x + 1], k[x + 1], v);
            if (!queue && has_down) {
                queue = can_raise<Order>(md[x], kd[x], v) ||
                        (conn8 && ((x > 0 && can_raise<Order>(md[x - 1], kd[x - 1], v)) ||
                                   (x + 1 < width && can_raise<Order>(md[x + 1], kd[x + 1], v))));
            }
            work.make_room(1);
            work.push_if(static_cast<int>(base) + x, queue);
        }
    }
}

// Fetches the neighbourhood of a pixel that will be visited soon: the queue
// passes jump across the image, which on large images is no longer cached.
inline void prefetch_rows(const int* pixels, int p, int width)
{
    __builtin_prefetch(pixels + p - width);
    __builtin_prefetch(pixels + p);
    __builtin_prefetch(pixels + p + width);
}

// Propagation from the queued pixels to their neighbours.
template <class Order, int Step>
void eval_rec_queue(int* marker, const int* mask, const pixel_grid& g, work_queue& queue)
{
    int p;
    while (queue.pop(p)) {
        const int later = queue.peek(8);
        if (later >= 0) {
            prefetch_rows(marker, later, g.width);
            prefetch_rows(mask, later, g.width);
        }
        const int v = marker[p];
        queue.make_room(8);
        g.for_each_neighbour<Step>(p, [&](int q) {
            const int m = marker[q];
            const int k = mask[q];
            const bool raise = Order::before(m, v) & (k != m);
            marker[q] = raise ? Order::meet(v, k) : m;
            queue.push_if(q, raise);
        });
    }
}

// Marker and mask of a reconstruction as ranks in the order of its values:
// rank 0 for the value that spreads least (lo for grey_up, hi for grey_down)
// up to the number of levels - 1, so that a lower rank always comes before a
// higher one. Mask values beyond the marker's range act as its end and are
// clamped to it.
template <class Order>
struct rank_scale {
    int lo;
    int hi;

    int rank(int v) const
    {
        const int c = v < lo ? lo : v > hi ? hi : v;
        return std::is_same<Order, grey_up>::value ? c - lo : hi - c;
    }
    int value(int r) const { return std::is_same<Order, grey_up>::value ? lo + r : hi - r; }
};

struct rank_pair {
    int marker;
    int mask;
};

// The two ranks of a pixel packed into its marker word, the mask's in the
// upper and the marker's in the lower 16 bits: the propagation reads one
// word per neighbour where it would read two arrays.
struct packed_ranks {
    static constexpr long long kLevels = 1 << 16;
    int* words;

    int marker(int p) const { return words[p] & 0xffff; }
    int mask(int p) const { return static_cast<int>(static_cast<unsigned>(words[p]) >> 16); }
    // Both ranks of p; set() replaces the marker's.
    rank_pair get(int p) const
    {
        const unsigned w = static_cast<unsigned>(words[p]);
        return {static_cast<int>(w & 0xffff), static_cast<int>(w >> 16)};
    }
    void set(int p, int m)
    {
        words[p] = static_cast<int>((static_cast<unsigned>(words[p]) & 0xffff0000u) |
                                    static_cast<unsigned>(m));
    }
    void prefetch(int p, int width) const { prefetch_rows(words, p, width); }
};

// Ranks computed from the two arrays, for value ranges too wide to pack.
template <class Order>
struct separate_ranks {
    int* marker_values;
    const int* mask_values;
    rank_scale<Order> scale;

    int marker(int p) const { return scale.rank(marker_values[p]); }
    int mask(int p) const { return scale.rank(mask_values[p]); }
    rank_pair get(int p) const { return {marker(p), mask(p)}; }
    void set(int p, int m) { marker_values[p] = scale.value(m); }
    void prefetch(int p, int width) const
    {
        prefetch_rows(marker_values, p, width);
        prefetch_rows(mask_values, p, width);
    }
};

// Propagation in level order, from the queued pixels: a pixel is taken up
// only when no rank above it can reach it any more, so each pixel spreads at
// most once and long slopes of many grey levels cost no repeated raising. A
// pixel raised to its own mask rank waits in the bucket of that rank (each
// bucket holds at most the pixels of its mask rank, so all buckets share one
// array sorted by mask rank); one raised to the level being processed goes
// through a queue at once.
template <int Step, class Ranks>
void eval_rec_levels(Ranks ranks, const pixel_grid& g, const work_queue& queued, int levels,
                     std::vector<int>& buffer)
{
    const size_t n = static_cast<size_t>(g.width) * static_cast<size_t>(g.height);
    const size_t nlevels = static_cast<size_t>(levels);
    const size_t entries = queued.size();
    buffer.resize(2 * n + 3 * nlevels + 2 + entries);
    int* waiting = buffer.data();
    int* queue = waiting + n;
    int* wait_start = queue + n;               // levels + 1
    int* wait_end = wait_start + nlevels + 1;  // levels
    int* first_start = wait_end + nlevels;     // levels + 1
    int* first = first_start + nlevels + 1;    // entries
    // Bucket starts from the mask ranks, and the queued pixels sorted by
    // their rank, both from the highest rank down.
    std::fill(wait_start, wait_start + nlevels + 1, 0);
    for (size_t i = 0; i < n; ++i)
        ++wait_start[levels - ranks.mask(static_cast<int>(i))];
    std::fill(first_start, first_start + nlevels + 1, 0);
    const int* queued_pixels = queued.begin();
    for (size_t i = 0; i < entries; ++i)
        ++first_start[levels - ranks.marker(queued_pixels[i])];
    for (size_t r = 0; r < nlevels; ++r) {
        wait_start[r + 1] += wait_start[r];
        first_start[r + 1] += first_start[r];
    }
    for (size_t r = 0; r < nlevels; ++r)
        wait_end[r] = wait_start[r];
    for (size_t i = 0; i < entries; ++i)
        first[first_start[levels - 1 - ranks.marker(queued_pixels[i])]++] = queued_pixels[i];
    // Index t = levels - 1 - rank: first_start[t] now holds the end of that
    // rank's entries, first_start[t - 1] its begin.
    size_t tail = 0;
    const auto spread = [&](int p, int v) {
        const auto read = [&ranks](int q) { return ranks.get(q); };
        const auto raised = [v](rank_pair r) { return r.marker < v && r.mask != r.marker; };
        g.for_each_neighbour_if<Step>(p, read, raised, [&](int q, rank_pair r) {
            if (r.mask < v) {
                ranks.set(q, r.mask);
                waiting[wait_end[levels - 1 - r.mask]++] = q;
            } else {
                ranks.set(q, v);
                queue[tail++] = q;
            }
        });
    };
    for (size_t t = 0; t < nlevels; ++t) {
        const int v = levels - 1 - static_cast<int>(t);
        const int end = first_start[t];
        for (int i = t == 0 ? 0 : first_start[t - 1]; i < end; ++i) {
            if (i + 8 < end)
                ranks.prefetch(first[i + 8], g.width);
            if (ranks.marker(first[i]) == v)
                spread(first[i], v);
        }
        for (int i = wait_start[t]; i < wait_end[t]; ++i) {
            if (i + 8 < wait_end[t])
                ranks.prefetch(waiting[i + 8], g.width);
            spread(waiting[i], v);
        }
        for (size_t head = 0; head != tail; ++head) {
            if (head + 8 < tail)
                ranks.prefetch(queue[head + 8], g.width);
            spread(queue[head], v);
        }
        tail = 0;
    }
}

template <class Order, int Step>
void propagate(int* marker, const int* mask, const pixel_grid& g, work_queue& queue,
               rec_buffers& buffers)
{
    const size_t n = static_cast<size_t>(g.width) * static_cast<size_t>(g.height);
    int lo;
    int hi;
    value_range(marker, n, lo, hi);
    const long long levels = static_cast<long long>(hi) - lo + 1;
    if (levels > static_cast<long long>(n) + 65537) {
        // Values spread too far for a table of levels: plain first-in
        // first-out propagation.
        eval_rec_queue<Order, Step>(marker, mask, g, queue);
        return;
    }
    const rank_scale<Order> scale{lo, hi};
    if (levels > packed_ranks::kLevels) {
        eval_rec_levels<Step>(separate_ranks<Order>{marker, mask, scale}, g, queue,
                              static_cast<int>(levels), buffers.levels);
        return;
    }
    for (size_t i = 0; i < n; ++i)
        marker[i] = static_cast<int>(static_cast<unsigned>(scale.rank(mask[i])) << 16 |
                                     static_cast<unsigned>(scale.rank(marker[i])));
    eval_rec_levels<Step>(packed_ranks{marker}, g, queue, static_cast<int>(levels), buffers.levels);
    for (size_t i = 0; i < n; ++i)
        marker[i] = scale.value(marker[i] & 0xffff);
}

}  // namespace

template <class Order>
void reconstruct(int* marker, const int* mask, int width, int height, bool conn8,
                 rec_buffers& buffers)
{
    if (width <= 0 || height <= 0)
        return;
    work_queue queue(buffers.queue);
    std::vector<int> buf(static_cast<size_t>(width));
    set_max_np<Order>(marker, mask, width, height, conn8, buf.data());
    set_max_nn<Order>(marker, mask, width, height, conn8, buf.data(), queue);
    const pixel_grid g(width, height);
    if (conn8)
        propagate<Order, 1>(marker, mask, g, queue, buffers);
    else
        propagate<Order, 2>(marker, mask, g, queue, buffers);
}

template void reconstruct<grey_up>(int*, const int*, int, int, bool, rec_buffers&);
template void reconstruct<grey_down>(int*, const int*, int, int, bool, rec_buffers&);

void fast_reconstruction_by_dilation(image* marker, image* mask, int conn)
{
    rec_buffers queue;
    if (same_image_size(marker, mask, "fast_reconstruction_by_dilation"))
        reconstruct<grey_up>(marker->pixels, mask->pixels, marker->width, marker->height,
                             is_conn8(conn), queue);
}

// The dual of the reconstruction by dilation, computed directly rather than by
// negating both images (which would overflow at INT_MIN).
void fast_reconstruction_by_erosion(image* marker, image* mask, int conn)
{
    rec_buffers queue;
    if (same_image_size(marker, mask, "fast_reconstruction_by_erosion"))
        reconstruct<grey_down>(marker->pixels, mask->pixels, marker->width, marker->height,
                               is_conn8(conn), queue);
}
