#pragma once

#include "filter/lMMS_Part.h"
#include "filter/templates.h"

// The work images of a partition, all of one size: the source S, the marker W,
// the accumulator R of the elementary filters, the gradient image T and its
// scratch G; the filter used in growing-template mode.
struct mms_work {
    image* source;
    image* work;
    image* accumulator;
    image* scratch;
    image* gradient;
    f_filter* filter;
};

// Computes one scale and returns its watershed label image (0 on lines).
// `scale` is the 0-based scale index (only for the debug export).
image* mms_compute_scale(mms_work* w, int mode, int conn, unsigned flags, int scale,
                         mms_debug_export* debug);

// A new filter of the partition for the template description: erosion in
// mode 1, dilation otherwise; 0 when no filter record could be had. An unusable
// template ends the process (code 42).
f_filter* mms_make_filter(const functions* tmpl, int mode, int iterations, image* source);
