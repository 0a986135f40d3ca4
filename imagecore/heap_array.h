#pragma once

#include <cstdlib>
#include <memory>

#include "imagecore/fatal.h"

// Zeroed heap array of a trivial type, freed with its owner. A failed
// allocation is exhausted memory (vx_out_of_memory) with the given code and
// message, as every allocation of the library is.
struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

template <class T>
using heap_array = std::unique_ptr<T[], FreeDeleter>;

template <class T>
heap_array<T> make_heap_array(size_t count, int code, const char* message)
{
    return heap_array<T>(static_cast<T*>(vx_calloc(count, sizeof(T), code, message)));
}
