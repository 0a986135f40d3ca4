#pragma once

#include <cstddef>

#include "imagecore/vximage_export.h"

// Number text that reads and writes the same whatever locale the process has
// set: a point is always the decimal separator.

// Like atoi and atof: leading white space is skipped, the longest number at
// the front is taken, 0 when there is none. Integers out of range are clamped
// to INT_MIN or INT_MAX.
VXIMAGE_EXPORT int vx_atoi(const char* text);
VXIMAGE_EXPORT double vx_atof(const char* text);

// Writes value like printf("%.*f", precision, value) into buf (NUL-terminated)
// and returns the length, or 0 (buf holding "") when it does not fit.
VXIMAGE_EXPORT size_t vx_format_fixed(char* buf, size_t capacity, double value, int precision);

// The text of value as printf("%f") writes it in the C locale, for messages:
// std::printf("%s", vx_fixed(x).text).
struct vx_fixed {
    char text[320];  // room for the longest "%f" of a double
    explicit vx_fixed(double value, int precision = 6)
    {
        vx_format_fixed(text, sizeof text, value, precision);
    }
};
