#include "imagecore/files/vxfopen.h"

#include <cerrno>
#include <cstring>

#include "imagecore/report.h"

FILE* vxfopen(const char* path, const char* mode)
{
    // '/' is this platform's own separator, so the path is used as given.
    const bool fits = std::strlen(path) <= static_cast<size_t>(VXFOPEN_MAX_PATH);
    FILE* f = fits ? std::fopen(path, mode) : nullptr;
    if (f == nullptr) {
        // Printing the warning may change errno, which tells the caller why.
        const int error = fits ? errno : ENAMETOOLONG;
        vx_report("\nWARNING!!\n\nCould not Open File: %s with Mode: %s\n\nDANGER!!\n", path, mode);
        errno = error;
    }
    return f;
}
