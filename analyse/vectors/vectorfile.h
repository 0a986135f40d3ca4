#pragma once

#include <cstdio>

#include "analyse/analyse_export.h"
#include "analyse/vectors/vector_array.h"

// Plain text files of vector sets.

// Opens `file` for reading (it must exist) and returns
// init_vector_array(dim, count, value); the contents are not read. Null when
// the file cannot be opened.
ANALYSE_EXPORT vector_array* read_vector_array(const char* file, int dim, int count, double value);

// "Dim: %d, Num: %d\n", then one line per vector: its values as "%f, " and
// the last as "%f.\n". Returns 1, or 0 with a message when a write fails.
ANALYSE_EXPORT int write_vector_array(const vector_array* array, const char* file);

// A Kohonen vector set: "%d %d\n" (dimension, count), then per vector one
// blank-free token holding dim numbers separated by any non-digit characters
// (at most 25 characters per dimension), each taken with get_next_float.
// Returns a new array, or null with a message when the file cannot be opened
// or is malformed.
ANALYSE_EXPORT vector_array* load_kohonen_vector_set(const char* file);
// The same from an open stream; `name` is used in the messages.
ANALYSE_EXPORT vector_array* load_kohonen_vector_set_from(FILE* f, const char* name);

// Skips to the first digit of text, converts from there as atof does, stores
// the value in *out and returns the index just past the run of digits and '.'
// that follows; -1 when the text is null, empty or holds no digit. A sign
// before the digits is skipped like any other character.
ANALYSE_EXPORT int get_next_float(const char* text, double* out);
