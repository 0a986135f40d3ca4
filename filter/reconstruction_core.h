#pragma once

#include <vector>

// Reconstruction of marker under mask (Order = grey_up: by dilation) or above
// mask (grey_down: by erosion), both width * height arrays. `stack` holds the
// work list (kept by callers that reconstruct repeatedly, so that it is
// allocated once).
template <class Order>
void reconstruct(int* marker, const int* mask, int width, int height, bool conn8,
                 std::vector<int>& stack);

// In-place fill of the regional extrema not connected to the border:
// grey_down fills minima (dark holes), grey_up fills maxima.
// `scratch` and `stack` are work buffers like reconstruct's.
template <class Order>
void fill_holes(int* pixels, int width, int height, bool conn8, std::vector<int>& scratch,
                std::vector<int>& stack);
