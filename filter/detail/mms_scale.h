#pragma once

#include <vector>

#include "filter/detail/reconstruction_core.h"
#include "filter/detail/watershed_core.h"
#include "filter/lMMS_Part.h"
#include "filter/templates.h"

// Work buffers of the per-scale steps, kept for all scales of a partition so
// that they are allocated (and mapped by the system) once.
struct mms_buffers {
    ws_workspace flood;
    fill_buffers fill;  // its reconstruction buffers also serve the partition's
};

// The work images of a partition, all of one size: the source S, the marker W,
// the accumulator R of the elementary filters, the image T that becomes the
// gradient and G, the scratch of the gradient; the filter used in
// growing-template mode.
struct mms_work {
    image* source;
    image* work;
    image* accumulator;
    image* scratch;
    image* gradient;
    f_filter* filter;
    mms_buffers* buffers;
};

// Computes one scale: its watershed labels are left in buffers->flood.lab at
// the returned layout. `scale` (0-based) names the debug export files.
ws_layout mms_compute_scale(mms_work* w, int mode, int conn, unsigned flags, int scale,
                            mms_debug_export* debug);

// Writes the binarised labels (1 on basins, 0 on lines), row by row, to `out`
// (rows of the layout's width).
void mms_binarise_labels(const ws_layout& l, const ws_workspace& flood, int* out);

// A new work image with the pixels, min and max of src.
image* mms_copy_image(const image* src);

// A new filter of the partition for the template description: erosion in
// mode 1, dilation otherwise; null when no filter record could be had. An
// unusable template ends the process (code 42).
f_filter* mms_make_filter(const functions* tmpl, int mode, int iterations, image* source);
