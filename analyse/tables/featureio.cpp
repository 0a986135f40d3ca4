#include "analyse/tables/featureio.h"

#include <cstdio>
#include <string>

#include "analyse/attributes/attribute_print.h"
#include "analyse/attributes/attributes.h"
#include "analyse/attributes/detail/attribute_text.h"
#include "analyse/detail/text_builder.h"
#include "analyse/display/visual_analyse.h"
#include "analyse/trees/detail/label_node_array.h"
#include "imagecore/files/checked_file.h"
#include "imagecore/report.h"

namespace {

const char* text_or_empty(const char* text)
{
    return text != nullptr ? text : "";
}

std::string table_header(region_tree* tree)
{
    const attrib_array* names = get_root_attrib_vector(tree);
    return "Imagename, RegionID, " +
           attribute_text(names, [names](char* b) { buffer_print_attribnames(names, b, ','); }) +
           "\n";
}

std::string table_row(const char* image_name, const tregionnode* node)
{
    text_builder row;
    row.printf("%s, %d, ", text_or_empty(image_name), node->file_index);
    const attrib_array* values = node->attribs;
    row.str() +=
        attribute_text(values, [values](char* b) { buffer_print_attribs(values, b, ','); });
    row.str() += '\n';
    return row.str();
}

int write_table(const char* file, const char* image_name, region_tree* tree)
{
    checked_file out(file, "w");
    fio_writeTreeTableHeader(out, tree);
    fio_writeTreeTableByNodeArray(out, image_name, tree->nodes, tree->regions);
    return out.close() ? 1 : 0;
}

}  // namespace

bool fio_writeTreeTableHeader(checked_file& out, region_tree* tree)
{
    return out.write(table_header(tree));
}

bool fio_writeTreeTableByNodeArray(checked_file& out, const char* image_name, tregionnode** nodes,
                                   int count)
{
    for (int i = 0; i < count && nodes != nullptr; ++i)
        if (nodes[i] != nullptr && !out.write(table_row(image_name, nodes[i])))
            return false;
    return out.record(true);
}

int fio_writeTreeTableHeader(const char* file, region_tree* tree)
{
    checked_file out(file, "w");
    fio_writeTreeTableHeader(out, tree);
    return out.close() ? 1 : 0;
}

int fio_writeTreeTableByNodeArray(const char* file, const char* image_name, tregionnode** nodes,
                                  int count)
{
    checked_file out(file, "a");
    fio_writeTreeTableByNodeArray(out, image_name, nodes, count);
    return out.close() ? 1 : 0;
}

int fio_writeTreeTableByNodelist(const char* file, const char* image_name, region_tree* tree)
{
    return fio_writeTreeTableByNodeArray(file, image_name, tree->nodes, tree->regions);
}

int fio_writeEntireTreeTable(const char* file, region_tree* tree, vx_image* grey,
                             const char* update_rule, const char* image_name, int polarity)
{
    if (va_update_region_tree(grey != nullptr ? get_scale(grey, 0) : nullptr, tree, update_rule,
                              polarity) == 0) {
        vx_report("Could not compute the attributes for %s\n", text_or_empty(file));
        return 0;
    }
    return write_table(file, image_name, tree);
}

int fio_writeEntireTreeTable_csv(const char* file, const char* image_name, region_tree* tree)
{
    rebuild_label_node_array(tree);
    return write_table(file, image_name, tree);
}

int writeClassifiedTreeC4_5(const char* base, region_tree* tree, tregionnode** nodes, char** labels,
                            int count, const int* selected, int nselected, const char* classes)
{
    const attrib_array* names = get_root_attrib_vector(tree);
    std::string text =
        std::string(text_or_empty(classes)) + ".\n\n" + attribute_text(names, [&](char* b) {
            buffer_print_c4_5_selected_attribnames(names, b, selected, nselected);
        });
    text.pop_back();
    text += '\n';
    const std::string stem = text_or_empty(base);
    checked_file names_file((stem + ".names").c_str(), "w");
    names_file.write(text);
    const bool names_ok = names_file.close();

    checked_file data((stem + ".data").c_str(), "w");
    for (int i = 0; i < count && nodes != nullptr; ++i) {
        const tregionnode* node = nodes[i];
        if (node == nullptr)
            continue;
        const attrib_array* values = node->attribs;
        std::string row = attribute_text(values, [&](char* b) {
            buffer_print_c4_5_selected_attribs(values, b, selected, nselected);
        });
        row += ',';
        row += labels != nullptr ? text_or_empty(labels[i]) : "";
        row += '\n';
        if (!data.write(row))
            break;
    }
    return data.close() && names_ok ? 1 : 0;
}

int write_regionnode_list_table(const char* file)
{
    checked_file out(file, "w");
    return out.close() ? 1 : 0;
}
