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

// Exhausted memory ends the process in the same way, with the code and
// message of the site that met it, as the batch programs expect. A program
// that can give up one computation instead, as the GUI gives up a run, holds
// an out_of_memory_recovery on the thread that starts it: while one is held
// there, exhaustion prints the same message and throws std::bad_alloc, which
// the holder catches once the computation's handles have freed what it held.
// The tree workers (filter/tree_workers.h) and the repository's tree threads
// take the setting of the thread that starts them.
[[noreturn]] VXIMAGE_EXPORT void vx_out_of_memory(int code, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

class VXIMAGE_EXPORT out_of_memory_recovery {
public:
    // recover false: exhaustion ends the process again within the scope.
    explicit out_of_memory_recovery(bool recover = true);
    // Gives the calling thread its setting from before.
    ~out_of_memory_recovery();
    out_of_memory_recovery(const out_of_memory_recovery&) = delete;
    out_of_memory_recovery& operator=(const out_of_memory_recovery&) = delete;

    // Whether exhaustion met on the calling thread throws.
    static bool active();

private:
    bool previous_;
};

// calloc of count * size bytes; an overflowing product or a failed allocation
// is exhausted memory (vx_out_of_memory) with the given code and message.
VXIMAGE_EXPORT void* vx_calloc(size_t count, size_t size, int code, const char* message);

// Number of pixels of a width x height image, or -1 when either side is
// negative or the product does not fit an int.
VXIMAGE_EXPORT long vx_pixel_count(long width, long height);
