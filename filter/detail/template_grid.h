#pragma once

#include <climits>
#include <cmath>

struct f_filter;

// Replaces f's grid (taking ownership of values, a malloc block), its size and
// centre, and rebuilds its offsets.
void set_filter_grid(f_filter* f, int* values, int width, int height);

inline int clamp_to_int(long long v)
{
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
}

// floor(w + 0.5) within the int range; an undefined weight (NaN) marks the
// cell as outside (-1).
inline int round_weight(double w)
{
    if (std::isnan(w))
        return -1;
    const double r = std::floor(w + 0.5);
    if (r >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (r <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(r);
}
