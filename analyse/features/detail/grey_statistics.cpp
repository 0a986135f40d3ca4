#include "analyse/features/detail/grey_statistics.h"

#include <algorithm>
#include <cstdlib>

#include "analyse/detail/position_walk.h"
#include "analyse/detail/trunc_int.h"
#include "imagecore/fatal.h"

int rounded_mean(int64_t sum, int npixels)
{
    if (npixels < 1)
        return 0;
    return trunc_to_int(static_cast<double>(sum) / npixels + 0.5);
}

void histogram_sums::add(int value, int count)
{
    const double p = static_cast<double>(count) / npixels_;
    plogp_ += p * feature_log2(p);
    const double d = static_cast<double>(static_cast<int64_t>(value) - mean_);
    variance_ += d * d * count / npixels_;
    ++nonempty_;
}

double histogram_sums::entropy() const
{
    // log2 of one value is 0: the plain sum would give -0.0 there.
    if (nonempty_ < 2)
        return 0.0;
    return -plogp_ / feature_log2(nonempty_);
}

int* alloc_histogram_bins(int64_t nbins)
{
    // The bin count is an int of the histogram record: wider ranges cannot be held.
    void* bins = nbins > 0 && nbins <= INT_MAX
                     ? std::calloc(static_cast<size_t>(nbins), sizeof(int))
                     : nullptr;
    if (bins == nullptr)
        vx_out_of_memory(
            exit_code::region_features_out_of_memory,
            "Could not allocate memory for Region Histogram Data with size %d -> PANIC\n",
            saturate_to_int(nbins));
    return static_cast<int*>(bins);
}

grey_counter::grey_counter(const image* grey) : grey_(grey), npix_(image_pixel_count(grey))
{
    // The image's own min and max may be stale; the table must hold every value.
    int lo = npix_ > 0 ? grey->pixels[0] : 0;
    int hi = lo;
    for (int p = 1; p < npix_; ++p) {
        lo = std::min(lo, grey->pixels[p]);
        hi = std::max(hi, grey->pixels[p]);
    }
    base_ = lo;
    counts_.reset(alloc_histogram_bins(static_cast<int64_t>(hi) - lo + 1));
}

grey_stats grey_counter::measure(const int* positions, int n)
{
    grey_stats s;
    const int* px = grey_->pixels;
    int* counts = counts_.get();
    int64_t sum = 0;
    for_each_position(positions, n, npix_, [&](int p) {
        const int v = px[p];
        const int bin = v - base_;
        if (counts[bin]++ == 0)
            touched_.push_back(bin);
        sum += v;
        ++s.npixels;
    });
    if (s.npixels == 0)
        return s;
    std::sort(touched_.begin(), touched_.end());
    s.volume = sum - static_cast<int64_t>(s.npixels) * grey_->min;
    s.min = base_ + touched_.front();
    s.max = base_ + touched_.back();
    s.nonempty = static_cast<int>(touched_.size());
    s.mean = rounded_mean(sum, s.npixels);
    histogram_sums sums(s.npixels, s.mean);
    for (int bin : touched_) {
        sums.add(base_ + bin, counts[bin]);
        counts[bin] = 0;
    }
    touched_.clear();
    s.entropy = sums.entropy();
    s.variance = sums.variance();
    return s;
}
