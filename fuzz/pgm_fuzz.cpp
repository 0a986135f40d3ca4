#include <cstdlib>

#include "fuzz/memory_stream.h"
#include "imagecore/files/pgm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* f = open_memory_stream(data, size);
    if (f == nullptr)
        return 0;
    int* pixels = nullptr;
    int width = 0;
    int height = 0;
    if (parse_pgm_p5(f, &pixels, &width, &height) == PGM_OK)
        std::free(pixels);
    std::fclose(f);
    return 0;
}
