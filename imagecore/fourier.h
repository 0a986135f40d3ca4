#pragma once

// Radix-2 fast Fourier transforms: a one-dimensional transform of double
// arrays, an in-place transform with a two-dimensional driver, and forward
// and backward transforms of double images whose spectra have frequency 0 in
// the centre. Sample counts are powers of two (at least 2).

#include "imagecore/vximage_export.h"

struct image;

// One complex sample of a two-dimensional spectrum.
struct complex {
    double real;
    double imag;
};

// X[k] = sum over j of x[j] * e^(-2 pi i j k / n); with `inverse` nonzero
// the exponent is positive and every output is divided by n. A null
// `imag_in` counts as all zeros. Ends the process (code 1, message on
// standard error) when n is not a power of two or a required array is null.
VXIMAGE_EXPORT void fft_double(unsigned n, int inverse, const double* real_in,
                               const double* imag_in, double* real_out, double* imag_out);

// 1 when n >= 2 and a power of two.
VXIMAGE_EXPORT int IsPowerOfTwo(unsigned n);
// log2 n, rounded down; ends the process (code 1) for n below 2.
VXIMAGE_EXPORT unsigned NumberOfBitsNeeded(unsigned n);
// `index` with its lowest `bits` bits in reverse order.
VXIMAGE_EXPORT unsigned ReverseBits(unsigned index, unsigned bits);
// Frequency of spectrum entry `index` of n, in cycles per sample.
VXIMAGE_EXPORT double Index_to_frequency(unsigned n, unsigned index);
// Returns p; ends the process (code 1) naming `name` when p is null.
VXIMAGE_EXPORT double* CheckPointer(double* p, const char* name);

// In-place transform of 2^m samples. Direction 1 is the forward transform
// (exponent sign -) and divides every result by 2^m; any other direction is
// the unscaled reverse transform. Returns m, or -1 (nothing done) when m lies
// outside 0..30.
VXIMAGE_EXPORT int FFT(int direction, int m, double* real, double* imag);

// columns[x][y] for x < nx, y < ny: transforms every row (length nx), then
// every column (length ny). Returns 1; ends the process (code 10) when a size
// is not a power of two.
VXIMAGE_EXPORT int FFT2D(complex** columns, int nx, int ny, int direction);

// Forward 2-D transform of the int pixels of `grey` (the double pixels when
// it has none) into two new double images, quadrants swapped so that
// frequency 0 lies at (width / 2, height / 2).
VXIMAGE_EXPORT void ForwardFFT(const image* grey, image** real, image** imag);
// Inverse of ForwardFFT: the real part of the reverse transform as a new
// double image.
VXIMAGE_EXPORT void BackwardFFT(const image* real, const image* imag, image** out);

// Per pixel magnitude sqrt(re^2 + im^2) and phase atan2(im, re) as new
// double images, and back.
VXIMAGE_EXPORT void cart2polar(const image* real, const image* imag, image** magnitude,
                               image** phase);
VXIMAGE_EXPORT void polar2cart(const image* magnitude, const image* phase, image** real,
                               image** imag);
