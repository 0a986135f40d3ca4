#include "automation/detail/text.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "imagecore/files/checked_file.h"
#include "imagecore/report.h"
#include "imagecore/text/c_locale.h"
#include "imagecore/text/vxstringtools.h"

std::string c_format(const char* format, ...)
{
    CLocaleScope c_locale;
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int len = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (len > 0) {
        std::vector<char> buffer(static_cast<size_t>(len) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, again);
        text.assign(buffer.data(), static_cast<size_t>(len));
    }
    va_end(again);
    return text;
}

std::string trimmed(std::string text)
{
    text.resize(static_cast<size_t>(stripLeadingWhitespacesString(text.data())));
    return text;
}

bool whole_int(const std::string& text, int* value)
{
    const std::string digits = trimmed(text);
    if (digits.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(digits.c_str(), &end, 10);
    if (*end != '\0' || errno != 0 || parsed < INT_MIN || parsed > INT_MAX)
        return false;
    *value = static_cast<int>(parsed);
    return true;
}

bool labelled_int(const std::string& line, const char* label, int* value)
{
    const size_t n = std::strlen(label);
    return line.compare(0, n, label) == 0 && whole_int(line.substr(n), value);
}

void copy_cut(char* out, size_t capacity, const std::string& text, const char* who)
{
    if (capacity == 0)
        return;
    size_t n = text.size();
    if (n > capacity - 1) {
        n = capacity - 1;
        vx_report("%s: text of %zu characters cut to %zu\n", who, text.size(), n);
    }
    text.copy(out, n);
    out[n] = '\0';
}

bool read_text_line(FILE* f, std::string& line)
{
    line.clear();
    int c = std::getc(f);
    if (c == EOF)
        return false;
    while (c != EOF && c != '\n') {
        line.push_back(static_cast<char>(c));
        c = std::getc(f);
    }
    return true;
}

bool write_text_file(const std::string& path, const std::string& text)
{
    checked_file out(path.c_str(), "w");
    out.write(text);
    return out.close();
}
