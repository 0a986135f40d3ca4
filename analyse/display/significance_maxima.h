#pragma once

// Paints the regions whose significance is a maximum along their branch into
// scale 0 of the tree's attribute image, with its stored maximum + 1.

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"
#include "imagecore/vx_image.h"

// region_eval from every son of the root with best 0.0.
ANALYSE_EXPORT void region_tree_eval(int mode, region_tree* tree);
// For each son of a node (whose min_width is not below its birth): when the
// node's significance exceeds the son's and is at least `best`, the node is
// painted (mode 1 its outer contour, else its pixels) and becomes the best;
// then the son is evaluated with the best so far.
ANALYSE_EXPORT void region_eval(vx_image* img, int mode, tregionnode* node, double best);
