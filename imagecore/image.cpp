#include "imagecore/image.h"

#include <cstdlib>
#include <cstring>

#include "imagecore/fatal.h"

namespace {

constexpr const char* kNoRecord = " Not enough Mem for new image struct in UTILS";
constexpr const char* kNoVector = " Not enough Mem for new image vector in UTILS";

image* alloc_record()
{
    auto* img = static_cast<image*>(std::calloc(1, sizeof(image)));
    if (img == nullptr)
        vx_out_of_memory(exit_code::image_out_of_memory, "%s", kNoRecord);
    return img;
}

size_t checked_pixel_count(int width, int height)
{
    const long n = vx_pixel_count(width, height);
    if (n < 0)
        vx_out_of_memory(exit_code::image_out_of_memory, "%s", kNoVector);
    return static_cast<size_t>(n);
}

int* copy_ints(const int* src, int n)
{
    auto* dst = static_cast<int*>(
        vx_calloc(static_cast<size_t>(n), sizeof(int), exit_code::image_out_of_memory, kNoVector));
    std::memcpy(dst, src, sizeof(int) * static_cast<size_t>(n));
    return dst;
}

}  // namespace

void set_nb_offsets(int* offsets, int width)
{
    fill_neighbour_offsets(nb_order, width, offsets);
}

image* create_image(int width, int height, int value)
{
    const size_t n = checked_pixel_count(width, height);
    image* img = alloc_record();
    img->pixels =
        static_cast<int*>(vx_calloc(n, sizeof(int), exit_code::image_out_of_memory, kNoVector));
    for (size_t i = 0; i < n; ++i)
        img->pixels[i] = value;
    img->width = width;
    img->height = height;
    img->min = img->max = value;
    img->connect = -1;
    img->kind = IMAGE_GREY;
    set_nb_offsets(img->nb_offsets, width);
    return img;
}

image* create_double_image(int width, int height, double value)
{
    const size_t n = checked_pixel_count(width, height);
    image* img = alloc_record();
    img->dpixels = static_cast<double*>(
        vx_calloc(n, sizeof(double), exit_code::image_out_of_memory, kNoVector));
    for (size_t i = 0; i < n; ++i)
        img->dpixels[i] = value;
    img->width = width;
    img->height = height;
    img->min = img->max = static_cast<int>(value);
    img->connect = -1;
    img->kind = IMAGE_GREY;
    set_nb_offsets(img->nb_offsets, width);
    return img;
}

image* init_image(image* img)
{
    if (img == nullptr)
        vx_fatal(exit_code::no_image_to_initialize,
                 " No valid image struct for initialization in  image_utils");
    img->width = img->height = 0;
    img->pixels = nullptr;
    img->min = img->max = 0;
    img->connect = 0;
    img->kind = 0;
    img->aux = nullptr;
    img->aux_len = 0;
    std::memset(img->nb_offsets, 0, sizeof(img->nb_offsets));
    return img;
}

image* create_copy_image(const image* src)
{
    const size_t n = checked_pixel_count(src->width, src->height);
    image* img = alloc_record();
    img->width = src->width;
    img->height = src->height;
    img->pixels = copy_ints(src->pixels, static_cast<int>(n));
    img->connect = src->connect;
    img->kind = src->kind;
    if (src->aux != nullptr && src->aux_len > 0)
        img->aux = copy_ints(src->aux, src->aux_len);
    img->aux_len = img->aux != nullptr ? src->aux_len : 0;
    set_nb_offsets(img->nb_offsets, src->width);
    return img;
}

void copy_image_aux(image* dst, const image* src)
{
    if (src->aux != nullptr && src->aux_len > 0) {
        if (dst->aux == nullptr || dst->aux_len < src->aux_len) {
            std::free(dst->aux);
            dst->aux = static_cast<int*>(vx_calloc(static_cast<size_t>(src->aux_len), sizeof(int),
                                                   exit_code::image_out_of_memory, kNoVector));
        }
        std::memcpy(dst->aux, src->aux, sizeof(int) * static_cast<size_t>(src->aux_len));
    }
    dst->aux_len = src->aux_len;
}

