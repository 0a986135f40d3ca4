#include "analyse/tables/feature_vectors.h"

#include <cctype>
#include <string>

#include "analyse/attributes/attributes.h"
#include "analyse/detail/text_builder.h"
#include "analyse/trees/tree_walk.h"
#include "imagecore/files/checked_file.h"
#include "imagecore/report.h"

namespace {

// Writes the text to an open stream; false when not all of it was written.
bool write_text(FILE* file, const std::string& text)
{
    return file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
}

// The "%f" text of the value followed by ",", or "?," when it does not print
// as a number (the second character of "nan", "-inf", ... is no digit).
void dvaluecheck(text_builder& row, double value)
{
    const size_t start = row.str().size();
    row.printf("%f", value);
    const std::string& text = row.str();
    const char second = text.size() > start + 1 ? text[start + 1] : '\0';
    if (second != '.' && second != '/' && !std::isdigit(static_cast<unsigned char>(second)))
        row.str().replace(start, std::string::npos, "?");
    row.append(",");
}

bool selected(const int* selection, int index)
{
    return selection != nullptr && selection[index] == 1;
}

int capacity_of(const attrib_array* vector)
{
    return vector != nullptr && vector->capacity > 0 ? vector->capacity : 0;
}

// The three comment lines and the class numbers that open a names file.
void names_preamble(text_builder& t, const char* base, int nclasses)
{
    t.printf("| Name file for %s Project\n", base)
        .append("| Attribute Names for Region Tree\n")
        .append("| Input file for the C4.5 decision tree\n\n");
    for (int c = 0; c < nclasses; ++c)
        t.printf(c == 0 ? "%d" : ", %d", c);
    t.append(".  | classes \n\n");
}

int write_new_file(const std::string& path, const std::string& text)
{
    checked_file out(path.c_str(), "w");
    out.write(text);
    return out.close() ? 1 : 0;
}

std::string dynamic_row(const tregionnode* node, const int* selection, const char* label)
{
    text_builder row;
    const attrib_array* vector = node->attribs;
    for (int i = 0; i < capacity_of(vector); ++i) {
        if (!selected(selection, i))
            continue;
        const attrib_entry& e = vector->entries[i];
        if (e.type == ATTRIB_INT)
            row.printf("%d,", e.ivalue);
        else if (e.type == ATTRIB_DOUBLE)
            dvaluecheck(row, e.dvalue);
        else if (e.type == ATTRIB_STRING)
            row.printf("%.*s,", static_cast<int>(sizeof e.svalue) - 1, e.svalue);
    }
    if (label != nullptr)
        row.append(label);
    row.append(".\n");
    return row.str();
}

std::string fixed_row(const tregionnode* node, const char* label)
{
    text_builder row;
    row.printf("%d,%d,%d,", node->file_index, node->birth, node->age);
    dvaluecheck(row, node->life_quotient);
    row.printf("%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,", node->max_width, node->min_width, node->nsons,
               node->size, node->volume, node->contour_size, node->left, node->right, node->ahead,
               node->inner_contour_size);
    for (double v : {node->greyentropy, node->homogeneity, node->variance, node->stddev})
        dvaluecheck(row, v);
    row.printf("%d,", node->meangrey);
    for (double v : {node->areafraction, node->decompentropy, node->contrast, node->roundness,
                     node->convexity})
        dvaluecheck(row, v);
    row.printf("%d", node->ambiguity);
    if (label != nullptr)
        row.printf(",%s", label);
    row.append(".\n");
    return row.str();
}

// Writes row(n) for the node and its descendants in pre-order.
template <class Row>
int write_subtree(FILE* file, tregionnode* node, Row row)
{
    bool ok = file != nullptr;
    walk_preorder(node, [&](tregionnode* n) { ok = ok && write_text(file, row(n)); });
    return ok ? 1 : 0;
}

std::string class_text(const tregionnode* node)
{
    return std::to_string(node->region_class);
}

// "base.data" of the sons of the root, rows written by write_sub(file, son).
template <class WriteSub>
int write_sons_data(const char* base, region_tree* tree, WriteSub write_sub)
{
    checked_file out((std::string(base) + ".data").c_str(), "w");
    if (out.is_open())
        for (tregionnode* son : sons_of(tree->root))
            if (!out.record(write_sub(out.stream(), son) == 1))
                break;
    return out.close() ? 1 : 0;
}

}  // namespace

