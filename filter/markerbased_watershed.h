#pragma once

#include "filter/filter_export.h"
#include "imagecore/image.h"

// Watershed of img whose basins are selected by a marker image (nonzero
// pixels): every connected marker component and the basin holding its first
// pixel become -1 in the returned label image; the marker is left binary (1).
// With flag set the labels become 1 on the marked basins and 0 elsewhere.
// Null after a message when the sizes differ. The two ints are ignored.
FILTER_EXPORT image* markerbased_watershed(image* marker, image* img, int unused1, int unused2,
                                           int n, int flag);

// As markerbased_watershed; with flag set the labels become 1 on the
// unmarked basins and 0 on the marked ones and the lines.
FILTER_EXPORT image* complemented_markerbased_watershed(image* marker, image* img, int unused1,
                                                        int unused2, int n, int flag);

// Relabels the basins that hold a marker pixel of value 1 as 1, 2, ... (in
// raster order of discovery) and clears every other pixel; with flag set the
// relabelled basins become 1. Returns the number of basins relabelled.
FILTER_EXPORT int ws_label_foreground(image* marker, image* labels, int flag, int conn);

// Clears the basins that hold a marker pixel (nonzero) and the lines, keeping
// the other basins' labels (1 with flag set). Returns the number of basins
// cleared.
FILTER_EXPORT int ws_label_background(image* marker, image* labels, int flag, int conn);

// Label of the single basin whose watershed line encloses the basin at
// `index` in a watershed label image, 0 when there is none: the basin touches
// the image border, its outer line meets a second other basin, or index lies
// on a line. The queue is not needed (basins are connected and uniquely
// labelled, so the outer contour is found without a flood).
struct iqueue;
FILTER_EXPORT int included_ws_region(int index, int* labels, int width, int height, iqueue* q);
