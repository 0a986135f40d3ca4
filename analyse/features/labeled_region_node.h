#pragma once

// Nodes made from one label of a label image, outside any tree.

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"
#include "imagecore/image.h"

// New node of the pixels of `labels` that hold `label` (raster order), with
// its contours, turn counts, border flags and widths traced as the tree
// builder traces a region (8-connected, whatever the image's connectivity),
// so that a node of a tree region's pixels measures as that region does,
// and its attribute vector (the rule pass of init_single_node_attributes).
// It has no father and no sons. The label image is left as it was. Null when no pixel holds the
// label, for labels below 1 (0 is the background) and when the rule file does not parse or its run
// fails (rule_file.h).
ANALYSE_EXPORT tregionnode* computeNodeFromLabeledRegion(const char* rule_file, image* labels,
                                                         image* grey, int label, int reference);
