#include "imagecore/queue.h"

#include <cstdlib>
#include <cstring>

#include "imagecore/fatal.h"

iqueue* init_iqueue(int capacity)
{
    auto* q = static_cast<iqueue*>(std::malloc(sizeof(iqueue)));
    if (q == nullptr)
        vx_out_of_memory(exit_code::queue_out_of_memory,
                         "FATAL ERROR, morph_filter, queue, Not enough memory for Queue ");
    if (capacity < 1)
        capacity = 1;
    q->values = static_cast<int*>(std::malloc(sizeof(int) * static_cast<size_t>(capacity)));
    if (q->values == nullptr)
        vx_out_of_memory(exit_code::queue_out_of_memory,
                         "FATAL ERROR, morph_filter, queue ,Not enough memory for Queue");
    q->capacity = capacity;
    q->count = q->read_pos = q->write_pos = 0;
    return q;
}

void delete_iqueue(iqueue* q)
{
    if (q == nullptr)
        return;
    std::free(q->values);
    std::free(q);
}

void reset_iqueue(iqueue* q)
{
    q->count = q->read_pos = q->write_pos = 0;
}

void iqueue_put_grow(int value, iqueue* q)
{
    if (q->count == q->capacity) {
        const int old_capacity = q->capacity;
        const int new_capacity = old_capacity > (1 << 29) ? 0x7fffffff : old_capacity * 2;
        if (new_capacity == old_capacity)
            vx_out_of_memory(exit_code::queue_out_of_memory,
                             "FATAL ERROR, morph_filter, queue ,Not enough memory for Queue");
        int* values =
            static_cast<int*>(std::malloc(sizeof(int) * static_cast<size_t>(new_capacity)));
        if (values == nullptr)
            vx_out_of_memory(exit_code::queue_out_of_memory,
                             "FATAL ERROR, morph_filter, queue ,Not enough memory for Queue");
        // Unroll the ring so that the oldest value sits at slot 0.
        const int head = old_capacity - q->read_pos;
        std::memcpy(values, q->values + q->read_pos, sizeof(int) * static_cast<size_t>(head));
        std::memcpy(values + head, q->values, sizeof(int) * static_cast<size_t>(q->read_pos));
        std::free(q->values);
        q->values = values;
        q->capacity = new_capacity;
        q->read_pos = 0;
        q->write_pos = q->count;
    }
    iqueue_put(value, q);
}
