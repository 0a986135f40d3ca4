#pragma once

#include <cstdio>

#include "imagecore/image.h"
#include "imagecore/vx_image.h"
#include "imagecore/vximage_export.h"

enum pgm_status {
    PGM_OK = 0,
    PGM_NOT_P5,   // the magic is not "P5"
    PGM_MAXVAL,   // more than 8 bits per sample
    PGM_CORRUPT,  // bad header numbers or fewer pixel bytes than width * height
};

// Parses a binary PGM stream into a new int array of width * height bytes;
// *pixels stays null unless PGM_OK is returned.
VXIMAGE_EXPORT pgm_status parse_pgm_p5(FILE* f, int** pixels, int* width, int* height);

// Reads a binary PGM file. Returns 0 and a new pixel array, or -1 (array null)
// when the file cannot be opened; a file that is no readable 8-bit "P5" file
// ends the process (code 19).
VXIMAGE_EXPORT int read_pgm_p5(const char* path, int** pixels, int* width, int* height);

// One-scale multiscale image (flag 0) holding the file's pixels; null when
// the file cannot be opened.
VXIMAGE_EXPORT vx_image* read_vx_image_pgm_p5(const char* path);

// The writers replace a file only once it is written whole
// (checked_file.h): one that cannot be leaves an older file as it was.

// Binary PGM with the pixels scaled from their minimum..maximum to 0..255.
// Returns 0, or -1 when the file cannot be written.
VXIMAGE_EXPORT int write_pgm_p5(const char* path, const image* img);

// ASCII colour PGM ("P3") of palette[pixel]; every pixel must index the
// palette. Returns 0, or -1 when the file cannot be written.
VXIMAGE_EXPORT int write_pgm_p3(const char* path, const image* img, const int* palette);
