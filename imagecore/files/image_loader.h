#pragma once

#include <cstdio>

#include "imagecore/image.h"
#include "imagecore/vximage_export.h"

// Reads a PNG stream from its current position. Palette and sub-8-bit images
// are expanded and 16-bit samples reduced to 8 bits; grey and grey+alpha
// images give kind IMAGE_GREY (first sample), RGB and RGBA images kind
// IMAGE_RGB (R + G*256 + B*65536). Returns 0 and a new image, 21 when the
// stream is no PNG, 42 after a message when it cannot be read completely;
// *out stays null unless 0 is returned. `name` is used in messages.
VXIMAGE_EXPORT int load_png_stream(FILE* f, const char* name, image** out);

// load_png_stream on a file; also 42 when it cannot be opened.
VXIMAGE_EXPORT int loadPNG(const char* path, image** out);

// The writers produce 8-bit RGBA without interlace, alpha 255, and return 0,
// or 42 after a message; a file that cannot be written whole leaves an
// older one as it was (checked_file.h).

// Each pixel as palette[pixel]; every pixel must index the palette.
VXIMAGE_EXPORT int writePNGPaletted(const char* path, const image* img, const int* palette);

// Each pixel as grey, values outside 0..255 clamped.
VXIMAGE_EXPORT int writePNGgrey(const char* path, const image* img);

// Each pixel as its own packed colour.
VXIMAGE_EXPORT int writePNGRaw(const char* path, const image* img);
