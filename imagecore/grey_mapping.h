#pragma once

// Mapping of double values onto the grey levels 0..255. Values at or beyond
// the limits give 0 and 255; results never leave 0..255.

#include "imagecore/vximage_export.h"

VXIMAGE_EXPORT int getLinearGrey256(double min, double max, double v);
VXIMAGE_EXPORT int getLogGrey256(double min, double max, double v);
VXIMAGE_EXPORT int getSquareGrey256(double min, double max, double v, double weight);

// New array of n grey levels for the values: type 1 maps like
// getSquareGrey256 with the weight, type 2 maps weight * log(value) like
// getLogGrey256 (values that have no logarithm become 0), any other type maps
// like getLinearGrey256. The caller frees the array.
VXIMAGE_EXPORT int* equalize_double_array_256(const double* values, int n, double weight, int type);
