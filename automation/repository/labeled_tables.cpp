// Tables of the labelled regions with their attributes: the classified CSV
// table, the C4.5 training files with the learner's run, and the RUREVUDU
// tables.
#include <string>
#include <vector>

#include "analyse/attributes/attributes.h"
#include "automation/detail/attribute_texts.h"
#include "automation/detail/handles.h"
#include "automation/detail/text.h"
#include "automation/programs/run_program.h"
#include "automation/repository/detail/class_trees.h"
#include "automation/repository/detail/repository_paths.h"
#include "automation/repository/detail/tree_files.h"
#include "automation/repository/vx_labeled_repository.h"
#include "imagecore/files/checked_file.h"
#include "imagecore/report.h"

namespace {

bool valid_mode(int mode)
{
    return mode == 1 || mode == 2;
}

}  // namespace

region_tree* VxLabeledRepository::measuredClassTree(int i, int mode, const char* updateRule,
                                                    bool announce, std::string* path)
{
    *path = treeFile(i, mode);
    if (path->empty())
        return nullptr;
    if (announce)
        vx_report("Processing Tree %d, %s\n", i, path->c_str());
    image_handle grey(repository->getImageGrey(records[i].imageIndex));
    if (grey == nullptr) {
        vx_report("Could not read image %s: skipped\n", records[i].name.c_str());
        return nullptr;
    }
    return measured_tree(grey.get(), *path, updateRule, mode);
}

void VxLabeledRepository::writeClassifiedTable(const char* file, const char* updateRule, int mode,
                                               const int* selected, int n)
{
    if (!valid_mode(mode)) {
        vx_report("VxLabeledRepository: no tree of mode %d to export\n", mode);
        return;
    }
    checked_file table(text_or_empty(file), "w");
    if (!table.is_open())
        return;
    bool header = false;
    for (int i = 0; i < getNumberOfImages(); ++i) {
        std::string path;
        region_tree_handle tree(measuredClassTree(i, mode, updateRule, true, &path));
        if (tree == nullptr)
            continue;
        const attrib_array* names = get_root_attrib_vector(tree.get());
        if (!header) {
            table.write("RegionID, Imagename, Classname," +
                        (selected != nullptr ? selected_names_text(names, selected, n)
                                             : attribute_names_text(names, ';')) +
                        "\n \n");
            header = true;
        }
        std::string rows;
        for (int k = 1; k < numberOfClasses; ++k) {
            if (modes[k] != mode)
                continue;
            for (int id : records[i].ids[k]) {
                const tregionnode* region = region_of(tree.get(), id);
                if (region == nullptr) {
                    vx_report("Region %d is not in tree %s\n", id, path.c_str());
                    continue;
                }
                rows += c_format("%d, %s, %s,", id, path.c_str(), classNames[k].c_str()) +
                        (selected != nullptr ? selected_values_text(region->attribs, selected, n)
                                             : attribute_values_text(region->attribs, ';')) +
                        "\n";
            }
        }
        table.write(rows);
    }
    table.close();
}

void VxLabeledRepository::exportClassifiedTable(const char* file, const char* updateRule, int mode)
{
    writeClassifiedTable(file, updateRule, mode, nullptr, 0);
}

void VxLabeledRepository::exportClassifiedTable(const char* file, const char* updateRule, int mode,
                                                int n, const int* attributes)
{
    static const int none = 0;
    writeClassifiedTable(file, updateRule, mode, attributes != nullptr ? attributes : &none,
                         attributes != nullptr ? n : 0);
}

int VxLabeledRepository::c4_5_training(const int* attributes, int n, int mode, const char* stem,
                                       const char* updateRule)
{
    if (!valid_mode(mode)) {
        vx_report("VxLabeledRepository: no tree of mode %d to export\n", mode);
        return 0;
    }
    const std::string base = text_or_empty(stem);
    checked_file data((base + ".data").c_str(), "w");
    if (!data.is_open())
        return 0;
    bool names = false;
    bool written = true;
    for (int i = 0; i < getNumberOfImages(); ++i) {
        std::string path;
        region_tree_handle tree(measuredClassTree(i, mode, updateRule, true, &path));
        if (tree == nullptr)
            continue;
        if (!names) {
            std::string text;
            for (int k = 1; k < numberOfClasses; ++k)
                if (modes[k] == mode)
                    text += classNames[k] + ",";
            text += "Irrelevant.\n\n" +
                    c4_5_names_text(get_root_attrib_vector(tree.get()), attributes, n);
            text.pop_back();
            text += "\n";
            written = write_text_file(base + ".names", text);
            names = true;
        }
        // Only classes of the tree's mode label its regions; a later class
        // wins.
        std::vector<int> label(static_cast<size_t>(tree->regions) + 1, 0);
        for (int k = 1; k < numberOfClasses; ++k)
            if (modes[k] == mode)
                for (int id : records[i].ids[k])
                    if (id >= 0 && id <= tree->regions)
                        label[id] = k;
        std::string rows;
        for (int index = 0; index < tree->regions; ++index) {
            const tregionnode* node = tree->nodes[index];
            if (node == nullptr)
                continue;
            const int k = node->file_index >= 0 && node->file_index <= tree->regions
                              ? label[node->file_index]
                              : 0;
            rows += selected_values_text(node->attribs, attributes, n) + "," +
                    (k > 0 ? classNames[k] : std::string("Irrelevant")) + "\n";
        }
        data.write(rows);
    }
    written = data.close() && written;
    if (!names || !written) {
        vx_report("C4.5 training files %s not written: the learner is not called\n", base.c_str());
        return 0;
    }
    run_program({"c4.5", "-f", base});
    run_program({"c4.5rules", "-f", base});
    return 1;
}

int VxLabeledRepository::rurevudu_training(const int* attributes, int n, const char* directory,
                                           const char* listFile, const char* updateRule, int c)
{
    if (c < 1 || c >= numberOfClasses || !valid_mode(modes[c])) {
        vx_report("VxLabeledRepository: no class %d of a tree mode to export\n", c);
        return 0;
    }
    const int mode = modes[c];
    std::string list;
    bool written = true;
    for (int i : selection) {
        std::string path;
        region_tree_handle tree(measuredClassTree(i, mode, updateRule, false, &path));
        if (tree == nullptr)
            continue;
        std::vector<char> member(static_cast<size_t>(tree->regions) + 1, 0);
        for (int id : records[i].ids[c])
            if (id >= 0 && id <= tree->regions)
                member[id] = 1;
        const std::string name = dot_stem(path) + ".rurevudu.csv";
        std::string text = "Classlabel,RegionID,TFatherID,TSonID,NumAttr," +
                           selected_names_text(get_root_attrib_vector(tree.get()), attributes, n) +
                           "\n";
        for (int index = 0; index < tree->regions; ++index) {
            const tregionnode* node = tree->nodes[index];
            if (node == nullptr)
                continue;
            const int id = node->file_index;
            const bool in_class = id >= 0 && id <= tree->regions && member[id] != 0;
            text += c_format("%d,%d,%d,%d,%d,", in_class ? 1 : -1, id,
                             node->father != nullptr ? node->father->file_index : -1, -1, n) +
                    selected_values_text(node->attribs, attributes, n) + "\n";
        }
        if (write_text_file(std::string(text_or_empty(directory)) + "/" + name, text))
            list += name + "\n";
        else
            written = false;
    }
    return write_text_file(text_or_empty(listFile), list) && written ? 1 : 0;
}
