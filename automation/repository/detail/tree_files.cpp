#include "automation/repository/detail/tree_files.h"

#include <cstdio>

#include "analyse/display/visual_analyse.h"
#include "analyse/files/treeio.h"
#include "automation/detail/handles.h"
#include "imagecore/report.h"

region_tree* load_tree_file(const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        vx_report("Could not read tree file %s: skipped\n", path.c_str());
        return nullptr;
    }
    const char* error = "not a tree file";
    region_tree* tree = try_read_elemset_region_tree(f, &error);
    std::fclose(f);
    if (tree == nullptr)
        vx_report("Tree File %s refused: %s; skipped\n", path.c_str(), error);
    return tree;
}

region_tree* measured_tree(const image* picture, const std::string& path, const char* updateRule,
                           int polarity)
{
    region_tree_handle tree(load_tree_file(path));
    if (tree == nullptr)
        return nullptr;
    if (picture->width != tree->width || picture->height != tree->height) {
        vx_report("Tree %s is %d x %d, its image %d x %d: tree skipped\n", path.c_str(),
                  tree->width, tree->height, picture->width, picture->height);
        return nullptr;
    }
    // An empty rule name means the base attributes only.
    const char* rule = updateRule != nullptr && *updateRule != '\0' ? updateRule : nullptr;
    if (va_update_region_tree(const_cast<image*>(picture), tree.get(), rule, polarity) == 0) {
        vx_report("No attributes for tree %s: tree skipped\n", path.c_str());
        return nullptr;
    }
    return tree.release();
}
