#include "filter/elementary.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "filter/detail/grey_order.h"
#include "filter/detail/neighbourhood_join.h"
#include "filter/detail/same_image_size.h"
#include "imagecore/report.h"

namespace {

// dst := join of src over each pixel and its neighbours inside the image,
// met with floor_mask when there is one.
template <class Order>
void neighbourhood_join(const int* src, int* dst, int width, int height, bool conn8,
                        const int* floor_mask)
{
    if (dst != src)
        std::memcpy(dst, src, sizeof(int) * static_cast<size_t>(width) * height);
    std::vector<int> rows(3 * static_cast<size_t>(width));
    join_in_place<Order>(dst, width, height, conn8, rows.data(),
                         [floor_mask](int j, int, size_t i) {
                             return floor_mask != nullptr ? Order::meet(j, floor_mask[i]) : j;
                         });
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
