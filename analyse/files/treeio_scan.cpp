#include <algorithm>
#include <climits>
#include <cstdio>

#include "analyse/files/treeio.h"

namespace {

// Line-start tag search of the seek helpers: reads on to the next line
// beginning with `tag`, then reads the number after it when `number` is
// given. False at the end of the file.
bool seek_line(FILE* f, const char* tag, int* number)
{
    for (;;) {
        const char* p = tag;
        int c = std::getc(f);
        while (*p != 0 && c == static_cast<unsigned char>(*p)) {
            ++p;
            c = std::getc(f);
        }
        if (*p == 0) {
            std::ungetc(c, f);
            if (number == nullptr || vxfscanf(f, "%d", number) == 'd')
                return true;
            c = std::getc(f);
        }
        while (c != '\n' && c != EOF)
            c = std::getc(f);
        if (c == EOF)
            return false;
    }
}

}  // namespace

int seek_node_by_number(FILE* f, int n)
{
    int number = -1;
    while (seek_line(f, "Node: ", &number))
        if (number == n)
            return n;
    return -1;
}

int seek_contour_size(FILE* f)
{
    int number = -1;
    return seek_line(f, "Contour Size: ", &number) ? number : -1;
}

int seek_contour_tag(FILE* f)
{
    return seek_line(f, "Contour:", nullptr) ? 0 : -1;
}

int vxfscanf(FILE* f, const char* format, int* out)
{
    int last = 0;
    for (const char* p = format; *p != 0; ++p) {
        if (p[0] == '%' && (p[1] == 'd' || p[1] == 'f')) {
            const bool integer = p[1] == 'd';
            long value = 0;
            int digits = 0;
            bool leading = true;
            int c = std::getc(f);
            while (integer ? (c >= '0' && c <= ';')
                           : ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' ||
                              c == 'e' || c == 'E')) {
                // Like atoi: the value of the leading digits.
                if (leading && c <= '9') {
                    value = std::min<long>(value * 10 + (c - '0'), static_cast<long>(INT_MAX) + 1);
                    ++digits;
                } else if (c > '9') {
                    leading = false;
                }
                c = std::getc(f);
            }
            if (c != EOF)
                std::ungetc(c, f);
            if (integer && digits == 0)
                return last;
            if (integer)
                *out = static_cast<int>(std::min<long>(value, INT_MAX));
            last = *++p;
            continue;
        }
        const int c = std::getc(f);
        if (c != static_cast<unsigned char>(*p)) {
            if (c != EOF)
                std::ungetc(c, f);
            return last;
        }
        last = static_cast<unsigned char>(*p);
    }
    return last;
}
