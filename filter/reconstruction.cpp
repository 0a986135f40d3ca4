#include "filter/reconstruction.h"

#include <cstring>
#include <vector>

#include "filter/elementary.h"
#include "filter/grey_order.h"
#include "filter/reconstruction_core.h"
#include "imagecore/queue.h"

namespace {

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
                iqueue* q)
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
            if (queue)
                iqueue_put_grow(static_cast<int>(base) + x, q);
        }
    }
}

// Queue propagation in the direction order N, NE, E, SE, S, SW, W, NW.
template <class Order>
void eval_rec_queue(int* marker, const int* mask, int width, int height, bool conn8, iqueue* q)
{
    static constexpr int kDx[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    static constexpr int kDy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
    int offset[8];
    for (int d = 0; d < 8; ++d)
        offset[d] = kDy[d] * width + kDx[d];
    const int step = conn8 ? 1 : 2;
    int p;
    while (iqueue_get(&p, q)) {
        const int y = p / width;
        const int x = p - y * width;
        const int v = marker[p];
        const bool inner = x > 0 && y > 0 && x + 1 < width && y + 1 < height;
        for (int d = 0; d < 8; d += step) {
            if (!inner) {
                const int nx = x + kDx[d];
                const int ny = y + kDy[d];
                if (nx < 0 || ny < 0 || nx >= width || ny >= height)
                    continue;
            }
            const int n = p + offset[d];
            if (Order::before(marker[n], v) && mask[n] != marker[n]) {
                marker[n] = Order::meet(v, mask[n]);
                iqueue_put_grow(n, q);
            }
        }
    }
}

}  // namespace

template <class Order>
void reconstruct(int* marker, const int* mask, int width, int height, bool conn8, iqueue* q)
{
    if (width <= 0 || height <= 0)
        return;
    iqueue* own = nullptr;
    if (q == nullptr)
        q = own = init_iqueue(4 * (width + height) + 1024);
    reset_iqueue(q);
    std::vector<int> buf(static_cast<size_t>(width));
    set_max_np<Order>(marker, mask, width, height, conn8, buf.data());
    set_max_nn<Order>(marker, mask, width, height, conn8, buf.data(), q);
    eval_rec_queue<Order>(marker, mask, width, height, conn8, q);
    delete_iqueue(own);
}

template <class Order>
void fill_holes(int* pixels, int width, int height, bool conn8, iqueue* q)
{
    // With fewer than three rows or columns every pixel is a border pixel.
    if (width < 3 || height < 3)
        return;
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    int inside = pixels[0];
    for (size_t i = 1; i < n; ++i)
        inside = Order::meet(inside, pixels[i]);
    std::vector<int> marker(pixels, pixels + n);
    for (int y = 1; y + 1 < height; ++y) {
        int* row = marker.data() + static_cast<size_t>(y) * width;
        for (int x = 1; x + 1 < width; ++x)
            row[x] = inside;
    }
    reconstruct<Order>(marker.data(), pixels, width, height, conn8, q);
    std::memcpy(pixels, marker.data(), sizeof(int) * n);
}

template void reconstruct<grey_up>(int*, const int*, int, int, bool, iqueue*);
template void reconstruct<grey_down>(int*, const int*, int, int, bool, iqueue*);
template void fill_holes<grey_up>(int*, int, int, bool, iqueue*);
template void fill_holes<grey_down>(int*, int, int, bool, iqueue*);

void fast_reconstruction_by_dilation(image* marker, image* mask, int conn)
{
    if (same_image_size(marker, mask, "fast_reconstruction_by_dilation"))
        reconstruct<grey_up>(marker->pixels, mask->pixels, marker->width, marker->height,
                             is_conn8(conn), marker->update_queue);
}

// The dual of the reconstruction by dilation, computed directly rather than by
// negating both images (which would overflow at INT_MIN).
void fast_reconstruction_by_erosion(image* marker, image* mask, int conn)
{
    if (same_image_size(marker, mask, "fast_reconstruction_by_erosion"))
        reconstruct<grey_down>(marker->pixels, mask->pixels, marker->width, marker->height,
                               is_conn8(conn), marker->update_queue);
}

void fill_holes_by_reconstruction(image* img, int conn)
{
    fill_holes<grey_down>(img->pixels, img->width, img->height, is_conn8(conn),
                          img->update_queue);
}
