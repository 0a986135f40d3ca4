#pragma once

// Derived values of region nodes: grey volume and statistics, shape ratios,
// ratios to the father, decomposition entropy, second-order moments, boxes
// and attribute vectors; the attribute passes over whole trees (without an
// update rule, with one, and the lighter pass before queries) and nodes made
// from one label of a label image.
//
// Sums over pixels are taken in 64 bits; a volume beyond the int range is
// stored saturated at INT_MAX (or INT_MIN), while the contrast is computed
// from the exact sum. Positions outside the grey image are left out of every
// sum and histogram. Trees are walked without recursion, so any depth is
// fine.

#include "analyse/region_types.h"
#include "imagecore/image.h"
#include "imagecore/vx_image.h"

struct vm;

// Box of the node's pixels: maxx, minx (columns), maxy, miny (rows). Nothing
// is written for a node without pixels.
void boundingBox(tregionnode* node, int width);
// The same box over the node's outer contour; nothing is written for an
// empty contour.
void rfContourFerretBox(int* min_column, int* min_row, int* max_column, int* max_row,
                        const tregionnode* node, int width);
// Centroid, normalised centroid, orientation and principal axes of the
// node's pixels in a width x height image. A node without pixels gets zeros.
void second_area_moment(tregionnode* node, int width, int height);
// Outer-contour positions that a and b share (equal neighbours of the sorted
// joined contours) over the smaller contour size; 0 when either contour is
// empty. The nodes' contours are left as they are.
double contour_cover(const tregionnode* a, const tregionnode* b);

// Sum over the positions of (grey - the image's `min`); 0 for n below 1.
int region_volume(const image* grey, int n, const int* positions);
// Sum over the positions of |a - b|; 0 for n below 1.
int region_contrast_volume(const image* a, int n, const int* positions, const image* b);

// The pass without rule: the node's grey statistics against scale 0 of
// `grey`, its shape ratios, its ratios to its father (a node without father
// keeps them) and its decomposition entropy, for the node and its subtree.
void region_update(tregionnode* node, vx_image* grey);
// Root step against the reference (1 the image maximum, any other value the
// minimum) over scale 0 of the tree's attr_image, then region_update on
// every son of the root. Nothing happens without an attr_image.
void region_tree_update(region_tree* tree, int reference);

// The rule pass on the node and its subtree: grey statistics, moments,
// boxes and decomposition entropy, then the machine's bottom-up run and a
// new attribute vector (the old one is freed), sons before their father.
// The reference has no effect. When the machine fails (a rule fault that
// does not end the process, rule_file.h) the subtree is left as it was and
// the machine's `failed` tells.
void dynamic_region_update(tregionnode* node, image* grey, vm* machine, int reference);
// Root step over the whole grey image, parse of the rule file, rule pass on
// every son of the root; the root then borrows its first son's vector and
// the tree gets a zeroed selection buffer of that vector's capacity (none
// when the son has no vector). Returns the tree's region count; 0 when the
// rule file does not parse or its run meets a rule fault that does not end
// the process (rule_file.h; either way no node changes), the root has no
// sons or the grey image has another size than the tree (refused with a
// message).
int dynamic_region_tree_update(region_tree* tree, image* grey, const char* rule_file,
                               int reference);
// Parses the rule file and runs the rule pass on the node. Returns 1, or 0
// when the file does not parse or its run fails (rule_file.h); the node then
// stays as it was.
int init_single_node_attributes(const char* rule_file, tregionnode* node, image* grey,
                                int reference);
// New node of the pixels of `labels` that hold `label` (raster order), with
// its outer contour (4-connected walk), border flags and attribute vector.
// The label image is left as it was. Null when no pixel holds the label,
// for labels below 1 (0 is the background) and when the rule file does not
// parse or its run fails (rule_file.h).
tregionnode* computeNodeFromLabeledRegion(const char* rule_file, image* labels, image* grey,
                                          int label, int reference);

// The query pass on the node and its subtree: volume, grey statistics,
// cleared marks and significance, area quotient and decomposition entropy.
// The int is handed on unchanged.
void region_query_update(tregionnode* node, image* grey, int unused);
// Root step over the grey image, then region_query_update on every son of
// the root. A grey image of another size than the tree's is refused (with a
// message) and nothing changes.
void region_tree_query_update(region_tree* tree, image* grey, int unused);
