#pragma once

// The attribute pass without update rule over a node and its subtree.
//
// Sums over pixels are taken in 64 bits; a volume beyond the int range is
// stored saturated at INT_MAX (or INT_MIN), while the contrast is computed
// from the exact sum. Positions outside the grey image are left out of every
// sum and histogram. Trees are walked without recursion, so any depth is
// fine.

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"
#include "imagecore/vx_image.h"

// The pass without rule: the node's grey statistics against scale 0 of
// `grey`, its shape ratios, its ratios to its father (a node without father
// keeps them) and its decomposition entropy, for the node and its subtree.
ANALYSE_EXPORT void region_update(tregionnode* node, vx_image* grey);
// Root step against the reference (1 the image maximum, any other value the
// minimum) over scale 0 of the tree's attr_image, then region_update on
// every son of the root. Nothing happens without an attr_image.
ANALYSE_EXPORT void region_tree_update(region_tree* tree, int reference);
