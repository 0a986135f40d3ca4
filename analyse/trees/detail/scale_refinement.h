#pragma once

// The region graph's growth of a tree by one partition scale, in the steps
// that its workers share out: labelling the scale (each scale on its own),
// updating the leaves (any leaves at once), tracing the sons made (one scale
// at a time per label image: a trace marks line pixels shared with other
// regions while it runs).

#include <vector>

#include "analyse/trees/region_types.h"
#include "imagecore/image.h"

struct labelled_scale {
    image* labels;
    int nlabels;                 // labels + 1
    std::vector<int> first_pos;  // where each label first occurs
};

// Labels the basins of the partition scale in place and sets its
// connectivity for the tracing.
labelled_scale label_partition_scale(image* partition, int conn);

// The sons made by a scale's leaf updates, untraced, each with where its
// contour's start search may begin.
struct scale_sons {
    struct son {
        tregionnode* node;
        int scan_from;
    };
    image* labels = nullptr;
    std::vector<son> made;
};

// Ages every leaf of the tree that meets one label of the scale and gives
// every other leaf a son per label, on up to `workers` threads; prints the
// label count and sets the tree's region count.
void refine_tree_by_scale(const labelled_scale& l, region_tree* tree, int scale, int workers,
                          scale_sons& sons);

// Traces the sons, then sets their outer contour pixels to 0 in the labels
// (see region_leafs_update).
void trace_scale_sons(scale_sons& sons);
