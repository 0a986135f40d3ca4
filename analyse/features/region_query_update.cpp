#include "analyse/features/region_query_update.h"

#include "analyse/features/detail/feature_pass.h"

namespace {

void query_pass(tregionnode* node, grey_counter& counter)
{
    walk_pre_post(
        node,
        [&counter](tregionnode* n) {
            store_grey_stats(n, counter.measure(n->pixels, n->pixels != nullptr ? n->size : 0));
            n->td_mark = 0;
            n->bu_mark = 0;
            n->significance = 0.0;
            n->area_quotient = father_area_quotient(n);
            n->decompentropy = 0.0;
        },
        [](tregionnode* n) { n->decompentropy = decomposition_entropy(n); });
}

}  // namespace

void region_query_update(tregionnode* node, image* grey, int)
{
    if (node == nullptr || grey == nullptr)
        return;
    grey_counter counter(grey);
    query_pass(node, counter);
}

void region_tree_query_update(region_tree* tree, image* grey, int)
{
    if (grey == nullptr || !grey_fits_tree(tree, grey))
        return;
    tregionnode* root = tree->root;
    root->size = grey->width * grey->height;
    update_image_struct(grey);
    set_root_shape(root, grey->width, grey->height, image_volume(grey));
    clear_root_quotients(root);
    grey_counter counter(grey);
    for (tregionnode* son : sons_of(root))
        query_pass(son, counter);
}
