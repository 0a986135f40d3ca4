#include "imagecore/report.h"

#include <cstdio>

#include "imagecore/text/c_locale.h"

void vx_vreport(const char* format, va_list args)
{
    CLocaleScope c_numbers;
    std::vprintf(format, args);
}

void vx_report(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vx_vreport(format, args);
    va_end(args);
}
