#pragma once

#include <clocale>
#include <locale.h>

// Switches the calling thread to the C locale for the lifetime of the object,
// so that numbers are printed and parsed alike whatever locale the program
// (or its GUI toolkit) has set.
class CLocaleScope {
public:
    CLocaleScope() : previous_(uselocale(c_locale())) {}
    ~CLocaleScope() { uselocale(previous_); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    static locale_t c_locale()
    {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        return c;
    }
    locale_t previous_;
};
