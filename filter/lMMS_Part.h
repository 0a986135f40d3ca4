#pragma once

#include "filter/filter_export.h"
#include "filter/functions.h"
#include "filter/progress.h"
#include "imagecore/vx_image.h"

// Generation flags of a partition.
enum : unsigned {
    MMS_FILL_HOLES_DARK = 1,    // fill holes of the closing before the gradient
    MMS_FILL_HOLES_BRIGHT = 2,  // fill holes of the opening before the gradient
    MMS_GROWING_TEMPLATE = 4,   // scale k filters with the template of radius + k
};

// The tree generation modes: the partition's flags without and with noise
// removal, which fills the holes of both polarities.
enum : unsigned {
    MMS_NO_DENOISING = 0,
    MMS_REMOVE_NOISE = MMS_FILL_HOLES_DARK | MMS_FILL_HOLES_BRIGHT,
};

// Debug export of the intermediate images of each scale as grey PNG files
// "<base_name>.<scale>.png". Stage 1: after reconstruction and hole filling;
// stage 2: after the gradient (same file name, so it replaces stage 1).
struct mms_debug_export {
    char* base_name;
    int stage_mask;
};

// Multiscale partition of src's scale 0 for bright (mode 1) or dark (any
// other mode) objects: dst scale k receives 1 on the basins and 0 on the
// watershed lines of the gradient of the opening (closing) by reconstruction
// of size k + 1. dst must have src's size and at least nscales scales. tmpl
// is read, never changed; src is only read, so that both polarities may run
// on one source at once. Returns 1, or 0 after a message when nothing could
// be computed (dst unchanged).
//
// The scales are computed on up to get_tree_workers() threads
// (tree_workers.h), the calling thread among them, which make the scales'
// markers in scale order; at most as many scales are in flight as keep the
// partition's own buffers within 12 ints per pixel (what it took computing
// one scale at a time), 2 per scale besides the shared component tree.
FILTER_EXPORT int lMMS_Part(vx_image* src, vx_image* dst, int mode, int nscales, int iterations,
                            functions* tmpl, int conn, unsigned flags,
                            mms_debug_export* debug = nullptr);

// The same, calling callback(1 for bright or 2 for dark, k, context) after
// scale k is written, once per scale, in scale order and on the calling
// thread; callback may be null.
FILTER_EXPORT int lMMS_Part_progress(vx_image* src, vx_image* dst, int mode, int nscales,
                                     int iterations, functions* tmpl, int conn, unsigned flags,
                                     void* context, tree_progress_fn callback);

// Writes img as "<base_name>.<scale>.png" (scale with three digits, values
// outside 0..255 clipped) when debug is not null and its stage mask holds
// `stage`.
FILTER_EXPORT void lMMS_debug_scale_export(mms_debug_export* debug, int scale, int stage,
                                           image* img);
