#pragma once

// Fourier coefficients of a region's outer contour: the contour is resampled
// to n points (n a power of two of at least 2, see pow_of_2_samples), taken
// as complex numbers x + iy and transformed; reduced or selected sets of
// coefficients are transformed back into contours. Every array is the
// caller's, with room for n doubles.

#include <cstdio>

#include "analyse/analyse_export.h"

// Resamples the contour of `length` positions (row * width + column) to n
// points, in reverse order, and transforms them:
// - fft_re, fft_im: the raw spectrum, whose inverse is the resampled contour
//   at its place in the image;
// - desc_re, desc_im: the normalised descriptors scaled by 30 n, in
//   Cartesian form (coefficient 0 is 0, so their inverse is centred on the
//   origin);
// - ordered_mag, ordered_phase: the normalised magnitudes and phases in
//   low-to-high frequency order (0, -1, +1, -2, ...).
// An empty contour gives zeros everywhere. Ends the process (code 1) when n
// is not a power of two of at least 2.
ANALYSE_EXPORT void fftcoeffs(const int* contour, int width, int length, int n, double* desc_re,
                              double* desc_im, double* fft_re, double* fft_im, double* ordered_mag,
                              double* ordered_phase);

// Keeps the low-to-high positions 0 .. keep of both coefficient sets (a and
// b), zeroes the others in place, and transforms both back: out_b from b,
// out_a from a (x in the real, y in the imaginary array).
ANALYSE_EXPORT void coeff_reduce(int n, int keep, double* a_re, double* a_im, double* b_re,
                                 double* b_im, double* out_b_re, double* out_b_im, double* out_a_re,
                                 double* out_a_im);

// The same keeping the low-to-high positions 0, 1 and sel (0 .. sel when sel
// is at most 2).
ANALYSE_EXPORT void coeff_select(int n, int sel, double* a_re, double* a_im, double* b_re,
                                 double* b_im, double* out_b_re, double* out_b_im, double* out_a_re,
                                 double* out_a_im);

// Reads the outer contour of node `node` from an old text tree file into
// positions, which has room for `capacity` ints. Returns the contour length;
// -1 after a message when the node, its contour size or its contour tag is
// missing, or the contour does not fit or is cut short; the stream is then
// closed. Otherwise the stream stays open, positioned after the contour.
ANALYSE_EXPORT int getcontour(FILE* stream, int* positions, int capacity, int node);
