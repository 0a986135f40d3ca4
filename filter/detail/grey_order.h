#pragma once

#include <climits>

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
