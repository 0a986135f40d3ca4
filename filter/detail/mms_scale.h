#pragma once

#include <vector>

#include "filter/detail/component_tree.h"
#include "filter/detail/reconstruction_core.h"
#include "filter/detail/watershed_core.h"
#include "filter/lMMS_Part.h"
#include "filter/templates.h"
#include "imagecore/handles.h"

// What every scale of one partition reads: the source (rows already trimmed)
// and its component tree in the order of the polarity, which turns each
// scale's reconstruction into a few passes.
struct mms_source {
    const int* pixels;
    int width;
    int height;
    int mode;  // 1 bright, else dark
    int conn;
    unsigned flags;
    component_tree tree;
};

// The buffers of one scale in the making, kept from scale to scale by
// whoever computes them: `work` (one int per pixel and one more) holds the
// marker, then the simplified image and its gradient, then the flooding's
// queue; `lab` the tree's node values, the hole filling's buckets and then
// the flooding's labels.
struct mms_scale_buffers {
    std::vector<int> work;
    std::vector<int> lab;
    std::vector<int> rows;
    ws_workspace tables;
    fill_buffers fill;
    image_handle filtered;  // the marker of a growing template, run_filter's image
};

// Builds the source's component tree.
void mms_build_tree(mms_source& s);

// Sizes the buffers for the source; a failure ends the process with the
// watershed's memory message.
void mms_reserve(mms_scale_buffers& b, const mms_source& s);

// Computes one scale from the marker in b.work, or, with a filter (growing
// template), from the source filtered here. `spare` is an array of one int
// per pixel that the computation may use (the destination scale). The
// watershed labels are left in b.lab at the returned layout. `scale`
// (0-based) names the debug export files.
ws_layout mms_compute_scale(const mms_source& s, mms_scale_buffers& b, f_filter* filter, int scale,
                            mms_debug_export* debug, int* spare);

// Writes the binarised labels (1 on basins, 0 on lines), row by row, to `out`
// (rows of the layout's width).
void mms_binarise_labels(const ws_layout& l, const int* lab, int* out);

// The elementary marker of the next scale, in place: one erosion (mode 1) or
// dilation (else) with 4 neighbours. `rows` holds 3 * width ints.
void mms_next_elementary_marker(int* marker, int width, int height, int mode, int* rows);

// A new work image with the pixels, min and max of src.
image* mms_copy_image(const image* src);

// A new filter of the partition for the template description: erosion in
// mode 1, dilation otherwise; null when no filter record could be had. An
// unusable template ends the process (code 42).
f_filter* mms_make_filter(const functions* tmpl, int mode, int iterations, image* source);
