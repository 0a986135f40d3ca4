#include "analyse/features/regiontree_update.h"

#include "analyse/features/region_update.h"

namespace {

int update_with(vx_image* attr_image, region_tree* tree, int reference)
{
    if (attr_image == nullptr)
        return 0;
    delete_vximage(tree->attr_image);
    tree->attr_image = attr_image;
    region_tree_update(tree, reference);
    tree->update = 0;
    return 1;
}

}  // namespace

int update_regiontree(vx_image* grey, region_tree* tree, int flag, int reference)
{
    return update_with(init_vximage(grey, flag), tree, reference);
}

int update_regiontree_by_image(image* grey, region_tree* tree, int reference)
{
    return update_with(init_vximage_from_single_image(grey, tree->scales, 1), tree, reference);
}
