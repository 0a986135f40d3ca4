#pragma once

#include "filter/filter_export.h"
#include "filter/templates.h"
#include "imagecore/image.h"

// Applies the filter to the image in place, `iterations` passes or, with 0,
// until a pass changes nothing (bounded: see filter.cpp). Returns the image,
// or null after a message when the filter cannot run (no template, unknown
// op, missing mask, no memory); the image is then unchanged.
FILTER_EXPORT image* run_filter(image* img, f_filter* f);

// Opening (erosion, then dilation) and closing (dilation, then erosion) with
// the filter. The first step runs unmasked; before the second, mask kind 2
// sets the mask, kind 3 also repeats the second step until stable. The
// second step runs `second_op`. Rank quantile q applies to erosions, 1 - q to
// dilations. The filter's op, iterations and use_mask are restored.
FILTER_EXPORT image* run_opening(f_filter* f, image* img, image* mask, double quantile,
                                 int mask_kind, int second_op);
FILTER_EXPORT image* run_closing(f_filter* f, image* img, image* mask, double quantile,
                                 int mask_kind, int second_op);
