#include "analyse/display/visual_analyse.h"

#include "analyse/features/dynamic_region_update.h"
#include "analyse/features/region_update.h"
#include "analyse/trees/detail/label_node_array.h"
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
    if (rule_file == nullptr) {
        region_tree_update(tree, reference);
    } else if (dynamic_region_tree_update(tree, get_scale(tree->attr_image, 0), rule_file,
                                          reference) == 0 &&
               list_size(tree->root->sons) > 0) {
        // The rule file did not parse or its run failed: the regions keep
        // what they had and the tree still needs its attributes.
        return 0;
    }
    tree->update = 0;
    return 1;
}
