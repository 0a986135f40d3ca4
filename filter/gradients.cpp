#include "filter/gradients.h"

#include <climits>
#include <cstddef>
#include <utility>

#include "filter/detail/same_image_size.h"
#include "filter/elementary.h"

namespace {

size_t pixel_count(const image* img)
{
    return static_cast<size_t>(img->width) * static_cast<size_t>(img->height);
}

// a - b for a >= b; saturates where the full int range makes it overflow.
inline int rise(int a, int b)
{
    const long long d = static_cast<long long>(a) - b;
    return d > INT_MAX ? INT_MAX : static_cast<int>(d);
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
