#pragma once

#include "filter/filter_export.h"
#include "imagecore/image.h"

struct iqueue;

// Watershed by immersion. Returns a new label image of img's size: 0 on the
// watershed lines, 1..n for the basins in order of discovery. n is the
// neighbourhood (4, anything else counts as 8). The two ints are ignored.
// img keeps its values; its min and max are updated.
FILTER_EXPORT image* watershed(image* img, int unused1, int unused2, int n);

// As watershed, after setting img's outer frame (first and last row and
// column) to its maximum - 1; neighbours count as long as they lie inside the
// pixel array, so the neighbourhoods of the side columns wrap to the adjacent
// rows.
FILTER_EXPORT image* limited_watershed(image* img, int unused1, int unused2, int n);

// Queue operations that end the process when the queue is full or empty.
FILTER_EXPORT void liqueue_put(int value, iqueue* q);
FILTER_EXPORT int liqueue_get(iqueue* q);
