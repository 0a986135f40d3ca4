// The tables of a query run: the classified result table and the older
// query table, each a header from a tree and rows of hit regions.
#include <string>

#include "analyse/attributes/attributes.h"
#include "automation/detail/attribute_texts.h"
#include "automation/detail/text.h"
#include "automation/repository/vx_repository.h"
#include "imagecore/files/checked_file.h"

namespace {

std::string table_header(region_tree* tree, const char* front, const char* names_front,
                         const char* back)
{
    const attrib_array* names = tree != nullptr ? get_root_attrib_vector(tree) : nullptr;
    return std::string(text_or_empty(front)) + names_front + attribute_names_text(names, ';') +
           "\n" + text_or_empty(back) + "\n";
}

// One row per non-null node: its id and the prefix fields, then its values.
template <class Prefix>
std::string table_rows(tregionnode** nodes, int n, Prefix prefix)
{
    std::string rows;
    for (int i = 0; nodes != nullptr && i < n; ++i)
        if (nodes[i] != nullptr)
            rows +=
                prefix(nodes[i]->file_index) + attribute_values_text(nodes[i]->attribs, ';') + "\n";
    return rows;
}

}  // namespace

void VxRepository::writeToResultTable(const std::string& text, const char* mode)
{
    // Rows that cannot be written whole are cut back off the table.
    checked_file table(resultTableName.c_str(), mode);
    if (!table.write(text) || !table.close())
        noteWriteFailure(resultTableName);
}

void VxRepository::writeResultTableHeader(region_tree* tree, const char* front, const char* back)
{
    writeToResultTable(table_header(tree, front, "Imagename", back), "w");
}

void VxRepository::writeClassifiedResultTableHeader(region_tree* tree, const char* front,
                                                    const char* back)
{
    writeToResultTable(table_header(tree, front, "Imagename; Classname;", back), "w");
}

void VxRepository::writeQueryResultTable(const char* imageName, tregionnode** nodes, int n)
{
    writeToResultTable(table_rows(nodes, n,
                                  [imageName](int id) {
                                      return c_format("%d, %s, ", id, text_or_empty(imageName));
                                  }),
                       "a");
}

void VxRepository::writeClassifiedQueryResultTable(const char* imageName, const char* ruleFile,
                                                   tregionnode** nodes, int n)
{
    writeToResultTable(table_rows(nodes, n,
                                  [imageName, ruleFile](int id) {
                                      return c_format("%d; %s; %s;", id, text_or_empty(imageName),
                                                      text_or_empty(ruleFile));
                                  }),
                       "a");
}
