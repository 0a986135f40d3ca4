#pragma once

struct iqueue;

// Reconstruction of marker under mask (Order = grey_up: by dilation) or above
// mask (grey_down: by erosion), both width * height arrays. q is the work
// queue (emptied first); null makes a private one.
template <class Order>
void reconstruct(int* marker, const int* mask, int width, int height, bool conn8, iqueue* q);

// In-place fill of the regional extrema not connected to the border:
// grey_down fills minima (dark holes), grey_up fills maxima. The marker takes
// the image on the border and the image's extreme inside and is rebuilt with
// reconstruct<Order> against the image.
template <class Order>
void fill_holes(int* pixels, int width, int height, bool conn8, iqueue* q);
