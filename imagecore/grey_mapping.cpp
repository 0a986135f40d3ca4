#include "imagecore/grey_mapping.h"

#include <cmath>
#include <cstdio>

#include "imagecore/fatal.h"
#include "imagecore/report.h"

namespace {

// Truncates a level into 0..255; NaN becomes 0.
int clamp_level(double level)
{
    if (!(level > 0))
        return 0;
    return level >= 255 ? 255 : static_cast<int>(level);
}

}  // namespace

int getLinearGrey256(double min, double max, double v)
{
    if (v >= max)
        return 255;
    if (v <= min)
        return 0;
    return clamp_level((v - min) / (max - min) * 255);
}

int getLogGrey256(double min, double max, double v)
{
    if (v >= max)
        return 255;
    if (v <= min)
        return 0;
    // The difference is truncated to a whole number before scaling; a span
    // beyond the int range is left as it is.
    const double diff = v - min;
    const double whole = diff < 2147483647.0 ? static_cast<double>(static_cast<int>(diff)) : diff;
    return clamp_level(whole / (max - min) * 255);
}

int getSquareGrey256(double min, double max, double v, double weight)
{
    if (v >= max)
        return 255;
    if (v <= min)
        return 0;
    const double t = (v - min) / (max - min);
    return clamp_level(weight * t * t * (max - min) / 255);
}

int* equalize_double_array_256(const double* values, int n, double weight, int type)
{
    const int count = n > 0 ? n : 0;
    auto* out =
        static_cast<int*>(vx_calloc(static_cast<size_t>(count), sizeof(int),
                                    exit_code::out_of_memory, "Cannot alloc grey level array"));
    double lo = count > 0 ? values[0] : 0;
    double hi = lo;
    for (int i = 1; i < count; ++i) {
        lo = std::fmin(lo, values[i]);
        hi = std::fmax(hi, values[i]);
    }
    vx_report("Image min %f max %f, Weight %f, Function %d ", lo, hi, weight, type);
    if (type == 1) {
        for (int i = 0; i < count; ++i)
            out[i] = getSquareGrey256(lo, hi, values[i], weight);
    } else if (type == 2) {
        double log_lo = weight * std::log(hi - lo + 1);
        double log_hi = log_lo;
        for (int i = 0; i < count; ++i)
            if (values[i] > 0) {
                const double l = weight * std::log(values[i]);
                log_lo = std::fmin(log_lo, l);
                log_hi = std::fmax(log_hi, l);
            }
        for (int i = 0; i < count; ++i)
            out[i] =
                values[i] > 0 ? getLogGrey256(log_lo, log_hi, weight * std::log(values[i])) : 0;
    } else {
        for (int i = 0; i < count; ++i)
            out[i] = getLinearGrey256(lo, hi, values[i]);
    }
    vx_report("res1=%d, res2=%d\n", count > 0 ? out[static_cast<long>(count) * 2 / 3] : 0,
              count > 0 ? out[count / 3] : 0);
    return out;
}
