#include "filter/elementary.h"

#include <cstdio>
#include <vector>

#include "filter/detail/grey_order.h"
#include "filter/detail/same_image_size.h"
#include "imagecore/report.h"

namespace {

// dst := join of src over each pixel and its neighbours inside the image,
// row by row: first the vertical join, then the horizontal one, so that the
// inner loops run over contiguous rows without bounds tests.
template <class Order>
void neighbourhood_join(const int* src, int* dst, int width, int height, bool conn8,
                        const int* floor_mask)
{
    std::vector<int> vertical(static_cast<size_t>(width));
    int* v = vertical.data();
    for (int y = 0; y < height; ++y) {
        const int* c = src + static_cast<size_t>(y) * width;
        int* o = dst + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x)
            v[x] = c[x];
        if (y > 0) {
            const int* up = c - width;
            for (int x = 0; x < width; ++x)
                v[x] = Order::join(v[x], up[x]);
        }
        if (y + 1 < height) {
            const int* down = c + width;
            for (int x = 0; x < width; ++x)
                v[x] = Order::join(v[x], down[x]);
        }
        // With 8 neighbours the side columns contribute their vertical join,
        // with 4 only their own pixel.
        const int* side = conn8 ? v : c;
        if (width == 1) {
            o[0] = v[0];
        } else {
            o[0] = Order::join(v[0], side[1]);
            for (int x = 1; x + 1 < width; ++x)
                o[x] = Order::join(v[x], Order::join(side[x - 1], side[x + 1]));
            o[width - 1] = Order::join(v[width - 1], side[width - 2]);
        }
        if (floor_mask != nullptr) {
            const int* m = floor_mask + static_cast<size_t>(y) * width;
            for (int x = 0; x < width; ++x)
                o[x] = Order::meet(o[x], m[x]);
        }
    }
}

}  // namespace

bool same_image_size(const image* a, const image* b, const char* who)
{
    if (a->width == b->width && a->height == b->height)
        return true;
    vx_report("%s: images of different size (%d x %d, %d x %d)\n", who, a->width, a->height,
              b->width, b->height);
    return false;
}

void n_erosion_buff(image* src, image* dst, int conn)
{
    if (same_image_size(src, dst, "n_erosion_buff"))
        neighbourhood_join<grey_down>(src->pixels, dst->pixels, src->width, src->height,
                                      is_conn8(conn), nullptr);
}

void n_dilation_buff(image* src, image* dst, int conn)
{
    if (same_image_size(src, dst, "n_dilation_buff"))
        neighbourhood_join<grey_up>(src->pixels, dst->pixels, src->width, src->height,
                                    is_conn8(conn), nullptr);
}

void n_masked_erosion_buff(image* src, image* dst, image* mask, int conn)
{
    if (same_image_size(src, dst, "n_masked_erosion_buff") &&
        same_image_size(src, mask, "n_masked_erosion_buff"))
        neighbourhood_join<grey_down>(src->pixels, dst->pixels, src->width, src->height,
                                      is_conn8(conn), mask->pixels);
}
