#pragma once

#include "imagecore/image.h"

struct iqueue;

// Process-wide queue of label_image and label_iterate. No function of the
// library creates it; callers that use those two functions set it up.
extern iqueue* ptSystemQueue;

// Connected-component labelling and flood fills over a neighbour offset table
// in nb_offsets order, of which the first n (4 or 8) are used.
int label_image_local(image* img, int n);
int label_image(image* img, int n);
int label_iterate_local(int* pixels, const int* offsets, int n, int new_value, int key, int seed,
                        int width, int height, iqueue* q);
int label_iterate(int* pixels, const int* offsets, int n, int new_value, int key, int seed,
                  int width, int height);
int label_queued(image* img, iqueue* q, int n, int new_value, int key, int seed);
void label(int* pixels, const int* offsets, int n, int new_value, int old_value, int seed,
           int width, int height);
void fill_iterate_local(image* img, int n, int value, int seed, iqueue* q);
void fill_iterate(int* pixels, const int* offsets, int n, int value, int seed, int width,
                  int height);
int* coverage_label_image(image* labels, image* img, int n, int table_size);
