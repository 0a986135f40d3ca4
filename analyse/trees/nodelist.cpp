#include <algorithm>
#include <cstdlib>

#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_walk.h"
#include "imagecore/fatal.h"

namespace {

tregionnode** new_node_array(int entries)
{
    return static_cast<tregionnode**>(vx_calloc(static_cast<size_t>(entries), sizeof(tregionnode*),
                                                exit_code::region_tree_out_of_memory,
                                                "Cannot alloc node array -> PANIC"));
}

}  // namespace

void paint_region(image* img, const tregionnode* node, int value)
{
    const long long n = static_cast<long long>(img->width) * img->height;
    for (int k = 0; k < node->size; ++k) {
        const int p = node->pixels[k];
        if (p >= 0 && p < n)
            img->pixels[p] = value;
    }
}

void tree_relabel(tregionnode* node, int* counter)
{
    walk_preorder(node, [counter](tregionnode* n) { n->label = n->file_index = (*counter)++; });
}

int rt_local_init_nodelist(tregionnode** array, int size, tregionnode* node)
{
    int placed = 0;
    walk_preorder(node, [&](tregionnode* n) {
        n->label = n->file_index;
        if (n->file_index >= 0 && n->file_index < size) {
            array[n->file_index] = n;
            ++placed;
        }
    });
    return placed;
}

int rt_init_nodelist(tregionnode** array, int size, region_tree* tree)
{
    return rt_local_init_nodelist(array, size, tree->root);
}

void rtInitNodelist(region_tree* tree)
{
    std::free(tree->nodes);
    const int entries = std::max(tree->regions, 0) + 2;
    tree->nodes = new_node_array(entries);
    rt_init_nodelist(tree->nodes, entries, tree);
}

void set_vximage_region(vx_image* attr_image, tregionnode* node, tregionnode** array, int size,
                        int* counter)
{
    node->label = (*counter)++;
    if (node->label < size)
        array[node->label] = node;
    if (attr_image == nullptr)
        return;
    // Scale 0 of the attribute image is the grey image and takes no labels.
    const long first = std::max<long>(static_cast<long>(attr_image->flag) + node->birth, 1);
    const long last = std::min<long>(
        static_cast<long>(attr_image->flag) + node->birth + node->age - 1, attr_image->nscales - 1);
    for (long s = first; s <= last; ++s)
        paint_region(&attr_image->scales[s], node, node->label);
}

void set_vximage_regions(region_tree* tree)
{
    std::free(tree->nodes);
    const int entries = std::max(tree->regions, 0) + 1;
    tree->nodes = new_node_array(entries);
    tregionnode* root = tree->root;
    root->label = 0;
    tree->nodes[0] = root;
    if (tree->attr_image != nullptr)
        erase_vximage(tree->attr_image);
    int counter = 1;
    walk_preorder(root, [&](tregionnode* n) {
        if (n != root)
            set_vximage_region(tree->attr_image, n, tree->nodes, entries, &counter);
    });
}

void initLeafLayer(image* labels, tregionnode* node)
{
    walk_preorder(node, [labels](tregionnode* n) {
        n->bu_mark = -1;
        if (is_leaf(n))
            paint_region(labels, n, n->label);
    });
}
