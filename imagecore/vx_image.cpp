#include "imagecore/vx_image.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "imagecore/detail/resample.h"
#include "imagecore/fatal.h"
#include "imagecore/handles.h"
#include "imagecore/report.h"

namespace {

constexpr const char* kNoRecord = "Cannot alloc Vx Image struct";
constexpr const char* kNoScales = "Cannot alloc Vx Image  Image structs Vector";
constexpr const char* kNoPixels = "Not enough memory for image vector while initializing vx images";

// Allocates a record with nscales cleared scale records of zero pixels.
// Returns null after printing the failing step's message.
vx_image* try_alloc(int width, int height, int nscales, int flag, const char** failure)
{
    const long n = vx_pixel_count(width, height);
    if (n < 0 || nscales < 0) {
        *failure = kNoPixels;
        return nullptr;
    }
    vx_image_handle v(static_cast<vx_image*>(std::calloc(1, sizeof(vx_image))));
    if (v == nullptr) {
        *failure = kNoRecord;
        return nullptr;
    }
    v->scales = static_cast<image*>(
        std::calloc(nscales > 0 ? static_cast<size_t>(nscales) : 1, sizeof(image)));
    if (v->scales == nullptr) {
        *failure = kNoScales;
        return nullptr;
    }
    v->nscales = nscales;
    v->flag = flag;
    v->width = width;
    v->height = height;
    for (int s = 0; s < nscales; ++s) {
        image* sc = &v->scales[s];
        init_image(sc);
        sc->pixels =
            static_cast<int*>(std::calloc(n > 0 ? static_cast<size_t>(n) : 1, sizeof(int)));
        if (sc->pixels == nullptr) {
            *failure = kNoPixels;
            return nullptr;
        }
        sc->width = width;
        sc->height = height;
        sc->connect = -1;
        set_nb_offsets(sc->nb_offsets, width);
    }
    return v.release();
}

// The copies return null when memory runs out, but within a recovery
// (out_of_memory_recovery) their computation gives up as at every
// exhaustion.
vx_image* alloc_or_null(int width, int height, int nscales, int flag)
{
    const char* failure = nullptr;
    vx_image* v = try_alloc(width, height, nscales, flag, &failure);
    if (v != nullptr)
        return v;
    vx_report("%s", failure);
    if (out_of_memory_recovery::active() && vx_pixel_count(width, height) >= 0 && nscales >= 0)
        throw std::bad_alloc();
    return nullptr;
}

size_t pixel_count(const vx_image* v)
{
    return static_cast<size_t>(v->width) * static_cast<size_t>(v->height);
}

}  // namespace

vx_image* init_vx_image(int width, int height, int nscales)
{
    const char* failure = nullptr;
    vx_image* v = try_alloc(width, height, nscales, 0, &failure);
    if (v == nullptr)
        vx_out_of_memory(exit_code::out_of_memory, "%s",
                         failure == kNoScales ? kNoRecord : failure);
    return v;
}

vx_image* init_vximage_from_single_image(const image* src, int nscales, int flag)
{
    vx_image* v = alloc_or_null(src->width, src->height, nscales, flag);
    if (v == nullptr)
        return nullptr;
    if (nscales > 0)
        std::memcpy(v->scales[0].pixels, src->pixels, sizeof(int) * pixel_count(v));
    for (int s = 0; s < nscales; ++s) {
        v->scales[s].kind = src->kind;
        update_image_struct(&v->scales[s]);
    }
    return v;
}

vx_image* init_vximage(const vx_image* src, int flag)
{
    vx_image* v = alloc_or_null(src->width, src->height, src->nscales, flag);
    if (v == nullptr)
        return nullptr;
    for (int s = 0; s < src->nscales; ++s) {
        std::memcpy(v->scales[s].pixels, src->scales[s].pixels, sizeof(int) * pixel_count(v));
        update_image_struct(&v->scales[s]);
    }
    return v;
}

vx_image* init_vximage_from_single(const vx_image* src, int nscales, int flag)
{
    vx_image* v = alloc_or_null(src->width, src->height, nscales, flag);
    if (v == nullptr)
        return nullptr;
    if (nscales > 0 && src->nscales > 0)
        std::memcpy(v->scales[0].pixels, src->scales[0].pixels, sizeof(int) * pixel_count(v));
    for (int s = 0; s < nscales; ++s)
        update_image_struct(&v->scales[s]);
    return v;
}

void delete_vximage(vx_image* v)
{
    if (v == nullptr)
        return;
    for (int s = 0; s < v->nscales; ++s) {
        std::free(v->scales[s].aux);
        std::free(v->scales[s].pixels);
    }
    std::free(v->scales);
    std::free(v);
}

image* get_scale(const vx_image* v, int s)
{
    if (s < 0 || s >= v->nscales)
        return nullptr;
    return &v->scales[s];
}

void erase_vximage(vx_image* v)
{
    for (int s = 1; s < v->nscales; ++s) {
        std::memset(v->scales[s].pixels, 0, sizeof(int) * pixel_count(v));
        update_image_struct(&v->scales[s]);
    }
}

vx_image* scale_vximage(const vx_image* src, double factor)
{
    int w;
    int h;
    if (src->nscales < 1 || !scaled_size(src->width, src->height, factor, &w, &h))
        return nullptr;
    vx_image* v = init_vx_image(w, h, 1);
    resample_nearest(src->scales[0].pixels, src->width, src->height, v->scales[0].pixels, w, h,
                     factor);
    update_image_struct(&v->scales[0]);
    return v;
}
