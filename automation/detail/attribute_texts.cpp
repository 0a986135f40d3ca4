#include "automation/detail/attribute_texts.h"

#include <algorithm>
#include <vector>

#include "analyse/attributes/attribute_print.h"

namespace {

// Room for one entry: a name (at most 28 characters), the longest "%f" of a
// double (329) and the longest decoration (": continuous.\n").
constexpr size_t kEntryRoom = 400;

// Runs the printer on a buffer with room for `entries` entries.
template <class Print>
std::string printed(size_t entries, Print print)
{
    std::vector<char> buffer((entries + 1) * kEntryRoom, '\0');
    print(buffer.data());
    return buffer.data();
}

size_t entries_of(const attrib_array* vector)
{
    return vector != nullptr && vector->capacity > 0 ? static_cast<size_t>(vector->capacity) : 0;
}

// A selection may name an entry more than once, so its room is counted by
// the selection.
size_t selected_entries(int n)
{
    return static_cast<size_t>(std::max(n, 0));
}

}  // namespace

std::string attribute_names_text(const attrib_array* vector, char separator)
{
    return printed(entries_of(vector),
                   [&](char* b) { buffer_print_attribnames(vector, b, separator); });
}

std::string attribute_values_text(const attrib_array* vector, char separator)
{
    return printed(entries_of(vector),
                   [&](char* b) { buffer_print_attribs(vector, b, separator); });
}

std::string selected_names_text(const attrib_array* vector, const int* indices, int n)
{
    return printed(selected_entries(n),
                   [&](char* b) { buffer_csv_print_selected_attribnames(vector, b, indices, n); });
}

std::string selected_values_text(const attrib_array* vector, const int* indices, int n)
{
    return printed(selected_entries(n),
                   [&](char* b) { buffer_print_c4_5_selected_attribs(vector, b, indices, n); });
}

std::string c4_5_names_text(const attrib_array* vector, const int* indices, int n)
{
    return printed(selected_entries(n),
                   [&](char* b) { buffer_print_c4_5_selected_attribnames(vector, b, indices, n); });
}
