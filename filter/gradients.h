#pragma once

#include "filter/filter_export.h"
#include "imagecore/image.h"

// Internal gradient: scratch := erosion of img; img := img - scratch (>= 0).
FILTER_EXPORT void neg_gradient(image* img, image* scratch, int conn);

// External gradient: scratch := dilation of img - img, then the two pixel
// arrays are exchanged, so img holds the gradient and scratch the former img.
FILTER_EXPORT void pos_gradient(image* img, image* scratch, int conn);
