#pragma once

#include "filter/filter_export.h"
#include "imagecore/image.h"

// One-neighbourhood (elementary) erosion and dilation: the pixel and its
// 4- or 8-neighbours inside the image. src and dst must differ and have the
// same size; a size mismatch prints a message and writes nothing.
FILTER_EXPORT void n_erosion_buff(image* src, image* dst, int conn);
FILTER_EXPORT void n_dilation_buff(image* src, image* dst, int conn);

// One geodesic erosion step: dst = max(mask, erosion of src).
FILTER_EXPORT void n_masked_erosion_buff(image* src, image* dst, image* mask, int conn);
