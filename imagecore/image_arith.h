#pragma once

#include "imagecore/image.h"
#include "imagecore/vximage_export.h"

// Pixel arithmetic, thresholds and copies between images, in place unless
// the result is a new image. Arithmetic wraps around on overflow; operations
// on two images do nothing when their sizes differ.
VXIMAGE_EXPORT void binarize_image(image* img, int value);
VXIMAGE_EXPORT void invert_image(image* img);
// a := a + k * b
VXIMAGE_EXPORT void image_add(image* a, const image* b, int k);
VXIMAGE_EXPORT void image_add_const(image* img, int k);
// a := a * b * k
VXIMAGE_EXPORT void image_multiply(image* a, const image* b, int k);
VXIMAGE_EXPORT void image_multiply_const(image* img, int k);
// pixel := value where pixel > threshold (gt) or < threshold (lt), else 0.
VXIMAGE_EXPORT void gt(image* img, int threshold, int value);
VXIMAGE_EXPORT void lt(image* img, int threshold, int value);
// New image holding value where a or b is nonzero, else 0; null when the
// sizes differ.
VXIMAGE_EXPORT image* binarizedMerge(const image* a, const image* b, int value);
// Each packed colour becomes (R + G + B) / 3; the image becomes grey.
VXIMAGE_EXPORT void MeanRGB2Grey(image* img);
// Writes small into large from column 1 of row (large height - small
// height) / 2, the rest of those rows becoming value; copy_image_bounded_out
// reads it back. Both do nothing when small does not fit.
VXIMAGE_EXPORT void copy_image_bounded_in(const image* small, image* large, int value);
VXIMAGE_EXPORT void copy_image_bounded_out(const image* large, image* small);
// When dst is at least as wide and high as src: copies aux (with aux_len),
// max, min, connect and src's width * height pixels as one flat run to the
// start of dst's pixels; otherwise nothing.
VXIMAGE_EXPORT void copy_image_into(image* dst, const image* src);
// New image of (int)(factor * width) x (int)(factor * height), nearest
// neighbour; null when the factor gives no valid size or a side below 1.
VXIMAGE_EXPORT image* scale_image(const image* img, double factor);
// New image of columns x0 .. x1-1 and rows y0 .. y1-1, clamped to the image;
// null when that range holds no pixel.
VXIMAGE_EXPORT image* crop_image(const image* img, int x0, int y0, int x1, int y1);
