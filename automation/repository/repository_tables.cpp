// Attribute tables over the trees of a repository, and its attribute names.
#include <cstdio>
#include <vector>

#include "analyse/attributes/attribute_print.h"
#include "analyse/attributes/attributes.h"
#include "analyse/display/visual_analyse.h"
#include "analyse/files/treeio.h"
#include "analyse/tables/featureio.h"
#include "analyse/trees/tree_walk.h"
#include "automation/detail/handles.h"
#include "automation/detail/pictures.h"
#include "automation/detail/text.h"
#include "automation/repository/vx_repository.h"
#include "imagecore/files/vxfileio.h"
#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"

namespace {

// Room for one attribute value ("%f" of a double: up to 329 characters)
// and its separator.
constexpr size_t kValueRoom = 400;

std::string attribute_values(const attrib_array* vector)
{
    const size_t entries = vector != nullptr && vector->capacity > 0 ? vector->capacity : 0;
    std::vector<char> buffer((entries + 1) * kValueRoom, '\0');
    buffer_print_attribs(vector, buffer.data(), ';');
    return buffer.data();
}

// The tree is refused when the picture it is to be measured on has another
// size.
bool fits(const image* picture, const region_tree* tree, const std::string& treeFile)
{
    if (picture->width == tree->width && picture->height == tree->height)
        return true;
    vx_report("Tree %s is %d x %d, its image %d x %d: tree skipped\n", treeFile.c_str(),
              tree->width, tree->height, picture->width, picture->height);
    return false;
}

// The tree with the attributes of the update rule, or null after a message.
region_tree* measured_tree(const image* picture, const std::string& treeFile,
                           const char* updateRule, int polarity)
{
    region_tree_handle tree(load_elemset_region_tree(treeFile.c_str()));
    if (!fits(picture, tree.get(), treeFile))
        return nullptr;
    if (va_update_region_tree(const_cast<image*>(picture), tree.get(), updateRule, polarity) == 0) {
        vx_report("No attributes for tree %s: tree skipped\n", treeFile.c_str());
        return nullptr;
    }
    return tree.release();
}

}  // namespace

void VxRepository::writeRepositoryTables(const char* tableStem, const char* updateRule)
{
    std::string stem = tableStem != nullptr ? tableStem : "";
    if (stem.size() >= 4 && stem.compare(stem.size() - 4, 4, ".csv") == 0)
        stem.resize(stem.size() - 4);
    const std::string tables[2] = {stem + ".bright.csv", stem + ".dark.csv"};
    bool headerWritten[2] = {false, false};
    for (int i = 0; i < NumberOfImages(); ++i) {
        const RepositoryImage& record = images[i];
        vx_image_handle input(ReadImageGrey((imagesPath + record.image).c_str()));
        const image* picture = picture_of(input.get());
        if (picture == nullptr) {
            vx_report("Could not read image %s: no table rows\n", record.image.c_str());
            continue;
        }
        for (int k = 0; k < 2; ++k) {
            const int done = k == 0 ? record.brightDone : record.darkDone;
            const std::string& treeName = k == 0 ? record.brightTree : record.darkTree;
            if (done == 0) {
                vx_report("Image %s has no %s tree: no table rows\n", record.image.c_str(),
                          k == 0 ? "bright" : "dark");
                continue;
            }
            region_tree_handle tree(measured_tree(picture, treePath(treeName), updateRule, k + 1));
            if (tree == nullptr)
                continue;
            if (!headerWritten[k])
                headerWritten[k] = fio_writeTreeTableHeader(tables[k].c_str(), tree.get()) == 1;
            fio_writeTreeTableByNodelist(tables[k].c_str(), record.image.c_str(), tree.get());
        }
    }
}

int VxRepository::initAttributes(const char* updateRule)
{
    repositoryTableName = updateRule != nullptr ? updateRule : "";
    if (NumberOfImages() == 0 || images[0].brightDone == 0) {
        vx_report("VxRepository: no bright tree of a first image to take attributes from\n");
        return 0;
    }
    vx_image_handle input(ReadImageGrey((imagesPath + images[0].image).c_str()));
    const image* picture = picture_of(input.get());
    if (picture == nullptr) {
        vx_report("Could not read image %s: no attributes\n", images[0].image.c_str());
        return 0;
    }
    region_tree_handle tree(measured_tree(picture, treePath(images[0].brightTree), updateRule, 1));
    const tregionnode* first = nullptr;
    if (tree != nullptr)
        for_each_son(tree->root, [&first](const tregionnode* son) {
            if (first == nullptr)
                first = son;
        });
    int count = 0;
    char** names = get_attribs_from_node(first, &count);
    if (names == nullptr) {
        vx_report("VxRepository: the first tree has no attributes\n");
        return 0;
    }
    delete_attribute_names(attributes, numberOfAttributes);
    attributes = names;
    numberOfAttributes = count;
    return count;
}

void VxRepository::initStepTableOutput(const char* updateRule)
{
    stepTableRule = updateRule != nullptr ? updateRule : "";
    flags |= REPOSITORY_STEP_TABLES;
}

void VxRepository::initRepositoryTableOutput(const char* name, const char* updateRule)
{
    repositoryTableName = name != nullptr ? name : "";
    repositoryTableRule = updateRule != nullptr ? updateRule : "";
    flags |= REPOSITORY_TABLE_NAMES;
}

void VxRepository::writeRepositoryTable(const char*, const char*)
{}

void VxRepository::writeQueryResultTable(const char* imageName, tregionnode** nodes, int n)
{
    FILE* f = vxfopen(resultTableName.c_str(), "a");
    if (f == nullptr)
        return;
    bool written = true;
    for (int i = 0; written && nodes != nullptr && i < n; ++i) {
        const tregionnode* node = nodes[i];
        if (node == nullptr)
            continue;
        const std::string row =
            c_format("%d, %s, ", node->file_index, imageName != nullptr ? imageName : "") +
            attribute_values(node->attribs) + "\n";
        written = std::fwrite(row.data(), 1, row.size(), f) == row.size();
    }
    if (std::fclose(f) != 0 || !written)
        vx_report("Could not write file %s\n", resultTableName.c_str());
}
