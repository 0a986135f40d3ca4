#pragma once

// One-call tree builders: the tree of a grey image (build_polarity_tree with
// unit_disk_template and a partition image of their own) and, unless said
// otherwise, the attribute pass without rule. Mode 1 builds the tree of
// bright objects, 2 of dark objects. Null when the partition or the
// attribute image cannot be computed.

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"
#include "imagecore/image.h"
#include "imagecore/vx_image.h"

// Partition of a one-scale copy of grey; volume reference = mode.
ANALYSE_EXPORT region_tree* compute_tree(image* grey, int nscales, int mode, unsigned flags);
// The same without the attribute pass; nodes numbered in pre-order from 0.
ANALYSE_EXPORT region_tree* compute_tree_no_update(image* grey, int nscales, int mode,
                                                   unsigned flags);
// Partition of grey's scale 0; attribute image a copy of grey, volume
// reference 3 - mode.
ANALYSE_EXPORT region_tree* vx_compute_tree(vx_image* grey, int nscales, int mode, unsigned flags);
ANALYSE_EXPORT region_tree* compute_bright_tree(vx_image* grey, int nscales, unsigned flags);
ANALYSE_EXPORT region_tree* compute_dark_tree(vx_image* grey, int nscales, unsigned flags);
