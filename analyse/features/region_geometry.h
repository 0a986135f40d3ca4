#pragma once

// Geometry of region nodes: boxes of their pixels and contours, second-order
// moments and the contour shared by two nodes.

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"

// Box of the node's pixels: maxx, minx (columns), maxy, miny (rows). Nothing
// is written for a node without pixels.
ANALYSE_EXPORT void boundingBox(tregionnode* node, int width);
// The same box over the node's outer contour; nothing is written for an
// empty contour.
ANALYSE_EXPORT void rfContourFerretBox(int* min_column, int* min_row, int* max_column, int* max_row,
                                       const tregionnode* node, int width);
// Centroid, normalised centroid, orientation and principal axes of the
// node's pixels in a width x height image. A node without pixels gets zeros.
ANALYSE_EXPORT void second_area_moment(tregionnode* node, int width, int height);
// Outer-contour positions that a and b share (equal neighbours of the sorted
// joined contours) over the smaller contour size; 0 when either contour is
// empty. The nodes' contours are left as they are.
ANALYSE_EXPORT double contour_cover(const tregionnode* a, const tregionnode* b);
