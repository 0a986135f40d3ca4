#pragma once

// Neighbourhood extrema, searches and sorts over plain arrays.

#include "imagecore/vximage_export.h"

// Position of the smallest / largest value among the pixel and its
// neighbours inside the image (n = 8: all eight, otherwise the first four);
// candidates in the order pixel, W, N, E, S, NW, SW, NE, SE, a later one
// winning only when strictly smaller / larger. -1 for a position outside.
VXIMAGE_EXPORT int n_get_min(int position, const int* pixels, int width, int height, int n);
VXIMAGE_EXPORT int n_get_max(int position, const int* pixels, int width, int height, int n);

// Index of the first maximum / minimum; -1 when n <= 0.
VXIMAGE_EXPORT int get_array_max(const int* values, int n);
VXIMAGE_EXPORT int get_array_min(const int* values, int n);
// Indices of the first minimum and maximum (NaN counts as largest); -1 when n <= 0.
VXIMAGE_EXPORT void get_darray_min_max(const double* values, int n, int* min_index, int* max_index);
// Index of the first element equal to key, -1 when none.
VXIMAGE_EXPORT int get_array_val(const int* values, int n, int key);
// 1 and the index when key is found, else 0 and index 0.
VXIMAGE_EXPORT int value_in_array(const int* values, int n, int key, int* index);

// Ascending sort of values[first..last].
VXIMAGE_EXPORT void quicksort(int* values, int first, int last);
// Stable ascending sort of the doubles; companions (may be null) move with them.
VXIMAGE_EXPORT void msort(double* values, int* companions, int n);
VXIMAGE_EXPORT void swap(int* values, int i, int j);
VXIMAGE_EXPORT void invert_array(int* values, int n);

VXIMAGE_EXPORT void flip_horizontal(int* values, int rows, int columns);
VXIMAGE_EXPORT void flip_vertical(int* values, int rows, int columns);
// Reflects an n x n array across its anti-diagonal: (r, c) takes
// (n-1-c, n-1-r). Arrays that are not square (n != n2) are left alone.
VXIMAGE_EXPORT void mirror_xy(int* values, int n, int n2);
