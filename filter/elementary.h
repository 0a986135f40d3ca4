#pragma once

#include "imagecore/image.h"

// One-neighbourhood (elementary) erosion and dilation: the pixel and its
// 4- or 8-neighbours inside the image. src and dst must differ and have the
// same size; a size mismatch prints a message and writes nothing.
void n_erosion_buff(image* src, image* dst, int conn);
void n_dilation_buff(image* src, image* dst, int conn);

// One geodesic erosion step: dst = max(mask, erosion of src).
void n_masked_erosion_buff(image* src, image* dst, image* mask, int conn);

// Whether a and b have equal sizes; prints "<who>: images of different size"
// otherwise.
bool same_image_size(const image* a, const image* b, const char* who);
