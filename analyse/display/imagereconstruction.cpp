#include "analyse/display/imagereconstruction.h"

#include <climits>

#include "analyse/detail/position_walk.h"
#include "analyse/trees/detail/label_node_array.h"
#include "analyse/trees/regionlist.h"
#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_walk.h"

namespace {

void add_one(int* pixels, int limit, const tregionnode* node)
{
    for_each_pixel(node, limit, [pixels](int p) { ++pixels[p]; });
}

void add_all(int* pixels, int limit, tregionnode* node)
{
    walk_preorder(node, [&](tregionnode* n) { add_one(pixels, limit, n); });
}

void add_leaves(int* pixels, int limit, tregionnode* node)
{
    walk_preorder(node, [&](tregionnode* n) {
        if (is_leaf(n))
            add_one(pixels, limit, n);
    });
}

void add_greater(int* pixels, int limit, tregionnode* node, int min_size)
{
    walk_preorder_pruned(node, [&](tregionnode* n) {
        if (n->size <= min_size)
            return false;
        add_one(pixels, limit, n);
        return true;
    });
}

// Offers every node below `node` to accept(n) and passes the accepted ones
// to mark(n).
template <class Accept, class Mark>
void mark_descendants(tregionnode* node, Accept accept, Mark mark)
{
    walk_preorder(node, [&](tregionnode* n) {
        if (n != node && accept(n))
            mark(n);
    });
}

void set_between(int* pixels, int limit, tregionnode* node, int low, int high)
{
    mark_descendants(
        node, [&](const tregionnode* n) { return low < n->size && n->size < high && n->size >= 1; },
        [&](const tregionnode* n) {
            for_each_pixel(n, limit, [pixels](int p) { pixels[p] = 1; });
        });
}

void add_selected(int* pixels, int limit, tregionnode* node, region_selector* selector)
{
    mark_descendants(
        node, [selector](tregionnode* n) { return selector->predicate(n, selector) != 0; },
        [&](const tregionnode* n) { add_one(pixels, limit, n); });
}

// Clears the image and returns its pixel count.
int cleared(image* img)
{
    const int n = image_pixel_count(img);
    erase_image(img, 0);
    return n;
}

}  // namespace

void add_regions_values(int* pixels, tregionnode* node)
{
    add_all(pixels, INT_MAX, node);
}

void add_leaf_values(int* pixels, tregionnode* node)
{
    add_leaves(pixels, INT_MAX, node);
}

void regions_greater_than(int* pixels, tregionnode* node, int min_size)
{
    add_greater(pixels, INT_MAX, node, min_size);
}

void regions_between(int* pixels, tregionnode* node, int low, int high)
{
    set_between(pixels, INT_MAX, node, low, high);
}

void region_select(int* pixels, tregionnode* node, region_selector* selector)
{
    add_selected(pixels, INT_MAX, node, selector);
}

void reconstruct_image_from_tree(image* img, region_tree* tree)
{
    const int n = cleared(img);
    add_all(img->pixels, n, tree->root);
}

void reconstruct_image_from_leafs(image* img, region_tree* tree)
{
    const int n = cleared(img);
    add_leaves(img->pixels, n, tree->root);
}

void reconstruct_image_from_regions_greater_then(image* img, region_tree* tree, int min_size)
{
    const int n = cleared(img);
    add_greater(img->pixels, n, tree->root, min_size);
}

void reconstruct_image_from_regions_between(image* img, region_tree* tree, int low, int high)
{
    const int n = cleared(img);
    set_between(img->pixels, n, tree->root, low, high);
}

void reconstruct_image_by_selector(image* img, region_tree* tree, region_selector* selector)
{
    const int n = cleared(img);
    add_selected(img->pixels, n, tree->root, selector);
}

void cut_region_smaler_than_value(int min_size, tregionnode* node)
{
    walk_preorder_pruned(node, [min_size](tregionnode* n) {
        tregionnode* father = n->father;
        if (n->size >= min_size || father == nullptr)
            return true;
        father->sons = remove_region_from_list(father->sons, n);
        father->nsons = list_size(father->sons);
        // A root shares its first son's attribute vector; it must not keep
        // the one released here.
        if (father->attribs != nullptr && father->attribs == n->attribs)
            father->attribs = is_leaf(father) ? nullptr : first_son(father)->attribs;
        delete_region(n);
        return false;
    });
}

void cut_regions_smaler_than_value(int min_size, region_tree* tree)
{
    cut_region_smaler_than_value(min_size, tree->root);
    int counter = 0;
    tree_relabel(tree->root, &counter);
    tree->regions = counter;
    rebuild_label_node_array(tree);
}
