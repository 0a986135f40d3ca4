// Feeds arbitrary bytes to the Kohonen vector-set reader.
#include <cstdint>
#include <cstdio>

#include "analyse/vectors/vectorfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "r");
    if (f == nullptr)
        return 0;
    delete_vector_array(load_kohonen_vector_set_from(f, "fuzz input"));
    std::fclose(f);
    return 0;
}
