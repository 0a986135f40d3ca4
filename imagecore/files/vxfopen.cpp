#include "imagecore/files/vxfopen.h"

#include <cstring>

#include "imagecore/report.h"

FILE* vxfopen(const char* path, const char* mode)
{
    // '/' is this platform's own separator, so the path is used as given.
    FILE* f = nullptr;
    if (std::strlen(path) <= static_cast<size_t>(VXFOPEN_MAX_PATH))
        f = std::fopen(path, mode);
    if (f == nullptr)
        vx_report("\nWARNING!!\n\nCould not Open File: %s with Mode: %s\n\nDANGER!!\n", path, mode);
    return f;
}
