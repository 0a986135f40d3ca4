#include "fuzz/memory_stream.h"
#include "imagecore/files/bg16.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* f = open_memory_stream(data, size);
    if (f == nullptr)
        return 0;
    image* img = nullptr;
    read_16bg_stream(f, &img);
    delete_image(img);
    std::fclose(f);
    return 0;
}
