#pragma once

// Shared machinery of the contour tracers (queued and scan forms) and the
// region-tree builder. Not part of the library's interface.

#include "imagecore/image.h"
#include "imagecore/queue.h"

struct walk_counts {
    int straight = 0;
    int diagonal = 0;
    int left = 0;
    int right = 0;
    int ahead = 0;
};

inline void queue_push(int value, iqueue* q)
{
    if (!iqueue_put(value, q))
        iqueue_put_grow(value, q);
}

// tracer_queued with the start search beginning at `scan_from`: the builder
// knows where each label first occurs, and no earlier pixel can hold it.
int trace_outer_contour_queued(image* labels, int row, int column, int value, int scan_from,
                               walk_counts* counts, int* contour_size, int conn,
                               iqueue* contour_queue);
