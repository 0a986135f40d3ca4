#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// A read-only stdio stream over fuzzer input, so that the readers' own stream
// parsers see exactly the bytes of a file. Null for empty input.
inline FILE* open_memory_stream(const uint8_t* data, size_t size)
{
    if (size == 0)
        return nullptr;
    return fmemopen(const_cast<uint8_t*>(data), size, "rb");
}
