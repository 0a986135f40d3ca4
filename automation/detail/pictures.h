#pragma once

// Checks on the pictures that readers hand over. Not part of the library's
// interface.

#include <cstddef>

#include "imagecore/image.h"
#include "imagecore/vx_image.h"

// Scale 0 of a reader's multiscale image when it holds a picture of at least
// one pixel, else null.
inline image* picture_of(const vx_image* v)
{
    if (v == nullptr || v->nscales < 1 || v->scales == nullptr)
        return nullptr;
    image* picture = &v->scales[0];
    if (picture->width < 1 || picture->height < 1 || picture->pixels == nullptr)
        return nullptr;
    return picture;
}

// Whether every pixel value indexes a palette of that many entries.
inline bool indexes_palette(const image* img, int entries)
{
    const size_t n = static_cast<size_t>(img->width) * static_cast<size_t>(img->height);
    for (size_t i = 0; i < n; ++i)
        if (img->pixels[i] < 0 || img->pixels[i] >= entries)
            return false;
    return true;
}
