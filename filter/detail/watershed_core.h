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

// Where a width x height image lies in its label array: surrounded by rows
// and columns of outside cells, or (wrap) the plain pixel array with width + 1
// outside cells before and after it, so that exactly the neighbours that
// leave the array are outside.
ws_layout ws_make_layout(int width, int height, bool wrap);

// Makes v at least n ints long; a failure, or n beyond the int positions of
// a label array, ends the process with the watershed's memory message.
void ws_reserve(std::vector<int>& v, size_t n);

// Floods img (values unchanged, min and max updated) into ws.lab and returns
// its layout. `wrap`: neighbours count as long as they lie inside the pixel
// array (the limited watershed), else inside the image.
ws_layout ws_flood(image* img, int n, bool wrap, ws_workspace& ws);

// The arrays of a flooding lent by the caller: lab of the layout's cells,
// sorted of one int per pixel, fifo of one more.
struct ws_arrays {
    int* lab;
    int* sorted;
    int* fifo;
};

// The same flooding of width x height pixels whose values lie in lo .. hi;
// only the small tables of `tables` are used.
ws_layout ws_flood_into(const int* pixels, int width, int height, int lo, int hi, int n, bool wrap,
                        const ws_arrays& a, ws_workspace& tables);
