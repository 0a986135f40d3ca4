#include "filter/gradients.h"

#include <cstddef>
#include <utility>

#include "filter/detail/neighbourhood_join.h"
#include "filter/detail/same_image_size.h"
#include "filter/elementary.h"

namespace {

size_t pixel_count(const image* img)
{
    return static_cast<size_t>(img->width) * static_cast<size_t>(img->height);
}

}  // namespace

void neg_gradient(image* img, image* scratch, int conn)
{
    if (!same_image_size(img, scratch, "neg_gradient"))
        return;
    n_erosion_buff(img, scratch, conn);
    int* p = img->pixels;
    const int* e = scratch->pixels;
    const size_t n = pixel_count(img);
    for (size_t i = 0; i < n; ++i)
        p[i] = rise(p[i], e[i]);
}

void pos_gradient(image* img, image* scratch, int conn)
{
    if (!same_image_size(img, scratch, "pos_gradient"))
        return;
    n_dilation_buff(img, scratch, conn);
    const int* p = img->pixels;
    int* d = scratch->pixels;
    const size_t n = pixel_count(img);
    for (size_t i = 0; i < n; ++i)
        d[i] = rise(d[i], p[i]);
    std::swap(img->pixels, scratch->pixels);
}
