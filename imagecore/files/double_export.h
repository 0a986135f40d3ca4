#pragma once

#include "imagecore/image.h"
#include "imagecore/vximage_export.h"

// Export of double pixels as grey PNG: the values (or their logarithms) are
// mapped linearly from their minimum to their maximum onto 0..levels-1 and
// written through a palette of `levels` greys. levels 0 (or anything outside
// 1..256) means 256. Return 0, or 42 after a message.
VXIMAGE_EXPORT int write_double_array_png(const char* path, const double* values, int width,
                                          int height, int levels);
VXIMAGE_EXPORT int write_double_image(const char* path, const image* img, int levels);

// Values without a logarithm (zero or negative) are written as level 0.
VXIMAGE_EXPORT int write_double_log_array_png(const char* path, const double* values, int width,
                                              int height, int levels);
VXIMAGE_EXPORT int write_double_log_image(const char* path, const image* img, int levels);
