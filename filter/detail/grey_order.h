#pragma once

#include <algorithm>
#include <climits>
#include <cstddef>

// The two dual orders of the grey-level operators. An operator written once
// against one of them runs as itself (Up: dilation, reconstruction by
// dilation) or as its dual (Down: erosion, reconstruction by erosion) without
// negating any image.
struct grey_up {
    static constexpr int floor_value = INT_MIN;  // neutral element of join
    static int join(int a, int b) { return a > b ? a : b; }
    static int meet(int a, int b) { return a < b ? a : b; }
    static bool before(int a, int b) { return a < b; }
};

struct grey_down {
    static constexpr int floor_value = INT_MAX;
    static int join(int a, int b) { return a < b ? a : b; }
    static int meet(int a, int b) { return a > b ? a : b; }
    static bool before(int a, int b) { return a > b; }
};

// Connectivity arguments are 4 or 8; anything but 4 counts as 8.
inline bool is_conn8(int conn)
{
    return conn != 4;
}

// The least and greatest of n >= 1 values.
inline void value_range(const int* px, size_t n, int& lo, int& hi)
{
    lo = px[0];
    hi = px[0];
    for (size_t i = 1; i < n; ++i) {
        lo = std::min(lo, px[i]);
        hi = std::max(hi, px[i]);
    }
}