int write_dynamic_feature_names(const char* base, int nclasses, const int* selection,
                                tregionnode* node)
{
    text_builder t;
    names_preamble(t, base, nclasses);
    const attrib_array* vector = node != nullptr ? node->attribs : nullptr;
    for (int i = 0; i < capacity_of(vector); ++i) {
        const attrib_entry& e = vector->entries[i];
        if (!selected(selection, i) ||
            (e.type != ATTRIB_INT && e.type != ATTRIB_DOUBLE && e.type != ATTRIB_STRING))
            continue;
        t.printf("%.*s: ", static_cast<int>(sizeof e.name) - 1, e.name);
        t.append(e.type == ATTRIB_STRING ? "     string\n" : "     continuous\n");
    }
    return write_new_file(std::string(base) + ".names", t.str());
}

int write_dynamic_feature_vector(FILE* file, tregionnode* node, const int* selection,
                                 const char* label)
{
    return write_text(file, dynamic_row(node, selection, label)) ? 1 : 0;
}

int write_dynamic_classified_subtree(FILE* file, tregionnode* node, const int* selection)
{
    return write_subtree(file, node, [selection](const tregionnode* n) {
        return dynamic_row(n, selection, class_text(n).c_str());
    });
}

int write_dynamic_classified_tree(const char* base, int nclasses, region_tree* tree)
{
    tregionnode* template_node = first_son(tree->root);
    const int* selection = tree->attr_buffer;
    const int names = write_dynamic_feature_names(base, nclasses, selection, template_node);
    const int data = write_sons_data(base, tree, [selection](FILE* f, tregionnode* son) {
        return write_dynamic_classified_subtree(f, son, selection);
    });
    return names == 1 && data == 1 ? 1 : 0;
}

int write_dynamic_subtree_table(FILE* file, tregionnode* node, const int* selection)
{
    return write_subtree(file, node, [selection](const tregionnode* n) {
        return dynamic_row(n, selection, nullptr);
    });
}

int write_dynamic_tree_table(const char* base, region_tree* tree)
{
    const int* selection = tree->attr_buffer;
    const attrib_array* template_vector = get_root_attrib_vector(tree);
    int nselected = 0;
    for (int i = 0; i < capacity_of(template_vector); ++i)
        nselected += selected(selection, i) ? 1 : 0;
    checked_file out((std::string(base) + ".table").c_str(), "w");
    text_builder head;
    head.printf("%d %d\n", nselected, tree->regions);
    if (out.write(head.str()))
        out.record(write_dynamic_subtree_table(out.stream(), tree->root, selection) == 1);
    return out.close() ? 1 : 0;
}

int write_feature_names(const char* base, int nclasses)
{
    static const char* const names[] = {"iFilenodelabel", "Birth",        "Age",
                                        "LifeQuotient",   "MaxWidth",     "MinWidth",
                                        "Sons",           "Size",         "Volume",
                                        "ContourLength",  "Left",         "Right",
                                        "Ahead",          "InnerContour", "Entropyy",
                                        "Homogenity",     "Variance",     "StandardDeviation",
                                        "MeanGreyvalue",  "Areafraction", "DecompEntropyy",
                                        "Contrast",       "Roundness",    "Convexity",
                                        "Ambiguity"};
    text_builder t;
    names_preamble(t, base, nclasses);
    for (const char* name : names) {
        const std::string label = std::string(name) + ":";
        // The decomposition entropy line has always had one blank more.
        const int width = std::string(name) == "DecompEntropyy" ? 22 : 21;
        t.printf("%-*scontinuous\n", width, label.c_str());
    }
    return write_new_file(std::string(base) + ".names", t.str());
}

int write_feature_vector(FILE* file, tregionnode* node, const char* label)
{
    return write_text(file, fixed_row(node, label)) ? 1 : 0;
}

int write_classified_subtree(FILE* file, tregionnode* node)
{
    return write_subtree(file, node, [](const tregionnode* n) {
        const std::string label = class_text(n);
        if (n->region_class > 0)
            vx_report("(Label %d %d is %s)\n", n->label, n->region_class, label.c_str());
        return fixed_row(n, label.c_str());
    });
}

int write_classified_tree(const char* base, region_tree* tree)
{
    return write_sons_data(
        base, tree, [](FILE* f, tregionnode* son) { return write_classified_subtree(f, son); });
}
