#pragma once

#include "imagecore/image.h"
#include "imagecore/vximage_export.h"

struct iqueue;

// Process-wide queue of label_iterate. No function of the library creates
// it; when it is null label_iterate works with a queue of its own for the
// duration of the call.
extern VXIMAGE_EXPORT iqueue* ptSystemQueue;

// Connected-component labelling and flood fills. Offset tables are in
// nb_offsets order (N, E, S, W, NE, SE, SW, NW) for the given width; n = 8
// uses all eight neighbours, any other n the first four. A queue passed in is
// the caller's work queue: it is emptied first and grows when a fill needs
// more room; a null queue means a queue of the call's own.

// Every nonzero pixel becomes -1, then each -1 component, in raster order of
// its first pixel, gets the next label 1, 2, ...; returns the number of
// labels + 1. Needs no queue: the image's label_queue, if any, is left alone,
// and images of different threads may be labelled at once.
VXIMAGE_EXPORT int label_image_local(image* img, int n);
// The same (the name that once used ptSystemQueue).
VXIMAGE_EXPORT int label_image(image* img, int n);

// Flood fill from seed: the pixels equal to key that are connected to the
// seed become new_value. Returns the number changed (0 when the seed does not
// hold key or lies outside), or -1 when the seed already holds new_value.
VXIMAGE_EXPORT int label_iterate_local(int* pixels, const int* offsets, int n, int new_value,
                                       int key, int seed, int width, int height, iqueue* q);
VXIMAGE_EXPORT int label_iterate(int* pixels, const int* offsets, int n, int new_value, int key,
                                 int seed, int width, int height);
VXIMAGE_EXPORT int label_queued(image* img, iqueue* q, int n, int new_value, int key, int seed);

// Flood fill without a caller queue: the pixels equal to old_value that are
// connected to the seed become new_value.
VXIMAGE_EXPORT void label(int* pixels, const int* offsets, int n, int new_value, int old_value,
                          int seed, int width, int height);

// Sets every pixel not equal to value that is connected to the seed through
// such pixels to value; nothing happens when the seed already holds value.
VXIMAGE_EXPORT void fill_iterate_local(image* img, int n, int value, int seed, iqueue* q);
VXIMAGE_EXPORT void fill_iterate(int* pixels, const int* offsets, int n, int value, int seed,
                                 int width, int height);

// Relabels the foreground of `pixels` by the regions of `labels` that cover
// it: `labels` holds the negated labels of unvisited regions. From seed, the
// region whose labels hold -labels[seed] is walked (and its labels restored
// to positive); every -1 component of `pixels` met under it becomes
// new_value. Returns the number of pixels that became new_value. The two
// queues drive the region walk and the component fills.
VXIMAGE_EXPORT int triggered_label(int* labels, int* pixels, const int* offsets, int n,
                                   int new_value, int seed, int width, int height,
                                   iqueue* region_queue, iqueue* cover_queue);
// The -1 component of pixels that holds seed becomes new_value; returns the
// number changed.
VXIMAGE_EXPORT int label_coverage(int* pixels, const int* offsets, int n, int new_value, int seed,
                                  int width, int height, iqueue* q);

// Marks the nonzero pixels of img -1 and gives every foreground component
// the value of the first label region (raster order) that covers it: label
// regions that cover unlabelled foreground get the values 1, 2, ... in raster
// order, and table[label] holds that value (0 for a label that covers none).
// Labels are nonnegative, 0 being no region. Foreground that no label covers
// stays -1; labels ends as it began. The table has table_size ints (labels at
// or above it are relabelled but not recorded) and is freed by the caller.
// Returns null when the two images differ in size or a label is negative.
VXIMAGE_EXPORT int* coverage_label_image(image* labels, image* img, int n, int table_size);
