#pragma once

#include "analyse/trees/region_types.h"

// init_region_node whose start search may begin at `scan_from` (no pixel
// before it holds the node's label), for the tree builder that knows where
// each son's first pixel lies.
tregionnode* init_traced_region_node(tregionnode* father, int scale, int size, int* pixels,
                                     image* labels, int scan_from);

// The tracing of init_traced_region_node, for a node made without labels:
// contour, turn counts, border flags and widths from the label image, which
// is left as it was.
void trace_region_node(tregionnode* node, image* labels, int scan_from);
