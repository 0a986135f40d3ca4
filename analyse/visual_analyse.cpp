#include "analyse/visual_analyse.h"

#include "analyse/label_node_array.h"
#include "analyse/regionfeatures.h"
#include "imagecore/vx_image.h"

int va_update_region_tree(image* grey, region_tree* tree, const char* rule_file, int reference)
{
    if (grey == nullptr)
        return 0;
    rebuild_label_node_array(tree);
    delete_vximage(tree->attr_image);
    tree->attr_image = init_vximage_from_single_image(grey, 2, 1);
    if (tree->attr_image == nullptr)
        return 0;
    if (rule_file != nullptr)
        dynamic_region_tree_update(tree, get_scale(tree->attr_image, 0), rule_file, reference);
    else
        region_tree_update(tree, reference);
    tree->update = 0;
    return 1;
}
