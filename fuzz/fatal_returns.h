#pragma once

// Included by one source of a fuzz target whose readers end the process on
// some inputs: such an end throws process_end back to the fuzz entry point,
// which catches it as an ordinary outcome, so that the inputs after it are
// still tried. This definition takes the place of the library's.

#include <cstdarg>
#include <cstdio>

#include "imagecore/fatal.h"

struct process_end {
    int code;
};

void vx_fatal(int code, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    throw process_end{code};
}
