#pragma once

#include "imagecore/image.h"

// Pixel arithmetic, thresholds and copies between images (in place unless
// the result is a new image).
void binarize_image(image* img, int value);
void invert_image(image* img);
void image_add(image* a, const image* b, int k);
void image_add_const(image* img, int k);
void image_multiply(image* a, const image* b, int k);
void image_multiply_const(image* img, int k);
void gt(image* img, int threshold, int value);
void lt(image* img, int threshold, int value);
image* binarizedMerge(const image* a, const image* b, int value);
void MeanRGB2Grey(image* img);
void copy_image_bounded_in(const image* small, image* large, int value);
void copy_image_bounded_out(const image* large, image* small);
void copy_image_into(image* dst, const image* src);
image* scale_image(const image* img, double factor);
image* crop_image(const image* img, int x0, int y0, int x1, int y1);
