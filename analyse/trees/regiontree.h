#pragma once

// Region nodes and region trees: creation (with contour tracing), growth of
// a tree by one partition scale, numbering, node arrays and release.

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"
#include "imagecore/image.h"
#include "imagecore/vx_image.h"

// New node born at `scale` with age 1, taking over the pixel array. When
// father, pixels and labels are all given, contours, turn counts, border
// flags and widths are traced in the label image (which must have its
// `connect` set; its `update_queue` serves as work queue when attached).
ANALYSE_EXPORT tregionnode* init_region_node(tregionnode* father, int scale, int size, int* pixels,
                                             image* labels);
// Sets the son's father and appends it to the father's son list.
ANALYSE_EXPORT void add_region_son(tregionnode* father, tregionnode* son);
// Number of nodes of the subtree.
ANALYSE_EXPORT int count_regions(const tregionnode* node);
// Frees the node's own pixel array, contours and attributes, its whole
// subtree and the record.
ANALYSE_EXPORT void delete_region(tregionnode* node);
ANALYSE_EXPORT void debug_delete_region(tregionnode* node);

// New tree of one root covering every pixel, named "GeneratedTree".
ANALYSE_EXPORT region_tree* init_region_tree(int width, int height, int scales);
ANALYSE_EXPORT void delete_regiontree(region_tree* tree);

// Writes value into every pixel of the node that lies inside the image.
ANALYSE_EXPORT void paint_region(image* img, const tregionnode* node, int value);

// Refines every leaf by one partition scale: labels the basins of the
// partition image in place (its `label_queue` is used when attached), then
// ages each leaf that meets one label and splits each leaf that meets more
// (the root always splits); the outer contour pixels of the new nodes end
// as 0 (see region_leafs_update). Returns the new node count.
ANALYSE_EXPORT int regiontree_add_scale(image* partition, region_tree* tree, int scale, int conn);
// Leaf updates against a labelled partition scale; `counts` is a table of
// nlabels zeros, left zero again. After region_leafs_update, the pass over
// every leaf of the scale, the outer contour pixels of every node it made
// are 0 in `labels`, the node's own pixels on the image border included.
ANALYSE_EXPORT void region_leafs_update(image* labels, tregionnode* node, int scale, int nlabels,
                                        int* counts);
ANALYSE_EXPORT void region_leaf_update(image* labels, tregionnode* leaf, int scale, int nlabels,
                                       int* counts);
// Gives the leaf one son per label among its pixels, in ascending label order.
ANALYSE_EXPORT void init_son_regions_list(image* labels, tregionnode* leaf, int scale, int nlabels,
                                          int* counts);
// The same, gathering each son's pixels by a separate pass over the leaf's.
ANALYSE_EXPORT void init_son_regions_list_backup(image* labels, tregionnode* leaf, int scale,
                                                 int nlabels, int* counts);

// Depth-first pre-order numbering: label and file_index := *counter, then
// the counter goes up by one.
ANALYSE_EXPORT void tree_relabel(tregionnode* node, int* counter);
// New node array of regions + 2 entries indexed by file_index; every
// node's label := its file_index. Nodes whose index lies outside the array
// are left out.
ANALYSE_EXPORT void rtInitNodelist(region_tree* tree);
// The same into a caller's array of `size` entries; return how many nodes
// were placed.
ANALYSE_EXPORT int rt_init_nodelist(tregionnode** array, int size, region_tree* tree);
ANALYSE_EXPORT int rt_local_init_nodelist(tregionnode** array, int size, tregionnode* node);
// Numbers the nodes below the root in pre-order from 1, rebuilds the node
// array by label and writes each node's label into the scales of
// `attr_image` at which it lives (index flag + scale, scale 0 excluded).
ANALYSE_EXPORT void set_vximage_regions(region_tree* tree);
// One node of that walk.
ANALYSE_EXPORT void set_vximage_region(vx_image* attr_image, tregionnode* node, tregionnode** array,
                                       int size, int* counter);
// bu_mark := -1 on every node of the subtree; each leaf's label is written
// into the label image at its pixels.
ANALYSE_EXPORT void initLeafLayer(image* labels, tregionnode* node);
