#pragma once

#include <cstddef>
#include <cstdio>

#include "imagecore/vximage_export.h"

// Little-endian binary I/O shared by every binary format of the system.
// The single-value readers return 0 for bytes missing at the end of the file;
// callers that must tell truncation apart check feof/ferror or use the block
// forms, which return how many values were moved.

VXIMAGE_EXPORT void write_4_byte_int(FILE* f, int value);
VXIMAGE_EXPORT int read_4_byte_int(FILE* f);

// Writes the low 16 bits; reads an unsigned 16-bit value (callers cast to
// int16_t where the format is signed).
VXIMAGE_EXPORT void write_2_byte_int(FILE* f, int value);
VXIMAGE_EXPORT int read_2_byte_int(FILE* f);

// A float as the four bytes of its IEEE bit pattern.
VXIMAGE_EXPORT void write_4_byte_float(FILE* f, float value);
VXIMAGE_EXPORT float read_4_byte_float(FILE* f);

// A double as two 32-bit words of its bit pattern, low word first.
VXIMAGE_EXPORT void write_8_byte_float(FILE* f, double value);
VXIMAGE_EXPORT double read_8_byte_float(FILE* f);

// Block forms: move n values in few stdio calls; return the number of values
// completely written or read.
VXIMAGE_EXPORT size_t write_4_byte_ints(FILE* f, const int* values, size_t n);
VXIMAGE_EXPORT size_t read_4_byte_ints(FILE* f, int* values, size_t n);
VXIMAGE_EXPORT size_t write_2_byte_ints(FILE* f, const int* values, size_t n);
VXIMAGE_EXPORT size_t read_2_byte_ints(FILE* f, int* values, size_t n);
// One byte per value: the low 8 bits written, unsigned bytes read.
VXIMAGE_EXPORT size_t write_1_byte_ints(FILE* f, const int* values, size_t n);
VXIMAGE_EXPORT size_t read_1_byte_ints(FILE* f, int* values, size_t n);

// Bytes between the current position and the end of the file, or -1 when the
// stream cannot seek. The position is left unchanged.
VXIMAGE_EXPORT long vx_remaining_bytes(FILE* f);

// Read the whole file into a new array (char, or one int 0..255 per byte),
// grown in blocks of 10,000 entries. The char array carries a terminating 0
// that is not counted. Return the number of characters, or -1 (and a null
// array) when the file cannot be opened or read.
VXIMAGE_EXPORT int readFile(const char* path, char** out);
VXIMAGE_EXPORT int readFileAsInt(const char* path, int** out);
