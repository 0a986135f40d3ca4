#pragma once

#include <cstddef>

#include "imagecore/exit_codes.h"
#include "imagecore/vximage_export.h"

// Unrecoverable conditions print their message on standard output and end the
// process with an exit code that identifies the failure site: one of the named
// codes of imagecore/exit_codes.h, never a bare number.
[[noreturn]] VXIMAGE_EXPORT void vx_fatal(int code, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// The same, on standard error (used by the few sites whose messages go there).
[[noreturn]] VXIMAGE_EXPORT void vx_fatal_stderr(int code, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// calloc of count * size bytes; an overflowing product or a failed allocation
// ends the process through vx_fatal with the given code and message.
VXIMAGE_EXPORT void* vx_calloc(size_t count, size_t size, int code, const char* message);

// Number of pixels of a width x height image, or -1 when either side is
// negative or the product does not fit an int.
VXIMAGE_EXPORT long vx_pixel_count(long width, long height);
