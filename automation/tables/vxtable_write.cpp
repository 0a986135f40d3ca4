#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "automation/tables/detail/table_storage.h"
#include "automation/tables/vxtable.h"
#include "imagecore/fatal.h"
#include "imagecore/files/checked_file.h"
#include "imagecore/report.h"
#include "imagecore/text/cnumbers.h"

namespace {

constexpr const char* kNoMemory = " Not enough Mem for a vector array\n";

void append_cell(std::string& line, const table_column& c, size_t row, bool last, char separator)
{
    char number[320];
    if (c.type == VxTable::DOUBLE) {
        vx_format_fixed(number, sizeof number, c.doubles[row], 6);
        line += number;
    } else if (c.type == VxTable::INT) {
        line.append(number, std::to_chars(number, number + sizeof number, c.ints[row]).ptr);
    } else if (c.texts[row] == nullptr) {
        line += last ? " EMPTY" : "EMPTY";
    } else {
        line += c.texts[row].get();
    }
    if (last) {
        line += '\n';
        return;
    }
    line += separator;
    if (c.type == VxTable::TEXT)
        line += ' ';
}

// A class number: the entry truncated toward zero, -1 when it has no int value.
int class_of(const VxTableEntry& entry)
{
    if (entry.type == VxTable::INT)
        return entry.ivalue;
    if (entry.type != VxTable::DOUBLE)
        return 0;
    const double v = std::trunc(entry.dvalue);
    return v >= INT_MIN && v <= INT_MAX ? static_cast<int>(v) : -1;
}

// The first text the reader would cut apart, null when there is none: a
// name holding the separator, or a cell holding it in any column but the
// first, which alone takes what a row holds beyond the header.
const char* split_text(const VxTable::storage& data, const std::vector<size_t>& selected)
{
    const char sep = data.separator;
    for (size_t j = 0; j < selected.size(); ++j) {
        const std::string& name = data.names[selected[j]];
        if (name.find(sep) != std::string::npos)
            return name.c_str();
        const table_column& c = data.columns[selected[j]];
        if (j == 0 || c.type != VxTable::TEXT)
            continue;
        for (const std::unique_ptr<char[]>& text : c.texts)
            if (text != nullptr && std::strchr(text.get(), sep) != nullptr)
                return text.get();
    }
    return nullptr;
}

char* heap_copy(const char* text)
{
    const size_t n = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(vx_calloc(n, 1, exit_code::out_of_memory, kNoMemory));
    std::memcpy(copy, text, n);
    return copy;
}

}  // namespace

bool VxTable::writeCSV(const char* file, unsigned n, const unsigned* columns) const
{
    if (n > static_cast<unsigned>(getColumns()) || (n > 0 && columns == nullptr))
        return false;
    std::vector<size_t> selected;
    for (unsigned j = 0; j < n; ++j)
        if (columns[j] < static_cast<unsigned>(getColumns()))
            selected.push_back(columns[j]);

    if (const char* text = split_text(*data_, selected)) {
        vx_report("VxTable Could not write %s: the text %s holds the separator '%c'\n",
                  file != nullptr ? file : "(null)", text, data_->separator);
        return false;
    }
    checked_file out(file, "w");
    if (!out.is_open()) {
        vx_report("VxTable Could not open File %s for Table output\n",
                  file != nullptr ? file : "(null)");
        return false;
    }
    const char sep = data_->separator;
    std::string line;
    for (size_t j = 0; j < selected.size(); ++j) {
        line += data_->names[selected[j]];
        if (j + 1 < selected.size())
            line += sep;
    }
    line += '\n';
    bool ok = out.write(line);
    for (size_t r = 0; ok && r < static_cast<size_t>(data_->rows); ++r) {
        line.clear();
        for (size_t j = 0; j < selected.size(); ++j)
            append_cell(line, data_->columns[selected[j]], r, j + 1 == selected.size(), sep);
        if (selected.empty())
            line += '\n';
        ok = out.write(line);
    }
    if (!out.close()) {
        vx_report("VxTable Could not write Table to File %s\n", file);
        return false;
    }
    return true;
}

bool VxTable::writeCSV(const char* file)
{
    std::vector<unsigned> all(data_->columns.size());
    for (size_t c = 0; c < all.size(); ++c)
        all[c] = static_cast<unsigned>(c);
    if (file != nullptr)
        data_->file = file;
    return writeCSV(file, static_cast<unsigned>(all.size()), all.data());
}

vector_array* VxTable::extractVArray(unsigned n, const unsigned* columns, const char* gtName) const
{
    if (n > static_cast<unsigned>(getColumns()) || (n > 0 && columns == nullptr))
        return nullptr;
    const int dim = static_cast<int>(n);
    vector_array* array = init_vector_array(dim, data_->rows, 0.0);
    array->names =
        static_cast<char**>(vx_calloc(n, sizeof(char*), exit_code::out_of_memory, kNoMemory));
    for (int j = 0; j < dim; ++j) {
        const char* name = getColumnName(static_cast<int>(columns[j]));
        array->names[j] = heap_copy(name != nullptr ? name : "");
    }
    for (int r = 0; r < data_->rows; ++r) {
        vector& v = array->vectors[r];
        for (int j = 0; j < dim; ++j) {
            const unsigned c = columns[j];
            const int type = getColumnType(static_cast<int>(c));
            if (type < 0)
                vx_report("Invalid Column %u selected as %dth for vector  array output\n", c, j);
            else if (type == TEXT)
                vx_report("Non Numerical Column %u selected as %dth for vector  array output\n", c,
                          j);
            else if (type == DOUBLE)
                v.values[j] = data_->columns[c].doubles[static_cast<size_t>(r)];
            else
                v.values[j] = data_->columns[c].ints[static_cast<size_t>(r)];
        }
        v.mark = -1;
        v.gt_class = -1;
    }
    if (gtName == nullptr)
        return array;
    const int gt = getColumID(gtName);
    if (gt < 0) {
        vx_report("No GT for Tag %s given in table for kohonen vector array\n", gtName);
        return array;
    }
    vx_report("Using Column %d with Label %s as GT Classification \n", gt, gtName);
    for (int r = 0; r < data_->rows; ++r)
        array->vectors[r].gt_class = class_of(getEntry(r, gt));
    return array;
}
