#pragma once

// Text output of attribute vectors: names and values into files and into
// character buffers, as plain lists, CSV and C4.5 rows. Values print as
// "%d", "%f" (six decimals, always a point) or "%s" by type; entries never
// set (type 0) print no value. Every printer reads the vector's `capacity`
// entries and accepts a null vector (no entries). Appending writes at the
// end of the zero-terminated text already in the buffer; buffers are the
// caller's and must be large enough.

#include <cstdio>

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"

// Appends "name: value\n" per set entry.
ANALYSE_EXPORT void print_attribs(const attrib_array* vector, char* buffer);

// "name, " per entry, then a newline.
ANALYSE_EXPORT void file_print_attribnames(const attrib_array* vector, FILE* file);
// "value, " per entry, then a newline.
ANALYSE_EXPORT void file_print_attribs(const attrib_array* vector, FILE* file);

// Appends "name<sep> " per entry without the final separator and blank.
ANALYSE_EXPORT void buffer_print_attribnames(const attrib_array* vector, char* buffer,
                                             char separator);
// Appends "value<sep> " per entry without the final separator and blank.
ANALYSE_EXPORT void buffer_print_attribs(const attrib_array* vector, char* buffer, char separator);

// Replaces the buffer's text by "name<sep>" per entry (the final separator
// stays); returns the capacity.
ANALYSE_EXPORT int buffer_sep_print_attribnames(const attrib_array* vector, char* buffer,
                                                char separator);
// Replaces the buffer's text by "value<sep>" per entry (the final separator
// stays); returns the capacity.
ANALYSE_EXPORT int buffer_print_sep_attribs(const attrib_array* vector, char* buffer,
                                            char separator);

// One byte per entry: 1 for int or double, 3 for string (0 for an entry never
// set); no terminator. Returns the capacity.
ANALYSE_EXPORT int buffer_get_attritypes(const attrib_array* vector, char* buffer);
// Replaces the buffer's text by the value of entry `index`; returns index,
// or -1 with the buffer untouched for an index outside the vector.
ANALYSE_EXPORT int buffer_print_attrib(const attrib_array* vector, char* buffer, int index);

// The selected forms take `n` entry indices; indices outside the vector and
// string entries are skipped.
// Appends "name: continuous.\n" per selected entry.
ANALYSE_EXPORT void buffer_print_c4_5_selected_attribnames(const attrib_array* vector, char* buffer,
                                                           const int* indices, int n);
// Appends the selected names joined by commas.
ANALYSE_EXPORT void buffer_csv_print_selected_attribnames(const attrib_array* vector, char* buffer,
                                                          const int* indices, int n);
// Appends the selected values joined by commas.
ANALYSE_EXPORT void buffer_print_c4_5_selected_attribs(const attrib_array* vector, char* buffer,
                                                       const int* indices, int n);

// Appends the first n normalised Fourier magnitudes of the region's outer
// contour (image width `width`), in low-to-high frequency order, joined by
// ", ". Magnitudes a contour does not have (fewer than 2 positions, or n
// above its sample count) print as 0. Returns n, or 0 when n is below 1.
ANALYSE_EXPORT int buffer_get_fds(char* buffer, const tregionnode* region, int n, int width);
