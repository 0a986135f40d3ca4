#pragma once

#include <cstdio>

#include "imagecore/image.h"
#include "imagecore/vximage_export.h"

// The system's 16-bit grey format: "16BG", width and height as int32, then
// width * height signed 16-bit pixels, all little-endian, row-major.

enum bg16_status {
    BG16_OK = 0,
    BG16_NOT_16BG = 1,  // the first four bytes are not "16BG"
    BG16_CORRUPT = 2,   // impossible size or fewer pixels than the size says
};

// Parses a "16BG" stream from its current position into a new image of kind
// IMAGE_GREY16; *out stays null unless BG16_OK is returned.
VXIMAGE_EXPORT bg16_status read_16bg_stream(FILE* f, image** out);

// Returns 0 and a new image; 1 with *out null when the file is no "16BG" file
// or is damaged. A file that cannot be opened ends the process (code 10).
VXIMAGE_EXPORT int load16BitGreyPGM(const char* path, image** out);

// Writes the low 16 bits of each pixel. Returns 0, or -1 when the file cannot
// be written completely; an older file then stays as it was (checked_file.h).
VXIMAGE_EXPORT int write16BitGreyPGM(const char* path, const image* img);

// The same for a bare row-major pixel array.
VXIMAGE_EXPORT int write_16bg_pixels(const char* path, const int* pixels, int width, int height);
