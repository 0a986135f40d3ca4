#include "automation/tables/vxtable.h"

#include <cstring>

#include "automation/detail/text_fields.h"
#include "automation/tables/detail/table_storage.h"
#include "imagecore/text/cnumbers.h"

table_column::table_column(int column_type, size_t rows) : type(column_type)
{
    resize(rows);
}

void table_column::resize(size_t rows)
{
    if (type == VxTable::DOUBLE)
        doubles.resize(rows, 0.0);
    else if (type == VxTable::INT)
        ints.resize(rows, 0);
    else
        texts.resize(rows);
}

table_column& VxTable::storage::add_column(bool front, int type, const char* name)
{
    const size_t at = front ? 0 : columns.size();
    names.insert(names.begin() + static_cast<std::ptrdiff_t>(at), name != nullptr ? name : "");
    return *columns.emplace(columns.begin() + static_cast<std::ptrdiff_t>(at), type,
                            static_cast<size_t>(rows));
}

void VxTable::storage::store(int row, int column, const char* text)
{
    table_column& c = columns[static_cast<size_t>(column)];
    const size_t r = static_cast<size_t>(row);
    if (c.type == DOUBLE)
        c.doubles[r] = vx_atof(text);
    else if (c.type == INT)
        c.ints[r] = vx_atoi(text);
    else
        c.texts[r] = copy_text(text);
}

std::unique_ptr<char[]> copy_text(const char* text)
{
    if (text == nullptr)
        return nullptr;
    const size_t n = std::strlen(text) + 1;
    std::unique_ptr<char[]> copy(new char[n]);
    std::memcpy(copy.get(), text, n);
    return copy;
}

VxTable::VxTable(int columns, const char* types, const char* names, char separator)
    : VxTable(columns, 1, types, names, separator)
{}

VxTable::VxTable(int columns, int rows, const char* types, const char* names, char separator)
    : data_(new storage)
{
    data_->rows = rows > 0 ? rows : 0;
    std::vector<char> text;
    if (names != nullptr)
        text.assign(names, names + std::strlen(names) + 1);
    else
        text.push_back('\0');
    std::vector<char*> fields;
    split_fields(text.data(), separator, fields);
    for (int c = 0; c < columns; ++c) {
        const int type = types != nullptr && valid_column_type(types[c]) ? types[c] : TEXT;
        data_->add_column(
            false, type,
            static_cast<size_t>(c) < fields.size() ? fields[static_cast<size_t>(c)] : "");
    }
}

VxTable::~VxTable() = default;

const char* VxTable::FileName() const
{
    return data_->file.c_str();
}

int VxTable::getRows() const
{
    return data_->rows;
}

int VxTable::getColumns() const
{
    return static_cast<int>(data_->columns.size());
}

int VxTable::getColumnType(int column) const
{
    return column >= 0 && column < getColumns() ? data_->columns[static_cast<size_t>(column)].type
                                                : -1;
}

const char* VxTable::getColumnName(int column) const
{
    return column >= 0 && column < getColumns() ? data_->names[static_cast<size_t>(column)].c_str()
                                                : nullptr;
}

const char* const* VxTable::getColumnNames()
{
    data_->name_list.clear();
    for (const std::string& name : data_->names)
        data_->name_list.push_back(name.c_str());
    return data_->name_list.data();
}

int VxTable::getColumID(const char* name) const
{
    if (name == nullptr)
        return -1;
    for (int c = getColumns() - 1; c >= 0; --c)
        if (data_->names[static_cast<size_t>(c)] == name)
            return c;
    return -1;
}

void VxTable::setEntry(int row, int column, const char* text)
{
    if (row >= 0 && row < data_->rows && column >= 0 && column < getColumns())
        data_->store(row, column, text);
}

void VxTable::setEntry(int row, int column, double value)
{
    if (row >= 0 && row < data_->rows && getColumnType(column) == DOUBLE)
        data_->columns[static_cast<size_t>(column)].doubles[static_cast<size_t>(row)] = value;
}

void VxTable::setEntry(int row, int column, int value)
{
    if (row >= 0 && row < data_->rows && getColumnType(column) == INT)
        data_->columns[static_cast<size_t>(column)].ints[static_cast<size_t>(row)] = value;
}

VxTableEntry VxTable::getEntry(int row, int column) const
{
    VxTableEntry entry{};
    if (row < 0 || row >= data_->rows || column < 0 || column >= getColumns())
        return entry;
    const table_column& c = data_->columns[static_cast<size_t>(column)];
    const size_t r = static_cast<size_t>(row);
    entry.type = c.type;
    if (c.type == DOUBLE)
        entry.dvalue = c.doubles[r];
    else if (c.type == INT)
        entry.ivalue = c.ints[r];
    else
        entry.text = c.texts[r].get();
    return entry;
}

void VxTable::appendRow()
{
    appendRows(1);
}

void VxTable::appendRows(int k)
{
    if (k <= 0)
        return;
    data_->rows += k;
    for (table_column& c : data_->columns)
        c.resize(static_cast<size_t>(data_->rows));
}

void VxTable::insertColumn(bool front, int type, const char* name)
{
    if (valid_column_type(type))
        data_->add_column(front, type, name);
}

void VxTable::appendColumn(int type, const char* name)
{
    insertColumn(false, type, name);
}

void VxTable::prependColumn(int type, const char* name)
{
    insertColumn(true, type, name);
}

void VxTable::prependColumn(const char* name, const char* text)
{
    table_column& c = data_->add_column(true, TEXT, name);
    for (auto& cell : c.texts)
        cell = copy_text(text);
}

void VxTable::prependColumn(const char* name, double value)
{
    data_->add_column(true, DOUBLE, name).doubles.assign(static_cast<size_t>(data_->rows), value);
}

void VxTable::prependColumn(const char* name, int value)
{
    data_->add_column(true, INT, name).ints.assign(static_cast<size_t>(data_->rows), value);
}

bool VxTable::getMinMax(int column, double* min, double* max) const
{
    const int type = getColumnType(column);
    if ((type != DOUBLE && type != INT) || data_->rows == 0)
        return false;
    const table_column& c = data_->columns[static_cast<size_t>(column)];
    auto value = [&c](size_t r) {
        return c.type == DOUBLE ? c.doubles[r] : static_cast<double>(c.ints[r]);
    };
    double lo = value(0);
    double hi = lo;
    for (size_t r = 1; r < static_cast<size_t>(data_->rows); ++r) {
        const double v = value(r);
        if (v > hi)
            hi = v;
        else if (v < lo)
            lo = v;
    }
    if (min != nullptr)
        *min = lo;
    if (max != nullptr)
        *max = hi;
    return true;
}

double VxTable::getMin(int column) const
{
    double lo = 0.0;
    getMinMax(column, &lo, nullptr);
    return lo;
}

double VxTable::getMax(int column) const
{
    double hi = 0.0;
    getMinMax(column, nullptr, &hi);
    return hi;
}
