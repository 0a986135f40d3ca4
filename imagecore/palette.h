#pragma once

#include "imagecore/image.h"
#include "imagecore/vximage_export.h"

// Palettes are int arrays indexed by pixel value holding packed colours
// R + G*256 + B*65536; callers free them with free().

// n + 256 entries: 0..255 greys, 256..n+255 scrambled label colours (every
// entry the palette has, so that no label value shows black). Null (after a
// message) when n is negative or too large.
VXIMAGE_EXPORT int* initGreyColorScrambledPalette(int n);

// n + 256 entries: 0 black, 1..n+9 scrambled label colours, the rest 0.
// Null (after a message) when n is negative or too large.
VXIMAGE_EXPORT int* initColorScrambledPalette(int n);

// Turn an image of kind IMAGE_RGB into grey values (and kind IMAGE_GREY);
// other images are left alone.
VXIMAGE_EXPORT void convertGreyEuclidean(image* img);
VXIMAGE_EXPORT void convertGreyNormalized(image* img);

// Colour space conversions on rgb[0..2] / hsv[0..2]; hue in degrees.
VXIMAGE_EXPORT void HSV2RGB(double* rgb, double hue, double saturation, double value);
VXIMAGE_EXPORT void RGB2HSV(double* hsv, double red, double green, double blue);

// Packed colour of channels in 0..1.
VXIMAGE_EXPORT int rgb2int(double red, double green, double blue);

// Four new images holding byte 0, 1, 2 and 3 of every pixel.
VXIMAGE_EXPORT void splitRGBAlpha2Bands(const image* packed, image** r, image** g, image** b,
                                        image** a);

// New packed image from four bands; *out is null (after a message) when the
// bands differ in size.
VXIMAGE_EXPORT void mergeRGBAlpha2Bands(const image* r, const image* g, const image* b,
                                        const image* a, image** out);

// Writes the bands as "%s.RedBand.png" .. "%s.AlphaBand.png" grey PNGs.
// Returns 0, or 42 when a file cannot be written.
VXIMAGE_EXPORT int exportBands(const char* base, const image* r, const image* g, const image* b,
                               const image* a);
