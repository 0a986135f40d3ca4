// The tables of a query run: the classified result table and the older
// query table, each a header from a tree and rows of hit regions.
#include <cstdio>
#include <string>

#include "analyse/attributes/attributes.h"
#include "automation/detail/attribute_texts.h"
#include "automation/detail/text.h"
#include "automation/repository/vx_repository.h"
#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"

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
    FILE* f = vxfopen(resultTableName.c_str(), mode);
    if (f == nullptr)
        return;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) != 0 || !written)
        vx_report("Could not write file %s\n", resultTableName.c_str());
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
