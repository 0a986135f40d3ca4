#pragma once

#include <memory>

#include "analyse/trees/region_types.h"
#include "analyse/vectors/vector_array.h"
#include "automation/automation_export.h"

// One entry of a VxTable as getEntry returns it: the column type and the
// value of that type. Everything is 0 (text null) for a position outside
// the table.
struct VxTableEntry {
    int type;  // VxTable::DOUBLE, INT or TEXT
    double dvalue;
    int ivalue;
    const char* text;  // owned by the table; null for an empty text cell
};

// A small in-memory table with named, typed columns, stored column by
// column. Rows and columns are addressed from 0; accessors given a position
// outside the table return -1, null or 0 and setters ignore it.
class AUTOMATION_EXPORT VxTable {
public:
    static constexpr int DOUBLE = 1;
    static constexpr int INT = 2;
    static constexpr int TEXT = 3;

    // Reads a separated text file: one header line of column names, then one
    // row per line (a last line without a line break counts). The first data
    // line decides the types: a field that begins with a digit or '-' and is
    // a number as a whole makes a double column, any other a text column.
    // A row with more fields than the header leaves the surplus to its first
    // column, whose text keeps the separators (a file name may hold them);
    // missing fields stay empty (0 in a number column). When the header
    // holds no `separator` but ';' and no ',', ';' separates. A file that
    // cannot be opened gives an empty table with a message.
    VxTable(const char* file, char separator);
    // One row per node, one column per attribute of the first node's
    // attribute vector: int and double attributes become double columns,
    // text attributes text columns. Null nodes leave their rows empty.
    VxTable(tregionnode** nodes, unsigned n);
    // Empty tables of one row or of `rows` rows. `types` holds one type byte
    // per column (any byte but DOUBLE and INT means TEXT); `names` holds the
    // column names split at `separator`. Numbers start as 0, texts empty.
    VxTable(int columns, const char* types, const char* names, char separator);
    VxTable(int columns, int rows, const char* types, const char* names, char separator);
    ~VxTable();
    VxTable(const VxTable&) = delete;
    VxTable& operator=(const VxTable&) = delete;

    // Empty for tables made in memory until writeCSV(file) names one.
    const char* FileName() const;
    int getRows() const;
    int getColumns() const;
    int getColumnType(int column) const;
    const char* getColumnName(int column) const;
    // getColumns() names, valid until the columns change.
    const char* const* getColumnNames();
    // Index of the last column with that name, -1 when none.
    int getColumID(const char* name) const;

    // A text is converted like atoi or atof for a number column and copied
    // for a text column (null empties the cell). The number forms store only
    // into a column of their own type.
    void setEntry(int row, int column, const char* text);
    void setEntry(int row, int column, double value);
    void setEntry(int row, int column, int value);
    VxTableEntry getEntry(int row, int column) const;

    // New rows hold 0 in number columns and empty texts.
    void appendRow();
    void appendRows(int k);
    // A new empty column of that type at the end or in front; a type other
    // than DOUBLE, INT or TEXT adds nothing.
    void appendColumn(int type, const char* name);
    void prependColumn(int type, const char* name);
    // A new front column holding the value in every row.
    void prependColumn(const char* name, const char* text);
    void prependColumn(const char* name, double value);
    void prependColumn(const char* name, int value);

    // Smallest and largest entry of a number column with at least one row;
    // false, with min and max untouched, otherwise.
    bool getMinMax(int column, double* min, double* max) const;
    // The same values, 0 when getMinMax is false.
    double getMin(int column) const;
    double getMax(int column) const;

    // Writes the selected columns joined by ';': a header of their names,
    // then per row "%d", "%f" or the text, an empty text cell as "EMPTY";
    // every cell but the last is followed by "; " (texts) or ";" (numbers),
    // an empty last cell is written " EMPTY". Indices outside the table are
    // skipped; nothing is written when n exceeds the column count. False
    // with a message when the file cannot be written, an older file whole
    // (imagecore/files/checked_file.h), and when it would not read back: a
    // name holding ';', or a text holding it in any but the first column.
    bool writeCSV(const char* file, unsigned n, const unsigned* columns) const;
    // All columns in order; the table's file name becomes `file`.
    bool writeCSV(const char* file);

    // One vector per row holding the n selected columns as doubles (0 for a
    // selection outside the table or of a text column, each with a message),
    // with the selected column names; mark and ground-truth class -1. With
    // gtName naming a column, each row's entry of it truncated to an int is
    // the ground-truth class. Null when n exceeds the column count; the
    // caller frees the array with delete_vector_array.
    vector_array* extractVArray(unsigned n, const unsigned* columns, const char* gtName) const;

    // The table's contents; defined inside the library.
    struct storage;

private:
    void insertColumn(bool front, int type, const char* name);

    std::unique_ptr<storage> data_;
};
