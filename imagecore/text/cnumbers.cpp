#include "imagecore/text/cnumbers.h"

#include "imagecore/text/c_locale.h"

#include <locale.h>
#include <stdlib.h>

#include <charconv>
#include <climits>

int vx_atoi(const char* text)
{
    if (text == nullptr)
        return 0;
    const long v = strtol_l(text, nullptr, 10, vx_c_locale());
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return static_cast<int>(v);
}

double vx_atof(const char* text)
{
    return text != nullptr ? strtod_l(text, nullptr, vx_c_locale()) : 0.0;
}

size_t vx_format_fixed(char* buf, size_t capacity, double value, int precision)
{
    if (capacity == 0)
        return 0;
    const auto res =
        std::to_chars(buf, buf + capacity - 1, value, std::chars_format::fixed, precision);
    if (res.ec != std::errc()) {
        buf[0] = '\0';
        return 0;
    }
    *res.ptr = '\0';
    return static_cast<size_t>(res.ptr - buf);
}
