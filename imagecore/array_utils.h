#pragma once

// Neighbourhood extrema, searches and sorts over plain arrays.
int n_get_min(int position, const int* pixels, int width, int height, int n);
int n_get_max(int position, const int* pixels, int width, int height, int n);
int get_array_max(const int* values, int n);
int get_array_min(const int* values, int n);
void get_darray_min_max(const double* values, int n, int* min_index, int* max_index);
int get_array_val(const int* values, int n, int key);
int value_in_array(const int* values, int n, int key, int* index);
void quicksort(int* values, int first, int last);
void msort(double* values, int* companions, int n);
void swap(int* values, int i, int j);
void invert_array(int* values, int n);
void flip_horizontal(int* values, int rows, int columns);
void flip_vertical(int* values, int rows, int columns);
void mirror_xy(int* values, int n, int n2);
