#pragma once

#include <vector>

// Reconstruction of marker under mask (Order = grey_up: by dilation) or above
// mask (grey_down: by erosion), both width * height arrays. The buffers are
// kept by callers that reconstruct repeatedly, so that they are allocated once.
struct rec_buffers {
    std::vector<int> queue;
    std::vector<int> levels;
};

template <class Order>
void reconstruct(int* marker, const int* mask, int width, int height, bool conn8,
                 rec_buffers& buffers);

// Work buffers of fill_holes, kept by callers that fill repeatedly. Its two
// pixel-sized arrays (width * height ints each) may be lent by the caller;
// while either is null the buffers hold their own.
struct fill_buffers {
    int* items = nullptr;
    int* queue = nullptr;
    std::vector<int> own;
    std::vector<int> levels;
    rec_buffers reconstruction;
};

// In-place fill of the regional extrema not connected to the border:
// grey_down fills minima (dark holes), grey_up fills maxima.
template <class Order>
void fill_holes(int* pixels, int width, int height, bool conn8, fill_buffers& b);
