#pragma once

#include <cstddef>
#include <vector>

#include "imagecore/image.h"
#include "imagecore/neighbourhood.h"

// Working values of the flooding; basins are > 0, lines 0.
inline constexpr int WS_INIT = -1;
inline constexpr int WS_MASK = -2;
inline constexpr int WS_IN_QUEUE = -3;
// Cells around the image: never a basin, a line or a pixel to flood.
inline constexpr int WS_OUTSIDE = -4;

// Where the image lies in the label array of a flooding. The array is
// surrounded by WS_OUTSIDE cells so that the flooding reads every neighbour
// without a bounds test: pixel (x, y) is at origin + y * stride + x.
struct ws_layout {
    int width;
    int height;
    int stride;
    size_t origin;
    size_t cells;
    int offset[8];  // nb_order
};

// The buffers of a flooding, kept between calls so that a caller flooding
// image after image of one size allocates (and the system maps) them once.
struct ws_workspace {
    std::vector<int> lab;
    std::vector<int> sorted;
    std::vector<int> fifo;
    std::vector<int> count;
    std::vector<size_t> level_start;
};

// Floods img (values unchanged, min and max updated) into ws.lab and returns
// its layout. `wrap`: neighbours count as long as they lie inside the pixel
// array (the limited watershed), else inside the image.
ws_layout ws_flood(image* img, int n, bool wrap, ws_workspace& ws);
