#pragma once

// Fourier descriptors of region contours: the contour positions, sampled at a
// power-of-two count, are transformed and normalised so that position, size,
// rotation and starting point drop out. Also the two frequency orders in
// which coefficients are listed and the drawing of reconstructed contours.
//
// Contour positions are row * width + column. An n-entry spectrum holds
// frequency j at entry j for j < n/2 and j - n from n/2 on.

#include <cstdio>

#include "analyse/analyse_export.h"

struct image;

// The smallest power of two strictly greater than n (1 for n below 1).
ANALYSE_EXPORT int pow_of_2_samples(int n);

// Writes `count` normalised Fourier magnitudes of the contour into out, in
// low-to-high frequency order: out[0] is 0 (the position is dropped) and
// out[1] is 1 (magnitudes are relative to frequency -1, the stronger of -1
// and 1 whichever way the contour runs). A contour of fewer
// than 2 positions has no descriptor: out is filled with zeros.
ANALYSE_EXPORT void get_fourier_descriptor(const int* contour, int length, int count, double* out,
                                           int width);

// In place: the n coefficients become normalised magnitudes (in real) and
// phases freed of rotation and starting point (in imaginary). The contour's
// direction drops out too: when frequency 1 is stronger than -1, entries k
// and n - k (0 < k < n/2) are swapped first, the spectrum of the contour run
// the other way, so magnitudes are relative to the stronger of the two.
ANALYSE_EXPORT void inv_fourier_descriptors(int n, double* real, double* imaginary);

// In place: magnitude and phase become real and imaginary part; the
// magnitude is truncated to an int first.
ANALYSE_EXPORT void polar_2_cart(int n, double* magnitude, double* phase);

ANALYSE_EXPORT double hypotenuse(double a, double b);
// Euclidean distance of the first n values (0 for n below 1).
ANALYSE_EXPORT double euclidian_similarity(const double* a, const double* b, int n);

// Frequencies 0, -1, 1, -2, 2, ... / from the highest down, with out[i] taken
// from input *_idx(n, i).
ANALYSE_EXPORT void low_2_high_freq_order(int n, const double* real_in, const double* imaginary_in,
                                          double* real_out, double* imaginary_out);
ANALYSE_EXPORT void high_2_low_freq_order(int n, const double* real_in, const double* imaginary_in,
                                          double* real_out, double* imaginary_out);
ANALYSE_EXPORT int low_2_high_freq_order_idx(int n, int i);
ANALYSE_EXPORT int high_2_low_freq_order_idx(int n, int i);
// With mask n - 1, the same index as low_2_high_freq_order_idx.
ANALYSE_EXPORT int low_2_high_freq_order_idx_shift(int i, int mask);
// i rotated right by one within `bits` bits.
ANALYSE_EXPORT int restrict_rotate_right(int i, int bits);

// Draws the contour's n samples (value 5), its reconstruction from the first
// `keep` normalised coefficients, centred (value 10), and its reconstruction
// from the same raw coefficients (value -10) into img; with a report file,
// lists the coefficients there.
ANALYSE_EXPORT void fftbounds(image* img, const int* contour, int length, int n, int keep,
                              FILE* report);

// Forward transform of n samples of the contour; the result is not kept.
ANALYSE_EXPORT void fourier_descriptors(const int* contour, int length, int width, int n);
