#include "imagecore/fatal.h"

#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

void vx_fatal(int code, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
    std::exit(code);
}

void vx_fatal_stderr(int code, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fflush(stderr);
    std::exit(code);
}

void* vx_calloc(size_t count, size_t size, int code, const char* message)
{
    if (size != 0 && count > SIZE_MAX / size)
        vx_fatal(code, "%s", message);
    void* p = std::calloc(count == 0 ? 1 : count, size == 0 ? 1 : size);
    if (p == nullptr)
        vx_fatal(code, "%s", message);
    return p;
}

long vx_pixel_count(long width, long height)
{
    if (width < 0 || height < 0)
        return -1;
    if (height != 0 && width > INT_MAX / height)
        return -1;
    return width * height;
}
