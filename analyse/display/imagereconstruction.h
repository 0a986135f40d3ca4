#pragma once

// Images reconstructed from the regions of a tree: per pixel, how many of
// the chosen regions hold it. The image must have the tree's size; it is
// cleared first. Also the pruning of small regions.

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"
#include "imagecore/image.h"

// A caller's choice of regions for reconstruct_image_by_selector. The record
// is handed to the predicate whole; the fields before it are its parameters.
struct region_selector {
    double low;
    double high;
    int (*predicate)(tregionnode* node, region_selector* selector);  // nonzero accepts
};

// Every node, the root included.
ANALYSE_EXPORT void reconstruct_image_from_tree(image* img, region_tree* tree);
// The leaves only.
ANALYSE_EXPORT void reconstruct_image_from_leafs(image* img, region_tree* tree);
// Nodes larger than min_size; a smaller node ends its branch.
ANALYSE_EXPORT void reconstruct_image_from_regions_greater_then(image* img, region_tree* tree,
                                                                int min_size);
// 1 where a node below the root with low < size < high holds the pixel.
ANALYSE_EXPORT void reconstruct_image_from_regions_between(image* img, region_tree* tree, int low,
                                                           int high);
// Nodes below the root that the selector's predicate accepts.
ANALYSE_EXPORT void reconstruct_image_by_selector(image* img, region_tree* tree,
                                                  region_selector* selector);

// The walks behind them, on pixels that hold the tree's image.
ANALYSE_EXPORT void add_regions_values(int* pixels, tregionnode* node);
ANALYSE_EXPORT void add_leaf_values(int* pixels, tregionnode* node);
ANALYSE_EXPORT void regions_greater_than(int* pixels, tregionnode* node, int min_size);
ANALYSE_EXPORT void regions_between(int* pixels, tregionnode* node, int low, int high);
ANALYSE_EXPORT void region_select(int* pixels, tregionnode* node, region_selector* selector);

// Releases every node below `node` (and node itself unless it is a root)
// whose size is below min_size, with its subtree, and takes it out of its
// father's son list.
ANALYSE_EXPORT void cut_region_smaler_than_value(int min_size, tregionnode* node);
// The same from the root; then renumbers the tree in pre-order (root 0) and
// rebuilds its node array of regions + 1 entries indexed by label.
ANALYSE_EXPORT void cut_regions_smaler_than_value(int min_size, region_tree* tree);
