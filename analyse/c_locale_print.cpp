#include "analyse/c_locale_print.h"

#include <clocale>
#include <cstdarg>
#include <locale.h>

namespace {

int c_vfprintf(FILE* out, const char* format, va_list args)
{
    static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    // uselocale changes the calling thread's locale only, so other threads
    // keep theirs while this one formats.
    const locale_t previous = uselocale(c_locale);
    const int written = std::vfprintf(out, format, args);
    uselocale(previous);
    return written;
}

}  // namespace

int c_printf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int written = c_vfprintf(stdout, format, args);
    va_end(args);
    return written;
}

int c_fprintf(FILE* out, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int written = c_vfprintf(out, format, args);
    va_end(args);
    return written;
}
