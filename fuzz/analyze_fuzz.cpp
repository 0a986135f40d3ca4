#include <cstdlib>
#include <cstring>

#include "fuzz/memory_stream.h"
#include "imagecore/files/analyze.h"

// The input is a header followed by the voxels of the image file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < static_cast<size_t>(ANALYZE_HEADER_SIZE))
        return 0;
    unsigned char bytes[ANALYZE_HEADER_SIZE];
    std::memcpy(bytes, data, sizeof bytes);
    analyze_header h;
    parse_analyze_header(bytes, &h);
    const long count = analyze_voxel_count(&h);
    if (count < 0)
        return 0;
    FILE* f = open_memory_stream(data + sizeof bytes, size - sizeof bytes);
    if (f == nullptr)
        return 0;
    int* voxels = nullptr;
    read_analyze_voxels(f, static_cast<int>(count), h.datatype, &voxels);
    std::free(voxels);
    std::fclose(f);
    return 0;
}
