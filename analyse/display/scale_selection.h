#pragma once

// Images of the regions that live at one scale of a tree. A node lives at
// scale s when birth <= s < birth + age.

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"
#include "imagecore/image.h"

// dst := scale 0 of the tree's attribute image (dst must have its size), min
// and max updated. Mode 2 then paints the outer contours of the regions
// alive at the scale with value into dst and their labels at their pixels
// into `labels` (written only there; the caller clears it). Mode 1 paints
// the contours of those regions younger than the tree's scale count with
// dst's maximum. Other modes leave the copy.
ANALYSE_EXPORT void select_scale(image* dst, image* labels, region_tree* tree, int scale, int value,
                                 int mode);
// select_scale's mode 2 over the caller's grey (of dst's size) in place of
// the attribute image: a display shows a grey of its own under the
// contours, such as a 16-bit picture mapped onto 0..255.
ANALYSE_EXPORT void select_scale_over(image* dst, image* labels, const image* grey,
                                      region_tree* tree, int scale, int value);
// The outer contours of the regions alive at the scale, painted with value
// over a copy of scale 0 of the attribute image, copied into dst.
ANALYSE_EXPORT void select_scale_contours(image* dst, region_tree* tree, int scale, int value);

// Walks from node: a node alive at the scale paints its outer contour with
// value and ends its branch; any other node passes on to its sons. The
// pixels must hold the tree's image.
ANALYSE_EXPORT void regions_in_scale(int* pixels, tregionnode* node, int scale, int value);
// The same, painting only nodes with age < max_age; an older living node
// passes on to its sons.
ANALYSE_EXPORT void regions_in_scale_young(int* pixels, tregionnode* node, int max_age, int scale,
                                           int value);
// The walk of regions_in_scale; a living node writes value at its outer
// contour into contour_pixels and its label at its pixels into area_pixels.
ANALYSE_EXPORT void regions_in_scale_area_contour(int* contour_pixels, int* area_pixels,
                                                  tregionnode* node, int scale, int value);
