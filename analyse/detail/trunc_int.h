#pragma once

#include <climits>
#include <cmath>

// Truncation toward zero that saturates at the int range (NaN gives 0): rule
// values and Fourier results are arbitrary doubles, and a plain cast of one
// outside the int range is undefined.
inline int trunc_to_int(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}
