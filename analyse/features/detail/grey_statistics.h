#pragma once

// Grey statistics shared by the region histogram and the attribute passes:
// the entropy and variance of a histogram, summed bin by bin in ascending
// grey order, and a counter that measures region after region of one image
// without any cost per possible grey value.

#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

#include "imagecore/heap_array.h"
#include "imagecore/image.h"

// log2 as the region features define it.
inline double feature_log2(double x)
{
    return std::log(x) / 0.6931471805599453;
}

inline int saturate_to_int(int64_t value)
{
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

// Mean rounded half up from a 64-bit sum (a floating division).
int rounded_mean(int64_t sum, int npixels);

// Sums over the non-empty bins, fed in ascending grey order.
class histogram_sums {
public:
    histogram_sums(int npixels, int mean) : npixels_(npixels), mean_(mean) {}
    void add(int value, int count);
    // -sum p log2 p / log2 nonempty, +0.0 for fewer than two values.
    double entropy() const;
    double variance() const { return variance_; }

private:
    int npixels_;
    int mean_;
    int nonempty_ = 0;
    double plogp_ = 0.0;
    double variance_ = 0.0;
};

struct grey_stats {
    int64_t volume = 0;  // sum of (value - the image's `min` field)
    int npixels = 0;
    int min = 0;
    int max = 0;
    int nonempty = 0;
    int mean = 0;
    double entropy = 0.0;
    double variance = 0.0;
};

// Measures pixel sets of one grey image. The count table spans the image's
// value range once; each set costs its pixels plus a sort of its distinct
// values. Positions outside the image are left out.
class grey_counter {
public:
    explicit grey_counter(const image* grey);
    grey_stats measure(const int* positions, int n);
    const image* grey() const { return grey_; }

private:
    const image* grey_;
    int npix_;
    int base_ = 0;
    heap_array<int> counts_;
    std::vector<int> touched_;
};

// Zeroed bins of a histogram; a count that an int cannot hold or memory
// cannot give ends the process (code 100).
int* alloc_histogram_bins(int64_t nbins);
