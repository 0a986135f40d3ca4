#pragma once

// Volume routines for Analyze data. Volumes are float arrays of nx * ny * nz
// voxels, x fastest, then y, then z.

#include "imagecore/vximage_export.h"

// Result of the last interpolation; owned by the caller once taken.
extern VXIMAGE_EXPORT float* float_interpol;

// Doubles the volume in every axis (each voxel becomes a 2 x 2 x 2 block) and
// smooths every inner voxel with the mean of its six face neighbours. Frees
// `volume`; the result (2nx * 2ny * 2nz voxels) is left in float_interpol.
// Returns 0, or -1 (volume kept, float_interpol untouched) for a size that
// is not positive or too large.
VXIMAGE_EXPORT int interpol_2to1(int nx, int ny, int nz, float* volume);

// Halves the volume in every axis by averaging 2 x 2 x 2 blocks (odd last
// layers are dropped). Frees `volume`; the result (nx/2 * ny/2 * nz/2 voxels)
// is left in float_interpol. Returns 0, or -1 as above, also when an axis is
// shorter than 2.
VXIMAGE_EXPORT int interpol_1to2(int nx, int ny, int nz, float* volume);

// Turn n slices of width x height shorts, read from the end of `data`
// backwards, into a new array of value * factor (float) or value / factor
// rounded half up (int). Null (after a message) for a size that is not
// positive, or a zero factor in the int form.
VXIMAGE_EXPORT float* get_float_ecat(int n, int width, int height, const short* data, float factor);
VXIMAGE_EXPORT int* get_int_ecat(int n, int width, int height, const short* data, float factor);

// Least-squares line through (x[i], y[i]): prints the correlation
// coefficient as " r = %10.4f" and returns the line's value at x = 1.
// Without spread in x the line is flat at the mean of y (r printed as 0).
VXIMAGE_EXPORT double lin_reg(int n, const float* x, const float* y);
