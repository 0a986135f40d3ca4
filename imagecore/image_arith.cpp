#include "imagecore/image_arith.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "imagecore/detail/resample.h"

namespace {

size_t pixel_count(const image* img)
{
    return static_cast<size_t>(img->width) * static_cast<size_t>(img->height);
}

bool same_size(const image* a, const image* b)
{
    return a->width == b->width && a->height == b->height;
}

// Pixel arithmetic wraps around like the machine's int instead of being
// undefined on overflow.
inline int wrap(unsigned v)
{
    return static_cast<int>(v);
}
inline unsigned u(int v)
{
    return static_cast<unsigned>(v);
}

template <class Op>
void per_pixel(image* img, Op op)
{
    int* pixels = img->pixels;
    const size_t n = pixel_count(img);
    for (size_t i = 0; i < n; ++i)
        pixels[i] = op(pixels[i]);
}

template <class Op>
void per_pixel_pair(image* a, const image* b, Op op)
{
    if (!same_size(a, b))
        return;
    int* pa = a->pixels;
    const int* pb = b->pixels;
    const size_t n = pixel_count(a);
    for (size_t i = 0; i < n; ++i)
        pa[i] = op(pa[i], pb[i]);
}

// The band of rows of `large` that holds `small` starting at column 1, or
// false when small does not fit there.
bool bounded_band(const image* small, const image* large, int* first_row)
{
    if (small->width + 1 > large->width || small->height > large->height)
        return false;
    *first_row = (large->height - small->height) / 2;
    return true;
}

image* new_image_like(const image* src, int width, int height)
{
    image* img = create_image(width, height, 0);
    img->kind = src->kind;
    img->connect = src->connect;
    return img;
}

}  // namespace

void binarize_image(image* img, int value)
{
    per_pixel(img, [value](int p) { return p != 0 ? value : 0; });
}

void invert_image(image* img)
{
    per_pixel(img, [](int p) { return wrap(0u - u(p)); });
}

void image_add(image* a, const image* b, int k)
{
    per_pixel_pair(a, b, [k](int p, int q) { return wrap(u(p) + u(k) * u(q)); });
}

void image_add_const(image* img, int k)
{
    per_pixel(img, [k](int p) { return wrap(u(p) + u(k)); });
}

void image_multiply(image* a, const image* b, int k)
{
    per_pixel_pair(a, b, [k](int p, int q) { return wrap(u(p) * u(q) * u(k)); });
}

void image_multiply_const(image* img, int k)
{
    per_pixel(img, [k](int p) { return wrap(u(p) * u(k)); });
}

void gt(image* img, int threshold, int value)
{
    per_pixel(img, [threshold, value](int p) { return p > threshold ? value : 0; });
}

void lt(image* img, int threshold, int value)
{
    per_pixel(img, [threshold, value](int p) { return p < threshold ? value : 0; });
}

image* binarizedMerge(const image* a, const image* b, int value)
{
    if (!same_size(a, b))
        return nullptr;
    image* merged = new_image_like(a, a->width, a->height);
    const size_t n = pixel_count(a);
    for (size_t i = 0; i < n; ++i)
        merged->pixels[i] = a->pixels[i] != 0 || b->pixels[i] != 0 ? value : 0;
    update_image_struct(merged);
    return merged;
}

void MeanRGB2Grey(image* img)
{
    per_pixel(img, [](int p) {
        const unsigned c = u(p);
        return static_cast<int>(((c & 0xff) + ((c >> 8) & 0xff) + ((c >> 16) & 0xff)) / 3);
    });
    img->kind = IMAGE_GREY;
}

void copy_image_bounded_in(const image* small, image* large, int value)
{
    int first;
    if (!bounded_band(small, large, &first))
        return;
    for (int r = 0; r < small->height; ++r) {
        int* row = large->pixels + static_cast<size_t>(first + r) * large->width;
        const int* src = small->pixels + static_cast<size_t>(r) * small->width;
        row[0] = value;
        std::memcpy(row + 1, src, sizeof(int) * static_cast<size_t>(small->width));
        std::fill(row + 1 + small->width, row + large->width, value);
    }
}

void copy_image_bounded_out(const image* large, image* small)
{
    int first;
    if (!bounded_band(small, large, &first))
        return;
    for (int r = 0; r < small->height; ++r)
        std::memcpy(small->pixels + static_cast<size_t>(r) * small->width,
                    large->pixels + static_cast<size_t>(first + r) * large->width + 1,
                    sizeof(int) * static_cast<size_t>(small->width));
}

void copy_image_into(image* dst, const image* src)
{
    if (dst->width < src->width || dst->height < src->height)
        return;
    // The aux array travels with its length, so that the two always agree.
    copy_image_aux(dst, src);
    dst->max = src->max;
    dst->min = src->min;
    dst->connect = src->connect;
    std::memcpy(dst->pixels, src->pixels, sizeof(int) * pixel_count(src));
}

image* scale_image(const image* img, double factor)
{
    int w;
    int h;
    if (!scaled_size(img->width, img->height, factor, &w, &h))
        return nullptr;
    image* scaled = new_image_like(img, w, h);
    resample_nearest(img->pixels, img->width, img->height, scaled->pixels, w, h, factor);
    update_image_struct(scaled);
    return scaled;
}

image* crop_image(const image* img, int x0, int y0, int x1, int y1)
{
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, img->width);
    y1 = std::min(y1, img->height);
    if (x1 <= x0 || y1 <= y0)
        return nullptr;
    const int w = x1 - x0;
    const int h = y1 - y0;
    image* cropped = new_image_like(img, w, h);
    for (int r = 0; r < h; ++r)
        std::memcpy(cropped->pixels + static_cast<size_t>(r) * w,
                    img->pixels + static_cast<size_t>(y0 + r) * img->width + x0,
                    sizeof(int) * static_cast<size_t>(w));
    update_image_struct(cropped);
    return cropped;
}
