// Attribute tables over the trees of a repository, and its attribute names.
#include <memory>
#include <string>

#include "analyse/attributes/attributes.h"
#include "analyse/tables/featureio.h"
#include "analyse/trees/tree_walk.h"
#include "automation/detail/handles.h"
#include "automation/detail/pictures.h"
#include "automation/repository/detail/tree_files.h"
#include "automation/repository/vx_repository.h"
#include "imagecore/files/checked_file.h"
#include "imagecore/report.h"

bool VxRepository::writeRepositoryTables(const char* tableStem, const char* updateRule)
{
    std::string stem = tableStem != nullptr ? tableStem : "";
    if (stem.size() >= 4 && stem.compare(stem.size() - 4, 4, ".csv") == 0)
        stem.resize(stem.size() - 4);
    const std::string names[2] = {stem + ".bright.csv", stem + ".dark.csv"};
    // A table is made with its first tree and replaces an older one only
    // when it is complete.
    std::unique_ptr<checked_file> tables[2];
    bool failed = false;
    for (int i = 0; i < NumberOfImages() && !failed; ++i) {
        RepositoryImage& record = images[i];
        const std::string path = imagesPath + record.image;
        vx_image_handle input(ReadImageGrey(path.c_str()));
        const image* picture = picture_of(input.get());
        if (picture == nullptr) {
            vx_report("Could not load %s\n", path.c_str());
            record.brightDone = 0;  // its trees no longer count
            record.darkDone = 0;
            continue;
        }
        for (int k = 0; k < 2 && !failed; ++k) {
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
            if (tables[k] == nullptr) {
                tables[k] = std::make_unique<checked_file>(names[k].c_str(), "w");
                fio_writeTreeTableHeader(*tables[k], tree.get());
            }
            failed = !fio_writeTreeTableByNodeArray(*tables[k], record.image.c_str(), tree->nodes,
                                                    tree->regions);
        }
    }
    bool written = !failed;
    for (std::unique_ptr<checked_file>& table : tables) {
        if (table == nullptr)
            continue;
        if (failed)
            table->discard();
        else
            written = table->close() && written;
    }
    return written;
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
    const tregionnode* first = tree != nullptr ? first_son(tree->root) : nullptr;
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
