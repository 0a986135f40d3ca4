#include "automation/repository/detail/class_trees.h"

#include "analyse/trees/regiontree.h"
#include "automation/repository/detail/tree_files.h"

region_tree* class_trees::tree(int polarity)
{
    const int k = polarity - 1;
    if (!tried_[k]) {
        tried_[k] = true;
        files_[k] = path_(polarity);
        if (!files_[k].empty())
            trees_[k].reset(load_tree_file(files_[k]));
        if (trees_[k] != nullptr)
            rtInitNodelist(trees_[k].get());
    }
    return trees_[k].get();
}

const std::string& class_trees::file(int polarity)
{
    tree(polarity);
    return files_[polarity - 1];
}

tregionnode* region_of(const region_tree* tree, int id)
{
    // Node arrays hold at least regions + 1 entries.
    if (tree == nullptr || tree->nodes == nullptr || id < 0 || id > tree->regions)
        return nullptr;
    return tree->nodes[id];
}
