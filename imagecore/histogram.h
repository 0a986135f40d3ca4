#pragma once

#include "imagecore/image.h"
#include "imagecore/vximage_export.h"

// The distinct pixel values of an image, ascending, with their counts.
struct histogramm {
    int ncolors;
    int min;
    int max;
    int npixels;
    int* values;
    int* counts;
};

// Counts the pixel values; min and max are found afresh from the pixels.
VXIMAGE_EXPORT histogramm* init_histogramm(image* img);
VXIMAGE_EXPORT void delete_histogramm(histogramm* h);
// Replaces each pixel by the index of its value in values; a value the
// histogram does not hold ends the process (code 100).
VXIMAGE_EXPORT void calibrate_image(image* img, const histogramm* h);
// Replaces each index by values[index]; an index out of range ends the
// process (code 100).
VXIMAGE_EXPORT void recalibrate_image(image* img, const histogramm* h);
// Pixel count of the value, 0 when absent.
VXIMAGE_EXPORT int get_histo_org_num(const histogramm* h, int value);
// Integer mean (sum / n truncated) and sum of (value - mean)^2 / n; both 0
// for n <= 0.
VXIMAGE_EXPORT int array_mean(const int* values, int n);
VXIMAGE_EXPORT int array_variance(const int* values, int n, int mean);
