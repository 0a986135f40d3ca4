#pragma once

// Grey volumes of pixel sets. Sums are taken in 64 bits; a volume beyond the
// int range is returned saturated at INT_MAX (or INT_MIN). Positions outside
// the image (or either image) are left out.

#include "analyse/analyse_export.h"
#include "imagecore/image.h"

// Sum over the positions of (grey - the image's `min`); 0 for n below 1.
ANALYSE_EXPORT int region_volume(const image* grey, int n, const int* positions);
// Sum over the positions of |a - b|; 0 for n below 1.
ANALYSE_EXPORT int region_contrast_volume(const image* a, int n, const int* positions,
                                          const image* b);
