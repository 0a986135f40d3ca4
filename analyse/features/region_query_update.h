#pragma once

// The lighter attribute pass that runs before a query. Positions outside the
// grey image are left out of every sum; trees are walked without recursion.

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"
#include "imagecore/image.h"

// The query pass on the node and its subtree: volume, grey statistics,
// cleared marks and significance, area quotient and decomposition entropy.
// The int is handed on unchanged.
ANALYSE_EXPORT void region_query_update(tregionnode* node, image* grey, int unused);
// Root step over the grey image, then region_query_update on every son of
// the root. A grey image of another size than the tree's is refused (with a
// message) and nothing changes.
ANALYSE_EXPORT void region_tree_query_update(region_tree* tree, image* grey, int unused);
