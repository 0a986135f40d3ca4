#include "filter/reconstruction.h"

#include <cstring>
#include <vector>

#include "filter/elementary.h"
#include "filter/grey_order.h"
#include "filter/pixel_grid.h"
#include "filter/reconstruction_core.h"

namespace {

// The pixels whose value may still spread, as a stack (the result does not
// depend on the order, and the last pixel raised is the one whose
// neighbourhood is still in the cache). It grows as needed: no pixel is ever
// dropped. Pushes are conditional stores without branches, so room for one
// pixel's neighbours is made before visiting them.
class work_stack {
public:
    explicit work_stack(std::vector<int>& storage) : items_(storage)
    {
        if (items_.size() < 16)
            items_.resize(16);
    }

    void make_room(size_t more)
    {
        if (top_ + more > items_.size())
            items_.resize(2 * items_.size() + more);
    }
    void push_if(int p, bool condition)
    {
        items_[top_] = p;
        top_ += condition;
    }
    bool pop(int& p)
    {
        if (top_ == 0)
            return false;
        p = items_[--top_];
        return true;
    }

private:
    std::vector<int>& items_;
    size_t top_ = 0;
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
                work_stack& stack)
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
            stack.make_room(1);
            stack.push_if(static_cast<int>(base) + x, queue);
        }
    }
}

// Propagation from the stacked pixels to their neighbours.
template <class Order, int Step>
void eval_rec_queue(int* marker, const int* mask, const pixel_grid& g, work_stack& stack)
{
    int offset[8];
    for (int d = 0; d < 8; ++d)
        offset[d] = ring_dy[d] * g.width + ring_dx[d];
    int p;
    while (stack.pop(p)) {
        int x;
        int y;
        g.locate(p, x, y);
        const int v = marker[p];
        const bool inner = g.inner(x, y);
        stack.make_room(8);
        for (int d = 0; d < 8; d += Step) {
            if (!inner) {
                const int nx = x + ring_dx[d];
                const int ny = y + ring_dy[d];
                if (nx < 0 || ny < 0 || nx >= g.width || ny >= g.height)
                    continue;
            }
            const int n = p + offset[d];
            const int m = marker[n];
            const int k = mask[n];
            const bool raise = Order::before(m, v) & (k != m);
            marker[n] = raise ? Order::meet(v, k) : m;
            stack.push_if(n, raise);
        }
    }
}

}  // namespace

template <class Order>
void reconstruct(int* marker, const int* mask, int width, int height, bool conn8,
                 std::vector<int>& stack_storage)
{
    if (width <= 0 || height <= 0)
        return;
    work_stack stack(stack_storage);
    std::vector<int> buf(static_cast<size_t>(width));
    set_max_np<Order>(marker, mask, width, height, conn8, buf.data());
    set_max_nn<Order>(marker, mask, width, height, conn8, buf.data(), stack);
    const pixel_grid g(width, height);
    if (conn8)
        eval_rec_queue<Order, 1>(marker, mask, g, stack);
    else
        eval_rec_queue<Order, 2>(marker, mask, g, stack);
}

template void reconstruct<grey_up>(int*, const int*, int, int, bool, std::vector<int>&);
template void reconstruct<grey_down>(int*, const int*, int, int, bool, std::vector<int>&);

void fast_reconstruction_by_dilation(image* marker, image* mask, int conn)
{
    std::vector<int> stack;
    if (same_image_size(marker, mask, "fast_reconstruction_by_dilation"))
        reconstruct<grey_up>(marker->pixels, mask->pixels, marker->width, marker->height,
                             is_conn8(conn), stack);
}

// The dual of the reconstruction by dilation, computed directly rather than by
// negating both images (which would overflow at INT_MIN).
void fast_reconstruction_by_erosion(image* marker, image* mask, int conn)
{
    std::vector<int> stack;
    if (same_image_size(marker, mask, "fast_reconstruction_by_erosion"))
        reconstruct<grey_down>(marker->pixels, mask->pixels, marker->width, marker->height,
                               is_conn8(conn), stack);
}

