#pragma once

#include <cstdarg>

#include "imagecore/vximage_export.h"

// Non-fatal diagnostics (failures, refusals, trace lines): one formatted text
// on standard output, as plain lines without levels. Every library reports
// through here, so where the messages go is decided in one place. Numbers are
// formatted in the C locale whatever locale the process has set. Functions
// whose purpose is printing (of attributes, rule programs, templates) and the
// fatal conditions (imagecore/fatal.h) write on their own.
VXIMAGE_EXPORT void vx_report(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The same for a caller that holds its arguments as a va_list.
VXIMAGE_EXPORT void vx_vreport(const char* format, va_list args)
    __attribute__((format(printf, 1, 0)));
