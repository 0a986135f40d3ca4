#pragma once

#include "imagecore/image.h"

// The distinct pixel values of an image, ascending, with their counts.
struct histogramm {
    int ncolors;
    int min;
    int max;
    int npixels;
    int* values;
    int* counts;
};

histogramm* init_histogramm(image* img);
void delete_histogramm(histogramm* h);
void calibrate_image(image* img, const histogramm* h);
void recalibrate_image(image* img, const histogramm* h);
int get_histo_org_num(const histogramm* h, int value);
int array_mean(const int* values, int n);
int array_variance(const int* values, int n, int mean);
