#pragma once

#include <locale.h>

#include "imagecore/vximage_export.h"

// The "C" locale, made once for the process. Numbers are read and written with
// it whatever locale the program (or its GUI toolkit) has set.
VXIMAGE_EXPORT locale_t vx_c_locale();

// Switches the calling thread to the C locale for the lifetime of the object,
// so that printf-style output writes a point as the decimal separator. Only
// the calling thread is affected.
class CLocaleScope {
public:
    CLocaleScope() : previous_(uselocale(vx_c_locale())) {}
    ~CLocaleScope() { uselocale(previous_); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t previous_;
};
