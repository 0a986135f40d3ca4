#pragma once

// Fixed-capacity FIFO ring of ints that drives the breadth-first pixel passes.

#include "imagecore/vximage_export.h"

struct iqueue {
    int capacity;
    int count;
    int read_pos;
    int write_pos;
    int* values;
};

VXIMAGE_EXPORT iqueue* init_iqueue(int capacity);
VXIMAGE_EXPORT void delete_iqueue(iqueue* q);
VXIMAGE_EXPORT void reset_iqueue(iqueue* q);

inline int iqueue_empty(const iqueue* q)
{
    return q->count == 0;
}

// Returns 0 and drops the value when the queue is full.
inline int iqueue_put(int value, iqueue* q)
{
    if (q->count == q->capacity)
        return 0;
    q->values[q->write_pos] = value;
    if (++q->write_pos == q->capacity)
        q->write_pos = 0;
    ++q->count;
    return 1;
}

// Returns 0 and leaves *out untouched when the queue is empty.
inline int iqueue_get(int* out, iqueue* q)
{
    if (q->count == 0)
        return 0;
    *out = q->values[q->read_pos];
    if (++q->read_pos == q->capacity)
        q->read_pos = 0;
    --q->count;
    return 1;
}

// Like iqueue_put, but a full queue doubles its capacity (keeping its order)
// instead of dropping the value. For passes whose queue length has no bound
// known in advance.
VXIMAGE_EXPORT void iqueue_put_grow(int value, iqueue* q);
