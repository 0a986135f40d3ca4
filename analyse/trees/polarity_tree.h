#pragma once

// One polarity's region tree of a grey image, the sequence every tree
// computation runs: the multiscale partition of source's scale 0 into work
// (one iteration, connectivity 8), then the region graph of every scale of
// work (connectivity 8), its nodes numbered in depth-first pre-order from 0.
//
// source: the grey image in scale 0, only read, so that both polarities may
// run on one source at once. work: of source's size with at least nscales
// scales; receives the partition, which the graph relabels in place. Both
// stay the caller's. mode: 1 bright, 2 dark objects; flags: the partition's
// generation flags.
//
// Returns a new tree, which the caller frees with delete_regiontree, or null
// when the partition could not be computed (the partition says why). Prints
// only what the partition and the graph print.

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"
#include "filter/functions.h"
#include "filter/progress.h"
#include "imagecore/vx_image.h"

ANALYSE_EXPORT region_tree* build_polarity_tree(vx_image* source, vx_image* work, int mode,
                                                int nscales, functions tmpl, unsigned flags);

// The same through the progress variants of the partition and the graph,
// whose scale messages name the mode. callback (may be null) receives the
// partition's steps, then, when context is given, the graph's, all on the
// calling thread.
ANALYSE_EXPORT region_tree* build_polarity_tree_progress(vx_image* source, vx_image* work, int mode,
                                                         int nscales, functions tmpl,
                                                         unsigned flags, void* context,
                                                         tree_progress_fn callback);
