#pragma once

// Grey-value histogram of one pixel set, with its entropy and variance.

#include "analyse/analyse_export.h"
#include "imagecore/image.h"

struct rhistogram {
    int min;       // smallest grey value of the set
    int max;       // largest grey value
    int nbins;     // max - min + 1
    int npixels;   // pixels counted
    int nonempty;  // bins holding at least one pixel
    int mean;      // rounded mean grey value
    int* counts;   // nbins counts; entry i counts grey value min + i
};

// New histogram of the grey values at the positions. Positions outside the
// image are left out; a set without such a position gives a histogram of no
// bins (null counts). A value range too wide for memory ends the process
// (code 100).
ANALYSE_EXPORT rhistogram* init_rhistogram(const image* grey, int n, const int* positions);
// Normalised entropy: -sum p log2 p / log2 nonempty; +0.0 for one grey value.
ANALYSE_EXPORT double rhistogram_entropy(const rhistogram* h);
// Variance about the rounded mean; 0 for a histogram of no bins.
ANALYSE_EXPORT double rhistogram_variance(const rhistogram* h);
// Frees counts and record; null is reported and ignored.
ANALYSE_EXPORT void delete_rhistogram(rhistogram* h);
