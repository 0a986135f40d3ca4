#pragma once

#include "imagecore/vximage_export.h"

// Non-fatal diagnostics: one formatted text on standard output, as plain
// lines without levels. Every library reports through here, so where the
// messages go is decided in one place.
VXIMAGE_EXPORT void vx_report(const char* format, ...) __attribute__((format(printf, 1, 2)));
