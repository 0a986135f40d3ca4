#include "imagecore/text/detail/textcopy.h"

#include <cstdio>
#include <cstring>

#include "imagecore/report.h"

void vx_text_cut_message(const char* who, size_t len, size_t kept)
{
    vx_report("%s: text of %zu characters cut to %zu\n", who, len, kept);
}

size_t vx_copy_text(char* out, size_t capacity, const char* src, size_t len, const char* who)
{
    if (capacity == 0) {
        vx_text_cut_message(who, len, 0);
        return 0;
    }
    size_t n = len;
    if (n > capacity - 1) {
        n = capacity - 1;
        vx_text_cut_message(who, len, n);
    }
    std::memmove(out, src, n);
    out[n] = '\0';
    return n;
}
