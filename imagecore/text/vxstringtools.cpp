// File names and plain strings; the separated-value readers are in
// sepvalues.cpp.
#include "imagecore/text/vxstringtools.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "imagecore/text/detail/textcopy.h"

namespace {

bool is_separator(char c)
{
    return c == '/' || c == '\\';
}

// Index just past the last separator of path, 0 when it has none.
size_t name_start(const char* path)
{
    size_t start = 0;
    for (size_t i = 0; path[i] != '\0'; ++i)
        if (is_separator(path[i]))
            start = i + 1;
    return start;
}

}  // namespace

void truncateFileName(const char* path, char* out, size_t capacity)
{
    if (path == nullptr)
        return;
    const char* name = path + name_start(path);
    vx_copy_text(out, capacity, name, std::strlen(name), "truncateFileName");
}

void truncatePathName(const char* path, char* out, size_t capacity)
{
    if (path == nullptr)
        return;
    const size_t start = name_start(path);
    if (start == 0)
        vx_copy_text(out, capacity, "./", 2, "truncatePathName");
    else
        vx_copy_text(out, capacity, path, start, "truncatePathName");
}

void getDotStem(const char* path, char* out, size_t capacity)
{
    if (path == nullptr)
        return;
    const char* name = path + name_start(path);
    const char* dot = std::strrchr(name, '.');
    const size_t len = dot != nullptr ? static_cast<size_t>(dot - name) : std::strlen(name);
    vx_copy_text(out, capacity, name, len, "getDotStem");
}

int findSubString(const char* s, const char* sub)
{
    if (s == nullptr || sub == nullptr)
        return -1;
    const char* hit = std::strstr(s, sub);
    return hit != nullptr ? static_cast<int>(hit - s) : -1;
}

int inStringArray(const char* s, char** array, int n)
{
    if (s == nullptr || array == nullptr)
        return -1;
    for (int i = 0; i < n; ++i)
        if (array[i] != nullptr && std::strcmp(array[i], s) == 0)
            return i;
    return -1;
}

char* vxstrupr(char* s)
{
    if (s == nullptr)
        return s;
    for (char* p = s; *p != '\0'; ++p)
        if (*p >= 'a' && *p <= 'z')
            *p = static_cast<char>(*p - 'a' + 'A');
    return s;
}

void prepend(const char* prefix, char* s, size_t capacity)
{
    if (prefix == nullptr || s == nullptr)
        return;
    const std::string joined = std::string(prefix) + s;
    vx_copy_text(s, capacity, joined.data(), joined.size(), "prepend");
}

int getDigits(int value, int base)
{
    if (base < 2)
        return -1;
    long long v = value < 0 ? -static_cast<long long>(value) : value;
    int digits = 1;
    while (v >= base) {
        v /= base;
        ++digits;
    }
    return digits;
}

void leadingDecimalZeros(char* out, size_t capacity, int value, int width)
{
    // Digits beyond the capacity would be cut anyway.
    const int w =
        width < 0 ? 0
                  : (static_cast<size_t>(width) > capacity ? static_cast<int>(capacity) : width);
    std::string text(static_cast<size_t>(w) + 16, '\0');
    const int len = std::snprintf(text.data(), text.size(), "%0*d", w, value);
    vx_copy_text(out, capacity, text.data(), static_cast<size_t>(len), "leadingDecimalZeros");
}
