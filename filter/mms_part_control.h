#pragma once

#include "filter/filter_export.h"
#include "filter/functions.h"
#include "filter/templates.h"
#include "imagecore/vx_image.h"

struct mms_buffers;

// Step-wise multiscale partition: one scale per mms_part_step. The record
// starts with the settings every caller of the partition uses (bright mode,
// the disk of radius 1, one iteration, connectivity 8, elementary filters);
// mode, tmpl, iterations, conn and elementary may be changed before the first
// step. Holes are filled in both modes; the source is not trimmed.
struct mms_part_control {
    f_filter* filter;
    image* source;
    image* work;  // work, scratch and gradient stay null: the scale's work arrays are in `buffers`
    image* accumulator;
    image* scratch;
    image* gradient;
    vx_image* dst;
    int scale;  // scales done
    int nscales;
    int width;
    int height;
    int mode;  // 1 bright, else dark
    functions tmpl;
    int iterations;
    int conn;
    int elementary;  // 1: scale k uses k + 1 elementary filters; 0: the template of radius + k
    char text[500];  // "Scale <n>: Bright Objects" or "... Dark Objects" of the last step
    mms_buffers* buffers;
};

// Null after a message when dst does not fit src and nscales, or no filter
// record could be had. The int is not used.
FILTER_EXPORT mms_part_control* init_mms_part(vx_image* src, vx_image* dst, int unused,
                                              int nscales);

// Computes the next scale into dst and returns the number of scales done;
// does nothing once all are done.
FILTER_EXPORT int mms_part_step(mms_part_control* c);

FILTER_EXPORT void delete_mms_part_control(mms_part_control* c);
