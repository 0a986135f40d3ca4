#pragma once

// What the attribute passes over region trees share: the decomposition
// entropy, the root step and the fields every pass takes from the grey
// statistics. The passes update a node before its sons and finish it after
// them (walk_pre_post).

#include <cstdint>

#include "analyse/features/detail/grey_statistics.h"
#include "analyse/trees/region_types.h"
#include "analyse/trees/tree_walk.h"
#include "imagecore/image.h"

// -sum q log2 q / log2 k over the sons' area quotients; 1.0 without sons.
double decomposition_entropy(const tregionnode* node);

// size / father's size; 1.0 without father.
double father_area_quotient(const tregionnode* node);

// volume, greyentropy, variance, meangrey.
void store_grey_stats(tregionnode* node, const grey_stats& s);

// Root fields that follow from the image size, the root's size and its
// volume: widths, roundness, convexity, contrast, whole-number area
// fraction, decomp_homogeneity and significance.
void set_root_shape(tregionnode* root, int width, int height, int64_t volume);
// The root's ratios to a father it does not have.
void clear_root_quotients(tregionnode* root);

// Whether the grey image has the tree's size; prints why not. Passes that
// size the root from the image refuse one that does not fit, since the
// root's size must stay the length of its pixel array.
bool grey_fits_tree(const region_tree* tree, const image* grey);

// Sum over all pixels of (value - the image's `min`).
int64_t image_volume(const image* grey);
// Sum over the node's pixels of |value - reference|.
int64_t reference_volume(const image* grey, const tregionnode* node, int reference);