image* copy_image(image* dst, const image* src)
{
    if (dst->width != src->width || dst->height != src->height)
        vx_fatal(exit_code::image_size_mismatch,
                 "copy different sized image structs SRC(%d,%d), DEST(%d,%d)\nBailing Out!\n",
                 src->width, src->height, dst->width, dst->height);
    dst->max = src->max;
    dst->min = src->min;
    dst->connect = src->connect;
    copy_image_aux(dst, src);
    std::memcpy(dst->pixels, src->pixels,
                sizeof(int) * static_cast<size_t>(src->width) * static_cast<size_t>(src->height));
    return dst;
}

void erase_image(image* img, int value)
{
    const size_t n = static_cast<size_t>(img->width) * static_cast<size_t>(img->height);
    for (size_t i = 0; i < n; ++i)
        img->pixels[i] = value;
}

void delete_image(image* img)
{
    if (img == nullptr)
        return;
    std::free(img->aux);
    std::free(img->dpixels);
    std::free(img->pixels);
    std::free(img);
}

int update_image_struct(image* img)
{
    const size_t n = static_cast<size_t>(img->width) * static_cast<size_t>(img->height);
    if (n == 0) {
        img->min = img->max = 0;
        return 0;
    }
    int lo = img->pixels[0];
    int hi = img->pixels[0];
    for (size_t i = 1; i < n; ++i) {
        const int v = img->pixels[i];
        if (v < lo)
            lo = v;
        if (v > hi)
            hi = v;
    }
    img->min = lo;
    img->max = hi;
    return lo;
}

void set_image_connect(image* img, int c)
{
    if (c != 4 && c != 8 && c != -1)
        vx_fatal(exit_code::unknown_connectivity, "Connectivity not known-> PANIC");
    img->connect = c;
}

int get_image_connect(const image* img)
{
    if (img == nullptr)
        vx_fatal(exit_code::no_image_for_connectivity, "No image-> PANIC");
    return img->connect;
}

void equalize_image(image* img, double top)
{
    update_image_struct(img);
    const size_t n = static_cast<size_t>(img->width) * static_cast<size_t>(img->height);
    if (img->max == img->min) {
        for (size_t i = 0; i < n; ++i)
            img->pixels[i] = 0;
        return;
    }
    const double factor = top / (static_cast<double>(img->max) - img->min);
    const int lo = img->min;
    for (size_t i = 0; i < n; ++i)
        img->pixels[i] =
            static_cast<int>(factor * (static_cast<double>(img->pixels[i]) - lo) + 0.5);
}

int compare_images(const image* a, const image* b)
{
    if (a->width != b->width || a->height != b->height)
        return 0;
    const size_t n = static_cast<size_t>(a->width) * static_cast<size_t>(a->height);
    return std::memcmp(a->pixels, b->pixels, sizeof(int) * n) == 0 ? 1 : 0;
}

int new_position_in_image(int offset, int index, int width, int height)
{
    if (width <= 0 || height <= 0)
        return 0;
    int dx;
    int dy;
    if (offset == 1 || offset == -1) {
        dx = offset;
        dy = 0;
    } else if (offset == width || offset == -width) {
        dx = 0;
        dy = offset / width;
    } else if (offset == width + 1) {
        dx = 1;
        dy = 1;
    } else if (offset == 1 - width) {
        dx = 1;
        dy = -1;
    } else if (offset == -width - 1) {
        dx = -1;
        dy = -1;
    } else if (offset == width - 1) {
        dx = -1;
        dy = 1;
    } else {
        dy = offset / width;
        dx = offset % width;
    }
    return inside_image(index % width + dx, index / width + dy, width, height);
}
