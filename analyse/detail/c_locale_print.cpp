#include "analyse/detail/c_locale_print.h"

#include <cstdarg>

#include "imagecore/text/c_locale.h"

namespace {

int c_vfprintf(FILE* out, const char* format, va_list args)
{
    CLocaleScope c_numbers;
    return std::vfprintf(out, format, args);
}

}  // namespace

int c_printf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int written = c_vfprintf(stdout, format, args);
    va_end(args);
    return written;
}

int c_fprintf(FILE* out, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int written = c_vfprintf(out, format, args);
    va_end(args);
    return written;
}
