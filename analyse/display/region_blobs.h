#pragma once

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"
#include "imagecore/image.h"

// dst := one filled ellipse per active region (entries 0 .. regions - 1 of
// `active`, indexed by label): the region's area at its centroid with axis
// ratio paxis : aaxis, turned by its orientation. The largest region is
// drawn first and carries the number of active regions; smaller ones are
// drawn over it, the smallest carrying 1.
ANALYSE_EXPORT void va_draw_blobs(image* dst, region_tree* tree, tregionnode** active);
