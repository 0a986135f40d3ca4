// Separated-value text: fields taken one by one off the front of a line,
// whole lines split into arrays, and fields read from files.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "imagecore/fatal.h"
#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"
#include "imagecore/text/cnumbers.h"
#include "imagecore/text/detail/textcopy.h"
#include "imagecore/text/vxstringtools.h"

namespace {

bool is_blank(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u <= ' ' || u == 127;
}

// First sep in s; null when there is none. NUL is never a separator (it
// ends the text).
const char* find_sep(const char* s, char sep)
{
    return sep != '\0' ? std::strchr(s, sep) : nullptr;
}

size_t field_length(const char* s, char sep)
{
    const char* p = find_sep(s, sep);
    return p != nullptr ? static_cast<size_t>(p - s) : std::strlen(s);
}

// Removes the first field (len characters) and the separator after it from
// s, then strips what is left.
void drop_field(char* s, size_t len)
{
    const size_t skip = len + (s[len] != '\0' ? 1 : 0);
    std::memmove(s, s + skip, std::strlen(s + skip) + 1);
    stripLeadingWhitespacesString(s);
}

int count_char(const char* s, char c)
{
    int n = 0;
    if (c != '\0')
        for (const char* p = s; *p != '\0'; ++p)
            n += *p == c ? 1 : 0;
    return n;
}

template <typename T, typename Convert>
T take_number(char* s, char sep, const char* complaint, Convert convert)
{
    if (s == nullptr)
        return T{};
    const size_t len = field_length(s, sep);
    T value{};
    if (len > static_cast<size_t>(VX_MAX_NUMBER_FIELD)) {
        vx_report("%s\n", complaint);
    } else {
        char field[VX_MAX_NUMBER_FIELD + 1];
        std::memcpy(field, s, len);
        field[len] = '\0';
        value = convert(field);
    }
    drop_field(s, len);
    return value;
}

char* duplicate(const char* s)
{
    const size_t len = std::strlen(s);
    auto* copy = static_cast<char*>(
        vx_calloc(len + 1, 1, exit_code::out_of_memory, " Not enough Mem for a text copy\n"));
    std::memcpy(copy, s, len);
    return copy;
}

}  // namespace

int stripLeadingWhitespacesString(char* s)
{
    if (s == nullptr)
        return 0;
    size_t start = 0;
    while (s[start] != '\0' && is_blank(s[start]))
        ++start;
    size_t end = start + std::strlen(s + start);
    while (end > start && is_blank(s[end - 1]))
        --end;
    std::memmove(s, s + start, end - start);
    s[end - start] = '\0';
    return static_cast<int>(end - start);
}

int StringStrapSepInt(char* s, char sep)
{
    return take_number<int>(s, sep, " This does not seem to be a valid Int", vx_atoi);
}

double StringStrapSepDouble(char* s, char sep)
{
    return take_number<double>(s, sep, " This does not seem to be a valid double", vx_atof);
}

void StringStrapSepString(char* s, char* field, size_t capacity, char sep)
{
    if (s == nullptr || field == nullptr)
        return;
    const size_t len = field_length(s, sep);
    size_t start = 0;
    size_t end = len;
    while (start < end && is_blank(s[start]))
        ++start;
    while (end > start && is_blank(s[end - 1]))
        --end;
    vx_copy_text(field, capacity, s + start, end - start, "StringStrapSepString");
    drop_field(s, len);
}

int toIntArray(const char* s, int** out, char sep)
{
    if (out != nullptr)
        *out = nullptr;
    if (s == nullptr || *s == '\0' || out == nullptr)
        return 0;
    const int n = 1 + count_char(s, sep);
    auto* values = static_cast<int*>(vx_calloc(static_cast<size_t>(n) + 10, sizeof(int),
                                               exit_code::out_of_memory,
                                               " Not enough Mem for an int array\n"));
    char* copy = duplicate(s);
    for (int i = 0; i < n; ++i)
        values[i] = StringStrapSepInt(copy, sep);
    std::free(copy);
    *out = values;
    return n;
}

char** toStringArray(const char* s, char sep, int* n)
{
    if (n != nullptr)
        *n = 0;
    if (s == nullptr || *s == '\0' || n == nullptr)
        return nullptr;
    const int count = 1 + count_char(s, sep);
    size_t longest = 0;
    for (const char* p = s;;) {
        const size_t len = field_length(p, sep);
        longest = len > longest ? len : longest;
        if (p[len] == '\0')
            break;
        p += len + 1;
    }
    const char* msg = " Not enough Mem for a string array\n";
    auto** fields = static_cast<char**>(
        vx_calloc(static_cast<size_t>(count), sizeof(char*), exit_code::out_of_memory, msg));
    char* copy = duplicate(s);
    for (int i = 0; i < count; ++i) {
        fields[i] = static_cast<char*>(vx_calloc(longest + 1, 1, exit_code::out_of_memory, msg));
        StringStrapSepString(copy, fields[i], longest + 1, sep);
    }
    std::free(copy);
    *n = count;
    return fields;
}

void getSepSuffix(const char* s, char* out, size_t capacity, char sep)
{
    if (s == nullptr)
        return;
    const char* p = find_sep(s, sep);
    const char* suffix = p != nullptr ? p + 1 : "";
    vx_copy_text(out, capacity, suffix, std::strlen(suffix), "getSepSuffix");
}

void getSepPrefix(const char* s, char* out, size_t capacity, char sep)
{
    if (s == nullptr)
        return;
    const char* p = sep != '\0' ? std::strrchr(s, sep) : nullptr;
    const size_t len = p != nullptr ? static_cast<size_t>(p - s) : 0;
    vx_copy_text(out, capacity, s, len, "getSepPrefix");
}

int readSepLineFromFile(FILE* f, char* out, size_t capacity, char sep)
{
    size_t stored = 0;
    size_t seen = 0;
    if (f != nullptr) {
        const int stop = static_cast<unsigned char>(sep);
        for (int c = std::getc(f); c != EOF && c != stop; c = std::getc(f)) {
            if (stored + 1 < capacity)
                out[stored++] = static_cast<char>(c);
            ++seen;
        }
    }
    if (capacity > 0)
        out[stored] = '\0';
    if (seen > stored)
        vx_text_cut_message("readSepLineFromFile", seen, stored);
    return static_cast<int>(stored);
}

int scanSepFile(const char* path, char sep, int* longest, int* count)
{
    if (path == nullptr)
        return -1;
    FILE* f = vxfopen(path, "r");
    if (f == nullptr)
        return -1;
    const int mark = static_cast<unsigned char>(sep);
    long long seps = 0;
    long long run = 0;
    long long most = 0;
    for (int c = std::getc(f); c != EOF; c = std::getc(f)) {
        if (c == mark) {
            ++seps;
            run = 0;
        } else if (++run > most) {
            most = run;
        }
    }
    std::fclose(f);
    const int n = seps > INT_MAX ? INT_MAX : static_cast<int>(seps);
    if (longest != nullptr)
        *longest = most > INT_MAX ? INT_MAX : static_cast<int>(most);
    if (count != nullptr)
        *count = n;
    return n;
}
