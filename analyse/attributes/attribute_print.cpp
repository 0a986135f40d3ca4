#include "analyse/attributes/attribute_print.h"

#include <cstring>
#include <vector>

#include "analyse/fourier/fourier_coefficients.h"
#include "analyse/fourier/lFouriercontour.h"
#include "imagecore/text/cnumbers.h"

namespace {

// Writes at the end of the buffer's text and remembers where it began, so
// that trailing separators are taken back only from what it wrote itself.
class appender {
public:
    explicit appender(char* buffer) : start_(buffer + std::strlen(buffer)), end_(start_) {}

    appender& text(const char* s, size_t max)
    {
        const size_t k = strnlen(s, max);
        std::memcpy(end_, s, k);
        end_ += k;
        *end_ = '\0';
        return *this;
    }
    appender& text(const char* s) { return text(s, std::strlen(s)); }
    appender& name(const attrib_entry& e) { return text(e.name, sizeof e.name); }
    appender& put(char c)
    {
        *end_++ = c;
        *end_ = '\0';
        return *this;
    }
    // Removes the last k characters, if this appender wrote as many.
    void drop(size_t k)
    {
        if (static_cast<size_t>(end_ - start_) >= k) {
            end_ -= k;
            *end_ = '\0';
        }
    }

private:
    char* start_;
    char* end_;
};

// The value as "%d", "%f" or "%s" prints it in the C locale; empty for an
// entry never set.
struct value_text {
    char text[330] = "";
    explicit value_text(const attrib_entry& e)
    {
        switch (e.type) {
        case ATTRIB_INT: std::snprintf(text, sizeof text, "%d", e.ivalue); break;
        case ATTRIB_DOUBLE: vx_format_fixed(text, sizeof text, e.dvalue, 6); break;
        case ATTRIB_STRING:
            std::snprintf(text, sizeof text, "%.*s", static_cast<int>(sizeof e.svalue) - 1,
                          e.svalue);
            break;
        default: break;
        }
    }
    bool empty() const { return text[0] == '\0'; }
};

bool is_number(const attrib_entry& e)
{
    return e.type == ATTRIB_INT || e.type == ATTRIB_DOUBLE;
}

int capacity_of(const attrib_array* vector)
{
    return vector != nullptr && vector->capacity > 0 ? vector->capacity : 0;
}

// Calls visit(entry) for every listed index inside the vector whose entry is
// a number.
template <class Visit>
void for_selected_numbers(const attrib_array* vector, const int* indices, int n, Visit visit)
{
    if (indices == nullptr)
        return;
    for (int k = 0; k < n; ++k) {
        const int i = indices[k];
        if (i >= 0 && i < capacity_of(vector) && is_number(vector->entries[i]))
            visit(vector->entries[i]);
    }
}

void print_names(const attrib_array* vector, appender& out, char separator, bool blank)
{
    for (int i = 0; i < capacity_of(vector); ++i) {
        out.name(vector->entries[i]).put(separator);
        if (blank)
            out.put(' ');
    }
}

void print_values(const attrib_array* vector, appender& out, char separator, bool blank)
{
    for (int i = 0; i < capacity_of(vector); ++i) {
        const value_text v(vector->entries[i]);
        if (v.empty())
            continue;
        out.text(v.text).put(separator);
        if (blank)
            out.put(' ');
    }
}

}  // namespace

void print_attribs(const attrib_array* vector, char* buffer)
{
    appender out(buffer);
    for (int i = 0; i < capacity_of(vector); ++i) {
        const value_text v(vector->entries[i]);
        if (!v.empty())
            out.name(vector->entries[i]).text(": ").text(v.text).put('\n');
    }
}

void file_print_attribnames(const attrib_array* vector, FILE* file)
{
    for (int i = 0; i < capacity_of(vector); ++i)
        std::fprintf(file, "%.*s, ", static_cast<int>(sizeof vector->entries[i].name),
                     vector->entries[i].name);
    std::fputc('\n', file);
}

void file_print_attribs(const attrib_array* vector, FILE* file)
{
    for (int i = 0; i < capacity_of(vector); ++i) {
        const value_text v(vector->entries[i]);
        if (!v.empty())
            std::fprintf(file, "%s, ", v.text);
    }
    std::fputc('\n', file);
}

void buffer_print_attribnames(const attrib_array* vector, char* buffer, char separator)
{
    appender out(buffer);
    print_names(vector, out, separator, true);
    out.drop(2);
}

void buffer_print_attribs(const attrib_array* vector, char* buffer, char separator)
{
    appender out(buffer);
    print_values(vector, out, separator, true);
    out.drop(2);
}

int buffer_sep_print_attribnames(const attrib_array* vector, char* buffer, char separator)
{
    buffer[0] = '\0';
    appender out(buffer);
    print_names(vector, out, separator, false);
    return capacity_of(vector);
}

int buffer_print_sep_attribs(const attrib_array* vector, char* buffer, char separator)
{
    buffer[0] = '\0';
    appender out(buffer);
    print_values(vector, out, separator, false);
    return capacity_of(vector);
}

int buffer_get_attritypes(const attrib_array* vector, char* buffer)
{
    for (int i = 0; i < capacity_of(vector); ++i) {
        const attrib_entry& e = vector->entries[i];
        buffer[i] = is_number(e) ? 1 : e.type == ATTRIB_STRING ? 3 : 0;
    }
    return capacity_of(vector);
}

int buffer_print_attrib(const attrib_array* vector, char* buffer, int index)
{
    if (index < 0 || index >= capacity_of(vector))
        return -1;
    std::strcpy(buffer, value_text(vector->entries[index]).text);
    return index;
}

void buffer_print_c4_5_selected_attribnames(const attrib_array* vector, char* buffer,
                                            const int* indices, int n)
{
    appender out(buffer);
    for_selected_numbers(vector, indices, n,
                         [&out](const attrib_entry& e) { out.name(e).text(": continuous.\n"); });
}

void buffer_csv_print_selected_attribnames(const attrib_array* vector, char* buffer,
                                           const int* indices, int n)
{
    appender out(buffer);
    for_selected_numbers(vector, indices, n,
                         [&out](const attrib_entry& e) { out.name(e).put(','); });
    out.drop(1);
}

void buffer_print_c4_5_selected_attribs(const attrib_array* vector, char* buffer,
                                        const int* indices, int n)
{
    appender out(buffer);
    for_selected_numbers(vector, indices, n,
                         [&out](const attrib_entry& e) { out.text(value_text(e).text).put(','); });
    out.drop(1);
}

int buffer_get_fds(char* buffer, const tregionnode* region, int n, int width)
{
    if (n < 1)
        return 0;
    const int length = region != nullptr && region->contour != nullptr ? region->contour_size : 0;
    const int samples = pow_of_2_samples(length);
    // A contour of one point has no shape to describe.
    const bool described = length >= 2 && samples >= 2;
    std::vector<double> work(described ? 6 * static_cast<size_t>(samples) : 0);
    const double* ordered = nullptr;
    if (described) {
        double* w = work.data();
        const size_t s = static_cast<size_t>(samples);
        fftcoeffs(region->contour, width, length, samples, w, w + s, w + 2 * s, w + 3 * s,
                  w + 4 * s, w + 5 * s);
        ordered = w + 4 * s;
    }
    appender out(buffer);
    for (int i = 0; i < n; ++i)
        out.text(vx_fixed(ordered != nullptr && i < samples ? ordered[i] : 0.0).text).text(", ");
    out.drop(2);
    return n;
}
