#include <cstdio>
#include <cstdlib>

#include "analyse/attributes/attributes.h"
#include "analyse/handles.h"
#include "analyse/trees/contour.h"
#include "analyse/trees/detail/contour_walk.h"
#include "analyse/trees/detail/traced_region_node.h"
#include "analyse/trees/regionlist.h"
#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_walk.h"
#include "imagecore/fatal.h"
#include "imagecore/heap_array.h"
#include "imagecore/queue.h"

void trace_region_node(tregionnode* node, image* labels, int scan_from)
{
    const int w = labels->width;
    const int start = node->pixels[0];
    if (start < 0 || start >= w * labels->height || labels->pixels[start] <= 0)
        return;
    iqueue* own = labels->update_queue == nullptr ? init_iqueue(64) : nullptr;
    iqueue* q = own != nullptr ? own : labels->update_queue;
    walk_counts counts;
    int contour_size = 0;
    node->ambiguity =
        trace_outer_contour_queued(labels, start / w, start % w, labels->pixels[start], scan_from,
                                   &counts, &contour_size, labels->connect, q);
    node->left = counts.left;
    node->right = counts.right;
    node->ahead = counts.ahead + counts.diagonal;
    node->border = get_regions_contours_queued(labels, start, &node->contour, contour_size,
                                               &node->inner_contour, &node->inner_contour_size, q);
    node->contour_size = node->contour != nullptr ? contour_size : 0;
    region_width(&node->max_width, &node->min_width, node->pixels, node->size, node->contour,
                 node->contour_size, labels);
    delete_iqueue(own);
}

tregionnode* init_traced_region_node(tregionnode* father, int scale, int size, int* pixels,
                                     image* labels, int scan_from)
{
    auto* node = static_cast<tregionnode*>(std::calloc(1, sizeof(tregionnode)));
    if (node == nullptr)
        vx_out_of_memory(exit_code::region_tree_out_of_memory,
                         "Cannot alloc region node on scale %d with Size %d -> PANIC\n", scale,
                         size);
    node->birth = scale;
    node->age = 1;
    node->size = size;
    node->pixels = pixels;
    node->owns_pixels = pixels != nullptr ? 1 : 0;
    node->father = father;
    if (father != nullptr && pixels != nullptr && labels != nullptr && size > 0)
        trace_region_node(node, labels, scan_from);
    return node;
}

tregionnode* init_region_node(tregionnode* father, int scale, int size, int* pixels, image* labels)
{
    return init_traced_region_node(father, scale, size, pixels, labels, 0);
}

void add_region_son(tregionnode* father, tregionnode* son)
{
    son->father = father;
    if (father->sons == nullptr)
        father->sons = init_region_list(son);
    else
        add_region_list(father->sons, son);
    father->nsons = list_size(father->sons);
}

int count_regions(const tregionnode* node)
{
    int n = 0;
    walk_preorder(const_cast<tregionnode*>(node), [&n](tregionnode*) { ++n; });
    return n;
}

void delete_region(tregionnode* node)
{
    walk_preorder(node, [](tregionnode* n) {
        if (n->owns_pixels)
            std::free(n->pixels);
        std::free(n->contour);
        std::free(n->inner_contour);
        delete_attrib_array(n->attribs);
        delete_list(n->sons);
        std::free(n);
    });
}

void debug_delete_region(tregionnode* node)
{
    delete_region(node);
}

region_tree* init_region_tree(int width, int height, int scales)
{
    region_tree_handle tree(static_cast<region_tree*>(std::calloc(1, sizeof(region_tree))));
    if (tree == nullptr)
        vx_out_of_memory(exit_code::region_tree_out_of_memory, "Cannot alloc region tree -> PANIC");
    const long n = vx_pixel_count(width, height);
    heap_array<int> pixels(n < 0 ? nullptr
                                 : static_cast<int*>(std::malloc(sizeof(int) * (n > 0 ? n : 1))));
    if (pixels == nullptr)
        vx_out_of_memory(exit_code::region_tree_out_of_memory,
                         "Cannot alloc Root Area with %d ints -> PANIC\n",
                         n < 0 ? -1 : static_cast<int>(n));
    for (long i = 0; i < n; ++i)
        pixels[i] = static_cast<int>(i);
    tree->root = init_region_node(nullptr, scales + 1, static_cast<int>(n), pixels.get(), nullptr);
    pixels.release();
    tree->root2 = tree->root;
    tree->regions = 1;
    tree->width = width;
    tree->height = height;
    tree->scales = scales;
    std::snprintf(tree->name, sizeof tree->name, "GeneratedTree");
    return tree.release();
}

void delete_regiontree(region_tree* tree)
{
    if (tree == nullptr)
        return;
    tregionnode* root = tree->root;
    if (root != nullptr && root->attribs != nullptr && first_son(root) != nullptr &&
        first_son(root)->attribs == root->attribs)
        root->attribs = nullptr;  // borrowed from the first son
    delete_region(root);
    std::free(tree->elemset);
    std::free(tree->attr_buffer);
    std::free(tree->nodes);
    delete_vximage(tree->attr_image);
    std::free(tree);
}
