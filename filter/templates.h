#pragma once

#include "filter/filter_export.h"
#include "filter/functions.h"
#include "imagecore/image.h"

// Offset list of a template: one entry per cell inside it (weight != -1), in
// row-major order, relative to the centre cell.
struct offset_tmpl {
    int count;
    int* dx;
    int* dy;
    int* value;
};

// Operation codes of f_filter::op.
enum : unsigned char {
    FILTER_EROSION = 1,
    FILTER_DILATION = 2,
    FILTER_RANK_EROSION = 21,
    FILTER_RANK_DILATION = 22,
    FILTER_MEAN = 30,
    FILTER_EROSION_FROM_MAX = 31,
    FILTER_DILATION_FROM_MIN = 32,
    FILTER_EROSION_FROM_MAX_2 = 33,
    FILTER_MIN_VARIANCE = 34,
};

// One structuring filter: a square or rectangular weight grid (-1 marks a
// cell outside the template) and how run_filter applies it.
struct f_filter {
    int width;
    int height;
    int centre_col;
    int centre_row;
    int iterations;  // 0: repeat until a pass changes nothing
    unsigned char use_mask;
    unsigned char op;
    double quantile;  // rank position in 0..1; 0 and 1 switch ranking off
    int* values;      // width * height weights, row-major
    image* mask;      // borrowed
    offset_tmpl* offsets;
};

// Largest half-size of a template grid that the builders accept.
inline constexpr int F_TEMPLATE_MAX_HALF = 1024;

FILTER_EXPORT f_filter* init_f_filter();
FILTER_EXPORT void delete_filter(f_filter* f);
FILTER_EXPORT f_filter* create_copy_template(const f_filter* f);

// Builds the weight grid of the described template into f (replacing any
// grid it had) and returns it; null after a message when the description is
// not usable.
FILTER_EXPORT int* init_f_template(const functions* tmpl, f_filter* f);

// Template shapes: new double grids of *size x *size weights (-1 outside),
// null when the description gives no grid of 1 .. 2 * F_TEMPLATE_MAX_HALF + 1.
FILTER_EXPORT double* init_disk_template(const functions* tmpl, int* size);
FILTER_EXPORT double* init_sphere_template(const functions* tmpl, int* size);
FILTER_EXPORT double* init_circ_pow_template(const functions* tmpl, int* size);
FILTER_EXPORT double* init_elip_pow_template(const functions* tmpl, int* size);
FILTER_EXPORT double* binomial(const functions* tmpl, int* size);
FILTER_EXPORT double* init_square_template(const functions* tmpl, int* size);

// New int grid of the n values rounded with floor(x + 0.5); frees grid.
FILTER_EXPORT int* cnv_d_field(double* grid, int n);
FILTER_EXPORT int binomkoeff(int n, int k);

FILTER_EXPORT offset_tmpl* generate_offset_tmpl(const int* values, int width, int height);
FILTER_EXPORT void free_offset_tmpl(offset_tmpl* t);

FILTER_EXPORT void show_template(const f_filter* f);
FILTER_EXPORT void template_point_reflection(f_filter* f);
FILTER_EXPORT int dilate_template(f_filter* target, f_filter* structuring);

// Loads mask `orientation` (0..8) of the minimum-variance filter; only size 1
// (five by five) exists. Returns 1, or 0 after a message.
FILTER_EXPORT int init_rotate_template(f_filter* f, int orientation, int size);

// For op 1 the larger, for op 2 the smaller of value and mask, else value.
FILTER_EXPORT int maskcheck(int value, int mask, int op);
