#include "imagecore/fatal.h"

#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "imagecore/report.h"

namespace {

thread_local bool recovering = false;

[[noreturn]] void vfatal(int code, const char* format, va_list args)
{
    std::vprintf(format, args);
    std::fflush(stdout);
    std::exit(code);
}

}  // namespace

void vx_fatal(int code, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vfatal(code, format, args);
}

void vx_out_of_memory(int code, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    if (!recovering)
        vfatal(code, format, args);
    // On the stack: the heap has nothing left.
    char message[512];
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    const size_t length = std::strlen(message);
    vx_report("%s%s", message, length > 0 && message[length - 1] == '\n' ? "" : "\n");
    throw std::bad_alloc();
}

out_of_memory_recovery::out_of_memory_recovery(bool recover) : previous_(recovering)
{
    recovering = recover;
}

out_of_memory_recovery::~out_of_memory_recovery()
{
    recovering = previous_;
}

bool out_of_memory_recovery::active()
{
    return recovering;
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
        vx_out_of_memory(code, "%s", message);
    void* p = std::calloc(count == 0 ? 1 : count, size == 0 ? 1 : size);
    if (p == nullptr)
        vx_out_of_memory(code, "%s", message);
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
