#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "automation/tables/vxtable.h"

// One column: the array of its type holds one entry per row. Texts are
// separate heap blocks, so that a text handed out by getEntry stays put
// while the table grows.
struct table_column {
    int type;
    std::vector<double> doubles;
    std::vector<int> ints;
    std::vector<std::unique_ptr<char[]>> texts;  // null for an empty cell

    table_column(int column_type, size_t rows);
    void resize(size_t rows);
};

struct VxTable::storage {
    std::string file;
    std::vector<std::string> names;
    std::vector<const char*> name_list;
    std::vector<table_column> columns;
    int rows = 0;
    char separator = ';';

    // Adds a column of rows entries at the end or in front.
    table_column& add_column(bool front, int type, const char* name);
    // Stores the text in (row, column), converting it for a number column;
    // both must lie inside the table.
    void store(int row, int column, const char* text);
};

// A heap copy of text; null for null.
std::unique_ptr<char[]> copy_text(const char* text);

// Whether a column type names one of the three kinds.
inline bool valid_column_type(int type)
{
    return type == VxTable::DOUBLE || type == VxTable::INT || type == VxTable::TEXT;
}
