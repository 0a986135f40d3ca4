#include "analyse/trees/tree_builders.h"

#include "analyse/features/regiontree_update.h"
#include "analyse/handles.h"
#include "analyse/trees/polarity_tree.h"
#include "analyse/trees/regiontree.h"

namespace {

region_tree* partition_tree(vx_image* grey, int nscales, int mode, unsigned flags)
{
    const vx_image_handle partition(init_vx_image(grey->width, grey->height, nscales));
    return build_polarity_tree(grey, partition.get(), mode, nscales, unit_disk_template, flags);
}

region_tree* single_image_tree(image* grey, int nscales, int mode, unsigned flags)
{
    const vx_image_handle copy(init_vximage_from_single_image(grey, 1, 0));
    if (copy == nullptr)
        return nullptr;
    return partition_tree(copy.get(), nscales, mode, flags);
}

}  // namespace

region_tree* compute_tree(image* grey, int nscales, int mode, unsigned flags)
{
    region_tree_handle tree(single_image_tree(grey, nscales, mode, flags));
    return tree != nullptr && update_regiontree_by_image(grey, tree.get(), mode) ? tree.release()
                                                                                 : nullptr;
}

region_tree* compute_tree_no_update(image* grey, int nscales, int mode, unsigned flags)
{
    region_tree* tree = single_image_tree(grey, nscales, mode, flags);
    if (tree != nullptr) {
        int counter = 0;
        tree_relabel(tree->root, &counter);
    }
    return tree;
}

region_tree* vx_compute_tree(vx_image* grey, int nscales, int mode, unsigned flags)
{
    region_tree_handle tree(partition_tree(grey, nscales, mode, flags));
    return tree != nullptr && update_regiontree(grey, tree.get(), 0, 3 - mode) ? tree.release()
                                                                               : nullptr;
}

region_tree* compute_bright_tree(vx_image* grey, int nscales, unsigned flags)
{
    return vx_compute_tree(grey, nscales, 1, flags);
}

region_tree* compute_dark_tree(vx_image* grey, int nscales, unsigned flags)
{
    return vx_compute_tree(grey, nscales, 2, flags);
}
