#include <climits>
#include <cstring>
#include <vector>

#include "analyse/attributes/attribute_print.h"
#include "analyse/attributes/attributes.h"
#include "automation/detail/text_fields.h"
#include "automation/tables/detail/table_storage.h"
#include "automation/tables/vxtable.h"
#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"

namespace {

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

// A first-line field that makes its column a double column.
bool is_number_field(const char* field)
{
    double value = 0.0;
    return (is_digit(field[0]) || field[0] == '-') && parse_whole_double(field, value);
}

// The separator of a header line: the given one, unless the header holds
// none of it but ';' and no ',', as the tables written by writeCSV do.
char header_separator(const char* header, char separator)
{
    if (std::strchr(header, separator) == nullptr && std::strchr(header, ';') != nullptr &&
        std::strchr(header, ',') == nullptr)
        return ';';
    return separator;
}

}  // namespace

VxTable::VxTable(const char* file, char separator) : data_(new storage)
{
    FILE* f = file != nullptr ? vxfopen(file, "r") : nullptr;
    if (f == nullptr) {
        vx_report("VxTable Could not open File %s for Table input\n",
                  file != nullptr ? file : "(null)");
        return;
    }
    data_->file = file;
    line_reader lines(f);
    std::vector<char*> fields;
    if (lines.next()) {
        separator = header_separator(lines.text(), separator);
        split_fields(lines.text(), separator, fields);
        data_->names.assign(fields.begin(), fields.end());
    }
    const size_t columns = data_->names.size();
    // A file name stands first in the tables the program writes: a row with
    // more separators than the header leaves the surplus to its first column.
    while (data_->rows < INT_MAX && lines.next()) {
        split_fields_from_right(lines.text(), separator, columns, fields);
        if (data_->rows == 0)
            for (size_t c = 0; c < columns; ++c)
                data_->columns.emplace_back(
                    c < fields.size() && is_number_field(fields[c]) ? DOUBLE : TEXT, 0);
        const int row = data_->rows++;
        for (table_column& c : data_->columns)
            c.resize(static_cast<size_t>(data_->rows));
        for (size_t c = 0; c < columns && c < fields.size(); ++c)
            data_->store(row, static_cast<int>(c), fields[c]);
    }
    // A header without data lines gives text columns.
    while (data_->columns.size() < columns)
        data_->columns.emplace_back(TEXT, 0);
    std::fclose(f);
}

VxTable::VxTable(tregionnode** nodes, unsigned n) : data_(new storage)
{
    const attrib_array* first =
        nodes != nullptr && n > 0 && nodes[0] != nullptr ? nodes[0]->attribs : nullptr;
    const int count = first != nullptr && first->capacity > 0 ? first->capacity : 0;
    if (count == 0)
        return;
    std::vector<char> text(static_cast<size_t>(count) * (ATTRIB_NAME_MAX + 1) + 1, '\0');
    buffer_sep_print_attribnames(first, text.data(), ',');
    std::vector<char*> names;
    split_fields(text.data(), ',', names);
    std::vector<char> types(static_cast<size_t>(count));
    buffer_get_attritypes(first, types.data());

    data_->rows = n < INT_MAX ? static_cast<int>(n) : INT_MAX;
    for (int c = 0; c < count; ++c)
        data_->add_column(false, types[static_cast<size_t>(c)] == 1 ? DOUBLE : TEXT,
                          names[static_cast<size_t>(c)]);

    char value[400];
    for (int r = 0; r < data_->rows; ++r) {
        const attrib_array* attribs = nodes[r] != nullptr ? nodes[r]->attribs : nullptr;
        for (int c = 0; c < count; ++c)
            if (buffer_print_attrib(attribs, value, c) == c)
                data_->store(r, c, value);
    }
}
