#pragma once

#include "filter/filter_export.h"
#include "imagecore/image.h"

// Grey-level reconstruction: two raster scans, then propagation from the
// pixels they leave unsettled. The marker is replaced by its reconstruction;
// the mask is not changed. The work list grows as needed, so no pixel is ever
// dropped. Sizes must match (else a message and nothing changes).
FILTER_EXPORT void fast_reconstruction_by_dilation(image* marker, image* mask, int conn);
FILTER_EXPORT void fast_reconstruction_by_erosion(image* marker, image* mask, int conn);

// Fills the regional minima that are not connected to the image border: the
// reconstruction by erosion above the image of a marker that equals the image
// on the border and its maximum inside. Images one pixel high or wide are all
// border and stay unchanged.
FILTER_EXPORT void fill_holes_by_reconstruction(image* img, int conn);
