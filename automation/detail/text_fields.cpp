#include "automation/detail/text_fields.h"

#include <sys/types.h>

#include <charconv>
#include <cstdlib>
#include <cstring>

#include "imagecore/text/vxstringtools.h"

namespace {

template <typename T>
bool parse_whole(const char* text, T& out)
{
    const char* first = text;
    const char* last = text + std::strlen(text);
    if (first != last && *first == '+')
        ++first;
    T value{};
    const auto res = std::from_chars(first, last, value);
    if (res.ec != std::errc() || res.ptr != last || first == last)
        return false;
    out = value;
    return true;
}

}  // namespace

line_reader::~line_reader()
{
    std::free(buffer_);
}

bool line_reader::next()
{
    const ssize_t n = getline(&buffer_, &capacity_, file_);
    if (n < 0)
        return false;
    if (n > 0 && buffer_[n - 1] == '\n')
        buffer_[n - 1] = '\0';
    return true;
}

void split_fields(char* line, char sep, std::vector<char*>& fields)
{
    split_fields_from_right(line, sep, 0, fields);
}

void split_fields_from_right(char* line, char sep, size_t count, std::vector<char*>& fields)
{
    size_t surplus = 0;  // separators the first field keeps
    if (count > 0 && sep != '\0') {
        for (const char* at = line; (at = std::strchr(at, sep)) != nullptr; ++at)
            ++surplus;
        surplus = surplus >= count ? surplus - (count - 1) : 0;
    }
    fields.clear();
    for (char *field = line, *from = line;;) {
        char* end = sep != '\0' ? std::strchr(from, sep) : nullptr;
        if (end != nullptr && surplus > 0) {
            --surplus;
            from = end + 1;
            continue;
        }
        if (end != nullptr)
            *end = '\0';
        stripLeadingWhitespacesString(field);
        fields.push_back(field);
        if (end == nullptr)
            break;
        field = from = end + 1;
    }
}

bool parse_whole_int(const char* text, int& out)
{
    return parse_whole(text, out);
}

bool parse_whole_double(const char* text, double& out)
{
    return parse_whole(text, out);
}
